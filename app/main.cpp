// Program entry: the hidden application window, the main window and the message loop.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "forms/MainForm.h"
#include "forms/OneInstance.h"
#include "platform/win32/Win32AnsiCodec.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32SettingsStorage.h"
#include "platform/win32/Win32SoundOutput.h"
#include "toolkit/ErrorReport.h"

namespace {
const wchar_t kApplicationClass[] = L"TApplication";
const wchar_t kApplicationTitle[] = L"Krelmix";

HWND g_mainWindow = nullptr;

// A second copy restores or activates this hidden window; the main window is what comes forward.
LRESULT CALLBACK ApplicationWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  // The single-instance mutex comes before any window.
  krelmix::OneInstance oneInstance;
  HWND application = CreateApplicationWindow(instance);
  // The services the windows work through, made once here.
  krelmix::Win32SoundOutput sound;
  krelmix::Win32FileSystem fileSystem;
  krelmix::Win32Drives drives;
  krelmix::Win32SettingsStorage settingsStorage;
  krelmix::Win32AnsiCodec codec;
  krelmix::Win32Clock clock;
  const krelmix::MainFormServices services{sound, fileSystem, drives, settingsStorage, codec, clock};
  MSG msg{};
  {
    krelmix::TForm1 form(application, Arguments(), oneInstance.PreviousInstance(), services);
    try {
      form.Load();
    } catch (...) {
      krelmix::ReportCurrentException(nullptr);
      if (!form.Exists()) return 1;
    }
    g_mainWindow = form.Handle();
    if (form.ShowOnStart()) form.Show();
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  g_mainWindow = nullptr;
  DestroyWindow(application);
  return static_cast<int>(msg.wParam);
}
