#include "settings/SettingsFile.h"

namespace krelmix {

SettingsWriteError::SettingsWriteError(const std::wstring& path) : UserError(L"Unable to write to " + path) {}

SettingsFile::SettingsFile(SettingsStorage& storage, const AnsiCodec& codec, std::wstring path)
    : storage_(storage), codec_(codec), path_(std::move(path)) {}

SettingsFile::Loaded SettingsFile::LoadWithEncoding() const {
  const std::optional<std::string> bytes = storage_.Read(path_);
  if (!bytes) return {IniDocument::Parse(L""), TextEncoding::Ansi};
  DecodedText decoded = DecodeSettingsText(*bytes, codec_);
  return {IniDocument::ParseText(std::move(decoded.text)), decoded.encoding};
}

IniDocument SettingsFile::Load() const { return LoadWithEncoding().document; }

void SettingsFile::Store(Loaded& loaded) {
  const std::string bytes = EncodeSettingsText(loaded.document.Serialize(), loaded.encoding, codec_);
  if (!storage_.Write(path_, bytes)) throw SettingsWriteError(path_);
}

}  // namespace krelmix
