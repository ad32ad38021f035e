#include "Harness.h"

#include "../win/ScratchFolder.h"
#include "Watchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

namespace krelmix::e2e {

namespace {
std::wstring g_program;

std::wstring Widen(const std::string& s) {
  std::wstring w;
  for (char c : s) w += (c == '/') ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return w;
}

struct Search {
  DWORD pid;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (pid == search->pid && std::wstring(name) == search->className && IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

void SendMouseButton(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

void PressMouseAtScreen(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  Sleep(100);
  SendMouseButton(MOUSEEVENTF_LEFTDOWN);
  Sleep(100);
}

void MouseClickAt(POINT screen) {
  PressMouseAtScreen(screen);
  ReleaseMouse();
  Sleep(400);
}
}  // namespace

void PressMouseAt(HWND window, POINT client) {
  ClientToScreen(window, &client);
  PressMouseAtScreen(client);
}

void ReleaseMouse() { SendMouseButton(MOUSEEVENTF_LEFTUP); }

const std::wstring& BuiltProgram() { return g_program; }

std::wstring HelperProgram(const std::wstring& fileName) {
  wchar_t self[MAX_PATH]{};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring path = self;
  return path.substr(0, path.find_last_of(L'\\') + 1) + fileName;
}

void SetBuiltProgram(const std::string& path) {
  // A Unix path is reached through Wine's drive Z:.
  g_program = (path.size() && path[0] == '/') ? L"Z:" + Widen(path) : Widen(path);
}

namespace {
const wchar_t kReceiverClass[] = L"KrelmixE2EReceiver";

// The description arrives as a WM_COPYDATA sent by the program while it handles our request.
// It is received on a thread of its own: under 64-bit Wine a thread waiting in SendMessageTimeout
// for another process did not always take the nested WM_COPYDATA that process sent back, and both
// waited for ever.
class DescriptionReceiver {
 public:
  DescriptionReceiver() {
    HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread([this, created] { Run(created); }).detach();
    WaitForSingleObject(created, INFINITE);
    CloseHandle(created);
  }
  HWND Window() const { return window_; }
  void Clear() {
    std::lock_guard lock(mutex_);
    text_.clear();
  }
  std::wstring Text() {
    std::lock_guard lock(mutex_);
    return text_;
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<DescriptionReceiver*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_COPYDATA && self) {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      std::wstring text(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
      while (!text.empty() && text.back() == L'\0') text.pop_back();
      std::lock_guard lock(self->mutex_);
      self->text_ = std::move(text);
      return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  void Run(HANDLE created) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kReceiverClass;
    RegisterClassW(&wc);
    window_ = CreateWindowW(kReceiverClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetEvent(created);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  }

  HWND window_ = nullptr;
  std::mutex mutex_;
  std::wstring text_;
};

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == separator) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}
}  // namespace

std::vector<ControlInfo> DescribeControls(HWND form) {
  // Never destroyed: its thread ends with the process.
  static DescriptionReceiver& receiver = *new DescriptionReceiver;
  WaitingFor waiting(L"the window's description of its controls");
  receiver.Clear();
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(form, RegisterWindowMessageW(L"Krelmix.DescribeControls"),
                      reinterpret_cast<WPARAM>(receiver.Window()), 0, SMTO_ABORTIFHUNG, 10000, &answer);
  std::vector<ControlInfo> controls;
  for (const std::wstring& line : Split(receiver.Text(), L'\n')) {
    const auto f = Split(line, L'\t');
    if (f.size() < 10) continue;
    ControlInfo c;
    c.name = f[0];
    c.kind = f[1];
    const long left = std::stol(f[2]), top = std::stol(f[3]);
    c.bounds = {left, top, left + std::stol(f[4]), top + std::stol(f[5])};
    c.enabled = f[6] == L"1";
    c.visible = f[7] == L"1";
    c.caption = f[8];
    c.hint = f[9];
    if (f.size() >= 12) c.text = {std::stol(f[10]), std::stol(f[11])};
    controls.push_back(c);
  }
  return controls;
}

ControlInfo FindControl(HWND form, const std::wstring& name) {
  for (const auto& c : DescribeControls(form))
    if (c.name == name) return c;
  return {};
}

void ClickAt(HWND window, POINT client) {
  ClientToScreen(window, &client);
  MouseClickAt(client);
}

std::wstring ListLine(HWND list, LRESULT index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
  // Wine answers another process's LB_GETTEXT with the line as it is by then, whatever the buffer:
  // a line the program lengthens meanwhile (a deletion mark) would overrun a buffer of the length
  // asked before. This one holds the longest path there can be and a mark.
  constexpr size_t kLongestLine = 32767 + 64;
  std::wstring text(std::max(static_cast<size_t>(length < 0 ? 0 : length), kLongestLine) + 1, L'\0');
  const LRESULT got = SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got < 0 ? 0 : static_cast<size_t>(got));
  return text;
}

std::vector<std::wstring> ListLines(HWND list) {
  WaitingFor waiting(L"the lines of a list");
  std::vector<std::wstring> lines;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) lines.push_back(ListLine(list, i));
  return lines;
}

std::vector<bool> ListTicks(HWND list) {
  std::vector<bool> ticks;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) ticks.push_back(SendMessageW(list, LB_GETITEMDATA, i, 0) != 0);
  return ticks;
}

std::wstring WindowText(HWND hwnd) {
  wchar_t text[4096] = {};
  SendMessageW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
  return text;
}

void PressOk(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); }

RunningProgram::RunningProgram(const std::string& settings, bool withSettings, const std::wstring& parent) {
  static int counter = 0;
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  // Wine hands out process numbers again soon, and a program an earlier test ended may still hold
  // its folder: the time makes the name this test's own.
  folder_ = (parent.empty() ? std::wstring(temp) : parent + L"\\") + L"krelmix-e2e-" +
            std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64()) + L"-" +
            std::to_wstring(++counter);
  test::RemoveTree(folder_);
  CreateDirectoryW(folder_.c_str(), nullptr);
  if (!CopyFileW(g_program.c_str(), (folder_ + L"\\Krelmix.exe").c_str(), FALSE))
    ADD_FAILURE() << "the program was not copied into its folder: error " << GetLastError();
  const std::string wide0{'0', '\0', '=', '\0', '0', '\0'};
  splashExpected_ =
      !withSettings || (settings.find("0=0") == std::string::npos && settings.find(wide0) == std::string::npos);
  if (withSettings) {
    std::ofstream out(std::filesystem::path(SettingsPath()), std::ios::binary);
    out << settings;
  }
}

RunningProgram::~RunningProgram() {
  if (process_.hProcess) {
    UntrackProgram(process_.hProcess);
    if (Running()) TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  test::RemoveTree(folder_);
}

void RunningProgram::Start(const std::wstring& arguments) {
  std::wstring command = L"\"" + folder_ + L"\\Krelmix.exe\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                             &process_));
  TrackProgram(process_.hProcess);
}

void RunningProgram::StartShell(const std::string& command) {
  if (process_.hProcess) {
    UntrackProgram(process_.hProcess);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
  }
  ASSERT_TRUE(test::StartShell("cd '" + test::UnixName(folder_) + "' && " + command));
}

std::string RunningProgram::ShellStart(const std::string& environment, const std::wstring& arguments) const {
  wchar_t loader[MAX_PATH] = {};
  GetEnvironmentVariableW(L"KRELMIX_WINE_LOADER", loader, MAX_PATH);
  EXPECT_NE(loader[0], L'\0') << "KRELMIX_WINE_LOADER is not set (scripts/wine-env.sh sets it)";
  const std::string unixExe = test::UnixName(folder_ + L"\\Krelmix.exe");
  EXPECT_FALSE(unixExe.empty());
  return "env " + environment + " '" + test::Utf8(loader) + "' '" + unixExe + "' " + test::Utf8(arguments);
}

void RunningProgram::FindStartedProgram(const wchar_t* what) {
  // The program is not this process's child: it is found by its main window.
  WaitingFor waiting(what);
  for (int i = 0; i < 300 && !process_.hProcess; ++i) {
    if (HWND main = FindWindowW(L"TForm1", nullptr)) {
      GetWindowThreadProcessId(main, &process_.dwProcessId);
      process_.hProcess = OpenProcess(PROCESS_ALL_ACCESS, FALSE, process_.dwProcessId);
    }
    if (!process_.hProcess) Sleep(100);
  }
  ASSERT_NE(process_.hProcess, nullptr) << "the program started through the shell showed no main window";
  TrackProgram(process_.hProcess);
}

void RunningProgram::StartTracingFiles(const std::wstring& traceFile) {
  const std::string unixTrace = test::UnixEntryName(traceFile);
  ASSERT_FALSE(unixTrace.empty());
  StartShell("exec " + ShellStart("WINEDEBUG=+file", L"") + " >/dev/null 2>'" + unixTrace + "'");
  FindStartedProgram(L"the traced program's main window");
}

void RunningProgram::StartWithUnixEnvironment(const std::string& environment, const std::wstring& arguments) {
  StartShell("exec " + ShellStart(environment, arguments) + " >/dev/null 2>&1");
  FindStartedProgram(L"the main window of the program started through the shell");
}

bool RunningProgram::RunWithUnixEnvironment(const std::string& environment, const std::wstring& arguments) {
  WaitingFor waiting(L"the end of the program started through the shell");
  return test::RunShell(
      "cd '" + test::UnixName(folder_) + "' && " + ShellStart(environment, arguments) + " >/dev/null 2>&1",
      folder_ + L"\\Krelmix.exe");
}

void RunningProgram::StartWithTemp(const std::wstring& arguments, const std::wstring& tempFolder) {
  wchar_t oldTmp[MAX_PATH] = {}, oldTemp[MAX_PATH] = {};
  GetEnvironmentVariableW(L"TMP", oldTmp, MAX_PATH);
  GetEnvironmentVariableW(L"TEMP", oldTemp, MAX_PATH);
  SetEnvironmentVariableW(L"TMP", tempFolder.c_str());
  SetEnvironmentVariableW(L"TEMP", tempFolder.c_str());
  Start(arguments);
  SetEnvironmentVariableW(L"TMP", oldTmp);
  SetEnvironmentVariableW(L"TEMP", oldTemp);
}

namespace {
struct ButtonSearch {
  std::wstring text;
  HWND found = nullptr;
};

std::wstring WithoutAmpersand(std::wstring text) {
  std::erase(text, L'&');
  return text;
}

BOOL CALLBACK FindButton(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ButtonSearch*>(param);
  if (WithoutAmpersand(WindowText(hwnd)) == WithoutAmpersand(search->text)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectStatic(HWND hwnd, LPARAM param) {
  wchar_t name[32] = {};
  GetClassNameW(hwnd, name, 32);
  if (std::wstring(name) == L"Static") {
    auto* text = reinterpret_cast<std::wstring*>(param);
    const std::wstring line = WindowText(hwnd);
    if (!line.empty()) *text += line + L"\n";
  }
  return TRUE;
}
}  // namespace

bool AnswerDialog(RunningProgram& program, const wchar_t* className, const std::wstring& caption,
                  const std::wstring& button, std::wstring* text, DWORD milliseconds) {
  WaitingFor waiting(L"a dialog titled \"" + caption + L"\" to answer with \"" + button + L"\"");
  for (DWORD waited = 0; waited < milliseconds; waited += 100) {
    HWND dialog = program.WaitForWindow(className, 100);
    if (dialog && WindowText(dialog) == caption) {
      if (text) {
        text->clear();
        EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(text));
      }
      ButtonSearch search{button};
      EnumChildWindows(dialog, FindButton, reinterpret_cast<LPARAM>(&search));
      if (!search.found) return false;
      PostMessageW(search.found, BM_CLICK, 0, 0);
      Sleep(300);
      return true;
    }
  }
  return false;
}

bool WaitUntilIdle(HWND main, DWORD milliseconds) {
  WaitingFor waiting(L"the run to end (Поиск enabled, Стоп disabled)");
  for (DWORD waited = 0; waited < milliseconds; waited += 100) {
    if (FindControl(main, L"SpeedButton2").enabled && !FindControl(main, L"SpeedButton4").enabled) return true;
    Sleep(100);
  }
  return false;
}

bool RunningProgram::WaitForExit(DWORD milliseconds) {
  WaitingFor waiting(L"the program to end");
  return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

bool RunningProgram::Running() { return process_.hProcess && !WaitForExit(0); }

std::string RunningProgram::SettingsBytes() const {
  std::ifstream in(std::filesystem::path(SettingsPath()), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool RunningProgram::SettingsExist() const {
  return GetFileAttributesW(SettingsPath().c_str()) != INVALID_FILE_ATTRIBUTES;
}

HWND RunningProgram::WaitForWindow(const wchar_t* className, DWORD milliseconds) {
  WaitingFor waiting(std::wstring(L"a window of class ") + className);
  for (DWORD waited = 0; waited < milliseconds; waited += 100) {
    Search search{process_.dwProcessId, className, nullptr};
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      if (splashExpected_ && std::wstring(className) == L"TForm1") DismissSplash();
      return search.found;
    }
    Sleep(100);
  }
  return nullptr;
}

void RunningProgram::DismissSplash() {
  splashExpected_ = false;
  HWND splash = WaitForWindow(L"TAboutForm", 10000);
  if (!splash) return;
  ButtonSearch search{L"Угу!"};
  EnumChildWindows(splash, FindButton, reinterpret_cast<LPARAM>(&search));
  if (search.found) PostMessageW(search.found, BM_CLICK, 0, 0);
  for (int i = 0; i < 50 && IsWindow(splash) && IsWindowVisible(splash); ++i) Sleep(100);
}

MessageBoxInfo RunningProgram::WaitForMessageBox(DWORD milliseconds) {
  MessageBoxInfo box;
  box.hwnd = WaitForWindow(L"#32770", milliseconds);
  if (box.hwnd) {
    box.caption = WindowText(box.hwnd);
    box.text = WindowText(GetDlgItem(box.hwnd, 0xFFFF));
  }
  return box;
}

HWND RunningProgram::DriveList() {
  HWND main = WaitForWindow(L"TForm1");
  return main ? FindWindowExW(main, nullptr, L"LISTBOX", L"CheckListBox1") : nullptr;
}

HWND RunningProgram::FoundList() {
  HWND main = WaitForWindow(L"TForm1");
  return main ? FindWindowExW(main, nullptr, L"LISTBOX", L"RxCheckListBox1") : nullptr;
}

void RunningProgram::ClickControl(const std::wstring& name) {
  HWND main = MainWindow();
  const ControlInfo c = FindControl(main, name);
  ClickAt(main, {(c.bounds.left + c.bounds.right) / 2, (c.bounds.top + c.bounds.bottom) / 2});
}

std::vector<std::wstring> RunningProgram::DriveLines() { return ListLines(DriveList()); }

std::vector<bool> RunningProgram::DriveTicks() { return ListTicks(DriveList()); }

int RunningProgram::DriveLineIndex(wchar_t letter) {
  const auto lines = DriveLines();
  for (size_t i = 0; i < lines.size(); ++i)
    if (!lines[i].empty() && lines[i][0] == letter) return static_cast<int>(i);
  return -1;
}

void RunningProgram::ClickDriveLine(int index, bool onTickBox) {
  HWND list = DriveList();
  RECT item = {};
  SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  POINT p = {onTickBox ? item.left + 6 : item.left + 40, (item.top + item.bottom) / 2};
  ClientToScreen(list, &p);
  MouseClickAt(p);
}

void SendKeyNow(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

void SendKey(WORD key, bool up) {
  SendKeyNow(key, up);
  Sleep(30);
}

void TapKey(WORD key) {
  SendKey(key, false);
  SendKey(key, true);
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    for (DWORD flags : {DWORD(KEYEVENTF_UNICODE), DWORD(KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = c;
      input.ki.dwFlags = flags;
      SendInput(1, &input, sizeof input);
      Sleep(20);
    }
  }
}

void DoubleClickAt(HWND window, POINT client) {
  ClientToScreen(window, &client);
  SetCursorPos(client.x, client.y);
  Sleep(100);
  for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    Sleep(30);
  }
  Sleep(200);
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void ClickControlOf(HWND form, const std::wstring& name) {
  const ControlInfo control = FindControl(form, name);
  ASSERT_FALSE(control.name.empty()) << "no control " << std::string(name.begin(), name.end());
  ClickAt(form, Centre(control.bounds));
  Sleep(150);
}

bool GoneWithin(HWND window, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 100) {
    if (!IsWindow(window) || !IsWindowVisible(window)) return true;
    Sleep(100);
  }
  return false;
}

}  // namespace krelmix::e2e
