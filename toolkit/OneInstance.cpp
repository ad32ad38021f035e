#include "toolkit/OneInstance.h"

#include "toolkit/ApplicationInfo.h"

namespace krelmix {

namespace {

// Posted to ourselves: activation is not changed from inside WM_ACTIVATE.
UINT BringForwardMessage() {
  static const UINT message = RegisterWindowMessageW(L"Krelmix.PassOnBringForward");
  return message;
}

void BringMainWindowForward(HWND mainWindow) {
  if (!IsWindow(mainWindow)) return;
  if (IsIconic(mainWindow)) {
    ShowWindow(mainWindow, SW_RESTORE);
    return;
  }
  // A hidden main window (an unattended run) stays hidden.
  if (!IsWindowVisible(mainWindow)) return;
  // While a modal dialog is open the main window is disabled; the dialog is what comes forward.
  HWND target = GetLastActivePopup(mainWindow);
  if (!target || !IsWindowVisible(target) || !IsWindowEnabled(target)) target = mainWindow;
  SetForegroundWindow(target);
}
}  // namespace

OneInstance::OneInstance() : OneInstance(MutexNameFor(ExecutablePath())) {}

OneInstance::OneInstance(const std::wstring& mutexName) {
  mutex_.Reset(CreateMutexW(nullptr, FALSE, mutexName.c_str()));
  if (!mutex_.Valid()) return;
  previousInstance_ = GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring OneInstance::MutexNameFor(std::wstring_view executablePath) {
  const size_t slash = executablePath.find_last_of(L"\\/");
  std::wstring name(slash == std::wstring_view::npos ? executablePath : executablePath.substr(slash + 1));
  for (wchar_t& c : name)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return name;
}

void BringPreviousInstanceForward(HWND ownApplicationWindow, const std::wstring& title) {
  if (ownApplicationWindow) SetWindowTextW(ownApplicationWindow, L"");
  HWND running = FindWindowW(kApplicationClass, title.c_str());
  if (!running) return;
  if (IsIconic(running))
    ShowWindow(running, SW_RESTORE);
  else
    SetForegroundWindow(running);
}

void PassOnBringForward(HWND applicationWindow, HWND mainWindow, UINT message, WPARAM wParam) {
  if (message == BringForwardMessage()) {
    BringMainWindowForward(mainWindow);
    return;
  }
  // The hidden application window is activated only from outside: a window of ours that closes
  // or minimises hands the activation elsewhere, never to a hidden window.
  bool passOn = message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE;
  // Restored by a second copy while the main window is minimised.
  if (message == WM_SIZE && wParam == SIZE_RESTORED) passOn = IsIconic(mainWindow) != FALSE;
  if (passOn && mainWindow) PostMessageW(applicationWindow, BringForwardMessage(), 0, 0);
}

}  // namespace krelmix
