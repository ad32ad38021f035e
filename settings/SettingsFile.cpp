#include "settings/SettingsFile.h"

namespace krelmix {

namespace {
// Calls `attempt` until it no longer finds the file held by another program, pausing between
// tries for about a second in all; false when the file stayed held.
template <typename Attempt>
bool WhileHeld(SettingsStorage& storage, Attempt attempt) {
  for (unsigned waited = 0;; waited += SettingsFile::kRetryPauseMs) {
    if (attempt()) return true;
    if (waited >= SettingsFile::kRetryBudgetMs) return false;
    storage.Pause(SettingsFile::kRetryPauseMs);
  }
}
}  // namespace

SettingsWriteError::SettingsWriteError(const std::wstring& path) : UserError(L"Unable to write to " + path) {}

SettingsReadError::SettingsReadError(const std::wstring& path)
    : UserError(L"Не удалось прочитать файл настроек " + path) {}

SettingsFile::SettingsFile(SettingsStorage& storage, const AnsiCodec& codec, std::wstring path)
    : storage_(storage), codec_(codec), path_(std::move(path)) {}

StoredFile SettingsFile::ReadWaiting() const {
  StoredFile file;
  const bool read = WhileHeld(storage_, [&] {
    file = storage_.Read(path_);
    return file.state != StoredFile::State::Unreadable;
  });
  if (!read) throw SettingsReadError(path_);
  return file;
}

SettingsFile::Loaded SettingsFile::LoadWithEncoding() const {
  StoredFile file = ReadWaiting();
  if (file.state == StoredFile::State::Missing) return {IniDocument::Parse(L""), TextEncoding::Ansi, false};
  DecodedText decoded = DecodeSettingsText(file.bytes, codec_);
  return {IniDocument::ParseText(std::move(decoded.text)), decoded.encoding, true};
}

IniDocument SettingsFile::Load() const { return LoadWithEncoding().document; }

std::optional<IniDocument> SettingsFile::LoadExisting() const {
  Loaded loaded = LoadWithEncoding();
  if (!loaded.exists) return std::nullopt;
  return std::move(loaded.document);
}

void SettingsFile::Store(Loaded& loaded) {
  const std::string bytes = EncodeSettingsText(loaded.document.Serialize(), loaded.encoding, codec_);
  WriteOutcome outcome = WriteOutcome::Refused;
  WhileHeld(storage_, [&] {
    outcome = storage_.Write(path_, bytes);
    return outcome != WriteOutcome::Busy;
  });
  if (outcome != WriteOutcome::Written) throw SettingsWriteError(path_);
}

}  // namespace krelmix
