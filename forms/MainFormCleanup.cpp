// The main window's cleanup commands and what the cleanup engine sees of the window.
#include "common/EventSounds.h"
#include "forms/DirKillerForm.h"
#include "forms/MainForm.h"
#include "toolkit/Application.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/MessageDialog.h"

namespace krelmix {

template <typename Command>
void TForm1::RunCommand(Command command) {
  command();
  // The close asked for during the run (Alt+X, the system's close) happens now that the engine
  // no longer uses the window, its lists or the program's state.
  if (closeRequested_ && !engine_->Running()) {
    closeRequested_ = false;
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
  }
}

bool TForm1::FormCloseQuery() {
  if (engine_ && engine_->Running()) {
    closeRequested_ = true;  // the engine sees it at its next pump and ends its walk
    return false;
  }
  return true;
}

void TForm1::SpeedButton2Click() {
  RunCommand([this] { engine_->SearchClick(TickedDrives(driveLines_)); });
}

void TForm1::SpeedButton3Click() {
  RunCommand([this] { engine_->DeleteClick(); });
}

void TForm1::SpeedButton4Click() {
  RunCommand([this] { engine_->StopClick(); });
}

void TForm1::SpeedButton5Click() {
  RunCommand([this] { engine_->CleanClick(TickedDrives(driveLines_)); });
}

// The cleanup pumps messages as a search does, and is a run like it for the buttons: no other
// command starts inside it, and "Стоп" may end it. The status line shows the folder being
// emptied and gets back the search's report when the cleanup is over.
void TForm1::SpeedButton6Click() {
  RunCommand([this] {
    FlushPending();
    const std::wstring report = Panel1.Text();
    const TempCleanResult result = engine_->TmpClick();
    SetStatus(report);
    FlushPending();
    if (result.outcome != TempOutcome::Cleaned || state_.NightTrashMode) return;
    PlayEventSound(SoundEvent::evTmpCleaned);
    TDirKillerForm2::ShowResult(Handle(), result);
    StopEventSound();
  });
}

bool TForm1::RunNightFly() {
  HideTaskbarEntry();
  showOnStart_ = false;
  RequestEnd();
  try {
    engine_->NightFly(TickedDrives(driveLines_));
  } catch (const SettingsReadError&) {
    return false;  // an unattended run reports nothing
  }
  return true;
}

bool TForm1::RunNightTrash() {
  HideTaskbarEntry();
  const TempCleanResult result = engine_->NightTrash();
  if (result.outcome == TempOutcome::ProgramFolder) return false;
  RequestEnd();
  return true;
}

// --- The found list.

// A list repaints its rows and its scroll bar at every change, which under Wine costs more than
// the change; the list is held until the next display update instead, during a run only.
void TForm1::HoldFoundList() {
  if (holdingFoundList_) return;
  RxCheckListBox1.BeginUpdate();
  holdingFoundList_ = true;
}

void TForm1::FlushPending() {
  lastDisplay_ = GetTickCount64();
  if (pendingFolders_ || pendingFiles_) {
    if (pendingFolders_) Label1.SetCaption(*pendingFolders_);
    if (pendingFiles_) Label2.SetCaption(*pendingFiles_);
    Panel2.Repaint();
  }
  pendingFolders_.reset();
  pendingFiles_.reset();
  if (pendingStatus_) Panel1.SetCaption(*pendingStatus_);
  pendingStatus_.reset();
  if (pendingCurrent_ && *pendingCurrent_ < RxCheckListBox1.Count()) {
    RxCheckListBox1.SetItemIndex(static_cast<int>(*pendingCurrent_));
    if (IsWindowVisible(Handle())) SetFocus(RxCheckListBox1.Handle());
  }
  pendingCurrent_.reset();
  if (!holdingFoundList_) return;
  holdingFoundList_ = false;
  RxCheckListBox1.EndUpdate();
}

void TForm1::ShowPending() { FlushPending(); }

void TForm1::MakeFoundCurrent(size_t index) { pendingCurrent_ = index; }

// --- Labels, status line, controls.

void TForm1::SetFolderCounter(const std::wstring& text) { pendingFolders_ = text; }
void TForm1::SetFileCounter(const std::wstring& text) { pendingFiles_ = text; }

void TForm1::SetStatus(const std::wstring& text) { pendingStatus_ = text; }

int TForm1::TextWidth(std::wstring_view text) { return listFontMeter_->Width(text); }

void TForm1::EnableDriveList(bool enabled) { CheckListBox1.SetEnabled(enabled); }

void TForm1::RunStarts(RunKind kind) {
  buttonRule_.RunStarts(kind);
  ApplyButtonRule();
}

void TForm1::RunEnds(RunKind kind, const RunEnd& end) {
  buttonRule_.RunEnds(kind, end);
  ApplyButtonRule();
}

void TForm1::ApplyButtonRule() {
  // "О..." is never switched.
  const std::pair<SpeedButton*, MainButton> buttons[] = {
      {&SpeedButton2, MainButton::Search},  {&SpeedButton3, MainButton::Delete}, {&SpeedButton4, MainButton::Stop},
      {&SpeedButton5, MainButton::Clean},   {&SpeedButton6, MainButton::Tmp},    {&SpeedButton7, MainButton::Exit},
      {&SpeedButton8, MainButton::Settings}};
  for (const auto& [button, name] : buttons) button->SetEnabled(buttonRule_.Enabled(name));
  // A key still waiting when the buttons change was typed at their old states: at a run's end,
  // while they were greyed (the end of a run reads no messages while it ticks the finds and writes
  // the report). It is dropped, never judged by the new states.
  CommandsChanged();
}

// --- Messages.

bool TForm1::PumpMessages() {
  const bool due = pump_.Due();
  // An end request met here is left for the main loop, and ends the run as a close would.
  if (!pump_.Pump()) closeRequested_ = true;
  // The display update comes after the queue was read, within the pump's interval, so that a
  // message waits for one of them only, never for both; it is painted at the next pump.
  if (due && GetTickCount64() - lastDisplay_ >= kDisplayIntervalMs) FlushPending();
  return !closeRequested_;
}

// A dialog is asked over what the run has shown so far. Bringing that on screen and making the
// dialog each take a while: the messages waiting meanwhile are read in between.
void TForm1::ShowBeforeDialog() {
  FlushPending();
  if (!pump_.PumpNow()) closeRequested_ = true;
}

bool TForm1::Ask(QuestionKind kind, const std::wstring& text) {
  ShowBeforeDialog();
  return ShowMessageDialog(
      Handle(), kind == QuestionKind::Confirmation ? MessageDialogKind::Confirmation : MessageDialogKind::Information,
      text);
}

void TForm1::ShowMessage(const std::wstring& text) {
  ShowBeforeDialog();
  MessageBoxW(Handle(), text.c_str(), kApplicationTitle, MB_OK);
}

void TForm1::PlayEventSound(SoundEvent event) { krelmix::PlayEventSound(state_, SRWavePlayer1, event); }

void TForm1::StopEventSound() { SRWavePlayer1.Stop(); }

}  // namespace krelmix
