// Writes and erases on any document: whatever a write accepts reads back as written, also after
// the document has been saved and read again; an erased section is gone.
#include "FuzzInput.h"
#include "settings/IniDocument.h"

using namespace krelmix;

namespace {
std::wstring_view Trimmed(std::wstring_view s) {
  while (!s.empty() && (s.front() == L' ' || s.front() == L'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == L' ' || s.back() == L'\t')) s.remove_suffix(1);
  return s;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::wstring> parts = fuzz::Parts(fuzz::Wide(data, size));
  IniDocument document = IniDocument::Parse(parts[0]);
  for (size_t i = 1; i + 2 < parts.size(); i += 3) {
    const std::wstring &section = parts[i], &key = parts[i + 1], &value = parts[i + 2];
    if (!value.empty() && value[0] == L'!') {
      document.EraseSection(section);
      fuzz::Check(!document.HasSection(section));
      continue;
    }
    if (!document.Write(section, key, value)) continue;
    fuzz::Check(document.Value(section, key) == std::wstring(Trimmed(value)));
    const IniDocument reread = IniDocument::Parse(document.Serialize());
    fuzz::Check(reread.Value(section, key) == std::wstring(Trimmed(value)));
  }
  return 0;
}
