#pragma once
// The one walk over a folder tree that the search and the temporary-folder cleanup share.
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

namespace krelmix {

enum class WalkStep { Enter, Skip, LeaveFolder, Stop };

struct WalkLevel {
  std::wstring dir;
  FileId id;
  std::vector<DirEntry> entries;
  size_t next = 0;
};

// Depth-first over the subfolders, with an explicit stack so that no tree is too deep for it.
// `visit(level, entry, sub)` decides on each subfolder entry (other entries and dot-named folders,
// among them the keep folders of deleted files at the volumes' roots, never reach it) and fills the listing of a folder
// it enters; `leave(done, isStart)` runs once a folder's subtree is done.
template <typename Visit, typename Leave>
void WalkTree(WalkLevel start, Visit visit, Leave leave) {
  std::vector<WalkLevel> levels;
  levels.push_back(std::move(start));
  while (!levels.empty()) {
    WalkLevel& level = levels.back();
    WalkStep step = WalkStep::LeaveFolder;
    WalkLevel sub;
    if (level.next < level.entries.size()) {
      const DirEntry& entry = level.entries[level.next++];
      if (!entry.IsDirectory() || (!entry.name.empty() && entry.name[0] == L'.')) continue;
      sub.dir = level.dir + L"\\" + entry.name;
      sub.id = entry.id;
      step = visit(level, entry, sub);
    }
    if (step == WalkStep::Stop) return;
    if (step == WalkStep::Skip) continue;
    if (step == WalkStep::Enter) {
      levels.push_back(std::move(sub));  // `level` is stale from here
      continue;
    }
    WalkLevel done = std::move(levels.back());
    levels.pop_back();
    leave(done, levels.empty());
  }
}

}  // namespace krelmix
