#include "cleanup/TempCleanup.h"

#include <memory>
#include <vector>

#include "cleanup/FolderWalk.h"

namespace krelmix {

// "Стоп" ends the temporary-folder cleanup between files, and a close between any two steps.
bool TempCleanup::KeepCleaning() { return run_.Pump() && !run_.state.StopFlag; }

void TempCleanup::KillDirFiles(const std::wstring& dir) {
  ProgramState& state = run_.state;
  std::vector<DirEntry> entries;
  run_.fs.ListFolder(dir, entries);
  std::unique_ptr<FolderDeletion> folder;
  for (const auto& entry : entries) {
    // A file whose data is elsewhere frees nothing here and may be the only copy: it is not ours.
    if (entry.IsDirectory() || entry.IsPlaceholder()) continue;
    if (!KeepCleaning()) return;
    if (!folder) folder = run_.fs.OpenForDeletion(dir);
    // A file link stays, and so does whatever it points to: it is counted as not removed.
    if (!entry.IsLink() && folder->RemoveFile(entry.name, entry.Identity())) {
      ++state.KilledFiles;
      state.KilledBytes += entry.size;
    } else {
      ++state.FailedFiles;
    }
  }
}

void TempCleanup::CountFolderRemoval(bool removed) {
  if (removed)
    ++run_.state.DirCount;
  else
    ++run_.state.FailedDirs;
}

// Files first, then each subfolder's tree, then the folder itself; a folder link is removed
// itself and nothing behind it is ever entered.
void TempCleanup::KillDirTree(const std::wstring& dir) {
  WalkLevel start{dir, {}, {}};
  if (const auto self = run_.fs.Open(dir)) start.id = self->id;
  KillDirFiles(dir);
  run_.fs.ListFolder(dir, start.entries);
  const auto visit = [this](WalkLevel& level, const DirEntry& entry, WalkLevel& sub) {
    // A folder whose content is elsewhere is left as a dot-named one is: listing it would fetch
    // that content, and emptying it would delete it there.
    if (entry.IsPlaceholder()) return WalkStep::Skip;
    if (!KeepCleaning()) return WalkStep::Stop;
    KillDirFiles(level.dir);  // files that resisted are tried again
    if (!KeepCleaning()) return WalkStep::Stop;
    if (entry.IsLink()) {
      CountFolderRemoval(run_.fs.RemoveFolder(sub.dir, entry.id));
      return WalkStep::Skip;
    }
    if (!run_.state.NightTrashMode) run_.ShowFolder(sub.dir);
    KillDirFiles(sub.dir);
    if (run_.closing || run_.state.StopFlag) return WalkStep::Stop;
    run_.fs.ListListedFolder(sub.dir, entry.id, sub.entries);
    return WalkStep::Enter;
  };
  const auto leave = [this](const WalkLevel& done, bool) {
    if (done.dir != run_.state.TmpDir) CountFolderRemoval(run_.fs.RemoveFolder(done.dir, done.id));
  };
  WalkTree(std::move(start), visit, leave);
}

void TempCleanup::ResetCounters() {
  ProgramState& state = run_.state;
  state.DirCount = state.FailedDirs = state.KilledFiles = state.FailedFiles = state.KilledBytes = 0;
}

TempCleanResult TempCleanup::Result(TempOutcome outcome) const {
  const ProgramState& state = run_.state;
  TempCleanResult result;
  result.outcome = run_.closing && outcome == TempOutcome::Cleaned ? TempOutcome::Interrupted : outcome;
  result.removedDirs = state.DirCount;
  result.killedFiles = state.KilledFiles;
  result.killedBytes = state.KilledBytes;
  result.failedDirs = state.FailedDirs;
  result.failedFiles = state.FailedFiles;
  return result;
}

TempCleanResult TempCleanup::Clean() {
  ProgramState& state = run_.state;
  state.StopFlag = false;
  ResetCounters();
  state.TmpDir = run_.fs.TempPath();
  if (!state.NightTrashMode && state.WarnTmp &&
      !run_.view.Ask(QuestionKind::Information,
                     L"Вы хотите удалить все содержимое\nвременной папки " + state.TmpDir + L"?"))
    return Result(TempOutcome::Declined);
  const TempOutcome check = CheckTempFolder(run_.fs, state.TmpDir, state.ExeDir);
  if (check != TempOutcome::Cleaned) {
    run_.view.ShowMessage(kTempFolderError);
    return Result(check);
  }
  KillDirTree(state.TmpDir);
  return Result(TempOutcome::Cleaned);
}

TempCleanResult TempCleanup::NightTrash() {
  ProgramState& state = run_.state;
  state.NightTrashMode = true;
  state.TmpDir = run_.fs.TempPath();
  const TempOutcome check = CheckTempFolder(run_.fs, state.TmpDir, state.ExeDir);
  if (check != TempOutcome::Cleaned) return Result(check);
  ResetCounters();
  KillDirTree(state.TmpDir);
  return Result(TempOutcome::Cleaned);
}

}  // namespace krelmix
