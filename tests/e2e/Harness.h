#pragma once
// Drives the real Krelmix.exe: a copy in a scratch folder with a chosen settings file, started as
// its own process, read through standard window messages and driven with real mouse input.
#include <windows.h>

#include <string>
#include <vector>

namespace krelmix::e2e {

// The built program, given to the test executable as its first argument.
const std::wstring& BuiltProgram();
void SetBuiltProgram(const std::string& path);

// A helper program built beside the test program (open_recorder.exe, file_locker.exe).
std::wstring HelperProgram(const std::wstring& fileName);

// One control of a program window as the window describes itself.
struct ControlInfo {
  std::wstring name, kind;
  RECT bounds{};
  bool enabled = false, visible = false;
  std::wstring caption, hint;
  SIZE text{};  // the caption in the control's font, broken into lines at the control's width
};

// Asks a window of the program for its controls (the form answers a registered message).
std::vector<ControlInfo> DescribeControls(HWND form);
// The control named `name`, or one with an empty name when there is none.
ControlInfo FindControl(HWND form, const std::wstring& name);
// A real mouse click at a client point of a window.
void ClickAt(HWND window, POINT client);
// The two halves of a click, for timing what the release starts.
void PressMouseAt(HWND window, POINT client);
void ReleaseMouse();
// Lines and ticks of any list box.
std::wstring ListLine(HWND list, LRESULT index);
std::vector<std::wstring> ListLines(HWND list);
std::vector<bool> ListTicks(HWND list);

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::wstring caption, text;
};

class RunningProgram {
 public:
  // Copies the program into a fresh scratch folder, inside `parent` when one is given, else in the
  // system's temporary folder; `settings` (raw bytes) becomes its Krelmix.ini unless
  // `withSettings` is false.
  RunningProgram(const std::string& settings, bool withSettings = true, const std::wstring& parent = L"");
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  void Start(const std::wstring& arguments = L"");
  // Starts the program with Wine's file trace going to `traceFile` (a Windows path), through the
  // Unix shell, since Wine passes a program's trace only to its own standard error. Returns once
  // the main window is there. A program started before must have ended.
  void StartTracingFiles(const std::wstring& traceFile);
  // Starts the program through the Unix shell with Unix environment settings ("NAME=value ..."),
  // since Wine hands a program started by another the Windows environment but not these:
  // "LC_ALL=de_DE.UTF-8" gives it the Western code page, "LC_ALL=hi_IN.UTF-8" UTF-8. Returns once
  // the main window is there.
  void StartWithUnixEnvironment(const std::string& environment, const std::wstring& arguments = L"");
  // The same for a run that ends by itself (/nightfly): true once it has ended (test::RunShell's
  // wait, which allows for a busy machine).
  bool RunWithUnixEnvironment(const std::string& environment, const std::wstring& arguments);
  // Starts the program with its temporary folder (TMP and TEMP) set to `tempFolder`.
  void StartWithTemp(const std::wstring& arguments, const std::wstring& tempFolder);
  bool WaitForExit(DWORD milliseconds);
  bool Running();
  HANDLE Process() const { return process_.hProcess; }

  const std::wstring& Folder() const { return folder_; }
  std::wstring SettingsPath() const { return folder_ + L"\\Krelmix.ini"; }
  std::string SettingsBytes() const;
  bool SettingsExist() const;

  // Waiting for the main window ("TForm1") first closes the start-up splash, when one is due.
  HWND WaitForWindow(const wchar_t* className, DWORD milliseconds = 15000);
  MessageBoxInfo WaitForMessageBox(DWORD milliseconds = 15000);
  HWND MainWindow() { return WaitForWindow(L"TForm1"); }
  HWND DriveList();
  HWND FoundList();
  // A real click in the middle of a control of the main window (a speed button, an image).
  void ClickControl(const std::wstring& name);
  std::vector<std::wstring> DriveLines();
  std::vector<bool> DriveTicks();
  int DriveLineIndex(wchar_t letter);
  // A real mouse click on a drive line: on its tick box, or on its text.
  void ClickDriveLine(int index, bool onTickBox);

 private:
  // The program shows its About window as a splash unless its settings switch it off ("0=0" in
  // section Options); the first wait for the main window closes it, as a user would.
  void DismissSplash();
  // Runs `command` (Unix shell text) through /bin/sh, from the program's folder.
  void StartShell(const std::string& command);
  // The shell text that starts the program with `environment` and `arguments`.
  std::string ShellStart(const std::string& environment, const std::wstring& arguments) const;
  // Waits for the program's main window, made by a process that is not our child.
  void FindStartedProgram(const wchar_t* what);
  bool splashExpected_ = true;
  std::wstring folder_;
  PROCESS_INFORMATION process_ = {};
};

void PressOk(HWND dialog);
// Waits for a top-level window of the program titled `caption` and presses its button whose text
// is `button` (with or without the "&"); returns the window's own text lines.
bool AnswerDialog(RunningProgram& program, const wchar_t* className, const std::wstring& caption,
                  const std::wstring& button, std::wstring* text = nullptr, DWORD milliseconds = 15000);
// Waits until the window stops answering "busy": the main window's Search button is enabled again.
bool WaitUntilIdle(HWND main, DWORD milliseconds = 60000);
std::wstring WindowText(HWND hwnd);

// Input as a user makes it, through SendInput; each event is given 30 ms to arrive.
void SendKey(WORD key, bool up);
void SendKeyNow(WORD key, bool up);             // the same without the pause
void TapKey(WORD key);                          // down, then up
void TypeText(const std::wstring& text);        // the characters as Unicode key events
void DoubleClickAt(HWND window, POINT client);  // two clicks well within the double-click time
POINT Centre(const RECT& r);
void ClickControlOf(HWND form, const std::wstring& name);  // the centre of a described control
bool GoneWithin(HWND window, DWORD milliseconds);          // hidden or destroyed in time

}  // namespace krelmix::e2e
