#include "cleanup/FolderExclusion.h"

#include "common/TextCase.h"

namespace krelmix {

namespace {
bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
}  // namespace

std::wstring ExclusionKey(std::wstring_view folder) {
  std::wstring key = UpperCase(folder);
  for (wchar_t& c : key)
    if (c == L'/') c = L'\\';
  while (!key.empty() && key.back() == L'\\') key.pop_back();
  return key;
}

bool IsUsableExclusion(std::wstring_view folder) {
  size_t length = folder.size();
  while (length > 0 && IsSeparator(folder[length - 1])) --length;
  if (length == 0) return false;
  const bool driveRoot = length == 2 && IsAsciiLetter(folder[0]) && folder[1] == L':';
  return !driveRoot;
}

ExclusionSet::ExclusionSet(const std::vector<std::wstring>& folders) {
  for (const std::wstring& folder : folders) keys_.insert(ExclusionKey(folder));
}

// The walk asks this for every folder: with no exclusions nothing is computed.
bool ExclusionSet::Contains(std::wstring_view folder) const {
  return !keys_.empty() && keys_.count(ExclusionKey(folder)) != 0;
}

}  // namespace krelmix
