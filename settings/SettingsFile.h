#pragma once
// Krelmix.ini as a whole: every reader loads it, every writer loads, edits and replaces it in
// one atomic write, so nothing holds the file open and a failed write leaves the old file.
//
// Only a missing file means defaults. A file that another program holds for a moment (a virus
// scanner, a backup or sync tool, the search indexer) is tried again for about a second; one that
// still cannot be read raises SettingsReadError, and the operation that needed it, a write
// included, does not happen.
//
// A write never makes the file worse: every line it leaves as it was keeps its bytes, a changed
// line is written in the file's encoding when every character fits it, and otherwise the whole
// file becomes UTF-8 with a byte order mark, each line from a reading that lost nothing.
#include <optional>
#include <string>

#include "platform/SettingsStorage.h"
#include "platform/UserError.h"
#include "settings/IniDocument.h"
#include "settings/SettingsSchema.h"
#include "settings/TextEncoding.h"

namespace krelmix {

// Raised when the file system refuses a write; the text is the one the error report shows.
class SettingsWriteError : public UserError {
 public:
  explicit SettingsWriteError(const std::wstring& path);
};

// Raised when the file is there but cannot be read; the text names the file for the user.
class SettingsReadError : public UserError {
 public:
  explicit SettingsReadError(const std::wstring& path);
};

class SettingsFile {
 public:
  // How long a held file is waited for, in pauses of kRetryPauseMs.
  static constexpr unsigned kRetryPauseMs = 20, kRetryBudgetMs = 1000;

  SettingsFile(SettingsStorage& storage, const AnsiCodec& codec, std::wstring path);

  const std::wstring& Path() const { return path_; }
  // The document as it is on disk now; a missing file reads as having no sections.
  IniDocument Load() const;
  // The same, but nothing when the file is missing (the readers that leave their defaults then).
  std::optional<IniDocument> LoadExisting() const;
  // The file read as the system reads it, and in the program's own code page where that reads it
  // otherwise (SettingsReadings); no sections when it is missing.
  SettingsReadings LoadReadings() const;
  // Loads, lets `edit` change the document, and writes it back in the encoding it was read in.
  template <typename Edit>
  void Update(Edit&& edit) {
    Loaded loaded = LoadWithEncoding();
    edit(loaded.document);
    Store(loaded);
  }

 private:
  struct Loaded {
    IniDocument document;  // no sections when the file is missing
    TextEncoding encoding;
    bool exists;
    std::string bytes;  // the file as it was read
  };
  StoredFile ReadWaiting() const;
  Loaded LoadWithEncoding() const;
  void Store(Loaded& loaded);
  // The bytes of the edited document: `loaded`'s own bytes for every line it keeps.
  std::string Encode(const Loaded& loaded) const;

  SettingsStorage& storage_;
  const AnsiCodec& codec_;
  std::wstring path_;
};

}  // namespace krelmix
