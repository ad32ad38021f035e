#include "cleanup/FindDeletion.h"

#include "platform/PathText.h"

namespace krelmix {

namespace {
constexpr wchar_t kKilledMark[] = L" (Убит!)";
constexpr wchar_t kFailedMark[] = L" (Ошибка удаления)";
}  // namespace

bool FindDeletion::KillFile(const std::wstring& path, size_t index, DeletionFolder& at) {
  // Only what the search found goes: the file system checks, on the handle it deletes through,
  // that the path still leads, without any link, to that very file, unchanged.
  const std::optional<PathSplit> split = SplitLastStep(path);
  const bool known = finds_.Count() == run_.view.FoundCount() && index < finds_.Count();
  bool deleted = false;
  uint64_t size = 0;
  if (known && split) {
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
  run_.view.SetFoundLine(index, path + (deleted ? kKilledMark : kFailedMark));
  return deleted;
}

void FindDeletion::KillFound(bool tickedOnly) {
  DeletionFolder at;
  const uint64_t stops = stopRequests_;
  stopped_ = false;
  for (size_t i = 0; i < run_.view.FoundCount(); ++i) {
    if (!run_.Pump()) return;
    if (stopRequests_ != stops) {
      stopped_ = true;
      return;
    }
    if (!tickedOnly || run_.view.FoundTicked(i)) KillFile(run_.view.FoundLine(i), i, at);
  }
}

}  // namespace krelmix
