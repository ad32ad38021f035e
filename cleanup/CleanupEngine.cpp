#include "cleanup/CleanupEngine.h"

#include <algorithm>

#include "cleanup/Report.h"
#include "platform/CaseFold.h"
#include "platform/PathText.h"
#include "settings/Switch.h"

namespace krelmix {

namespace {
constexpr wchar_t kKilledMark[] = L" (Убит!)";
constexpr wchar_t kFailedMark[] = L" (Ошибка удаления)";
constexpr wchar_t kStopQuestion[] = L"Неужели вы хотите остановить?";
constexpr int kStatusWidth = 285;
// The attributes under which the two name tests of a find apply.
constexpr uint32_t kPlainFileBits =
    FileAttr::ReadOnly | FileAttr::Hidden | FileAttr::System | FileAttr::Archive | FileAttr::Compressed;

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
  for (const auto& [key, value] : document.Entries(section))
    if (ReadSwitch(std::wstring(value), false)) keys.emplace_back(key);
  return keys;
}

// The folders above a canonical path, nearest first, its root last.
std::vector<std::wstring> FoldersAbove(std::wstring path) {
  std::vector<std::wstring> above;
  while (!IsRootPath(path)) {
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos || slash < 2) break;
    path.resize(slash);
    above.push_back(path);
  }
  return above;
}

std::wstring WithoutTrailingBackslashes(std::wstring path) {
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
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

CleanupEngine::CleanupEngine(ProgramState& state, FileSystem& fs, CleanupView& view, const SettingsFile& settings,
                             Clock& clock)
    : state_(state), fs_(fs), view_(view), settings_(settings), clock_(clock) {}

bool CleanupEngine::Pump() {
  if (!closing_ && !view_.PumpMessages()) closing_ = true;
  return !closing_;
}

// ---------------------------------------------------------------------------------------------
// Settings

void CleanupEngine::LoadKillMasks() { LoadKillMasks(settings_.Load()); }
void CleanupEngine::LoadExcludeDirs() { LoadExcludeDirs(settings_.Load()); }

void CleanupEngine::LoadKillMasks(const IniDocument& document) {
  state_.MaskList.clear();
  const std::vector<std::wstring> enabled = EnabledKeys(document, L"Kill");
  for (const auto& mask : enabled) {
    // A mask like "*.*" or one reaching into another folder would take everything with it.
    if (IsUsableMask(mask)) state_.MaskList.push_back(mask);
  }
  // The user switched the built-in masks off by enabling others: refusing those must not bring
  // the built-in ones back.
  masksRefused_ = !enabled.empty() && state_.MaskList.empty();
  state_.FollowReport = ReadSwitch(document.Value(L"Options", L"1"), true);
}

void CleanupEngine::LoadExcludeDirs(const IniDocument& document) {
  state_.ExcludeList = EnabledKeys(document, L"ExcludeDir");
  state_.FollowReport = ReadSwitch(document.Value(L"Options", L"1"), true);
}

// The walk works on its own copies: closing the window in the middle of it clears the lists.
void CleanupEngine::PrepareMasks() {
  masks_.clear();
  for (const auto& text : state_.MaskList)
    if (IsUsableMask(text)) masks_.push_back({text, Wildcard(text)});
  excludes_ = ExclusionSet(state_.ExcludeList, fs_);
}

// ---------------------------------------------------------------------------------------------
// Search

// While a search or a deletion runs, "Стоп" is the one command left ("О..." keeps its state);
// afterwards the caller decides on "Удалить".
void CleanupEngine::SwitchSearchButtons(bool running) {
  for (auto button : {MainButton::Search, MainButton::Clean, MainButton::Tmp, MainButton::Exit, MainButton::Settings})
    view_.EnableButton(button, !running);
  if (running) view_.EnableButton(MainButton::Delete, false);
  view_.EnableButton(MainButton::Stop, running);
}

// The buttons come back also when the run could not start (a settings file that cannot be read).
void CleanupEngine::SearchClick(const DriveTicks& drives) {
  RunScope scope(*this);
  state_.StopFlag = false;
  state_.CleanMode = false;
  SwitchSearchButtons(true);
  const auto idle = [this] {
    SwitchSearchButtons(false);
    view_.EnableButton(MainButton::Delete, view_.FoundCount() > 0);
  };
  try {
    RunSearch(drives);
  } catch (const SettingsReadError&) {
    idle();
    throw;
  }
  idle();
}

void CleanupEngine::StopClick() {
  state_.StopFlag = view_.Ask(QuestionKind::Confirmation, kStopQuestion);
  if (state_.StopFlag) ++stopRequests_;
}

void CleanupEngine::RunSearch(const DriveTicks& drives) {
  RunScope scope(*this);
  const IniDocument document = settings_.Load();
  LoadKillMasks(document);
  LoadExcludeDirs(document);
  view_.EnableDriveList(false);
  state_.KilledFiles = state_.FailedFiles = state_.KilledBytes = 0;
  view_.SetFolderCounter(L"Каталогов:");
  view_.SetFileCounter(L"Файлов:");
  startTime_ = clock_.Now();
  startSteady_ = clock_.SteadyMilliseconds();
  view_.ClearFound();
  finds_.Clear();
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
    if (state_.MaskList.empty() && !masksRefused_) state_.MaskList = {L"*.bak", L"*.tmp"};
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

void CleanupEngine::ListMatches(const std::wstring& dir, const std::vector<DirEntry>& entries, const Mask& mask) {
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
  finds_.Add(entry.Identity());
  if (!state_.NightFlyMode && state_.FollowReport) view_.MakeFoundCurrent(view_.FoundCount() - 1);
}

// Depth-first over the subfolders, with an explicit stack so that no tree is too deep for it.
// `visit` decides on each subfolder entry (other entries and dot-named folders never reach it)
// and fills the listing of a folder it enters; `leave` runs once a folder's subtree is done.
template <typename Visit, typename Leave>
void CleanupEngine::WalkTree(WalkLevel start, Visit visit, Leave leave) {
  std::vector<WalkLevel> levels;
  levels.push_back(std::move(start));
  while (!levels.empty()) {
    WalkLevel& level = levels.back();
    WalkStep step = WalkStep::LeaveFolder;
    WalkLevel sub;
    if (level.next < level.entries.size()) {
      const DirEntry& entry = level.entries[level.next++];
      if (!entry.IsDirectory() || IsDotName(entry.name)) continue;
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

// Each folder's files are listed just before the walk descends into it, and the status line
// shows it once its subtree is done.
void CleanupEngine::Walk(const std::wstring& dir, std::vector<DirEntry> entries) {
  const auto visit = [this](WalkLevel&, const DirEntry& entry, WalkLevel& sub) {
    if (!Pump()) return WalkStep::Stop;
    // A stop makes every level return at its next subfolder entry.
    if (state_.StopFlag) return WalkStep::LeaveFolder;
    if (entry.IsLink() || excludes_.Contains(sub.dir, entry.id)) return WalkStep::Skip;
    ++state_.DirCount;
    view_.SetFolderCounter(L"Каталогов: " + std::to_wstring(state_.DirCount));
    fs_.ListFolder(sub.dir, sub.entries);
    FindAllMasks(sub.dir, sub.entries);
    return closing_ ? WalkStep::Stop : WalkStep::Enter;
  };
  const auto leave = [this](const WalkLevel& done, bool start) {
    if (!start) ShowFolder(done.dir);
  };
  WalkTree({dir, {}, std::move(entries)}, visit, leave);
}

void CleanupEngine::ShowFolder(const std::wstring& dir) {
  if (state_.NightFlyMode) return;
  const TextWidth width = [this](std::wstring_view text) { return view_.TextWidth(text); };
  view_.SetStatus(L" " + ShortenPath(dir, width, kStatusWidth));
}

// ---------------------------------------------------------------------------------------------
// Deletion and the report

bool CleanupEngine::KillFile(const std::wstring& path, size_t index) {
  DeletionFolder at;
  return KillFile(path, index, at);
}

bool CleanupEngine::KillFile(const std::wstring& path, size_t index, DeletionFolder& at) {
  RunScope scope(*this);
  // Only what the search found goes: the file system checks, on the handle it deletes through,
  // that the path still leads, without any link, to that very file, unchanged.
  const size_t slash = path.rfind(L'\\');
  const bool known = finds_.Count() == view_.FoundCount() && index < finds_.Count();
  bool deleted = false;
  uint64_t size = 0;
  if (known && slash != std::wstring::npos) {
    const std::wstring_view dir(path.data(), slash);
    if (!at.folder || at.dir != dir) {
      at.dir = dir;
      at.folder = fs_.OpenForDeletion(at.dir);
    }
    deleted = at.folder->RemoveFileIf(path.substr(slash + 1), [&](const FileIdentity& now) {
      size = now.size;
      return finds_.Matches(index, now);
    });
  }
  if (state_.NightFlyMode) return deleted;
  if (deleted) {
    ++state_.KilledFiles;
    state_.KilledBytes += size;
  } else {
    ++state_.FailedFiles;
  }
  view_.SetFoundLine(index, path + (deleted ? kKilledMark : kFailedMark));
  return deleted;
}

// The found lines first to last, the ticked ones only or all. The window answers meanwhile: a
// stop confirmed during the pass, or the window closing, ends it between two files, and the lines
// not reached keep their ticks.
void CleanupEngine::KillFound(bool tickedOnly) {
  DeletionFolder at;
  const uint64_t stops = stopRequests_;
  deletionStopped_ = false;
  for (size_t i = 0; i < view_.FoundCount(); ++i) {
    if (!Pump()) return;
    if (stopRequests_ != stops) {
      deletionStopped_ = true;
      return;
    }
    if (!tickedOnly || view_.FoundTicked(i)) KillFile(view_.FoundLine(i), i, at);
  }
}

// Delete is used once per search, since a whole pass leaves no line ticked; after a stopped
// pass it stays usable for the lines still ticked.
void CleanupEngine::EndDeletionButtons() { view_.EnableButton(MainButton::Delete, deletionStopped_); }

void CleanupEngine::FinishRun() {
  if (state_.CleanMode) KillFound(true);
  if (closing_) return;
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
  // The window answers during the deletion, so its buttons are as during a search.
  SwitchSearchButtons(true);
  KillFound(true);
  SwitchSearchButtons(false);
  EndDeletionButtons();
  if (closing_) return;
  view_.SetStatus(CleanedReport(state_.KilledFiles, state_.KilledBytes, state_.DirCount));
  view_.PlayEventSound(SoundEvent::evKilled);
}

void CleanupEngine::CleanClick(const DriveTicks& drives) {
  RunScope scope(*this);
  state_.StopFlag = false;
  state_.CleanMode = true;
  for (auto button : {MainButton::Search, MainButton::Delete, MainButton::Clean, MainButton::Tmp, MainButton::Exit})
    view_.EnableButton(button, false);
  view_.EnableButton(MainButton::Stop, true);
  deletionStopped_ = false;
  const auto idle = [this] {
    for (auto button : {MainButton::Search, MainButton::Clean, MainButton::Tmp, MainButton::Exit})
      view_.EnableButton(button, true);
    view_.EnableButton(MainButton::Stop, false);
  };
  try {
    RunSearch(drives);
  } catch (const SettingsReadError&) {
    idle();
    view_.EnableButton(MainButton::Delete, view_.FoundCount() > 0);  // the earlier finds are still listed
    throw;
  }
  idle();
  EndDeletionButtons();
}

void CleanupEngine::NightFly(const DriveTicks& drives) {
  RunScope scope(*this);
  state_.NightFlyMode = true;
  if (view_.FoundCount() == 0) finds_.Clear();
  const IniDocument document = settings_.Load();
  LoadKillMasks(document);
  LoadExcludeDirs(document);
  if (drives.listEmpty) return;
  for (const auto& root : drives.roots) {
    SearchDir(root);
    if (closing_) return;
  }
  KillFound(false);
}

// ---------------------------------------------------------------------------------------------
// Temporary folder

// "Стоп" ends the temporary-folder cleanup between files, and a close between any two steps.
bool CleanupEngine::KeepCleaning() { return Pump() && !state_.StopFlag; }

void CleanupEngine::KillDirFiles(const std::wstring& dir) {
  RunScope scope(*this);
  std::vector<DirEntry> entries;
  fs_.ListFolder(dir, entries);
  std::unique_ptr<FolderDeletion> folder;
  for (const auto& entry : entries) {
    if (entry.IsDirectory()) continue;
    if (!KeepCleaning()) return;
    if (!folder) folder = fs_.OpenForDeletion(dir);
    // A file link stays, and so does whatever it points to: it is counted as not removed.
    if (!entry.IsLink() && folder->RemoveFile(entry.name, entry.Identity())) {
      ++state_.KilledFiles;
      state_.KilledBytes += entry.size;
    } else {
      ++state_.FailedFiles;
    }
  }
}

void CleanupEngine::CountFolderRemoval(bool removed) {
  if (removed)
    ++state_.DirCount;
  else
    ++state_.FailedDirs;
}

// Files first, then each subfolder's tree, then the folder itself; a folder link is removed
// itself and nothing behind it is ever entered.
void CleanupEngine::KillDirTree(const std::wstring& dir) {
  RunScope scope(*this);
  WalkLevel start{dir, {}, {}};
  if (const auto self = fs_.Open(dir)) start.id = self->id;
  KillDirFiles(dir);
  fs_.ListFolder(dir, start.entries);
  const auto visit = [this](WalkLevel& level, const DirEntry& entry, WalkLevel& sub) {
    if (!KeepCleaning()) return WalkStep::Stop;
    KillDirFiles(level.dir);  // files that resisted are tried again
    if (!KeepCleaning()) return WalkStep::Stop;
    if (entry.IsLink()) {
      CountFolderRemoval(fs_.RemoveFolder(sub.dir, entry.id));
      return WalkStep::Skip;
    }
    if (!state_.NightTrashMode) ShowFolder(sub.dir);
    KillDirFiles(sub.dir);
    if (closing_ || state_.StopFlag) return WalkStep::Stop;
    fs_.ListFolder(sub.dir, sub.entries);
    return WalkStep::Enter;
  };
  const auto leave = [this](const WalkLevel& done, bool) {
    if (done.dir != state_.TmpDir) CountFolderRemoval(fs_.RemoveFolder(done.dir, done.id));
  };
  WalkTree(std::move(start), visit, leave);
}

void CleanupEngine::ResetTempCounters() {
  state_.DirCount = state_.FailedDirs = state_.KilledFiles = state_.FailedFiles = state_.KilledBytes = 0;
}

void CleanupEngine::StripTrailingBackslash() {
  if (!state_.TmpDir.empty() && state_.TmpDir.back() == L'\\') state_.TmpDir.pop_back();
}

// The reported folder is emptied wholesale, so it is judged by what it is, not how it is spelled:
// made canonical with long names, opened, and refused when it or a folder above it is a link, or
// when it is or holds a protected folder or the program's folder, each identified the same way.
// The program's folder itself is told apart: the unattended run goes on windowed for it. On success TmpDir
// becomes the canonical path, the one every later check compares with.
TempOutcome CleanupEngine::CheckTempFolder() {
  const std::wstring given = WithoutTrailingBackslashes(state_.TmpDir);
  if (given.empty()) return TempOutcome::UnsafeFolder;
  const std::wstring exeDir = WithoutTrailingBackslashes(state_.ExeDir);
  if (UpperCase(given) == UpperCase(exeDir)) return TempOutcome::ProgramFolder;
  const std::optional<std::wstring> spelled = CanonicalFolderPath(given);
  if (!spelled || IsRootPath(*spelled)) return TempOutcome::UnsafeFolder;
  const std::optional<std::wstring> folder = CanonicalFolderPath(fs_.LongPath(*spelled));
  if (!folder || IsRootPath(*folder)) return TempOutcome::UnsafeFolder;
  const std::optional<OpenedEntry> self = fs_.Open(*folder);
  std::wstring where = *folder;
  if (self) {
    // A link, or a link anywhere above: the folder is not where its path says.
    if (self->IsLink() || !(self->attributes & FileAttr::Directory)) return TempOutcome::UnsafeFolder;
    const std::optional<std::wstring> real = CanonicalFolderPath(self->finalPath);
    if (!real || !SameName(*real, *folder)) return TempOutcome::UnsafeFolder;
    where = *real;
    if (const auto program = fs_.Open(exeDir); program && self->id.Known() && program->id == self->id)
      return TempOutcome::ProgramFolder;
  }
  // The program's own folder is protected too: a temporary folder holding it would take the
  // program and its settings with it.
  std::vector<std::wstring> protectedFolders = fs_.ProtectedFolders();
  protectedFolders.push_back(exeDir);
  for (const auto& kept : protectedFolders) {
    const std::optional<std::wstring> keptPath = CanonicalFolderPath(kept);
    if (!keptPath) continue;
    std::vector<std::wstring> spellings = {*keptPath};
    if (const auto keptLong = CanonicalFolderPath(fs_.LongPath(*keptPath))) spellings.push_back(*keptLong);
    if (const auto keptSelf = fs_.Open(*keptPath)) {
      if (const auto keptReal = CanonicalFolderPath(keptSelf->finalPath)) spellings.push_back(*keptReal);
      if (self && self->id.Known() && keptSelf->id == self->id) return TempOutcome::UnsafeFolder;
    }
    for (const auto& spelling : spellings) {
      if (IsSameOrInside(spelling, *folder)) return TempOutcome::UnsafeFolder;
      // The folder may hold a protected one under another name: compare the folders above it.
      if (!self || !self->id.Known()) continue;
      for (const auto& above : FoldersAbove(spelling)) {
        if (IsRootPath(above)) break;
        const auto aboveSelf = fs_.Open(above);
        if (aboveSelf && aboveSelf->id == self->id) return TempOutcome::UnsafeFolder;
      }
    }
  }
  state_.TmpDir = where;
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
  state_.StopFlag = false;
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
