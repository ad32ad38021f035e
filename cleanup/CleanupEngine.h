#pragma once
// The garbage search, the deletion of finds with its report, and the emptying of the temporary
// folder. One object per main window; every call runs to its end on the GUI thread, pumping
// window messages only through CleanupView::PumpMessages at the documented points.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cleanup/CleanupView.h"
#include "cleanup/DriveList.h"
#include "cleanup/FindPrints.h"
#include "cleanup/FolderExclusion.h"
#include "cleanup/Wildcard.h"
#include "common/ProgramState.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "settings/SettingsFile.h"

namespace krelmix {

// The drive list as the run sees it.
struct DriveTicks {
  bool listEmpty = true;            // the drive list has no line at all: a run does nothing
  std::vector<std::wstring> roots;  // the ticked lines' first two characters ("C:"), list order
};
DriveTicks TickedDrives(const std::vector<DriveLine>& lines);

enum class TempOutcome {
  Cleaned,        // the folder was emptied (a missing folder counts as emptied, with zeros)
  Declined,       // the user answered "&Нет": nothing deleted, nothing to show
  ProgramFolder,  // the temporary folder is the program's own folder: nothing deleted
  UnsafeFolder,   // not absolute, a root, a link or below one, a protected folder or above one,
                  // or a folder above the program's folder
  Interrupted,    // the main window was closed while the cleanup ran
};

// What the result window TDirKillerForm2 shows.
struct TempCleanResult {
  TempOutcome outcome = TempOutcome::Cleaned;
  uint64_t removedDirs = 0;  // Label4
  uint64_t killedFiles = 0;  // Label5
  uint64_t killedBytes = 0;  // Label6 shows killedBytes / 1024 followed by " Kb"
  uint64_t failedDirs = 0;   // Label9
  uint64_t failedFiles = 0;  // Label10
};

inline constexpr wchar_t kTempFolderError[] = L"Ошибка размещения папки временных файлов!";

class CleanupEngine {
 public:
  CleanupEngine(ProgramState& state, FileSystem& fs, CleanupView& view, const SettingsFile& settings, Clock& clock);
  CleanupEngine(const CleanupEngine&) = delete;
  CleanupEngine& operator=(const CleanupEngine&) = delete;

  // --- Main window handlers (button switching included). A settings file that is there but
  // cannot be read raises SettingsReadError from every call that reads it (the runs, the two
  // loaders); the run then has searched, shown and deleted nothing, and the buttons are idle again.
  void SearchClick(const DriveTicks& drives);  // SpeedButton2 "Поиск"
  void StopClick();                            // SpeedButton4 "Стоп": asks, sets StopFlag
  void DeleteClick();                          // SpeedButton3 "Удалить"
  void CleanClick(const DriveTicks& drives);   // SpeedButton5 "Очистка"
  // SpeedButton6 "TMP" up to the result window: asks (WarnTmp), refuses with a message, empties,
  // showing each folder in the status line; "Стоп" (StopFlag) ends it between files. With outcome
  // Cleaned and NightTrashMode off the caller plays evTmpCleaned, shows the result window and
  // then stops the sound. The caller switches the buttons around it.
  TempCleanResult TmpClick();

  // --- Unattended runs (the caller hides the windows and requests the end).
  void NightFly(const DriveTicks& drives);
  // Sets TmpDir and empties it silently. ProgramFolder: nothing deleted and the program goes on
  // as a windowed run; any other outcome: the caller requests the end.
  TempCleanResult NightTrash();

  // True while a call above is inside its work (the window's close must wait for it).
  bool Running() const { return depth_ > 0; }
  // True once PumpMessages reported the window closing during the current or an earlier call.
  bool Closing() const { return closing_; }

  // --- The routines themselves.
  void LoadKillMasks();
  void LoadExcludeDirs();
  // One whole run over the ticked drives: search, then delete (CleanMode), report, sound.
  void RunSearch(const DriveTicks& drives);
  void SearchDir(const std::wstring& dir);
  void FindGarbageFiles(const std::wstring& dir, const std::wstring& mask);
  // Deletes the file of a found line and marks line `index`; true when it was deleted.
  bool KillFile(const std::wstring& path, size_t index);
  void KillDirFiles(const std::wstring& dir);
  void KillDirTree(const std::wstring& dir);

 private:
  struct Mask {
    std::wstring text;
    Wildcard wildcard;
  };
  class RunScope;
  enum class WalkStep { Enter, Skip, LeaveFolder, Stop };
  struct WalkLevel {
    std::wstring dir;
    FileId id;
    std::vector<DirEntry> entries;
    size_t next = 0;
  };
  template <typename Visit, typename Leave>
  void WalkTree(WalkLevel start, Visit visit, Leave leave);

  bool Pump();
  bool KeepCleaning();
  // The two readers on a document already read: a run reads the file once for both.
  void LoadKillMasks(const IniDocument& document);
  void LoadExcludeDirs(const IniDocument& document);
  void PrepareMasks();
  void ListMatches(const std::wstring& dir, const std::vector<DirEntry>& entries, const Mask& mask);
  void AddFind(const std::wstring& dir, const DirEntry& entry);
  void FindAllMasks(const std::wstring& dir, const std::vector<DirEntry>& entries);
  void Walk(const std::wstring& dir, std::vector<DirEntry> entries);
  // The folder a deletion pass works in: opened once for all of its finds, which come together.
  struct DeletionFolder {
    std::wstring dir;
    std::unique_ptr<FolderDeletion> folder;
  };
  bool KillFile(const std::wstring& path, size_t index, DeletionFolder& at);
  void KillFound(bool tickedOnly);
  void SwitchSearchButtons(bool running);
  void EndDeletionButtons();
  void CountFolderRemoval(bool removed);
  void ShowFolder(const std::wstring& dir);
  void FinishRun();
  bool RemoveLink(const std::wstring& path);
  TempOutcome CheckTempFolder();
  TempCleanResult TempResult(TempOutcome outcome) const;
  void ResetTempCounters();
  void StripTrailingBackslash();

  ProgramState& state_;
  FileSystem& fs_;
  CleanupView& view_;
  const SettingsFile& settings_;
  Clock& clock_;

  // The run's own copies of MaskList and ExcludeList: closing the window may clear those.
  std::vector<Mask> masks_;
  ExclusionSet excludes_;
  // Set by LoadKillMasks when masks were enabled but none may be used: the search then uses none.
  bool masksRefused_ = false;
  // What each line of the found list was when it was found, by line; a deletion is checked
  // against it.
  FindPrints finds_;
  // Stops confirmed so far: a deletion pass ends at one confirmed while it runs.
  uint64_t stopRequests_ = 0;
  // The last deletion pass ended at a stop before its last line: lines may still be ticked.
  bool deletionStopped_ = false;
  TimeOfDay startTime_;
  uint64_t startSteady_ = 0;
  int depth_ = 0;
  bool closing_ = false;
};

}  // namespace krelmix
