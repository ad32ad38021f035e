#pragma once
// What the cleanup engine sees of the main window: its counters, status line, drive list and
// buttons, the questions and messages, the sounds, and the message pump a run works under. The
// program makes it before the window (the engine is made with it) and the window binds it to its
// controls when it creates them; nothing calls the engine before that.
#include <windows.h>

#include <optional>
#include <string>

#include "cleanup/CleanupView.h"
#include "common/ProgramState.h"
#include "common/WavePlayer.h"
#include "forms/DisplayThrottle.h"
#include "forms/MainCommands.h"
#include "toolkit/CheckListBox.h"
#include "toolkit/Form.h"
#include "toolkit/Gdi.h"
#include "toolkit/MessagePump.h"

namespace krelmix {

struct MainWindowParts {
  Form& window;
  CheckListBox& driveList;
  RuledButtons buttons;
  WavePlayer& player;
  const TextMeter& listFontMeter;  // the status line is shortened in the found list's font
  ThrottledControls display;
};

class MainWindowView : public CleanupView {
 public:
  explicit MainWindowView(ProgramState& state) : state_(state) {}
  MainWindowView(const MainWindowView&) = delete;
  MainWindowView& operator=(const MainWindowView&) = delete;

  void Bind(MainWindowParts parts);
  DisplayThrottle& Display() { return display_; }

  // A close asked for while the engine runs: the engine sees it at its next pump and ends its
  // walk, and the window closes once the engine call has returned.
  void RequestClose() { closeRequested_ = true; }
  bool TakeCloseRequest() { return std::exchange(closeRequested_, false); }

  void MakeFoundCurrent(size_t index) override { display_.MakeCurrent(index); }
  void SetFolderCounter(const std::wstring& text) override { display_.SetFolders(text); }
  void SetFileCounter(const std::wstring& text) override { display_.SetFiles(text); }
  void SetStatus(const std::wstring& text) override { display_.SetStatus(text); }
  int TextWidth(std::wstring_view text) override;
  void EnableDriveList(bool enabled) override;
  void RunStarts(RunKind kind) override;
  void RunEnds(RunKind kind, const RunEnd& end) override;
  bool PumpMessages() override;
  bool Ask(QuestionKind kind, const std::wstring& text) override;
  void ShowMessage(const std::wstring& text) override;
  void PlayEventSound(SoundEvent event) override;
  void ShowPending() override { display_.Flush(); }
  void StopEventSound();

 private:
  void ApplyButtonRule();
  void ShowBeforeDialog();

  ProgramState& state_;
  std::optional<MainWindowParts> parts_;
  MainButtonRule buttonRule_;  // which buttons the runs leave usable
  MessagePump pump_;
  DisplayThrottle display_;
  bool closeRequested_ = false;
};

}  // namespace krelmix
