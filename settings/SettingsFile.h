#pragma once
// Krelmix.ini as a whole: every reader loads it, every writer loads, edits and replaces it in
// one atomic write, so nothing holds the file open and a failed write leaves the old file.
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/SettingsStorage.h"
#include "platform/UserError.h"
#include "settings/IniDocument.h"
#include "settings/TextEncoding.h"

namespace krelmix {

// Raised when the file system refuses a write; the text is the one the error report shows.
class SettingsWriteError : public UserError {
 public:
  explicit SettingsWriteError(const std::wstring& path);
};

class SettingsFile {
 public:
  SettingsFile(SettingsStorage& storage, const AnsiCodec& codec, std::wstring path);

  const std::wstring& Path() const { return path_; }
  bool Exists() const { return storage_.Exists(path_); }
  // The document as it is on disk now; a missing file reads as having no sections.
  IniDocument Load() const;
  // Loads, lets `edit` change the document, and writes it back in the encoding it was read in.
  template <typename Edit>
  void Update(Edit&& edit) {
    Loaded loaded = LoadWithEncoding();
    edit(loaded.document);
    Store(loaded);
  }

 private:
  struct Loaded {
    IniDocument document;
    TextEncoding encoding;
  };
  Loaded LoadWithEncoding() const;
  void Store(Loaded& loaded);

  SettingsStorage& storage_;
  const AnsiCodec& codec_;
  std::wstring path_;
};

}  // namespace krelmix
