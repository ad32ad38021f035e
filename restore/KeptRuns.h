#pragma once
// The runs whose deletions were kept, as their records on each volume tell them: listing them,
// putting their files back, deleting them for good, and giving the room back when they are old or
// the volume runs short. Nothing in a keep folder is followed: a link, or a file that is not what
// its record says, is refused and reported, never restored or deleted through.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "restore/RestoreRecord.h"

namespace krelmix {

// Where the running user's kept files of the volume `root` ("C:") lie.
std::wstring KeepFolderOf(FileSystem& fs, const std::wstring& root);
// The roots of the fixed disks, "C:" first.
std::vector<std::wstring> FixedRoots(Drives& drives);

struct KeptRun {
  uint64_t run = 0;
  uint64_t time = 0;  // 100 ns units since 1601-01-01 UTC
  KeptCommand command = KeptCommand::Delete;
  uint64_t keptFiles = 0, keptBytes = 0;  // what can still be put back
  uint64_t lostFiles = 0;                 // deleted for good: no keep folder could take them
  std::vector<std::wstring> roots;        // the volumes holding its records
};

enum class KeptState {
  Kept,  // in the keep folder: can be put back
  Lost,  // deleted for good at the time
  Gone,  // not in the keep folder: never moved (the run was cut off), put back or deleted since
};

struct KeptFile {
  std::wstring root;
  RecordEntry entry;
  KeptState state = KeptState::Gone;
};

enum class FileOutcome {
  Restored,    // back at its path
  Purged,      // deleted for good
  PlaceTaken,  // another file is at its path now: it stays kept
  Refused,     // a link, or not what its record says: left alone
  NotKept,     // nothing to put back or delete
  Failed,      // the system refused
};

struct FileResult {
  std::wstring path;
  FileOutcome outcome = FileOutcome::Failed;
};

// Every run kept on the volumes `roots`, newest first; one run's records on several volumes are
// one run.
std::vector<KeptRun> ListRuns(FileSystem& fs, const std::vector<std::wstring>& roots);
std::vector<KeptFile> RunFiles(FileSystem& fs, const KeptRun& run);
// Each kept file of the run back at its path, never over another file; a record whose files are
// all gone is removed with them.
std::vector<FileResult> Restore(FileSystem& fs, const KeptRun& run);
// Each kept file of the run deleted for good, and its records.
std::vector<FileResult> Purge(FileSystem& fs, const KeptRun& run);

// The limits a keep folder is held to.
struct KeepLimits {
  std::optional<unsigned> days;  // kept files older than this go; none: no age rule
  unsigned sharePercent = 5;     // the kept files may take this share of the volume
  unsigned freePercent = 5;      // and the volume's free room may not fall under this share
};

// On each of the volumes `roots`: the runs older than the limit go for good, then, oldest first,
// runs until the kept files take no more than their share and the free room is back above its.
// `now` is the wall time, in the units of KeptRun::time. `breathe`, when given, is called every few
// hundred kept files looked at, so that a window can answer meanwhile.
void ReclaimSpace(FileSystem& fs, const std::vector<std::wstring>& roots, uint64_t now, const KeepLimits& limits,
                  const std::function<void()>& breathe = {});

}  // namespace krelmix
