#pragma once
// The cleanup engine: the main window's cleanup commands and the unattended runs, over its jobs
// (GarbageSearch, FindDeletion, TempCleanup with TempFolderGuard), which share one walker
// (FolderWalk). One object per main window; every call runs to its end on the GUI thread,
// pumping window messages only through CleanupView::PumpMessages at the documented points.
#include <cstdint>

#include "cleanup/CleanupView.h"
#include "cleanup/DriveList.h"
#include "cleanup/EngineContext.h"
#include "cleanup/FindDeletion.h"
#include "cleanup/FoundList.h"
#include "cleanup/GarbageSearch.h"
#include "cleanup/TempCleanup.h"
#include "common/ProgramState.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "settings/SettingsFile.h"

namespace krelmix {

class CleanupEngine {
 public:
  CleanupEngine(ProgramState& state, FileSystem& fs, CleanupView& view, const SettingsFile& settings, Clock& clock);
  CleanupEngine(const CleanupEngine&) = delete;
  CleanupEngine& operator=(const CleanupEngine&) = delete;

  // --- Main window handlers; each tells the view that its run starts and ends. A settings file
  // that is there but cannot be read raises SettingsReadError from every call that reads it (the
  // runs, the two loaders); the run then has searched, shown and deleted nothing, and has ended.
  void SearchClick(const DriveTicks& drives);  // SpeedButton2 "Поиск"
  void StopClick();                            // SpeedButton4 "Стоп": asks, sets StopFlag
  void DeleteClick();                          // SpeedButton3 "Удалить"
  void CleanClick(const DriveTicks& drives);   // SpeedButton5 "Очистка"
  // SpeedButton6 "TMP" up to the result window (TempCleanup::Clean). With outcome Cleaned and
  // NightTrashMode off the caller plays evTmpCleaned, shows the result window and then stops the
  // sound.
  TempCleanResult TmpClick();

  // --- Unattended runs (the caller hides the windows and requests the end).
  void NightFly(const DriveTicks& drives);
  // Sets TmpDir and empties it silently. ProgramFolder: nothing deleted and the program goes on
  // as a windowed run; any other outcome: the caller requests the end.
  TempCleanResult NightTrash();

  // What the searches found, as the window's found list shows it.
  FoundList& Finds() { return finds_; }
  const FoundList& Finds() const { return finds_; }

  // True while a call above is inside its work (the window's close must wait for it).
  bool Running() const { return depth_ > 0; }
  // True once PumpMessages reported the window closing during the current or an earlier call.
  bool Closing() const { return run_.closing; }

  // --- The search's routines by themselves. The loaders also read FollowReport.
  void LoadKillMasks();
  void LoadExcludeDirs();
  void SearchDir(const std::wstring& dir);
  void FindGarbageFiles(const std::wstring& dir, const std::wstring& mask);

 private:
  class RunScope;
  // The masks, exclusions and FollowReport of a run, from one reading of the file.
  void LoadRunSettings();
  // One whole run over the ticked drives: search, then delete (CleanMode), report, sound.
  void RunSearch(const DriveTicks& drives);
  void FinishRun();
  // The found files deleted by one command, kept for a while; the room given back afterwards.
  void KillFound(bool tickedOnly, KeptCommand command);

  EngineContext run_;
  const SettingsFile& settings_;
  Clock& clock_;
  FoundList finds_;
  GarbageSearch search_;
  DeletionKeeper keeper_;
  // How long the kept files may stay, as the last run read it; no age rule before any was read.
  KeepLimits keepLimits_;
  FindDeletion deletion_;
  TempCleanup temp_;
  TimeOfDay startTime_;
  uint64_t startSteady_ = 0;
  int depth_ = 0;
};

}  // namespace krelmix
