#pragma once
// Drives the real Krelmix.exe: a copy in a scratch folder with a chosen settings file, started as
// its own process, read through standard window messages and driven with real mouse input.
#include <windows.h>

#include <string>
#include <vector>

namespace krelmix::e2e {

// The built program, given to the test executable as its first argument.
const std::wstring& BuiltProgram();

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::wstring caption, text;
};

class RunningProgram {
 public:
  // Copies the program into a fresh scratch folder; `settings` (raw bytes) becomes its
  // Krelmix.ini unless `withSettings` is false.
  RunningProgram(const std::string& settings, bool withSettings = true);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  void Start(const std::wstring& arguments = L"");
  bool WaitForExit(DWORD milliseconds);
  bool Running();

  const std::wstring& Folder() const { return folder_; }
  std::wstring SettingsPath() const { return folder_ + L"\\Krelmix.ini"; }
  std::string SettingsBytes() const;
  bool SettingsExist() const;

  HWND WaitForWindow(const wchar_t* className, DWORD milliseconds = 15000);
  MessageBoxInfo WaitForMessageBox(DWORD milliseconds = 15000);
  HWND DriveList();
  std::vector<std::wstring> DriveLines();
  std::vector<bool> DriveTicks();
  int DriveLineIndex(wchar_t letter);
  // A real mouse click on a drive line: on its tick box, or on its text.
  void ClickDriveLine(int index, bool onTickBox);

 private:
  std::wstring folder_;
  PROCESS_INFORMATION process_ = {};
};

void PressOk(HWND dialog);
std::wstring WindowText(HWND hwnd);

}  // namespace krelmix::e2e
