#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include "common/CommandLine.h"
#include "common/OptionsSettings.h"
#include "platform/win32/Win32AutostartRegistry.h"

namespace krelmix {
namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kTestValue[] = L"Krelmix test value";

std::optional<std::wstring> ReadRunValue(HKEY root, const wchar_t* name, DWORD view = 0) {
  wchar_t data[1024] = {};
  DWORD bytes = sizeof data, type = 0;
  if (RegGetValueW(root, kRunKey, name, RRF_RT_ANY | view, &type, data, &bytes) != ERROR_SUCCESS) return std::nullopt;
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  return std::wstring(data);
}

void WriteMachineValue(REGSAM view, const wchar_t* name) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t data[] = L"C:\\Old\\Krelmix.exe /nightfly";
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data);
  RegCloseKey(key);
}

TEST(Win32AutostartRegistry, TheUsersValueIsSetAndRemovedAndTheMachineKeyIsLeftAlone) {
  Win32AutostartRegistry registry;
  ASSERT_TRUE(registry.SetValue(kTestValue, L"\"C:\\x y\\Krelmix.exe\" /nightfly"));
  EXPECT_EQ(ReadRunValue(HKEY_CURRENT_USER, kTestValue), L"\"C:\\x y\\Krelmix.exe\" /nightfly");
  EXPECT_FALSE(ReadRunValue(HKEY_LOCAL_MACHINE, kTestValue));
  registry.RemoveValue(kTestValue);
  EXPECT_FALSE(ReadRunValue(HKEY_CURRENT_USER, kTestValue));
  registry.RemoveValue(kTestValue);
}

// A 32-bit program's writes under the machine's key land in its 32-bit view: an earlier version
// may have left the value in either view, and Windows runs both.
TEST(Win32AutostartRegistry, AMachineValueIsRemovedFromBothViewsAndAnAbsentOneCountsAsGone) {
  Win32AutostartRegistry registry;
  WriteMachineValue(KEY_WOW64_32KEY, kTestValue);
  WriteMachineValue(KEY_WOW64_64KEY, kTestValue);
  ASSERT_TRUE(ReadRunValue(HKEY_LOCAL_MACHINE, kTestValue, RRF_SUBKEY_WOW6432KEY));
  EXPECT_TRUE(registry.RemoveMachineValue(kTestValue));
  EXPECT_FALSE(ReadRunValue(HKEY_LOCAL_MACHINE, kTestValue, RRF_SUBKEY_WOW6432KEY));
  EXPECT_FALSE(ReadRunValue(HKEY_LOCAL_MACHINE, kTestValue, RRF_SUBKEY_WOW6464KEY));
  EXPECT_TRUE(registry.RemoveMachineValue(kTestValue));
}

// Windows splits the stored command as it splits any command line: the quoted path is the program
// and the switch its one argument.
TEST(AutostartCommand, StartsTheProgramAtAPathWithSpacesWithItsSwitch) {
  const std::wstring program = L"C:\\Program Files\\Krelmix\\Krelmix.exe";
  for (const AutostartValue& value : kAutostartValues) {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(AutostartCommand(program, value.switchText).c_str(), &count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(std::wstring(argv[0]), program);
    const std::vector<Switch> switches = ParseSwitches({argv[1]});
    LocalFree(argv);
    EXPECT_EQ(switches, std::vector<Switch>{value.row == kAutoEraseRow ? Switch::NightFly : Switch::NightTrash});
  }
}

}  // namespace
}  // namespace krelmix
