#pragma once
// Folders kept out of the search. An entry is stored and shown as the user typed it; the search
// compares it as Windows compares paths: whatever the letter case, with or without a trailing
// backslash, '/' the same as '\'.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace krelmix {

// The one rule for what the exclusion editor takes: not empty, and not a drive root ("C:",
// "c:\", "D:/"), which would keep a whole drive out of a search the user asked for.
bool IsUsableExclusion(std::wstring_view folder);

// The form in which two spellings of one folder compare equal.
std::wstring ExclusionKey(std::wstring_view folder);

// The enabled exclusions of one run, brought to their compared form once.
class ExclusionSet {
 public:
  ExclusionSet() = default;
  explicit ExclusionSet(const std::vector<std::wstring>& folders);
  bool Contains(std::wstring_view folder) const;

 private:
  std::unordered_set<std::wstring> keys_;
};

}  // namespace krelmix
