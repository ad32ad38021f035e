// The whole round with the keyboard alone, as a user who cannot use a mouse makes it, and the
// main window as a screen reader in another process reads it.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <filesystem>

#include "Harness.h"
#include "Scratch.h"

namespace krelmix::e2e {

namespace {

void TapWith(WORD modifier, WORD key) {
  SendKey(modifier, false);
  TapKey(key);
  SendKey(modifier, true);
}

// The window that has the keyboard focus in the window's thread.
HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

// The name of each child of the window's accessible object, read from this process.
std::vector<std::wstring> AccessibleNames(HWND window) {
  std::vector<std::wstring> names;
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))))
    return names;
  long count = 0;
  object->get_accChildCount(&count);
  for (long id = 1; id <= count; ++id) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    BSTR name = nullptr;
    if (object->get_accName(child, &name) == S_OK) names.emplace_back(name, SysStringLen(name));
    SysFreeString(name);
  }
  object->Release();
  return names;
}

}  // namespace

// The end of a search reads no messages while it lists, ticks and reports its finds (here 5,000
// finds with long names in T:'s root, all listed after the walk's last reading of the queue, for a
// few milliseconds). A Del typed then, while
// "Удалить" is greyed, waits in the queue until the run has ended; it is dropped there, so no
// file is deleted and no question comes for it. Del is typed again and again until the run's
// finish enables the drive list again, just before the buttons change.
TEST(Keyboard, ADelTypedDuringASearchIsDroppedWhenTheSearchEnds) {
  ClearScratchDrive();
  constexpr int kFinds = 5000;
  MakeEmptyFiles(L"T:\\", kFinds, std::string(200, 'x') + ".bak");
  RunningProgram program(SettingsTickingScratch("[Kill]\r\n*.bak=1\r\n"));
  program.Start(L"");
  HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  HWND drives = program.DriveList();
  SetForegroundWindow(main);
  Sleep(300);
  SendKeyNow(VK_F3, false);
  SendKeyNow(VK_F3, true);
  // The run greys the drive list once it has read its settings. A window's style is read
  // without a message, so without waiting for the run.
  for (int waited = 0; IsWindowEnabled(drives) && waited < 10000; ++waited) Sleep(1);
  ASSERT_FALSE(IsWindowEnabled(drives));
  for (int typed = 0; !IsWindowEnabled(drives) && typed < 20000; ++typed) {
    SendKeyNow(VK_DELETE, false);
    SendKeyNow(VK_DELETE, true);
    Sleep(1);
  }
  ASSERT_TRUE(WaitUntilIdle(main));
  EXPECT_EQ(program.WaitForWindow(L"#32770", 500), nullptr) << "a question came for a Del typed during the search";
  ASSERT_TRUE(WaitUntilIdle(main));  // and no deletion is going on
  int left = 0;
  for (const auto& entry : std::filesystem::directory_iterator(L"T:\\")) left += entry.path().extension() == L".bak";
  EXPECT_EQ(left, kFinds);
  ClearScratchDrive();
}

TEST(Keyboard, TickADriveSearchUntickALineDeleteAndOpenAndCloseTheOptionsWithKeysAloneAndTheTickIsKept) {
  ClearScratchDrive();
  for (const wchar_t* file : {L"T:\\a.bak", L"T:\\b.bak", L"T:\\c.bak"}) MakeFile(file);
  RunningProgram program("[Options]\r\n0=0\r\n[Kill]\r\n*.bak=1\r\n");
  program.Start(L"");
  HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  const int drive = program.DriveLineIndex(L'T');
  ASSERT_GE(drive, 0);
  ASSERT_FALSE(program.DriveTicks()[static_cast<size_t>(drive)]);
  SetForegroundWindow(main);
  Sleep(300);
  TapKey(VK_HOME);
  for (int i = 0; i < drive; ++i) TapKey(VK_DOWN);
  TapKey(VK_SPACE);
  EXPECT_TRUE(program.DriveTicks()[static_cast<size_t>(drive)]);

  TapKey(VK_F3);
  HWND finds = program.FoundList();
  const std::vector<std::wstring> expected = {L"T:\\a.bak", L"T:\\b.bak", L"T:\\c.bak"};
  for (int waited = 0; waited < 10000 && ListLines(finds) != expected; waited += 100) Sleep(100);
  ASSERT_TRUE(WaitUntilIdle(main));
  ASSERT_EQ(ListLines(finds), expected);
  if (FocusOf(main) != finds) TapKey(VK_TAB);  // the search leaves the focus on its last find
  ASSERT_EQ(FocusOf(main), finds);
  TapKey(VK_HOME);
  TapKey(VK_DOWN);
  TapKey(VK_SPACE);  // unticks T:\b.bak
  EXPECT_EQ(ListTicks(finds), (std::vector<bool>{true, false, true}));
  TapKey(VK_DELETE);
  ASSERT_TRUE(AnswerDialog(program, L"#32770", L"Подтверждение", L"Да"));  // the key asks first
  // The deletion starts once the question has gone, which under Wine takes a while.
  for (int waited = 0; ListLine(finds, 0) == L"T:\\a.bak" && waited < 10000; waited += 100) Sleep(100);
  ASSERT_TRUE(WaitUntilIdle(main));
  EXPECT_FALSE(Exists(L"T:\\a.bak"));
  EXPECT_TRUE(Exists(L"T:\\b.bak"));
  EXPECT_FALSE(Exists(L"T:\\c.bak"));

  TapWith(VK_CONTROL, 'O');
  HWND options = program.WaitForWindow(L"TOptionsForm", 5000);
  ASSERT_NE(options, nullptr);
  TapKey(VK_ESCAPE);
  EXPECT_TRUE(GoneWithin(options, 5000));

  // From this process, as a screen reader reads another program.
  CoInitialize(nullptr);
  const std::vector<std::wstring> names = AccessibleNames(main);
  EXPECT_NE(std::find(names.begin(), names.end(), L"Поиск"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), L"Найденные файлы"), names.end());
  CoUninitialize();

  // The tick set with the space bar was stored at once, so the program ends with it saved.
  TapWith(VK_CONTROL, 'Q');
  ASSERT_TRUE(program.WaitForExit(15000));
  EXPECT_NE(program.SettingsBytes().find("T=1"), std::string::npos) << program.SettingsBytes();
  ClearScratchDrive();
}

}  // namespace krelmix::e2e
