#pragma once
// What the search, the deletion and the temporary-folder cleanup need of the main window besides
// the found list (a FoundList the engine keeps and the window shows). The engine reaches the
// window only through this; the program implements it with the real controls, the tests with a
// recording fake.
#include <cstddef>
#include <string>
#include <string_view>

#include "cleanup/RunButtons.h"
#include "common/SoundEvent.h"

namespace krelmix {

// The two kinds of the message dialog with the buttons "&Да" and "&Нет".
enum class QuestionKind {
  Confirmation,  // caption "Подтверждение", question icon
  Information,   // caption "Информация"
};

class CleanupView {
 public:
  virtual ~CleanupView() = default;

  // --- The found list RxCheckListBox1 shows the engine's FoundList, which tells it of changes.
  // Makes the line the current one (scrolled into view) and gives the list the keyboard focus.
  virtual void MakeFoundCurrent(size_t index) = 0;

  // --- Labels and status line.
  virtual void SetFolderCounter(const std::wstring& text) = 0;  // Label1, "Каталогов: N"
  virtual void SetFileCounter(const std::wstring& text) = 0;    // Label2, "Файлов: N"
  virtual void SetStatus(const std::wstring& text) = 0;         // Panel1
  // Width of the text in the found list's font, in pixels at 96 DPI whatever the window's scale
  // (for shortening the status line, whose width is given at 96 DPI).
  virtual int TextWidth(std::wstring_view text) = 0;

  // --- Controls the run switches.
  virtual void EnableDriveList(bool enabled) = 0;  // CheckListBox1
  // A windowed run of this kind starts or has ended (the unattended runs say nothing). The window
  // decides what that means for its buttons (cleanup/RunButtons).
  virtual void RunStarts(RunKind kind) = 0;
  virtual void RunEnds(RunKind kind, const RunEnd& end) = 0;

  // --- Messages.
  // Handles the pending window messages and returns. It is called very often (once per folder
  // and mask); an implementation may read the queue only every few milliseconds (see
  // toolkit/MessagePump). Returns false once the main window has
  // been asked to close: the engine then ends its walk, starts no further deletion and returns
  // at once, and the caller closes the window after the engine call has returned.
  virtual bool PumpMessages() = 0;
  // The modal message dialog; true when the answer was "&Да".
  virtual bool Ask(QuestionKind kind, const std::wstring& text) = 0;
  // A message box with the application's title and one OK button; returns when it is closed.
  virtual void ShowMessage(const std::wstring& text) = 0;
  // Plays the event's sound if sounds are on and a file is set for it (PlayEventSound).
  virtual void PlayEventSound(SoundEvent event) = 0;
  // Called when an engine call is about to return. A view that holds back updates between
  // pumps (nothing is painted between them anyway) shows them now.
  virtual void ShowPending() {}
};

}  // namespace krelmix
