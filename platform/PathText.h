#pragma once
// Path text as Windows reads it, the same for every rule that compares folders: the exclusions of
// the search and the guard of the temporary-folder cleanup.
#include <optional>
#include <string>
#include <string_view>

namespace krelmix {

// A folder path in one spelling: "\\?\", "\\.\" and "\??\" prefixes taken off, '/' read as '\',
// "." and ".." steps resolved, empty steps and trailing dots and blanks of a step dropped, no
// trailing backslash ("C:" for a drive root, "\\server\share" for a share root), the drive letter
// in upper case. Nothing for a path that is not absolute, climbs above its root, or holds
// characters no folder name can hold. Short (8.3) names are the file system's to expand.
std::optional<std::wstring> CanonicalFolderPath(std::wstring_view path);
// True for a canonical drive root ("C:") or share root ("\\server\share").
bool IsRootPath(std::wstring_view canonical);
// True when `folder` is `outer` or lies inside it, compared as Windows compares names; trailing
// backslashes are not counted. False when `outer` is empty.
bool IsSameOrInside(std::wstring_view folder, std::wstring_view outer);

}  // namespace krelmix
