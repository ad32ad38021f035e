#pragma once
// Folders kept out of the search. An entry is stored and shown as the user typed it; the search
// judges it by the folder it names, as Windows opens it: the path made canonical (any letter case,
// '/' or '\', doubled separators, "." and ".." steps, trailing dots and blanks, the "\\?\", "\\.\"
// and "\??\" prefixes, short 8.3 names), and, where the folder exists, its volume and file id, so
// that every spelling of the folder keeps the search out of it.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/FileSystem.h"

namespace krelmix {

// The one rule for what the exclusion editor takes: not empty, and not a drive root ("C:",
// "c:\", "D:/", "\\?\C:\"), which would keep a whole drive out of a search the user asked for.
bool IsUsableExclusion(std::wstring_view folder);

// The enabled exclusions of one run, each resolved once when the run starts.
class ExclusionSet {
 public:
  ExclusionSet() = default;
  // `fs` expands short names and identifies the folders that exist; drive roots are left out.
  ExclusionSet(const std::vector<std::wstring>& folders, FileSystem& fs);
  // `folder` is a path the walk formed from a root and listed names, `id` what the listing gave for
  // it. No call to the file system: the walk asks this for every folder it meets.
  bool Contains(std::wstring_view folder, const FileId& id) const;

 private:
  struct IdHash {
    size_t operator()(const FileId& id) const { return std::hash<uint64_t>()(id.index * 31 + id.volume); }
  };
  std::unordered_set<std::wstring> paths_;  // canonical, upper case
  std::unordered_set<FileId, IdHash> ids_;
};

}  // namespace krelmix
