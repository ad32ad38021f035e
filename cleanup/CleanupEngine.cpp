#include "cleanup/CleanupEngine.h"

#include "cleanup/Report.h"
#include "settings/SettingsSchema.h"

namespace krelmix {

namespace {
constexpr wchar_t kStopQuestion[] = L"Неужели вы хотите остановить?";
}  // namespace

// Marks the engine busy for the length of one public call; the outermost call starts afresh.
class CleanupEngine::RunScope {
 public:
  explicit RunScope(CleanupEngine& engine) : engine_(engine) {
    if (engine_.depth_++ == 0) engine_.run_.closing = false;
  }
  ~RunScope() {
    if (--engine_.depth_ == 0) engine_.run_.view.ShowPending();
  }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

 private:
  CleanupEngine& engine_;
};

CleanupEngine::CleanupEngine(ProgramState& state, FileSystem& fs, CleanupView& view, const SettingsFile& settings,
                             Clock& clock)
    : run_{state, fs, view},
      settings_(settings),
      clock_(clock),
      search_(run_, finds_),
      keeper_(fs, clock),
      deletion_(run_, finds_, keeper_),
      temp_(run_) {}

// ---------------------------------------------------------------------------------------------
// Settings

void CleanupEngine::LoadKillMasks() {
  const IniDocument document = settings_.Load();
  search_.LoadKillMasks(document);
  run_.state.FollowReport = ReadOption(document, kFollowReportRow);
}

void CleanupEngine::LoadExcludeDirs() {
  const SettingsReadings readings = settings_.LoadReadings();
  search_.LoadExcludeDirs(readings);
  run_.state.FollowReport = ReadOption(readings.system, kFollowReportRow);
}

// Masks and options as the system reads the file; exclusions under either reading.
void CleanupEngine::LoadRunSettings() {
  const SettingsReadings readings = settings_.LoadReadings();
  search_.LoadKillMasks(readings.system);
  search_.LoadExcludeDirs(readings);
  run_.state.FollowReport = ReadOption(readings.system, kFollowReportRow);
  keepLimits_.days = ReadKeepDays(readings.system);
}

void CleanupEngine::KillFound(bool tickedOnly, KeptCommand command) {
  keeper_.StartRun(command);
  deletion_.KillFound(tickedOnly);
  // The window keeps answering while the kept files are looked over; the run is still on.
  keeper_.EndRun(keepLimits_, [this] { run_.Pump(); });
}

void CleanupEngine::SearchDir(const std::wstring& dir) {
  RunScope scope(*this);
  search_.SearchDir(dir);
}

void CleanupEngine::FindGarbageFiles(const std::wstring& dir, const std::wstring& mask) {
  RunScope scope(*this);
  search_.FindGarbageFiles(dir, mask);
}

// ---------------------------------------------------------------------------------------------
// The window's commands

// The run ends for the view also when it could not start (a settings file that cannot be read)
// or an error cut it short: the buttons and the drive list are usable again, and the error goes
// on to the error report.
void CleanupEngine::SearchClick(const DriveTicks& drives) {
  RunScope scope(*this);
  run_.state.StopFlag = false;
  run_.state.CleanMode = false;
  run_.view.RunStarts(RunKind::Search);
  const auto ended = [this] { run_.view.RunEnds(RunKind::Search, {.findsListed = finds_.Count() > 0}); };
  try {
    RunSearch(drives);
  } catch (...) {
    run_.view.EnableDriveList(true);
    ended();
    throw;
  }
  ended();
}

void CleanupEngine::StopClick() {
  run_.state.StopFlag = run_.view.Ask(QuestionKind::Confirmation, kStopQuestion);
  if (run_.state.StopFlag) deletion_.StopRequested();
}

void CleanupEngine::DeleteClick() {
  RunScope scope(*this);
  if (finds_.Count() == 0) return;
  // The window answers during the deletion, so it is a run like a search.
  run_.view.RunStarts(RunKind::Deletion);
  try {
    KillFound(true, KeptCommand::Delete);
  } catch (...) {
    run_.view.RunEnds(RunKind::Deletion, {.deletionStopped = true});
    throw;
  }
  run_.view.RunEnds(RunKind::Deletion, {.deletionStopped = deletion_.Stopped()});
  if (run_.closing) return;
  const ProgramState& state = run_.state;
  run_.view.SetStatus(CleanedReport(state.KilledFiles, state.KilledBytes, state.DirCount));
  run_.view.PlayEventSound(SoundEvent::evKilled);
}

void CleanupEngine::CleanClick(const DriveTicks& drives) {
  RunScope scope(*this);
  run_.state.StopFlag = false;
  run_.state.CleanMode = true;
  run_.view.RunStarts(RunKind::Clean);
  deletion_.ForgetStop();
  try {
    RunSearch(drives);
  } catch (...) {
    // The earlier finds, or those of this run, are still listed.
    run_.view.EnableDriveList(true);
    run_.view.RunEnds(RunKind::Clean, {.completed = false, .findsListed = finds_.Count() > 0});
    throw;
  }
  run_.view.RunEnds(RunKind::Clean, {.deletionStopped = deletion_.Stopped()});
}

TempCleanResult CleanupEngine::TmpClick() {
  RunScope scope(*this);
  run_.view.RunStarts(RunKind::TempCleanup);
  TempCleanResult result;
  try {
    result = temp_.Clean();
  } catch (...) {
    run_.view.RunEnds(RunKind::TempCleanup, {});
    throw;
  }
  run_.view.RunEnds(RunKind::TempCleanup, {});
  return result;
}

// ---------------------------------------------------------------------------------------------
// The unattended runs

void CleanupEngine::NightFly(const DriveTicks& drives) {
  RunScope scope(*this);
  run_.state.NightFlyMode = true;
  LoadRunSettings();
  if (drives.listEmpty) return;
  for (const auto& root : drives.roots) {
    search_.SearchDir(root);
    if (run_.closing) return;
  }
  KillFound(false, KeptCommand::NightFly);
}

TempCleanResult CleanupEngine::NightTrash() {
  RunScope scope(*this);
  return temp_.NightTrash();
}

// ---------------------------------------------------------------------------------------------
// A search run

void CleanupEngine::RunSearch(const DriveTicks& drives) {
  ProgramState& state = run_.state;
  CleanupView& view = run_.view;
  LoadRunSettings();
  view.EnableDriveList(false);
  state.KilledFiles = state.FailedFiles = state.KilledBytes = 0;
  view.SetFolderCounter(L"Каталогов:");
  view.SetFileCounter(L"Файлов:");
  startTime_ = clock_.Now();
  startSteady_ = clock_.SteadyMilliseconds();
  finds_.Clear();
  state.FoundFiles = state.DirCount = state.FoundBytes = 0;
  if (drives.listEmpty) {
    // Nothing to search and nothing to report; the list must not stay disabled though.
    view.EnableDriveList(true);
    return;
  }
  for (const auto& root : drives.roots) {
    search_.SearchDir(root);
    if (run_.closing) return;
  }
  view.SetStatus(L"");
  finds_.TickAll();
  FinishRun();
}

void CleanupEngine::FinishRun() {
  ProgramState& state = run_.state;
  if (state.CleanMode) KillFound(true, KeptCommand::Clean);
  if (run_.closing) return;
  SoundEvent event = SoundEvent::evNothingFound;
  std::wstring report = NothingFoundReport(state.DirCount);
  if (state.FoundFiles != 0 && state.CleanMode) {
    event = SoundEvent::evKilled;
    report = CleanedReport(state.KilledFiles, state.KilledBytes, state.DirCount);
  } else if (state.FoundFiles != 0) {
    event = SoundEvent::evFound;
    report = FoundReport(state.FoundFiles, state.FoundBytes, state.DirCount);
  }
  run_.view.SetStatus(report);
  if (state.TestMode) {
    const TimeOfDay end = clock_.Now();
    run_.view.ShowMessage(TimingMessage(startTime_, end, clock_.SteadyMilliseconds() - startSteady_));
  }
  run_.view.EnableDriveList(true);
  run_.view.PlayEventSound(event);
}

}  // namespace krelmix
