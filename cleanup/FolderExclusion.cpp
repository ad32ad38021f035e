#include "cleanup/FolderExclusion.h"

#include <optional>

#include "platform/CaseFold.h"
#include "platform/PathText.h"

namespace krelmix {

namespace {
// An entry that is no absolute path ("Keep", "C:Keep") is compared as it is spelled.
std::wstring SpelledKey(std::wstring_view folder) {
  return UpperCase(WithoutTrailingBackslashes(WithBackslashes(folder)));
}
}  // namespace

bool IsUsableExclusion(std::wstring_view folder) {
  const std::wstring separated = WithBackslashes(folder);
  const std::wstring_view trimmed = WithoutTrailingBackslashes(separated);
  if (trimmed.empty()) return false;
  if (trimmed.size() == 2 && IsDriveLetter(trimmed[0]) && trimmed[1] == L':') return false;
  const std::optional<std::wstring> canonical = CanonicalFolderPath(folder);
  return !canonical || !IsDriveRoot(*canonical);
}

ExclusionSet::ExclusionSet(const std::vector<std::wstring>& folders, FileSystem& fs) {
  for (const std::wstring& folder : folders) {
    const std::optional<std::wstring> spelled = CanonicalFolderPath(folder);
    if (!spelled) {
      paths_.insert(SpelledKey(folder));
      continue;
    }
    // A drive root is never excluded: its own files are always searched.
    if (IsDriveRoot(*spelled)) continue;
    paths_.insert(UpperCase(*spelled));
    const std::optional<std::wstring> expanded = CanonicalFolderPath(fs.LongPath(*spelled));
    if (!expanded || IsDriveRoot(*expanded)) continue;
    paths_.insert(UpperCase(*expanded));
    const std::optional<OpenedEntry> opened = fs.Open(*expanded);
    if (opened && (opened->attributes & FileAttr::Directory) && opened->id.Known()) ids_.insert(opened->id);
  }
}

bool ExclusionSet::Contains(std::wstring_view folder, const FileId& id) const {
  if (paths_.empty() && ids_.empty()) return false;
  if (id.Known() && ids_.count(id) != 0) return true;
  return paths_.count(UpperCase(folder)) != 0;
}

}  // namespace krelmix
