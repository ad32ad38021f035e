// The options dialog as the user meets it: opened by "Настройки", rows ticked by double-click,
// "Сохранить" writing the settings file and the user's autostart values, "Отмена" and Escape
// writing nothing.
#include <gtest/gtest.h>

#include <optional>

#include "Harness.h"

namespace krelmix::e2e {

namespace {

const std::string kNoSplash = "[Options]\r\n0=0\r\n";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kEraseValue[] = L"Krelmix2001 erase";
const wchar_t kTmpValue[] = L"Krelmix2001 TMP";
constexpr int kOptionListId = 401, kSoundBoxId = 402;

std::optional<std::wstring> RunValue(HKEY root, const wchar_t* name, DWORD view = 0) {
  wchar_t data[2048] = {};
  DWORD bytes = sizeof data;
  if (RegGetValueW(root, kRunKey, name, RRF_RT_REG_SZ | view, nullptr, data, &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(data);
}

void RemoveRunValues() {
  const std::pair<HKEY, REGSAM> keys[] = {
      {HKEY_CURRENT_USER, 0}, {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY}, {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY}};
  for (const auto& [root, view] : keys) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, kRunKey, 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) continue;
    RegDeleteValueW(key, kEraseValue);
    RegDeleteValueW(key, kTmpValue);
    RegCloseKey(key);
  }
}

// What an earlier version wrote for every user, as the shipped 32-bit program: into the
// machine key's 32-bit view.
void LeaveMachineValue(const wchar_t* name) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const wchar_t data[] = L"C:\\Krelmix\\Krelmix.exe /nightfly";
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data);
  RegCloseKey(key);
}

HWND OpenOptions(RunningProgram& program) {
  if (!program.MainWindow()) return nullptr;
  program.ClickControl(L"SpeedButton8");
  HWND dialog = program.WaitForWindow(L"TOptionsForm", 10000);
  for (int i = 0; i < 30 && dialog && GetForegroundWindow() != dialog; ++i) Sleep(100);
  Sleep(300);
  return dialog;
}

// Two clicks on an option row's text, well within the double-click time.
void DoubleClickRow(HWND dialog, int row) {
  DoubleClickAt(GetDlgItem(dialog, kOptionListId), {120, row * 13 + 6});
  Sleep(100);
}

// Opens the dialog, flips rows 3 and 4 and saves.
void FlipAutostartRowsAndSave(RunningProgram& program, bool expectTicked) {
  HWND dialog = OpenOptions(program);
  ASSERT_TRUE(dialog);
  DoubleClickRow(dialog, 3);
  DoubleClickRow(dialog, 4);
  const std::vector<bool> ticks = ListTicks(GetDlgItem(dialog, kOptionListId));
  ASSERT_EQ(ticks.size(), 6u);
  EXPECT_EQ(ticks[3], expectTicked);
  EXPECT_EQ(ticks[4], expectTicked);
  ClickControlOf(dialog, L"SpeedButton3");
  EXPECT_TRUE(GoneWithin(dialog, 5000));
}

}  // namespace

TEST(OptionsE2E, EveryControlSitsWhereTheDesignPutsItWithItsTexts) {
  RunningProgram program(kNoSplash);
  program.Start();
  HWND dialog = OpenOptions(program);
  ASSERT_TRUE(dialog);
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 360);
  EXPECT_EQ(client.bottom, 286);
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
  struct Expected {
    const wchar_t* name;
    RECT bounds;
    bool visible;
    const wchar_t* caption;
    const wchar_t* hint;
  };
  const Expected expected[] = {
      {L"CheckListBox2", {10, 9, 349, 191}, true, L"CheckListBox2", L""},
      {L"CheckBox1", {13, 199, 144, 216}, true, L"Использовать звуки", L""},
      {L"SpeedButton5", {14, 219, 146, 241}, true, L"Настроить звуки", L""},
      {L"SpeedButton1", {155, 197, 235, 219}, true, L"Типы файлов", L"Типы файлов для удаления"},
      {L"SpeedButton2", {155, 220, 235, 242}, true, L"Исключить", L"Исключить каталоги из поиска"},
      {L"SpeedButton3", {12, 250, 92, 275}, true, L"Сохранить", L""},
      {L"SpeedButton4", {269, 250, 349, 275}, true, L"Отмена", L""},
      {L"CheckListBox1", {}, false, nullptr, nullptr},
      {L"CheckListBox3", {}, false, nullptr, nullptr},
      {L"RadioButton1", {}, false, L"Русский", nullptr},
      {L"RadioButton2", {}, false, L"English", nullptr},
  };
  for (const Expected& e : expected) {
    const ControlInfo c = FindControl(dialog, e.name);
    ASSERT_EQ(c.name, e.name);
    EXPECT_EQ(c.visible, e.visible) << c.name;
    if (e.visible) {
      EXPECT_TRUE(EqualRect(&c.bounds, &e.bounds)) << c.name;
    }
    if (e.caption) {
      EXPECT_EQ(c.caption, e.caption) << c.name;
    }
    if (e.hint) {
      EXPECT_EQ(c.hint, e.hint) << c.name;
    }
  }
  EXPECT_FALSE(FindControl(dialog, L"RadioButton2").enabled);
  EXPECT_EQ(ListLines(GetDlgItem(dialog, kOptionListId)).size(), 6u);
}

// Opened with the sounds off ("Subj" missing means off), "Настроить звуки" is disabled at once.
TEST(OptionsE2E, TheSoundEditorsButtonFollowsTheSoundBoxFromTheMomentTheDialogOpens) {
  RunningProgram program(kNoSplash);
  program.Start();
  HWND dialog = OpenOptions(program);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(SendMessageW(GetDlgItem(dialog, kSoundBoxId), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_FALSE(FindControl(dialog, L"SpeedButton5").enabled);
  for (bool ticked : {true, false}) {
    ClickControlOf(dialog, L"CheckBox1");
    EXPECT_EQ(FindControl(dialog, L"SpeedButton5").enabled, ticked);
  }
}

TEST(OptionsE2E, SaveKeepsTheUsersAutostartValuesInStepWithRowsThreeAndFourAndClearsTheMachines) {
  RemoveRunValues();
  LeaveMachineValue(kEraseValue);
  RunningProgram program(kNoSplash);
  program.Start();
  FlipAutostartRowsAndSave(program, true);
  const std::wstring quoted = L"\"" + program.Folder() + L"\\Krelmix.exe\"";
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER, kEraseValue), quoted + L" /nightfly");
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER, kTmpValue), quoted + L" /nighttrash");
  for (DWORD view : {RRF_SUBKEY_WOW6432KEY, RRF_SUBKEY_WOW6464KEY}) {
    EXPECT_FALSE(RunValue(HKEY_LOCAL_MACHINE, kEraseValue, view)) << "the earlier version's value stayed";
    EXPECT_FALSE(RunValue(HKEY_LOCAL_MACHINE, kTmpValue, view));
  }
  EXPECT_NE(program.SettingsBytes().find("[Options]\r\n0=0\r\n1=1\r\n2=1\r\n3=1\r\n4=1\r\n5=0\r\n"), std::string::npos)
      << program.SettingsBytes();

  FlipAutostartRowsAndSave(program, false);
  EXPECT_FALSE(RunValue(HKEY_CURRENT_USER, kEraseValue));
  EXPECT_FALSE(RunValue(HKEY_CURRENT_USER, kTmpValue));

  // Saving again with both values absent reports nothing.
  HWND dialog = OpenOptions(program);
  ASSERT_TRUE(dialog);
  ClickControlOf(dialog, L"SpeedButton3");
  EXPECT_TRUE(GoneWithin(dialog, 5000));
  EXPECT_FALSE(program.WaitForMessageBox(1500).hwnd);
  RemoveRunValues();
}

TEST(OptionsE2E, CancelAndEscapeWriteNothingAndEscapeElsewhereIsNotTaken) {
  RunningProgram program(kNoSplash + "[Kill]\r\n*.bak=1\r\n");
  program.Start();
  const std::string before = program.SettingsBytes();

  HWND dialog = OpenOptions(program);
  ASSERT_TRUE(dialog);
  DoubleClickRow(dialog, 5);
  ClickControlOf(dialog, L"SpeedButton4");
  EXPECT_TRUE(GoneWithin(dialog, 5000));
  EXPECT_EQ(program.SettingsBytes(), before);

  // Escape typed while another program's window is active is that program's key.
  dialog = OpenOptions(program);
  ASSERT_TRUE(dialog);
  HWND other = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"other program", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(other);
  Sleep(300);
  TapKey(VK_ESCAPE);
  for (int i = 0; i < 5; ++i) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(100);
  }
  EXPECT_TRUE(IsWindowVisible(dialog)) << "Escape in another program cancelled the dialog";
  DestroyWindow(other);

  // In the dialog it cancels.
  ClickAt(dialog, {300, 230});  // on the empty right-hand area: activates the dialog, changes nothing
  DoubleClickRow(dialog, 5);
  TapKey(VK_ESCAPE);
  EXPECT_TRUE(GoneWithin(dialog, 5000));
  EXPECT_EQ(program.SettingsBytes(), before);

  // And with the focus in a side editor's list.
  dialog = OpenOptions(program);
  ASSERT_TRUE(dialog);
  ClickControlOf(dialog, L"SpeedButton1");  // "Типы файлов"
  HWND editor = program.WaitForWindow(L"TFileTypeForm");
  ASSERT_TRUE(editor);
  Sleep(500);
  ClickAt(FindWindowExW(editor, nullptr, L"ListBox", nullptr), {60, 8});
  Sleep(300);
  TapKey(VK_ESCAPE);
  EXPECT_TRUE(GoneWithin(dialog, 5000)) << "Escape in the mask editor's list did not cancel";
  EXPECT_EQ(program.SettingsBytes(), before);
}

}  // namespace krelmix::e2e
