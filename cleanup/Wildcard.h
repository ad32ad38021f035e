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

// False for masks that would match every file or reach outside the folder: empty, only
// wildcards and dots, or holding a path separator or a drive colon.
bool IsUsableMask(std::wstring_view mask);

}  // namespace krelmix
