#include "cleanup/FindDeletion.h"

#include "platform/PathText.h"

namespace krelmix {

bool FindDeletion::KillFile(size_t index, DeletionFolder& at) {
  // Only what the search found goes: the file system checks, on the handle it deletes through,
  // that the path still leads, without any link, to that very file, unchanged.
  const std::wstring path = finds_.Path(index);
  const std::optional<PathSplit> split = SplitLastStep(path);
  bool deleted = false;
  uint64_t size = 0;
  if (split) {
    if (!at.folder || at.dir != split->folder) {
      at.dir = split->folder;
      at.folder = run_.fs.OpenForDeletion(at.dir);
    }
    deleted = keeper_.Remove(*at.folder, path, std::wstring(split->name), [&](const FileIdentity& now) {
      size = now.size;
      return finds_.Matches(index, now);
    });
  }
  ProgramState& state = run_.state;
  if (state.NightFlyMode) return deleted;
  if (deleted) {
    ++state.KilledFiles;
    state.KilledBytes += size;
  } else {
    ++state.FailedFiles;
  }
  finds_.SetMark(index, deleted ? FindMark::Deleted : FindMark::Failed);
  return deleted;
}

void FindDeletion::KillFound(bool tickedOnly) {
  DeletionFolder at;
  const uint64_t stops = stopRequests_;
  stopped_ = false;
  for (size_t i = 0; i < finds_.Count(); ++i) {
    if (!run_.Pump()) return;
    if (stopRequests_ != stops) {
      stopped_ = true;
      return;
    }
    if (!tickedOnly || finds_.Ticked(i)) KillFile(i, at);
  }
}

}  // namespace krelmix
