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

std::optional<std::wstring> ReadRunValue(const wchar_t* name) {
  wchar_t data[1024] = {};
  DWORD bytes = sizeof data, type = 0;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kRunKey, name, RRF_RT_ANY, &type, data, &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  return std::wstring(data);
}

TEST(Win32AutostartRegistry, SetsAndRemovesAStringValueAndRemovingAnAbsentOneIsSilent) {
  Win32AutostartRegistry registry;
  ASSERT_TRUE(registry.SetValue(kTestValue, L"\"C:\\x y\\Krelmix.exe\" /nightfly"));
  EXPECT_EQ(ReadRunValue(kTestValue), L"\"C:\\x y\\Krelmix.exe\" /nightfly");
  registry.RemoveValue(kTestValue);
  EXPECT_FALSE(ReadRunValue(kTestValue));
  registry.RemoveValue(kTestValue);
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
