#include "restore/KeptRuns.h"

#include <algorithm>
#include <map>
#include <memory>

namespace krelmix {

namespace {
constexpr uint64_t kDay = 24ull * 60 * 60 * 10'000'000;  // in 100 ns units

// One volume's keep folder as one look at it found it.
struct VolumeKeep {
  std::wstring root;
  std::unique_ptr<KeepFolder> folder;
  std::map<std::wstring, DirEntry> files;  // the plain files in it, by name, once indexed
  std::vector<DirEntry> listed;            // what the look found, until indexed
};

// Filing a few hundred thousand names takes long enough to be felt: the window is let answer
// between batches.
void IndexFiles(VolumeKeep& volume, const std::function<void()>& breathe = {}) {
  constexpr size_t kBatch = 4096;
  size_t filed = 0;
  for (DirEntry& entry : volume.listed) {
    if (!entry.IsDirectory()) volume.files.emplace(entry.name, std::move(entry));
    if (breathe && ++filed % kBatch == 0) breathe();
  }
  volume.listed.clear();
  volume.listed.shrink_to_fit();
}

// The volume's keep folder, opened and not yet looked into.
std::optional<VolumeKeep> OpenKeep(FileSystem& fs, const std::wstring& root) {
  const std::wstring path = KeepFolderOf(fs, root);
  if (path.empty()) return std::nullopt;
  VolumeKeep volume{root, fs.OpenKeepFolder(path, false), {}, {}};
  if (!volume.folder) return std::nullopt;
  return volume;
}

// The volume's keep folder listed and its files filed by name.
std::optional<VolumeKeep> OpenVolume(FileSystem& fs, const std::wstring& root,
                                     const std::function<void()>& breathe = {}) {
  std::optional<VolumeKeep> volume = OpenKeep(fs, root);
  if (!volume || !volume->folder->List(volume->listed, breathe)) return std::nullopt;
  IndexFiles(*volume, breathe);
  return volume;
}

std::optional<Record> ReadRun(VolumeKeep& volume, uint64_t run) {
  const std::optional<std::string> bytes = volume.folder->Read(RecordName(run));
  if (!bytes) return std::nullopt;
  std::optional<Record> record = ParseRecord(*bytes);
  if (record && record->header.run != run) return std::nullopt;
  return record;
}

KeptState StateOf(const VolumeKeep& volume, const RecordEntry& entry) {
  if (!entry.kept) return KeptState::Lost;
  return volume.files.count(entry.keptName) ? KeptState::Kept : KeptState::Gone;
}

// The kept file is still the file its record names: the same number on its volume where that is
// known, the same size and last-write time.
FileCheck AsRecorded(const RecordEntry& entry) {
  return [&entry](const FileIdentity& now) {
    return (entry.index == 0 || now.id.index == entry.index) && now.size == entry.size &&
           now.lastWrite == entry.lastWrite;
  };
}

// What the listing already shows of a kept file that no longer is what its record says.
bool LooksAltered(const VolumeKeep& volume, const RecordEntry& entry) {
  const auto it = volume.files.find(entry.keptName);
  return it == volume.files.end() || it->second.IsLink() || it->second.size != entry.size;
}

FileOutcome OutcomeOf(PutBack back) {
  switch (back) {
    case PutBack::Done:
      return FileOutcome::Restored;
    case PutBack::PlaceTaken:
      return FileOutcome::PlaceTaken;
    case PutBack::Refused:
      return FileOutcome::Refused;
    case PutBack::Missing:
      return FileOutcome::NotKept;
    case PutBack::Failed:
      break;
  }
  return FileOutcome::Failed;
}

// Puts back or deletes every kept file of one run on one volume; the record goes once nothing
// of the run is left in the folder.
std::vector<FileResult> Settle(VolumeKeep& volume, const Record& record, bool restore) {
  std::vector<FileResult> results;
  size_t left = 0;
  for (const RecordEntry& entry : record.entries) {
    FileResult result{entry.path, FileOutcome::NotKept};
    if (StateOf(volume, entry) == KeptState::Kept) {
      if (restore) {
        result.outcome = OutcomeOf(volume.folder->MoveBack(entry.keptName, AsRecorded(entry), entry.path));
      } else if (volume.folder->Remove(entry.keptName, AsRecorded(entry))) {
        result.outcome = FileOutcome::Purged;
      } else {
        result.outcome = LooksAltered(volume, entry) ? FileOutcome::Refused : FileOutcome::Failed;
      }
      const bool settled = result.outcome == FileOutcome::Restored || result.outcome == FileOutcome::Purged;
      if (settled) volume.files.erase(entry.keptName);
      left += !settled;
    }
    results.push_back(std::move(result));
  }
  if (left == 0) volume.folder->Remove(RecordName(record.header.run), [](const FileIdentity&) { return true; });
  // The run's folders that are empty now.
  std::wstring_view last;
  for (const RecordEntry& entry : record.entries) {
    const std::wstring_view folder = FolderOfKeptName(entry.keptName);
    if (folder.empty() || folder == last) continue;
    last = folder;
    volume.folder->RemoveFolder(std::wstring(folder));
  }
  return results;
}

std::vector<FileResult> SettleRun(FileSystem& fs, const KeptRun& run, bool restore) {
  std::vector<FileResult> results;
  for (const std::wstring& root : run.roots) {
    std::optional<VolumeKeep> volume = OpenVolume(fs, root);
    if (!volume) continue;
    const std::optional<Record> record = ReadRun(*volume, run.run);
    if (!record) continue;
    std::vector<FileResult> more = Settle(*volume, *record, restore);
    results.insert(results.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
  }
  return results;
}

uint64_t KeptBytes(const VolumeKeep& volume, const Record& record) {
  uint64_t bytes = 0;
  for (const RecordEntry& entry : record.entries)
    if (StateOf(volume, entry) == KeptState::Kept) bytes += volume.files.at(entry.keptName).size;
  return bytes;
}
}  // namespace

std::wstring KeepFolderOf(FileSystem& fs, const std::wstring& root) {
  const std::wstring user = fs.UserKey();
  if (user.empty() || root.empty()) return {};
  return root + L"\\" + kKeepRootName + L"\\" + user;
}

std::vector<std::wstring> FixedRoots(Drives& drives) {
  std::vector<std::wstring> roots;
  const uint32_t present = drives.LogicalDrives();
  for (int i = 0; i < 26; ++i) {
    const wchar_t letter = static_cast<wchar_t>(L'A' + i);
    if ((present >> i) & 1u && drives.Kind(letter) == DriveKind::Fixed) roots.push_back(std::wstring(1, letter) + L":");
  }
  return roots;
}

std::vector<KeptRun> ListRuns(FileSystem& fs, const std::vector<std::wstring>& roots) {
  std::map<uint64_t, KeptRun> runs;
  for (const std::wstring& root : roots) {
    std::optional<VolumeKeep> volume = OpenVolume(fs, root);
    if (!volume) continue;
    for (const auto& [name, entry] : volume->files) {
      const std::optional<uint64_t> number = RunOfRecordName(name);
      if (!number) continue;
      const std::optional<Record> record = ReadRun(*volume, *number);
      if (!record) continue;
      KeptRun& run = runs[*number];
      run.run = *number;
      run.time = record->header.time;
      run.command = record->header.command;
      run.roots.push_back(root);
      for (const RecordEntry& kept : record->entries) {
        const KeptState state = StateOf(*volume, kept);
        run.keptFiles += state == KeptState::Kept;
        run.lostFiles += state == KeptState::Lost;
        if (state == KeptState::Kept) run.keptBytes += kept.size;
      }
    }
  }
  std::vector<KeptRun> list;
  for (auto& [number, run] : runs) list.push_back(std::move(run));
  std::sort(list.begin(), list.end(),
            [](const KeptRun& a, const KeptRun& b) { return a.time != b.time ? a.time > b.time : a.run > b.run; });
  return list;
}

std::vector<KeptFile> RunFiles(FileSystem& fs, const KeptRun& run) {
  std::vector<KeptFile> files;
  for (const std::wstring& root : run.roots) {
    std::optional<VolumeKeep> volume = OpenVolume(fs, root);
    if (!volume) continue;
    const std::optional<Record> record = ReadRun(*volume, run.run);
    if (!record) continue;
    for (const RecordEntry& entry : record->entries) files.push_back({root, entry, StateOf(*volume, entry)});
  }
  return files;
}

std::vector<FileResult> Restore(FileSystem& fs, const KeptRun& run) { return SettleRun(fs, run, true); }

std::vector<FileResult> Purge(FileSystem& fs, const KeptRun& run) { return SettleRun(fs, run, false); }

// Runs at each start and at the end of every deletion, so it reads no record unless one may have
// to go: one walk through the keep folder adds up the kept bytes, holding no more than a folder's
// listing however many files are kept, and a record's name gives its run's number, which is its
// start time or a few ticks after it.
void ReclaimSpace(FileSystem& fs, const std::vector<std::wstring>& roots, uint64_t now, const KeepLimits& limits,
                  const std::function<void()>& breathe) {
  for (const std::wstring& root : roots) {
    std::optional<VolumeKeep> volume = OpenKeep(fs, root);
    if (!volume) continue;
    std::vector<uint64_t> numbers;
    uint64_t kept = 0;
    const auto tally = [&](DirEntry&& entry) {
      if (entry.IsDirectory()) return;
      if (const std::optional<uint64_t> number = RunOfRecordName(entry.name))
        numbers.push_back(*number);
      else
        kept += entry.size;
    };
    if (!volume->folder->Walk(tally, breathe)) continue;
    const std::optional<VolumeSpace> space = fs.SpaceOf(root);
    // A volume whose size the system does not tell is held to the age rule alone.
    const bool sized = space && space->total > 0;
    const uint64_t share = sized ? space->total / 100 * limits.sharePercent : 0;
    const uint64_t room = sized ? space->total / 100 * limits.freePercent : 0;
    uint64_t free = sized ? space->free : 0;
    const auto cramped = [&] { return sized && (kept > share || free < room); };
    // The age rule; a run stamped later than now (a clock set back) is taken as new.
    const uint64_t most = limits.days ? static_cast<uint64_t>(*limits.days) * kDay : 0;
    const auto old = [&](uint64_t time) { return limits.days && now > time && now - time > most; };
    // A day's margin for the name, so that no run past its days is missed.
    const auto mayBeOld = [&](uint64_t number) { return limits.days && now > number && now - number + kDay > most; };
    std::vector<Record> records;  // oldest first
    for (const uint64_t number : numbers)
      if (cramped() || mayBeOld(number))
        if (std::optional<Record> record = ReadRun(*volume, number)) records.push_back(std::move(*record));
    if (records.empty() || !volume->folder->List(volume->listed, breathe)) continue;
    IndexFiles(*volume, breathe);
    std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
      return a.header.time != b.header.time ? a.header.time < b.header.time : a.header.run < b.header.run;
    });
    const auto settle = [&](const Record& record) {
      const uint64_t bytes = KeptBytes(*volume, record);
      Settle(*volume, record, false);
      const uint64_t freed = bytes - KeptBytes(*volume, record);
      kept -= std::min(kept, freed);
      free += freed;
    };
    size_t first = 0;
    for (; first < records.size() && old(records[first].header.time); ++first) settle(records[first]);
    for (size_t i = first; i < records.size() && cramped(); ++i) settle(records[i]);
  }
}

}  // namespace krelmix
