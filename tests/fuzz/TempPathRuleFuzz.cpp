// The folder path rule of the temporary folder and the exclusions, on any path: a canonical path
// is canonical again unchanged, has no prefix, no "." or ".." step, no empty step and no trailing
// backslash.
#include <algorithm>

#include "FuzzInput.h"
#include "platform/PathText.h"

using namespace krelmix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<std::wstring> canonical = CanonicalFolderPath(fuzz::Wide(data, size));
  if (!canonical) return 0;
  const std::wstring& path = *canonical;
  fuzz::Check(!path.empty() && path.back() != L'\\' && path.find(L'/') == std::wstring::npos);
  fuzz::Check(path.rfind(L"\\\\?\\", 0) != 0 && path.rfind(L"\\\\.\\", 0) != 0);
  fuzz::Check(path.find(L"\\\\", 1) == std::wstring::npos);
  fuzz::Check(path.find(L".\\") == std::wstring::npos && path.find(L" \\") == std::wstring::npos);
  fuzz::Check(path.back() != L'.' && path.back() != L' ');
  fuzz::Check(CanonicalFolderPath(path) == canonical);
  const bool unc = path.rfind(L"\\\\", 0) == 0;
  const auto separators = std::count(path.begin(), path.end(), L'\\');
  fuzz::Check(IsRootPath(path) == (unc ? separators == 3 : path.size() == 2));
  return 0;
}
