// The settings file as any bytes on disk: decoded, parsed and read by every reader without a
// crash, and written back as it was read.
#include "FuzzInput.h"
#include "settings/IniDocument.h"
#include "settings/Switch.h"
#include "settings/TextEncoding.h"

using namespace krelmix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Cp1251Codec codec;
  const DecodedText decoded = DecodeSettingsText(std::string_view(reinterpret_cast<const char*>(data), size), codec);
  const IniDocument document = IniDocument::Parse(decoded.text);
  for (const wchar_t* section : {L"Area", L"Options", L"Kill", L"ExcludeDir", L"Soundz", L"UseSoundz"}) {
    const auto keys = document.KeyNames(section);
    const auto entries = document.Entries(section);
    fuzz::Check(keys.size() == entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      fuzz::Check(entries[i].first == keys[i]);
      if (i < 8) fuzz::Check(document.Value(section, keys[i]) == std::wstring(entries[i].second));
      ReadSwitch(std::wstring(entries[i].second), false);
    }
  }
  // A file read and written unchanged reads the same. (A line ending in a lone carriage return
  // in a file of bare line feeds comes back without it: the file is then written with CR LF.)
  const std::wstring once = document.Serialize();
  const IniDocument again = IniDocument::Parse(once);
  const auto withoutCr = [](std::wstring_view text) {
    while (!text.empty() && text.back() == L'\r') text.remove_suffix(1);
    return std::wstring(text);
  };
  for (const wchar_t* section : {L"Kill", L"ExcludeDir", L"Options"}) {
    const auto before = document.Entries(section), after = again.Entries(section);
    fuzz::Check(before.size() == after.size());
    for (size_t i = 0; i < before.size(); ++i) {
      fuzz::Check(before[i].first == after[i].first);
      fuzz::Check(withoutCr(before[i].second) == withoutCr(after[i].second));
    }
  }
  TextEncoding encoding = decoded.encoding;
  const std::string bytes = EncodeSettingsText(once, encoding, codec);
  fuzz::Check(DecodeSettingsText(bytes, codec).text == once || encoding == TextEncoding::Ansi);
  return 0;
}
