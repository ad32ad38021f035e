#pragma once
// Path text as Windows reads it: the one place for the rules of prefixes, roots, drive letters,
// separators and folder steps, for every layer alike (the search and its exclusions, the
// temporary-folder guard, the Win32 file system). Portable, and tested natively.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// Two paths compared as Windows compares names (platform/CaseFold), whole.
bool SamePath(std::wstring_view a, std::wstring_view b);

// An ASCII letter, the only kind a drive can have.
bool IsDriveLetter(wchar_t c);
// "C:" for "C:\x" or "C:", "\\server\share" for "\\server\share\x"; empty for anything else.
std::wstring_view PathRoot(std::wstring_view path);
// True for a drive root in the canonical form ("C:").
bool IsDriveRoot(std::wstring_view canonical);

// The path without its "\\?\" or "\\.\" prefix ("\\?\UNC\server" becomes "\\server"); any other
// path as it is.
std::wstring WithoutPrefix(std::wstring_view path);
// The DOS path an NT object name gives ("\??\C:\x" is "C:\x", "\??\UNC\server\x" is
// "\\server\x"); nothing for any other name.
std::optional<std::wstring> DosPathOfObjectName(std::wstring_view name);
// The "\\?\" form of a path that names its folder without help: "C:" and "C:\..." and
// "\\server\share\...", with no "." or ".." step and no '/'; a prefixed path as it is. Nothing for
// any other path, which the system must make full first.
std::optional<std::wstring> ExtendedForm(std::wstring_view path);
// '/' read as '\'.
std::wstring WithBackslashes(std::wstring_view path);
// The path without backslashes at its end; the second keeps a drive root's ("C:\").
std::wstring_view WithoutTrailingBackslashes(std::wstring_view path);
std::wstring_view WithoutTrailingBackslashesAfterRoot(std::wstring_view path);
// Each step without the dots and blanks at its end, which the system drops from names.
std::wstring WithoutTrailingDots(std::wstring_view path);

// The folder part and the name of a path, split at its last backslash; nothing without one.
struct PathSplit {
  std::wstring_view folder;
  std::wstring_view name;
};
std::optional<PathSplit> SplitLastStep(std::wstring_view path);
// The folders above a canonical path, nearest first, its root last.
std::vector<std::wstring> FoldersAbove(std::wstring_view canonical);

}  // namespace krelmix
