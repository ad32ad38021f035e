#pragma once
// The application as the system sees it: its title, its executable, and the hidden application
// window (class "TApplication") that a second copy of the program looks for. It is never shown;
// the main window, unowned, carries the program's taskbar entry.
#include <windows.h>

#include <string>

#include "toolkit/Window.h"

namespace krelmix {

extern const wchar_t kApplicationTitle[];
extern const wchar_t kApplicationClass[];

// The running executable's full path, and its folder with the trailing backslash.
std::wstring ExecutablePath();
std::wstring ExecutableFolder();

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
