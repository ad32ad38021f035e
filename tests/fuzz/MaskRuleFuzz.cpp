// The mask rule and the matcher on any mask and name: a mask the rule lets through is never
// longer than a file name and never matches a name that holds none of its own characters, and
// the rule's answer does not depend on the mask's letter case.
#include "FuzzInput.h"
#include "cleanup/Wildcard.h"
#include "platform/CaseFold.h"

using namespace krelmix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::wstring> parts = fuzz::Parts(fuzz::Wide(data, size));
  const std::wstring& mask = parts[0];
  const std::wstring name = parts.size() > 1 ? parts[1] : L"name.tmp";
  const bool usable = IsUsableMask(mask);
  if (mask.size() > kMaxMaskLength) fuzz::Check(!usable);
  fuzz::Check(IsUsableMask(UpperCase(mask)) == usable);
  if (!usable || mask.size() > 1024 || name.size() > 1024) return 0;
  const Wildcard wildcard(mask);
  wildcard.Matches(name);
  // A snowman is a letter no usable mask here holds: a name made of it and dots is not garbage.
  if (mask.find(L'\x2603') == std::wstring::npos) {
    for (const wchar_t* probe : {L"", L"\x2603", L"\x2603.\x2603", L"\x2603\x2603.\x2603\x2603\x2603"})
      fuzz::Check(!wildcard.Matches(probe));
  }
  return 0;
}
