#pragma once
// The hidden application window (class "TApplication") that a second copy of the program looks
// for. It is never shown; the main window, unowned, carries the program's taskbar entry. The
// program's title and executable are in ApplicationInfo.
#include <windows.h>

#include <string>

#include "toolkit/ApplicationInfo.h"
#include "toolkit/Window.h"

namespace krelmix {

class ApplicationWindow : public Window {
 public:
  // Creates the hidden window, titled kApplicationTitle, with the program's icon (resource 1).
  void Create();
  // The window a bring-forward from a second copy is passed on to.
  void SetMainWindow(HWND mainWindow) { mainWindow_ = mainWindow; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND mainWindow_ = nullptr;
};

}  // namespace krelmix
