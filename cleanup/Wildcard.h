#pragma once
// Garbage masks matched against a file's long name with the rules Windows' FindFirstFile applies,
// done here so results are the same on every file system and never depend on 8.3 aliases.
#include <string>
#include <string_view>

namespace krelmix {

// A mask compiled once per run: the DOS rewrite of '?', '.' and '*' applied, upper-cased.
class Wildcard {
 public:
  explicit Wildcard(std::wstring_view mask);
  bool Matches(std::wstring_view name) const;

 private:
  std::wstring pattern_;
};

// The longest mask: no file name is longer, so a longer mask could only be cut, and a cut mask
// would match more than the one the user wrote.
inline constexpr size_t kMaxMaskLength = 255;

// The one rule that decides whether a mask may be used, in the search and in the mask editor.
// False for masks that would match every file or reach outside the folder: empty, longer than a
// file name can be, only wildcards and dots ('<', '>' and '"' are wildcards to the file system
// too), or holding a path separator or a drive colon; and for the masks of the system's programs
// and drivers, "*.exe", "*.com", "*.sys" and "*.drv", in any letter case and however spelled for
// the file system ("*.EXE", "<.exe", "*.exe.").
bool IsUsableMask(std::wstring_view mask);

}  // namespace krelmix
