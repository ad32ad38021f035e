#include "toolkit/Application.h"

#include "toolkit/OneInstance.h"

namespace krelmix {

const wchar_t kApplicationTitle[] = L"Krelmix";
const wchar_t kApplicationClass[] = L"TApplication";

std::wstring ExecutablePath() {
  std::wstring path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return path;
}

std::wstring ExecutableFolder() {
  const std::wstring path = ExecutablePath();
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

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
