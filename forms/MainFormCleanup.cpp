// The main window's cleanup commands: each runs the engine, and a close asked for meanwhile waits
// for the engine call to return.
#include "forms/DirKillerForm.h"
#include "forms/MainForm.h"

namespace krelmix {

template <typename Command>
void TForm1::RunCommand(Command command) {
  command();
  // The close asked for during the run (Alt+X, the system's close) happens now that the engine
  // no longer uses the window, its lists or the program's state.
  if (!engine_.Running() && view_.TakeCloseRequest()) PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

bool TForm1::FormCloseQuery() {
  if (engine_.Running()) {
    view_.RequestClose();
    return false;
  }
  return true;
}

void TForm1::SpeedButton2Click() {
  RunCommand([this] { engine_.SearchClick(TickedDrives(driveLines_)); });
}

void TForm1::SpeedButton3Click() {
  RunCommand([this] { engine_.DeleteClick(); });
}

void TForm1::SpeedButton4Click() {
  RunCommand([this] { engine_.StopClick(); });
}

void TForm1::SpeedButton5Click() {
  RunCommand([this] { engine_.CleanClick(TickedDrives(driveLines_)); });
}

// The cleanup pumps messages as a search does, and is a run like it for the buttons: no other
// command starts inside it, and "Стоп" may end it. The status line shows the folder being
// emptied and gets back the search's report when the cleanup is over.
void TForm1::SpeedButton6Click() {
  RunCommand([this] {
    view_.ShowPending();
    const std::wstring report = Panel1.Text();
    const TempCleanResult result = engine_.TmpClick();
    view_.SetStatus(report);
    view_.ShowPending();
    if (result.outcome != TempOutcome::Cleaned || state_.NightTrashMode) return;
    view_.PlayEventSound(SoundEvent::evTmpCleaned);
    TDirKillerForm2::ShowResult(Handle(), result);
    view_.StopEventSound();
  });
}

bool TForm1::RunNightFly() {
  HideTaskbarEntry();
  showOnStart_ = false;
  RequestEnd();
  try {
    engine_.NightFly(TickedDrives(driveLines_));
  } catch (const SettingsReadError&) {
    return false;  // an unattended run reports nothing
  }
  return true;
}

bool TForm1::RunNightTrash() {
  HideTaskbarEntry();
  const TempCleanResult result = engine_.NightTrash();
  if (result.outcome == TempOutcome::ProgramFolder) return false;
  RequestEnd();
  return true;
}

}  // namespace krelmix
