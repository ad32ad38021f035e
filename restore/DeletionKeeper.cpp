#include "restore/DeletionKeeper.h"

#include <algorithm>
#include <vector>

#include "platform/CaseFold.h"
#include "platform/PathText.h"

namespace krelmix {

void DeletionKeeper::StartRun(KeptCommand command) {
  if (run_) EndRun({});
  // Runs are told apart by their numbers: two runs in the same tick of the clock get two.
  const uint64_t time = clock_.WallTime();
  lastRun_ = std::max(time, lastRun_ + 1);
  run_ = RecordHeader{lastRun_, time, command};
  count_ = 0;
  home_ = UpperCase(PathRoot(fs_.TempPath()));
}

DeletionKeeper::Volume& DeletionKeeper::VolumeOf(const std::wstring& root) {
  const std::wstring key = UpperCase(root);
  auto it = volumes_.find(key);
  if (it != volumes_.end()) return it->second;
  Volume volume;
  // Only a fixed disk keeps files: a removable one goes elsewhere with what the user deleted.
  const std::optional<VolumeSpace> space = fs_.SpaceOf(root);
  const std::wstring path = KeepFolderOf(fs_, root);
  if (space && space->fixed && !path.empty()) volume.folder = fs_.OpenKeepFolder(path, true);
  return volumes_.emplace(key, std::move(volume)).first->second;
}

bool DeletionKeeper::Note(Volume& volume, const RecordEntry& entry) {
  if (!volume.folder) return false;
  const std::wstring name = RecordName(run_->run);
  if (!volume.headed) volume.headed = volume.folder->Append(name, HeaderLine(*run_));
  return volume.headed && volume.folder->Append(name, EntryLine(entry));
}

std::wstring DeletionKeeper::KeptNameOn(Volume& volume, uint64_t n) {
  std::wstring name = KeptName(run_->run, n);
  if (!volume.folder) return name;
  const std::wstring folder(FolderOfKeptName(name));
  if (volume.madeFolder != folder && volume.folder->MakeFolder(folder)) volume.madeFolder = folder;
  // Where no folder can be made the file lies in the keep folder itself.
  return volume.madeFolder == folder ? name : name.substr(folder.size() + 1);
}

bool DeletionKeeper::Remove(FolderDeletion& folder, const std::wstring& path, const std::wstring& name,
                            const FileCheck& isExpected) {
  if (!run_) return folder.RemoveFileIf(name, isExpected);
  const std::wstring root(PathRoot(path));
  Volume& own = VolumeOf(root);
  const std::wstring keptName = KeptNameOn(own, ++count_);
  bool unrecorded = false;
  const auto note = [&](const GoingFile& file, bool kept) {
    const RecordEntry entry{
        kept, keptName, file.identity.size, file.identity.lastWrite, file.attributes, file.identity.id.index, path};
    if (kept) return Note(own, entry) || (unrecorded = true, false);
    // A file that goes for good is recorded where its volume keeps records, else at home; that
    // the line cannot be written does not keep the deletion from happening.
    if (!Note(own, entry) && !home_.empty() && !SameName(home_, root)) Note(VolumeOf(home_), entry);
    return true;
  };
  GoneAs gone = folder.KeepFileIf(name, isExpected, own.folder.get(), keptName, note);
  // A record that could not be written cannot bring the file back: it goes as before.
  if (gone == GoneAs::NotGone && unrecorded) gone = folder.KeepFileIf(name, isExpected, nullptr, keptName, note);
  return gone != GoneAs::NotGone;
}

void DeletionKeeper::EndRun(const KeepLimits& limits, const std::function<void()>& breathe) {
  if (!run_) return;
  std::vector<std::wstring> roots;
  for (auto& [root, volume] : volumes_)
    if (volume.folder && volume.headed) roots.push_back(root);
  volumes_.clear();  // the records are closed before any of them may go
  const uint64_t now = clock_.WallTime();
  run_.reset();
  ReclaimSpace(fs_, roots, now, limits, breathe);
}

}  // namespace krelmix
