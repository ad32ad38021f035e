// The main window as the user meets it: every control where it belongs, with its texts.
#include <gtest/gtest.h>

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
    {L"SpeedButton1", 20, 15, 50, 50, L"О...", L"О программе...", true},
    {L"SpeedButton2", 90, 15, 50, 50, L"Поиск", L"Поиск мусора", true},
    {L"SpeedButton3", 140, 15, 50, 50, L"Удалить", L"Удалить отмеченные", false},
    {L"SpeedButton4", 190, 15, 50, 50, L"Стоп", L"Стоп!!!", false},
    {L"SpeedButton5", 240, 15, 50, 50, L"Очистка", L"Удалить сразу все", true},
    {L"SpeedButton6", 290, 15, 50, 50, L"TMP", L"Очистить TMP", true},
    {L"SpeedButton8", 370, 15, 60, 50, L"Настройки", L"Настройки", true},
    {L"SpeedButton7", 535, 15, 50, 50, L"Выход", L"Выход", true},
    {L"CheckListBox1", 47, 76, 110, 140, nullptr, nullptr, true},
    {L"Image1", 58, 220, 88, 31, nullptr, L"Deve zezizore dedoza", true},
    {L"Image3", 58, 254, 88, 31, nullptr, L"d3ir", true},
    {L"Panel2", 48, 288, 109, 33, nullptr, nullptr, true},
    {L"Label1", 52, 292, -1, -1, L"Каталогов:", nullptr, true},
    {L"Label2", 52, 304, -1, -1, L"Файлов:", nullptr, true},
    {L"RxCheckListBox1", 162, 96, 429, 336, nullptr, nullptr, true},
    {L"Panel1", 161, 434, 432, 22, L"", nullptr, true},
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
    if (e.caption) EXPECT_EQ(c.caption, e.caption);
    if (e.hint) EXPECT_EQ(c.hint, e.hint);
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
