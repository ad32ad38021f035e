#include "toolkit/Application.h"

#include "toolkit/OneInstance.h"

namespace krelmix {

void ApplicationWindow::Create() {
  RegisterClassOnce(kApplicationClass, 0, nullptr, nullptr, LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(1)));
  CreateHandle(0, kApplicationClass, kApplicationTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, {0, 0, 0, 0}, nullptr);
}

// A second copy restores or activates this hidden window; the main window is what comes forward.
LRESULT ApplicationWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  PassOnBringForward(Handle(), mainWindow_, message, wParam);
  return Default(message, wParam, lParam);
}

}  // namespace krelmix
