// Program entry: the hidden application window, the main window and the message loop.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "cleanup/CleanupEngine.h"
#include "common/ProgramState.h"
#include "forms/MainForm.h"
#include "forms/MainWindowView.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32AnsiCodec.h"
#include "platform/win32/Win32AutostartRegistry.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32SettingsStorage.h"
#include "platform/win32/Win32SoundOutput.h"
#include "settings/SettingsFile.h"
#include "toolkit/Application.h"
#include "toolkit/ApplicationInfo.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/OneInstance.h"

namespace {
std::vector<std::wstring> Arguments() {
  int count = 0;
  const krelmix::LocalMemory<wchar_t**> argv(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::wstring> args;
  if (!argv) return args;
  for (int i = 1; i < count; ++i) args.emplace_back(argv.Get()[i]);
  return args;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  // The single-instance mutex comes before any window.
  krelmix::OneInstance oneInstance;
  krelmix::ApplicationWindow application;
  application.Create();
  // The services the windows work through, made once here.
  krelmix::Win32SoundOutput sound;
  krelmix::Win32FileSystem fileSystem;
  krelmix::Win32Drives drives;
  krelmix::Win32SettingsStorage settingsStorage;
  krelmix::Win32AnsiCodec codec;
  krelmix::Win32Clock clock;
  krelmix::Win32AutostartRegistry autostart;
  const krelmix::MainFormServices services{sound, fileSystem, drives, settingsStorage, codec, clock, autostart};
  // The program's state, its settings file beside the executable, and the cleanup engine with its
  // view of the main window, which the window binds to its controls.
  krelmix::ProgramState state;
  state.ExeDir = krelmix::ExecutableFolder();
  krelmix::SettingsFile settings(settingsStorage, codec, state.SettingsPath());
  krelmix::MainWindowView view(state);
  krelmix::CleanupEngine engine(state, fileSystem, view, settings, clock);
  int exitCode = 0;
  {
    krelmix::TForm1 form(application.Handle(), Arguments(), oneInstance.PreviousInstance(), services,
                         {state, settings, engine, view});
    try {
      form.Load();
    } catch (...) {
      krelmix::ReportCurrentException(nullptr);
      if (!form.Exists()) return 1;
    }
    application.SetMainWindow(form.Handle());
    // Every run the command line asked for is over: an end asked for on the way takes effect now.
    if (form.EndRequested()) PostQuitMessage(0);
    if (form.ShowOnStart()) form.Show();
    exitCode = krelmix::RunMessageLoop();
  }
  application.SetMainWindow(nullptr);
  return exitCode;
}
