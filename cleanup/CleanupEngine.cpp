#include "cleanup/CleanupEngine.h"

#include <algorithm>

#include "common/TextCase.h"
#include "cleanup/Report.h"
#include "settings/Switch.h"

namespace krelmix {

namespace {
constexpr wchar_t kKilledMark[] = L" (Убит!)";
constexpr wchar_t kFailedMark[] = L" (Ошибка удаления)";
constexpr wchar_t kStopQuestion[] = L"Неужели вы хотите остановить?";
constexpr int kStatusWidth = 285;
// Longer masks are cut, as the file finder would have been handed them.
constexpr size_t kMaxMaskLength = 255;
// The attributes under which the two name tests of a find apply.
constexpr uint32_t kPlainFileBits = FileAttr::ReadOnly | FileAttr::Hidden | FileAttr::System |
                                    FileAttr::Archive | FileAttr::Compressed;

bool IsRoot(const std::wstring& dir) { return dir.size() == 2; }
bool IsDotName(const std::wstring& name) { return !name.empty() && name[0] == L'.'; }
bool IsPlainFile(const DirEntry& entry) { return !entry.IsDirectory() && !entry.IsLink(); }

// Names that the search leaves alone although a mask matches them.
bool FailsNameTests(const DirEntry& entry) {
  if ((entry.attributes & ~kPlainFileBits) != 0) return false;
  const size_t dot = entry.name.rfind(L'.');
  if (dot != std::wstring::npos && entry.name.size() - dot > 4) return true;
  return entry.name == L"DATA.BAK";
}

// The enabled keys of a section, in file order.
std::vector<std::wstring> EnabledKeys(const IniDocument& document, const wchar_t* section) {
  std::vector<std::wstring> keys;
  for (const auto& key : document.KeyNames(section))
    if (ReadSwitch(document.Value(section, key), false)) keys.push_back(key);
  return keys;
}

std::wstring WithoutTrailingBackslashes(std::wstring path) {
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

// "C:\x" or "\\server\share\x": an absolute path below a drive root or a share.
bool IsBelowRoot(const std::wstring& path) {
  if (path.size() > 3 && path[1] == L':' && path[2] == L'\\') return true;
  if (path.rfind(L"\\\\", 0) != 0) return false;
  const size_t server = path.find(L'\\', 2);
  if (server == std::wstring::npos) return false;
  const size_t share = path.find(L'\\', server + 1);
  return share != std::wstring::npos && share + 1 < path.size();
}

bool HasRelativeStep(const std::wstring& path) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    const std::wstring_view part(path.data() + start, end - start);
    if (part == L"." || part == L"..") return true;
    start = end + 1;
  }
  return path.find(L'/') != std::wstring::npos;
}

// True when `folder` is `outer` or lies inside it (compared without case).
bool IsSameOrInside(const std::wstring& folder, const std::wstring& outer) {
  const std::wstring f = UpperCase(WithoutTrailingBackslashes(folder));
  const std::wstring o = UpperCase(WithoutTrailingBackslashes(outer));
  if (o.empty()) return false;
  return f == o || (f.size() > o.size() && f.compare(0, o.size(), o) == 0 && f[o.size()] == L'\\');
}
}  // namespace

DriveTicks TickedDrives(const std::vector<DriveLine>& lines) {
  DriveTicks ticks;
  ticks.listEmpty = lines.empty();
  for (const auto& line : lines)
    if (line.ticked) ticks.roots.push_back(line.text.substr(0, 2));
  return ticks;
}

// Marks the engine busy for the length of one public call; the outermost call starts afresh.
class CleanupEngine::RunScope {
 public:
  explicit RunScope(CleanupEngine& engine) : engine_(engine) {
    if (engine_.depth_++ == 0) engine_.closing_ = false;
  }
  ~RunScope() {
    if (--engine_.depth_ == 0) engine_.view_.ShowPending();
  }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

 private:
  CleanupEngine& engine_;
};

CleanupEngine::CleanupEngine(ProgramState& state, FileSystem& fs, CleanupView& view,
                             const SettingsFile& settings, Clock& clock)
    : state_(state), fs_(fs), view_(view), settings_(settings), clock_(clock) {}

bool CleanupEngine::Pump() {
  if (!closing_ && !view_.PumpMessages()) closing_ = true;
  return !closing_;
}

// ---------------------------------------------------------------------------------------------
// Settings

void CleanupEngine::LoadKillMasks() {
  const IniDocument document = settings_.Load();
  state_.MaskList.clear();
  for (auto mask : EnabledKeys(document, L"Kill")) {
    if (mask.size() > kMaxMaskLength) mask.resize(kMaxMaskLength);
    // A mask like "*.*" or one reaching into another folder would take everything with it.
    if (IsUsableMask(mask)) state_.MaskList.push_back(mask);
  }
  state_.FollowReport = ReadSwitch(document.Value(L"Options", L"1"), true);
}

void CleanupEngine::LoadExcludeDirs() {
  const IniDocument document = settings_.Load();
  state_.ExcludeList = EnabledKeys(document, L"ExcludeDir");
  state_.FollowReport = ReadSwitch(document.Value(L"Options", L"1"), true);
}

// The walk works on its own copies: closing the window in the middle of it clears the lists.
void CleanupEngine::PrepareMasks() {
  masks_.clear();
  for (const auto& text : state_.MaskList)
    if (IsUsableMask(text)) masks_.push_back({text, Wildcard(text)});
  excludes_ = state_.ExcludeList;
}

bool CleanupEngine::IsExcluded(const std::wstring& path) const {
  return std::find(excludes_.begin(), excludes_.end(), path) != excludes_.end();
}

// ---------------------------------------------------------------------------------------------
// Search

void CleanupEngine::SearchClick(const DriveTicks& drives) {
  RunScope scope(*this);
  state_.StopFlag = false;
  state_.CleanMode = false;
  for (auto button : {MainButton::Search, MainButton::Delete, MainButton::Clean, MainButton::Tmp,
                      MainButton::Exit, MainButton::Settings})
    view_.EnableButton(button, false);
  view_.EnableButton(MainButton::Stop, true);
  RunSearch(drives);
  for (auto button : {MainButton::Search, MainButton::Clean, MainButton::Tmp, MainButton::Exit,
                      MainButton::Settings})
    view_.EnableButton(button, true);
  view_.EnableButton(MainButton::Stop, false);
  view_.EnableButton(MainButton::Delete, view_.FoundCount() > 0);
}

void CleanupEngine::StopClick() { state_.StopFlag = view_.Ask(QuestionKind::Confirmation, kStopQuestion); }

void CleanupEngine::RunSearch(const DriveTicks& drives) {
  RunScope scope(*this);
  LoadKillMasks();
  LoadExcludeDirs();
  view_.EnableDriveList(false);
  state_.KilledFiles = state_.FailedFiles = state_.KilledBytes = 0;
  view_.SetFolderCounter(L"Каталогов:");
  view_.SetFileCounter(L"Файлов:");
  startTime_ = clock_.Now();
  startSteady_ = clock_.SteadyMilliseconds();
  view_.ClearFound();
  state_.FoundFiles = state_.DirCount = state_.FoundBytes = 0;
  if (drives.listEmpty) {
    // Nothing to search and nothing to report; the list must not stay disabled though.
    view_.EnableDriveList(true);
    return;
  }
  for (const auto& root : drives.roots) {
    SearchDir(root);
    if (closing_) return;
  }
  view_.SetStatus(L"");
  for (size_t i = 0, n = view_.FoundCount(); i < n; ++i) view_.SetFoundTicked(i, true);
  FinishRun();
}

void CleanupEngine::SearchDir(const std::wstring& dir) {
  RunScope scope(*this);
  if (closing_) return;
  std::vector<DirEntry> entries;
  fs_.ListFolder(dir, entries);
  if (IsRoot(dir)) {
    if (state_.MaskList.empty()) state_.MaskList = {L"*.bak", L"*.tmp"};
    PrepareMasks();
    // A root's own files are listed even after a stop: only subfolder entries look at it.
    FindAllMasks(dir, entries);
    if (closing_) return;
  }
  Walk(dir, std::move(entries));
}

void CleanupEngine::FindGarbageFiles(const std::wstring& dir, const std::wstring& mask) {
  RunScope scope(*this);
  if (!Pump() || !IsUsableMask(mask)) return;
  std::vector<DirEntry> entries;
  if (!fs_.ListFolder(dir, entries)) return;
  ListMatches(dir, entries, {mask, Wildcard(mask)});
}

// One listing serves every mask; the messages are still pumped once per folder and mask.
void CleanupEngine::FindAllMasks(const std::wstring& dir, const std::vector<DirEntry>& entries) {
  for (const auto& mask : masks_) {
    if (!Pump()) return;
    ListMatches(dir, entries, mask);
  }
}

void CleanupEngine::ListMatches(const std::wstring& dir, const std::vector<DirEntry>& entries,
                                const Mask& mask) {
  for (const auto& entry : entries) {
    // Links are left alone: deleting one is never what its name promised.
    if (!IsPlainFile(entry) || !mask.wildcard.Matches(entry.name)) continue;
    if (FailsNameTests(entry)) continue;
    AddFind(dir, entry);
  }
}

void CleanupEngine::AddFind(const std::wstring& dir, const DirEntry& entry) {
  if (!state_.NightFlyMode) {
    state_.FoundBytes += entry.size;
    ++state_.FoundFiles;
    view_.SetFileCounter(L"Файлов: " + std::to_wstring(state_.FoundFiles));
  }
  view_.AppendFound(dir + L"\\" + entry.name);
  if (!state_.NightFlyMode && state_.FollowReport) view_.MakeFoundCurrent(view_.FoundCount() - 1);
}

// Depth-first over the subfolders, with an explicit stack so that no tree is too deep for it.
// Each folder's files are listed just before the walk descends into it, and the status line
// shows it once its subtree is done.
void CleanupEngine::Walk(const std::wstring& dir, std::vector<DirEntry> entries) {
  struct Level {
    std::wstring dir;
    std::vector<DirEntry> entries;
    size_t next = 0;
  };
  std::vector<Level> levels;
  levels.push_back({dir, std::move(entries)});
  while (!levels.empty()) {
    Level& level = levels.back();
    bool leave = level.next == level.entries.size();
    if (!leave) {
      const DirEntry& entry = level.entries[level.next++];
      if (!entry.IsDirectory() || IsDotName(entry.name)) continue;
      if (!Pump()) return;
      // A stop makes every level return at its next subfolder entry.
      leave = state_.StopFlag;
      if (!leave) {
        std::wstring sub = level.dir + L"\\" + entry.name;
        if (entry.IsLink() || IsExcluded(sub)) continue;
        ++state_.DirCount;
        view_.SetFolderCounter(L"Каталогов: " + std::to_wstring(state_.DirCount));
        std::vector<DirEntry> subEntries;
        fs_.ListFolder(sub, subEntries);
        FindAllMasks(sub, subEntries);
        if (closing_) return;
        levels.push_back({std::move(sub), std::move(subEntries)});  // `level` is stale from here
        continue;
      }
    }
    std::wstring done = std::move(level.dir);
    levels.pop_back();
    if (!levels.empty()) ShowFolder(done);
  }
}

void CleanupEngine::ShowFolder(const std::wstring& dir) {
  if (state_.NightFlyMode) return;
  const TextWidth width = [this](std::wstring_view text) { return view_.TextWidth(text); };
  view_.SetStatus(L" " + ShortenPath(dir, width, kStatusWidth));
}

// ---------------------------------------------------------------------------------------------
// Deletion and the report

bool CleanupEngine::KillFile(const std::wstring& path, size_t index) {
  RunScope scope(*this);
  bool deleted = false;
  // Checked right before the deletion: whatever stands at the path now must still be a file.
  const std::optional<DirEntry> before = fs_.Stat(path);
  if (before && IsPlainFile(*before)) {
    // Only read-only really stops a deletion; the reset is skipped when there is nothing to clear.
    const bool reset = (before->attributes & (FileAttr::ReadOnly | FileAttr::Hidden | FileAttr::System)) != 0;
    if (reset) fs_.SetAttributes(path, FileAttr::Archive);
    deleted = fs_.RemoveFile(path);
    if (!deleted && reset) fs_.SetAttributes(path, before->attributes);
  }
  if (state_.NightFlyMode) return deleted;
  if (deleted) {
    ++state_.KilledFiles;
    state_.KilledBytes += before->size;
  } else {
    ++state_.FailedFiles;
  }
  view_.SetFoundLine(index, path + (deleted ? kKilledMark : kFailedMark));
  return deleted;
}

void CleanupEngine::FinishRun() {
  if (state_.CleanMode) {
    for (size_t i = 0, n = view_.FoundCount(); i < n; ++i)
      if (view_.FoundTicked(i)) KillFile(view_.FoundLine(i), i);
  }
  SoundEvent event = SoundEvent::evNothingFound;
  std::wstring report = NothingFoundReport(state_.DirCount);
  if (state_.FoundFiles != 0 && state_.CleanMode) {
    event = SoundEvent::evKilled;
    report = CleanedReport(state_.KilledFiles, state_.KilledBytes, state_.DirCount);
  } else if (state_.FoundFiles != 0) {
    event = SoundEvent::evFound;
    report = FoundReport(state_.FoundFiles, state_.FoundBytes, state_.DirCount);
  }
  view_.SetStatus(report);
  if (state_.TestMode) {
    const TimeOfDay end = clock_.Now();
    view_.ShowMessage(TimingMessage(startTime_, end, clock_.SteadyMilliseconds() - startSteady_));
  }
  view_.EnableDriveList(true);
  view_.PlayEventSound(event);
}

void CleanupEngine::DeleteClick() {
  RunScope scope(*this);
  if (view_.FoundCount() == 0) return;
  for (size_t i = 0, n = view_.FoundCount(); i < n; ++i)
    if (view_.FoundTicked(i)) KillFile(view_.FoundLine(i), i);
  view_.SetStatus(CleanedReport(state_.KilledFiles, state_.KilledBytes, state_.DirCount));
  view_.EnableButton(MainButton::Delete, false);
  view_.PlayEventSound(SoundEvent::evKilled);
}

void CleanupEngine::CleanClick(const DriveTicks& drives) {
  RunScope scope(*this);
  state_.StopFlag = false;
  state_.CleanMode = true;
  for (auto button : {MainButton::Search, MainButton::Delete, MainButton::Clean, MainButton::Tmp,
                      MainButton::Exit})
    view_.EnableButton(button, false);
  view_.EnableButton(MainButton::Stop, true);
  RunSearch(drives);
  for (auto button : {MainButton::Search, MainButton::Clean, MainButton::Tmp, MainButton::Exit})
    view_.EnableButton(button, true);
  view_.EnableButton(MainButton::Stop, false);
}

void CleanupEngine::NightFly(const DriveTicks& drives) {
  RunScope scope(*this);
  state_.NightFlyMode = true;
  LoadKillMasks();
  LoadExcludeDirs();
  if (drives.listEmpty) return;
  for (const auto& root : drives.roots) {
    SearchDir(root);
    if (closing_) return;
  }
  for (size_t i = 0, n = view_.FoundCount(); i < n; ++i) KillFile(view_.FoundLine(i), i);
}

// ---------------------------------------------------------------------------------------------
// Temporary folder

void CleanupEngine::KillDirFiles(const std::wstring& dir) {
  RunScope scope(*this);
  std::vector<DirEntry> entries;
  fs_.ListFolder(dir, entries);
  for (const auto& entry : entries) {
    if (entry.IsDirectory()) continue;
    const std::wstring path = dir + L"\\" + entry.name;
    // A file link goes by itself; resetting its attributes would reach through to its target.
    if (!entry.IsLink() && !fs_.SetAttributes(path, FileAttr::Archive)) continue;
    if (fs_.RemoveFile(path)) {
      ++state_.KilledFiles;
      state_.KilledBytes += entry.size;
    } else {
      ++state_.FailedFiles;
      if (!entry.IsLink()) fs_.SetAttributes(path, entry.attributes);
    }
  }
}

// Depth-first with an explicit stack: files first, then each subfolder's tree, then the folder.
void CleanupEngine::KillDirTree(const std::wstring& dir) {
  RunScope scope(*this);
  struct Level {
    std::wstring dir;
    std::vector<DirEntry> entries;
    size_t next = 0;
  };
  auto enter = [this](std::wstring path) {
    KillDirFiles(path);
    Level level{std::move(path), {}};
    fs_.ListFolder(level.dir, level.entries);
    return level;
  };
  std::vector<Level> levels;
  levels.push_back(enter(dir));
  while (!levels.empty()) {
    Level& level = levels.back();
    if (level.next < level.entries.size()) {
      const DirEntry& entry = level.entries[level.next++];
      if (!entry.IsDirectory() || IsDotName(entry.name)) continue;
      if (!Pump()) return;
      KillDirFiles(level.dir);  // files that resisted are tried again
      if (!Pump()) return;
      std::wstring sub = level.dir + L"\\" + entry.name;
      if (entry.IsLink()) {
        // The link itself goes; nothing behind it is ever entered.
        if (fs_.RemoveFolder(sub)) ++state_.DirCount;
        else ++state_.FailedDirs;
        continue;
      }
      levels.push_back(enter(std::move(sub)));  // `level` is stale from here
      continue;
    }
    const std::wstring done = std::move(level.dir);
    levels.pop_back();
    if (done == state_.TmpDir) continue;
    if (fs_.RemoveFolder(done)) ++state_.DirCount;
    else ++state_.FailedDirs;
  }
}

void CleanupEngine::ResetTempCounters() {
  state_.DirCount = state_.FailedDirs = state_.KilledFiles = state_.FailedFiles = state_.KilledBytes = 0;
}

void CleanupEngine::StripTrailingBackslash() {
  if (!state_.TmpDir.empty() && state_.TmpDir.back() == L'\\') state_.TmpDir.pop_back();
}

// The reported folder is emptied wholesale, so anything that is not plainly a folder of its own
// is refused. The program's folder is told apart: the unattended run goes on windowed for it.
TempOutcome CleanupEngine::CheckTempFolder() const {
  const std::wstring folder = WithoutTrailingBackslashes(state_.TmpDir);
  if (folder.empty()) return TempOutcome::UnsafeFolder;
  if (UpperCase(folder) == UpperCase(WithoutTrailingBackslashes(state_.ExeDir)))
    return TempOutcome::ProgramFolder;
  if (!IsBelowRoot(folder) || HasRelativeStep(folder)) return TempOutcome::UnsafeFolder;
  for (const auto& kept : fs_.ProtectedFolders())
    if (IsSameOrInside(kept, folder)) return TempOutcome::UnsafeFolder;
  const std::optional<DirEntry> self = fs_.Stat(folder);
  if (self && self->IsLink()) return TempOutcome::UnsafeFolder;
  return TempOutcome::Cleaned;
}

TempCleanResult CleanupEngine::TempResult(TempOutcome outcome) const {
  TempCleanResult result;
  result.outcome = closing_ && outcome == TempOutcome::Cleaned ? TempOutcome::Interrupted : outcome;
  result.removedDirs = state_.DirCount;
  result.killedFiles = state_.KilledFiles;
  result.killedBytes = state_.KilledBytes;
  result.failedDirs = state_.FailedDirs;
  result.failedFiles = state_.FailedFiles;
  return result;
}

TempCleanResult CleanupEngine::TmpClick() {
  RunScope scope(*this);
  ResetTempCounters();
  state_.TmpDir = fs_.TempPath();
  if (!state_.NightTrashMode && state_.WarnTmp &&
      !view_.Ask(QuestionKind::Information,
                 L"Вы хотите удалить все содержимое\nвременной папки " + state_.TmpDir + L"?"))
    return TempResult(TempOutcome::Declined);
  const TempOutcome check = CheckTempFolder();
  if (check != TempOutcome::Cleaned) {
    view_.ShowMessage(kTempFolderError);
    return TempResult(check);
  }
  StripTrailingBackslash();
  KillDirTree(state_.TmpDir);
  return TempResult(TempOutcome::Cleaned);
}

TempCleanResult CleanupEngine::NightTrash() {
  RunScope scope(*this);
  state_.NightTrashMode = true;
  state_.TmpDir = fs_.TempPath();
  const TempOutcome check = CheckTempFolder();
  if (check != TempOutcome::Cleaned) return TempResult(check);
  ResetTempCounters();
  StripTrailingBackslash();
  KillDirTree(state_.TmpDir);
  return TempResult(TempOutcome::Cleaned);
}

}  // namespace krelmix
