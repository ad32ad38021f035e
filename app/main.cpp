// Program entry: the hidden application window, the main window and the message loop.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/OneInstance.h"

namespace {
const wchar_t kApplicationClass[] = L"TApplication";
const wchar_t kApplicationTitle[] = L"Krelmix";
HWND g_mainWindow = nullptr;

LRESULT CALLBACK ApplicationWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // A second copy brings this one forward through this window; the main window follows.
  krelmix::PassOnBringForward(hwnd, g_mainWindow, message, wParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The taskbar entry carries the application title; the borderless main window is owned by it.
HWND CreateApplicationWindow(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ApplicationWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.lpszClassName = kApplicationClass;
  RegisterClassExW(&wc);
  return CreateWindowExW(0, kApplicationClass, kApplicationTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0,
                         nullptr, nullptr, instance, nullptr);
}

std::vector<std::wstring> Arguments() {
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args;
  for (int i = 1; i < count; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);
  return args;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const krelmix::OneInstance oneInstance;  // held until the program ends
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  HWND application = CreateApplicationWindow(instance);
  if (!krelmix::TForm1::RegisterWindowClass(instance)) return 1;
  // A second copy brings the running one forward and ends, but only once the message loop takes
  // the quit request: the main window is still created and its command line still carried out.
  if (oneInstance.PreviousInstance()) {
    krelmix::BringPreviousInstanceForward(application, kApplicationTitle);
    PostQuitMessage(0);
  }
  HWND main = krelmix::TForm1::Create(instance, application, Arguments());
  if (!main) return 1;
  g_mainWindow = main;
  ShowWindow(main, SW_SHOWNORMAL);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (IsWindow(main)) DestroyWindow(main);
  DestroyWindow(application);
  return static_cast<int>(msg.wParam);
}
