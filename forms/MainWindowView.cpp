#include "forms/MainWindowView.h"

#include "common/EventSounds.h"
#include "toolkit/ApplicationInfo.h"
#include "toolkit/MessageDialog.h"

namespace krelmix {

void MainWindowView::Bind(MainWindowParts parts) {
  display_.Bind(parts.display);
  parts_.emplace(std::move(parts));
}

int MainWindowView::TextWidth(std::wstring_view text) {
  // Measured at the window's scale, told at 96 DPI, rounded up: a path never grows past the line.
  const int dpi = parts_->window.Scale().Dpi();
  return (parts_->listFontMeter.Width(text) * kDesignDpi + dpi - 1) / dpi;
}

void MainWindowView::EnableDriveList(bool enabled) { parts_->driveList.SetEnabled(enabled); }

void MainWindowView::RunStarts(RunKind kind) {
  buttonRule_.RunStarts(kind);
  ApplyButtonRule();
}

void MainWindowView::RunEnds(RunKind kind, const RunEnd& end) {
  buttonRule_.RunEnds(kind, end);
  ApplyButtonRule();
}

void MainWindowView::ApplyButtonRule() {
  for (const auto& [button, name] : parts_->buttons) button->SetEnabled(buttonRule_.Enabled(name));
  // A key still waiting when the buttons change was typed at their old states: at a run's end,
  // while they were greyed (the end of a run reads no messages while it ticks the finds and writes
  // the report). It is dropped, never judged by the new states.
  parts_->window.CommandsChanged();
}

bool MainWindowView::PumpMessages() {
  const bool due = pump_.Due();
  // An end request met here is left for the main loop, and ends the run as a close would.
  if (!pump_.Pump()) closeRequested_ = true;
  // The display update comes after the queue was read, within the pump's interval, so that a
  // message waits for one of them only, never for both; it is painted at the next pump.
  if (due) display_.FlushIfDue();
  return !closeRequested_;
}

// A dialog is asked over what the run has shown so far. Bringing that on screen and making the
// dialog each take a while: the messages waiting meanwhile are read in between.
void MainWindowView::ShowBeforeDialog() {
  display_.Flush();
  if (!pump_.PumpNow()) closeRequested_ = true;
}

bool MainWindowView::Ask(QuestionKind kind, const std::wstring& text) {
  ShowBeforeDialog();
  return ShowMessageDialog(
      parts_->window.Handle(),
      kind == QuestionKind::Confirmation ? MessageDialogKind::Confirmation : MessageDialogKind::Information, text);
}

void MainWindowView::ShowMessage(const std::wstring& text) {
  ShowBeforeDialog();
  MessageBoxW(parts_->window.Handle(), text.c_str(), kApplicationTitle, MB_OK);
}

void MainWindowView::PlayEventSound(SoundEvent event) { krelmix::PlayEventSound(state_, parts_->player, event); }

void MainWindowView::StopEventSound() { parts_->player.Stop(); }

}  // namespace krelmix
