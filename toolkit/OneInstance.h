#pragma once
// The single-instance rule: a named mutex held for the program's life tells a second copy that
// one is running; the second copy brings the running one to the front and ends.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/Handles.h"

namespace krelmix {

class OneInstance {
 public:
  // Creates the mutex named after the running executable, without taking hold of it (the handle
  // alone tells a later copy that this one runs).
  OneInstance();
  explicit OneInstance(const std::wstring& mutexName);
  OneInstance(const OneInstance&) = delete;
  OneInstance& operator=(const OneInstance&) = delete;

  // On when the mutex already existed: another copy of the same executable file name runs.
  // A mutex that cannot be created leaves it off and the copy runs normally.
  bool PreviousInstance() const { return previousInstance_; }

  // The executable's file name without its folder, ASCII letters in upper case: a copy under
  // another file name is a different program for this rule.
  static std::wstring MutexNameFor(std::wstring_view executablePath);

 private:
  KernelHandle mutex_;
  bool previousInstance_ = false;
};

// The second copy's side: clears the text of this copy's own hidden application window, so the
// search cannot find it, then finds the running copy's "TApplication" window titled `title` and
// restores it when minimised, otherwise makes it the foreground window. Nothing is reported.
void BringPreviousInstanceForward(HWND ownApplicationWindow, const std::wstring& title);

// The running copy's side, for the hidden application window's procedure: the second copy acts
// on the application window, which is never shown itself, so the restore or activation is passed
// on to the main window (or the modal dialog it is showing).
// Call it for every message before the default handling; it never consumes one.
void PassOnBringForward(HWND applicationWindow, HWND mainWindow, UINT message, WPARAM wParam);

}  // namespace krelmix
