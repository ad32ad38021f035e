#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "ChildTest.h"
#include "toolkit/GlobalHotKey.h"

namespace krelmix {
namespace {

// A shortcut no other program of the test prefix uses.
constexpr uint16_t kRareKey = GlobalHotKey::kCtrl | GlobalHotKey::kAlt | GlobalHotKey::kShift | VK_F9;
constexpr uint16_t kOtherRareKey = GlobalHotKey::kCtrl | GlobalHotKey::kShift | VK_F11;

// Whether the shortcut is free: a registration of our own must succeed (and is undone).
bool IsFree(uint16_t hotKey) {
  const bool free =
      RegisterHotKey(nullptr, 0x7001, GlobalHotKey::ModifierFlags(hotKey), hotKey & GlobalHotKey::kKeyMask) != 0;
  if (free) UnregisterHotKey(nullptr, 0x7001);
  return free;
}

void NoErrorExpected(const std::wstring& text) { ADD_FAILURE() << "error report: " << testing::PrintToString(text); }

TEST(GlobalHotKey, SetReplaceZeroAndActiveFollowTheRules) {
  ASSERT_TRUE(IsFree(kRareKey));
  GlobalHotKey hotKey(NoErrorExpected);
  EXPECT_TRUE(hotKey.Active());
  EXPECT_EQ(hotKey.HotKey(), 0);

  hotKey.SetHotKey(kRareKey);
  EXPECT_FALSE(IsFree(kRareKey));

  // The same value again does nothing: a registration lost meanwhile is not renewed.
  UnregisterHotKey(hotKey.Handle(), hotKey.Id());
  hotKey.SetHotKey(kRareKey);
  EXPECT_TRUE(IsFree(kRareKey));
  hotKey.SetHotKey(0);
  hotKey.SetHotKey(kRareKey);
  EXPECT_FALSE(IsFree(kRareKey));

  // A new value replaces the old one, which is released for other programs.
  hotKey.SetHotKey(kOtherRareKey);
  EXPECT_TRUE(IsFree(kRareKey));
  EXPECT_FALSE(IsFree(kOtherRareKey));

  hotKey.SetHotKey(0);
  EXPECT_TRUE(IsFree(kOtherRareKey));
  EXPECT_EQ(hotKey.HotKey(), 0);

  // Inactive: values are only stored; activating registers the stored one.
  hotKey.SetActive(false);
  hotKey.SetHotKey(kRareKey);
  EXPECT_TRUE(IsFree(kRareKey));
  hotKey.SetActive(true);
  EXPECT_FALSE(IsFree(kRareKey));
  hotKey.SetActive(false);
  EXPECT_TRUE(IsFree(kRareKey));
  EXPECT_EQ(hotKey.HotKey(), kRareKey);
}

TEST(GlobalHotKey, ASecondHolderFailsSilentlyAndDestructionReleasesEverything) {
  auto first = std::make_unique<GlobalHotKey>(NoErrorExpected);
  GlobalHotKey second(NoErrorExpected);
  EXPECT_NE(first->Id(), 0);
  EXPECT_NE(first->Id(), second.Id());
  EXPECT_NE(first->Handle(), second.Handle());

  first->SetHotKey(kRareKey);
  second.SetHotKey(kRareKey);  // taken: no error, the value is still stored
  EXPECT_EQ(second.HotKey(), kRareKey);

  const HWND window = first->Handle();
  const ATOM atom = static_cast<ATOM>(first->Id());
  first.reset();
  EXPECT_TRUE(IsFree(kRareKey));
  EXPECT_FALSE(IsWindow(window));
  wchar_t name[64];
  EXPECT_EQ(GlobalGetAtomNameW(atom, name, 64), 0u) << "the atom was not deleted";
}

TEST(GlobalHotKey, HandlerErrorsGoToTheErrorReportAndNeverLeaveTheWindow) {
  std::vector<std::wstring> reports;
  GlobalHotKey hotKey([&](const std::wstring& text) { reports.push_back(text); });
  hotKey.SetHotKey(kRareKey);
  int calls = 0;
  hotKey.OnKeyDown = [&](GlobalHotKey&, uint16_t, HotKeyModifiers) {
    ++calls;
    throw std::runtime_error("List index out of bounds (7)");
  };
  EXPECT_EQ(SendMessageW(hotKey.Handle(), WM_HOTKEY, hotKey.Id(), 0), 0);
  EXPECT_EQ(SendMessageW(hotKey.Handle(), WM_HOTKEY, hotKey.Id(), 0), 0);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(reports, (std::vector<std::wstring>{L"List index out of bounds (7)", L"List index out of bounds (7)"}));
}

// Esc closes the options dialog, which destroys the dialog's hotkey from inside its own handler.
TEST(GlobalHotKey, HandlerMayDestroyItsOwnComponent) {
  auto hotKey = std::make_unique<GlobalHotKey>(NoErrorExpected);
  hotKey->SetHotKey(VK_ESCAPE);
  const HWND window = hotKey->Handle();
  hotKey->OnKeyDown = [&hotKey](GlobalHotKey& sender, uint16_t key, HotKeyModifiers modifiers) {
    EXPECT_EQ(&sender, hotKey.get());
    EXPECT_EQ(key, VK_ESCAPE);
    EXPECT_EQ(modifiers, HotKeyModifiers{});
    hotKey.reset();
  };
  SendMessageW(window, WM_HOTKEY, 0, 0);
  EXPECT_EQ(hotKey, nullptr);
  EXPECT_FALSE(IsWindow(window));
}

// Real key presses reach the hotkey when another process sends them.
TEST(GlobalHotKey, AltXPressedInAnotherProgramCallsTheHandler) {
  GlobalHotKey hotKey(NoErrorExpected);
  hotKey.SetHotKey(GlobalHotKey::kAltX);
  ASSERT_EQ(hotKey.HotKey(), 32856);
  ASSERT_FALSE(IsFree(GlobalHotKey::kAltX)) << "Alt+X is held by another program of the test prefix";
  int calls = 0;
  uint16_t key = 0;
  HotKeyModifiers modifiers;
  hotKey.OnKeyDown = [&](GlobalHotKey& sender, uint16_t k, HotKeyModifiers m) {
    EXPECT_EQ(&sender, &hotKey);
    ++calls;
    key = k;
    modifiers = m;
  };
  test::ChildTest sender(L"Helper.DISABLED_PressAltX");
  ASSERT_TRUE(sender.Started());
  EXPECT_EQ(sender.Wait(15000), 0);
  EXPECT_TRUE(test::PumpUntil([&] { return calls > 0; }, 5000)) << "WM_HOTKEY did not arrive";
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(key, 'X');
  EXPECT_EQ(modifiers, (HotKeyModifiers{false, false, true}));
}

TEST(Helper, DISABLED_PressAltX) {
  INPUT keys[4] = {};
  const WORD order[4] = {VK_MENU, 'X', 'X', VK_MENU};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = order[i];
    keys[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(order[i], MAPVK_VK_TO_VSC));
    if (i >= 2) keys[i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  for (INPUT& input : keys) {
    ASSERT_EQ(SendInput(1, &input, sizeof(INPUT)), 1u);
    Sleep(50);
  }
}

}  // namespace
}  // namespace krelmix
