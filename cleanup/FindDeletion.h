#pragma once
// The deletion of the found list's files: only what the search found goes, each find marked with
// what became of its file.
#include <cstdint>
#include <memory>
#include <string>

#include "cleanup/EngineContext.h"
#include "cleanup/FoundList.h"
#include "restore/DeletionKeeper.h"

namespace krelmix {

class FindDeletion {
 public:
  // Each file goes through `keeper`, which keeps it for a while where it can.
  FindDeletion(EngineContext& run, FoundList& finds, DeletionKeeper& keeper)
      : run_(run), finds_(finds), keeper_(keeper) {}

  // The finds first to last, the ticked ones only or all. The window answers meanwhile: a stop
  // confirmed during the pass, or the window closing, ends it between two files, and the finds
  // not reached keep their ticks.
  void KillFound(bool tickedOnly);
  // A stop was confirmed: a pass running now ends at its next file.
  void StopRequested() { ++stopRequests_; }
  // The last pass ended at a stop before its last line: lines may still be ticked.
  bool Stopped() const { return stopped_; }
  void ForgetStop() { stopped_ = false; }

 private:
  // The folder a pass works in: opened once for all of its finds, which come together.
  struct DeletionFolder {
    std::wstring dir;
    std::unique_ptr<FolderDeletion> folder;
  };
  // Deletes the file of find `index` and marks the find; true when it was deleted.
  bool KillFile(size_t index, DeletionFolder& at);

  EngineContext& run_;
  FoundList& finds_;
  DeletionKeeper& keeper_;
  uint64_t stopRequests_ = 0;
  bool stopped_ = false;
};

}  // namespace krelmix
