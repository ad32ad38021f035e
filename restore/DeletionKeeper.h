#pragma once
// A run's deletions kept for a while: each file, after every check of its deletion, is moved
// through its handle into the user's keep folder on its own volume, its record line written
// first. Where a volume has no keep folder, the file is deleted for good as before and its line
// says so, in the record on the volume of the temporary folder.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "restore/KeptRuns.h"
#include "restore/RestoreRecord.h"

namespace krelmix {

class DeletionKeeper {
 public:
  DeletionKeeper(FileSystem& fs, Clock& clock) : fs_(fs), clock_(clock) {}
  DeletionKeeper(const DeletionKeeper&) = delete;
  DeletionKeeper& operator=(const DeletionKeeper&) = delete;

  // Starts the record of a run of `command`; a run still open is ended first.
  void StartRun(KeptCommand command);
  // Takes the file `name` of `folder` away from `path` (its full path) as FolderDeletion::
  // RemoveFileIf does, keeping it where it can; true when its name is gone. Outside a run the
  // file is deleted for good.
  bool Remove(FolderDeletion& folder, const std::wstring& path, const std::wstring& name, const FileCheck& isExpected);
  // Closes the run's records and gives room back on the volumes it kept files on, calling
  // `breathe` now and then.
  void EndRun(const KeepLimits& limits, const std::function<void()>& breathe = {});

 private:
  struct Volume {
    std::unique_ptr<KeepFolder> folder;  // none: nothing can be kept there
    bool headed = false;                 // its record has its header line
    std::wstring madeFolder;             // the folder made last for this run's kept files
  };
  Volume& VolumeOf(const std::wstring& root);
  // One line into the record of `volume`, its header first; true once the system holds it.
  bool Note(Volume& volume, const RecordEntry& entry);
  // The name the `n`th file of the run is kept under on `volume`, its folder made.
  std::wstring KeptNameOn(Volume& volume, uint64_t n);

  FileSystem& fs_;
  Clock& clock_;
  std::optional<RecordHeader> run_;
  uint64_t lastRun_ = 0;
  uint64_t count_ = 0;
  std::map<std::wstring, Volume> volumes_;  // by upper-case root
  std::wstring home_;                       // where lines of files kept nowhere go
};

}  // namespace krelmix
