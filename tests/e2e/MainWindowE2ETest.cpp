// The main window as the user meets it: every control where it belongs, with its texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../win/UnixLink.h"
#include "Harness.h"

namespace krelmix::e2e {

namespace {
struct Expected {
  const wchar_t* name;
  long left, top, width, height;
  const wchar_t* caption;
  const wchar_t* hint;
  bool enabled;
};

// Left, top, width, height in client pixels, as the window's design gives them.
const Expected kLayout[] = {
    {L"SpeedButton1", 20, 15, 50, 50, L"О...", L"О программе... (F1)", true},
    {L"SpeedButton2", 90, 15, 50, 50, L"Поиск", L"Поиск мусора (F3)", true},
    {L"SpeedButton3", 140, 15, 50, 50, L"Удалить", L"Удалить отмеченные (Del)", false},
    {L"SpeedButton4", 190, 15, 50, 50, L"Стоп", L"Стоп!!! (Esc)", false},
    {L"SpeedButton5", 240, 15, 50, 50, L"Очистка", L"Удалить сразу все (Ctrl+Shift+Del)", true},
    {L"SpeedButton6", 290, 15, 50, 50, L"TMP", L"Очистить TMP (Ctrl+T)", true},
    {L"SpeedButton8", 370, 15, 60, 50, L"Настройки", L"Настройки (Ctrl+O)", true},
    {L"SpeedButton7", 535, 15, 50, 50, L"Выход", L"Выход (Ctrl+Q)", true},
    {L"CheckListBox1", 47, 76, 110, 140, nullptr, nullptr, true},
    {L"Image1", 58, 220, 88, 31, nullptr, L"Deve zezizore dedoza", true},
    {L"Image3", 58, 254, 88, 31, nullptr, L"d3ir", true},
    {L"Panel2", 48, 288, 109, 33, nullptr, nullptr, true},
    {L"Label1", 52, 292, -1, -1, L"Каталогов:", nullptr, true},
    {L"Label2", 52, 304, -1, -1, L"Файлов:", nullptr, true},
    {L"RxCheckListBox1", 162, 96, 429, 336, nullptr, nullptr, true},
    {L"Panel1", 161, 434, 432, 22, L"", L"Вернуть удалённое (Ctrl+Z)", true},
};
}  // namespace

TEST(MainWindow, EveryControlSitsWhereTheDesignPutsItWithItsTexts) {
  RunningProgram program("", false);
  program.Start(L"");
  HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 600);
  EXPECT_EQ(client.bottom, 463);
  const auto controls = DescribeControls(main);
  ASSERT_FALSE(controls.empty());
  for (const Expected& e : kLayout) {
    SCOPED_TRACE(testing::Message() << "control index " << (&e - kLayout));
    const ControlInfo c = FindControl(main, e.name);
    ASSERT_EQ(c.name, e.name);
    EXPECT_EQ(c.bounds.left, e.left);
    EXPECT_EQ(c.bounds.top, e.top);
    if (e.width >= 0) {
      EXPECT_EQ(c.bounds.right - c.bounds.left, e.width);
      EXPECT_EQ(c.bounds.bottom - c.bounds.top, e.height);
    }
    if (e.caption) {
      EXPECT_EQ(c.caption, e.caption);
    }
    if (e.hint) {
      EXPECT_EQ(c.hint, e.hint);
    }
    EXPECT_EQ(c.enabled, e.enabled);
    EXPECT_TRUE(c.visible);
  }
}

TEST(MainWindow, OnlyTheTwoListsTakeTheFocusDriveListFirst) {
  RunningProgram program("", false);
  program.Start(L"");
  HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  HWND drives = program.DriveList();
  HWND finds = program.FoundList();
  ASSERT_NE(finds, nullptr);
  // Child windows other than the two lists refuse the focus (panels are static controls).
  int focusable = 0;
  for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) ++focusable;
  EXPECT_EQ(focusable, 2);
  // The first focus is the drive list's, and Tab moves it to the found list.
  for (int i = 0; i < 50 && GetFocus() == nullptr; ++i) Sleep(50);
  DWORD thread = GetWindowThreadProcessId(main, nullptr);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetGUIThreadInfo(thread, &info));
  EXPECT_EQ(info.hwndFocus, drives);
  PostMessageW(drives, WM_KEYDOWN, VK_TAB, 0);
  Sleep(300);
  ASSERT_TRUE(GetGUIThreadInfo(thread, &info));
  EXPECT_EQ(info.hwndFocus, finds);
}

}  // namespace krelmix::e2e

namespace krelmix::e2e {

namespace {
// A window of the test program that records the characters typed into it.
std::wstring g_typed;
LRESULT CALLBACK TypingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR) g_typed += static_cast<wchar_t>(wParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND CreateTypingWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = TypingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KrelmixE2ETyping";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"typing", WS_POPUP | WS_VISIBLE, 0, 0, 200, 120, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

void PumpFor(int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 20) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(20);
  }
}

}  // namespace

TEST(HotKey, AltXTypedInAnotherProgramClosesKrelmixAndDoesNotReachThatProgram) {
  RunningProgram program("", false);
  program.Start(L"");
  ASSERT_NE(program.MainWindow(), nullptr);
  HWND typing = CreateTypingWindow();
  // With no window manager the keyboard focus follows the pointer.
  SetCursorPos(100, 60);
  SetForegroundWindow(typing);
  SetFocus(typing);
  PumpFor(300);
  g_typed.clear();
  SendKey('Y', false);  // an ordinary key reaches the focused window
  SendKey('Y', true);
  SendKey(VK_MENU, false);
  SendKey('X', false);
  SendKey('X', true);
  SendKey(VK_MENU, true);
  PumpFor(500);
  EXPECT_TRUE(program.WaitForExit(10000)) << "Alt+X did not close the program";
  EXPECT_NE(g_typed.find(L'y'), std::wstring::npos) << "the other program did not have the focus";
  EXPECT_EQ(g_typed.find(L'x'), std::wstring::npos);
  EXPECT_EQ(g_typed.find(L'X'), std::wstring::npos);
  DestroyWindow(typing);
}

namespace {
// What a window's X window tells the desktop (its _NET_WM_STATE, read with the host's xprop):
// Wine keeps the X window's id as a property of the window.
std::string NetWmState(HWND window, const std::wstring& scratchFolder) {
  const auto id = reinterpret_cast<uintptr_t>(GetPropW(window, L"__wine_x11_whole_window"));
  if (!id) return "no X window";
  const std::wstring out = scratchFolder + L"\\xprop.txt";
  if (!test::RunShell("xprop -id " + std::to_string(id) + " _NET_WM_STATE >'" + test::UnixEntryName(out) + "' 2>&1",
                      out))
    return "xprop did not run";
  std::ifstream in{std::filesystem::path(out)};
  return std::string(std::istreambuf_iterator<char>(in), {});
}
}  // namespace

// Under Wine the taskbar entry is the X window's: one without the skip-taskbar state.
TEST(Taskbar, TheMainWindowHasATaskbarEntryUnlessARefusedNightTrashRunKeepsItOpen) {
  {
    RunningProgram program("[Options]\r\n0=0\r\n");
    program.Start(L"");
    HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), L"Krelmix");
    const std::string state = NetWmState(main, program.Folder());
    EXPECT_NE(state.find("_NET_WM_STATE(ATOM)"), std::string::npos) << state;
    EXPECT_EQ(state.find("_NET_WM_STATE_SKIP_TASKBAR"), std::string::npos) << state;
  }
  // The temporary folder is the program's own: the run is refused and the window stays up.
  RunningProgram refused("[Options]\r\n0=0\r\n");
  refused.StartWithTemp(L"/nighttrash", refused.Folder());
  HWND main = refused.MainWindow();
  ASSERT_NE(main, nullptr);
  Sleep(500);
  EXPECT_NE(NetWmState(main, refused.Folder()).find("_NET_WM_STATE_SKIP_TASKBAR"), std::string::npos);
}

TEST(SingleInstance, ASecondCopyRestoresTheFirstAndEndsWhileARenamedCopyRunsOnItsOwn) {
  RunningProgram first("", false);
  first.Start(L"");
  HWND main = first.MainWindow();
  ASSERT_NE(main, nullptr);
  ShowWindow(main, SW_MINIMIZE);
  for (int i = 0; i < 20 && !IsIconic(main); ++i) Sleep(100);
  ASSERT_TRUE(IsIconic(main));

  // The same executable started again from its own folder.
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION second{};
  std::wstring command = L"\"" + first.Folder() + L"\\Krelmix.exe\"";
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, first.Folder().c_str(),
                             &startup, &second));
  EXPECT_EQ(WaitForSingleObject(second.hProcess, 20000), static_cast<DWORD>(WAIT_OBJECT_0)) << "second copy stayed";
  CloseHandle(second.hProcess);
  CloseHandle(second.hThread);
  for (int i = 0; i < 30 && IsIconic(main); ++i) Sleep(100);
  EXPECT_FALSE(IsIconic(main)) << "the first copy was not restored";
  EXPECT_TRUE(first.Running());

  // Another file name is another program for the rule.
  RunningProgram renamed("", false);
  const std::wstring renamedExe = renamed.Folder() + L"\\Krelmix2.exe";
  ASSERT_TRUE(MoveFileW((renamed.Folder() + L"\\Krelmix.exe").c_str(), renamedExe.c_str()));
  PROCESS_INFORMATION other{};
  command = L"\"" + renamedExe + L"\"";
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, renamed.Folder().c_str(),
                             &startup, &other));
  EXPECT_EQ(WaitForSingleObject(other.hProcess, 4000), static_cast<DWORD>(WAIT_TIMEOUT)) << "renamed copy ended";
  TerminateProcess(other.hProcess, 0);
  WaitForSingleObject(other.hProcess, 5000);
  CloseHandle(other.hProcess);
  CloseHandle(other.hThread);
}

}  // namespace krelmix::e2e

namespace krelmix::e2e {

namespace {
void MouseDown() {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &input, sizeof input);
  Sleep(150);
}

void MouseUp() {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof input);
  Sleep(300);
}

void MoveTo(POINT p) {
  SetCursorPos(p.x, p.y);
  Sleep(150);
}

POINT ScreenPoint(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return p;
}

POINT TopLeft(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return {r.left, r.top};
}
}  // namespace

TEST(Skin, TheWindowHasTheSkinsOutline) {
  RunningProgram program("", false);
  program.Start(L"");
  HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  Sleep(500);
  EXPECT_NE(WindowFromPoint(ScreenPoint(main, 4, 100)), main);  // the cut-away corner
  EXPECT_EQ(WindowFromPoint(ScreenPoint(main, 40, 100)), main);
  EXPECT_NE(WindowFromPoint(ScreenPoint(main, 597, 200)), main);
  EXPECT_NE(WindowFromPoint(ScreenPoint(main, 300, 460)), main);  // the last row is 459
  EXPECT_NE(WindowFromPoint(ScreenPoint(main, 100, 400)), main);  // left of the found list
}

TEST(Skin, DraggingTheSkinMovesTheWindowOnlyPastTheToleranceAndNeverFromAButton) {
  RunningProgram program("", false);
  program.Start(L"");
  HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  Sleep(500);
  const POINT start = TopLeft(main);
  // A free spot of the skin: between the buttons and the found list's title.
  const POINT press = ScreenPoint(main, 400, 82);
  ASSERT_EQ(WindowFromPoint(press), main);

  MoveTo(press);
  MouseDown();
  MouseUp();
  EXPECT_EQ(TopLeft(main).x, start.x) << "a press without moving moved the window";

  MoveTo(press);
  MouseDown();
  MoveTo({press.x + 5, press.y + 5});  // within the tolerance
  MouseUp();
  EXPECT_EQ(TopLeft(main).x, start.x);
  EXPECT_EQ(TopLeft(main).y, start.y);

  MoveTo(press);
  MouseDown();
  MoveTo({press.x + 40, press.y + 30});
  MoveTo({press.x + 3, press.y + 2});  // back inside the tolerance: the outline stays where it was
  MouseUp();
  EXPECT_EQ(TopLeft(main).x, start.x + 40);
  EXPECT_EQ(TopLeft(main).y, start.y + 30);

  // A press on a speed button (Stop: disabled, with a handler) never drags.
  const POINT moved = TopLeft(main);
  MoveTo(ScreenPoint(main, 215, 40));
  MouseDown();
  MoveTo(ScreenPoint(main, 255, 80));
  MouseUp();
  EXPECT_EQ(TopLeft(main).x, moved.x);
  EXPECT_EQ(TopLeft(main).y, moved.y);
}

}  // namespace krelmix::e2e
