#pragma once
// The garbage search: the masks and exclusions of a run, and the walk over a drive that lists
// every find in the found list.
#include <string>
#include <vector>

#include "cleanup/EngineContext.h"
#include "cleanup/FolderExclusion.h"
#include "cleanup/FoundList.h"
#include "cleanup/Wildcard.h"
#include "settings/IniDocument.h"
#include "settings/SettingsSchema.h"

namespace krelmix {

class GarbageSearch {
 public:
  GarbageSearch(EngineContext& run, FoundList& finds) : run_(run), finds_(finds) {}

  // The enabled masks into MaskList, refusing those that may not be used; the enabled exclusions
  // into ExcludeList.
  void LoadKillMasks(const IniDocument& settings);
  void LoadExcludeDirs(const SettingsReadings& settings);
  // Searches a drive root ("C:") or a folder; a root's own files are listed too.
  void SearchDir(const std::wstring& dir);
  // Lists the finds of one mask in one folder.
  void FindGarbageFiles(const std::wstring& dir, const std::wstring& mask);

 private:
  struct Mask {
    std::wstring text;
    Wildcard wildcard;
  };
  void PrepareMasks();
  void FindAllMasks(const std::wstring& dir, const std::vector<DirEntry>& entries);
  void ListMatches(const std::wstring& dir, const std::vector<DirEntry>& entries, const Mask& mask);
  void AddFind(const std::wstring& dir, const DirEntry& entry);
  void Walk(const std::wstring& dir, std::vector<DirEntry> entries);

  EngineContext& run_;
  FoundList& finds_;
  // The run's own copies of MaskList and ExcludeList: closing the window may clear those.
  std::vector<Mask> masks_;
  ExclusionSet excludes_;
  // Set when masks were enabled but none may be used: the search then uses none.
  bool masksRefused_ = false;
};

}  // namespace krelmix
