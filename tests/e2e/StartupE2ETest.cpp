#include <gtest/gtest.h>

#include "Harness.h"

namespace krelmix::e2e {
namespace {

// The scratch drive the test wrapper maps; the only drive these tests may tick.
constexpr wchar_t kScratchDrive = L'T';

const wchar_t kHelpText[] =
    L"/? - эта помощь\n/test - тестирование скорости работы\n"
    L"/nightfly - фоновая очитска дисков\n/nighttrash - фоновая очистка каталога TMP";

class Startup : public testing::TestWithParam<std::wstring> {};

TEST_P(Startup, HelpBoxShowsTheFourLinesAndEndsTheProgram) {
  RunningProgram program("", false);
  program.Start(GetParam());
  const MessageBoxInfo box = program.WaitForMessageBox();
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_EQ(box.caption, L"Опции командной строки");
  EXPECT_EQ(box.text, kHelpText);
  PressOk(box.hwnd);
  EXPECT_TRUE(program.WaitForExit(15000));
}
INSTANTIATE_TEST_SUITE_P(Arguments, Startup, testing::Values(L"/?", L"/? /TEST"));

TEST(DriveList, NoSettingsFileTicksNothingAndCreatesNothingUntilTheFirstClick) {
  RunningProgram program("", false);
  program.Start();
  ASSERT_NE(program.WaitForWindow(L"TForm1"), nullptr);
  const int scratch = program.DriveLineIndex(kScratchDrive);
  ASSERT_GE(scratch, 0) << "the scratch drive is not listed";
  for (bool tick : program.DriveTicks()) EXPECT_FALSE(tick);
  Sleep(500);
  EXPECT_FALSE(program.SettingsExist());

  program.ClickDriveLine(scratch, /*onTickBox=*/false);  // a click on the text saves, ticks nothing
  ASSERT_TRUE(program.SettingsExist());
  EXPECT_FALSE(program.DriveTicks()[scratch]);
  std::string expected = "[Area]\r\n";
  for (const auto& line : program.DriveLines()) expected += std::string(1, static_cast<char>(line[0])) + "=0\r\n";
  EXPECT_EQ(program.SettingsBytes(), expected);
}

TEST(DriveList, TickIsSavedAndRestoredAndStaleKeysAreDropped) {
  std::string settingsAfterClick;
  {
    RunningProgram program("[Area]\r\nQ=1\r\nT=$0\r\n[Kill]\r\n*.bak=1\r\n");
    program.Start();
    ASSERT_NE(program.WaitForWindow(L"TForm1"), nullptr);
    const int scratch = program.DriveLineIndex(kScratchDrive);
    ASSERT_GE(scratch, 0);
    EXPECT_FALSE(program.DriveTicks()[scratch]);
    program.ClickDriveLine(scratch, /*onTickBox=*/true);
    EXPECT_TRUE(program.DriveTicks()[scratch]);
    settingsAfterClick = program.SettingsBytes();
    // A double click on the line's text toggles the tick, and the file holds what the window shows.
    RECT line = {};
    SendMessageW(program.DriveList(), LB_GETITEMRECT, scratch, reinterpret_cast<LPARAM>(&line));
    DoubleClickAt(program.DriveList(), {line.left + 40, (line.top + line.bottom) / 2});
    Sleep(300);
    EXPECT_FALSE(program.DriveTicks()[scratch]);
    EXPECT_NE(program.SettingsBytes().find("T=0\r\n"), std::string::npos);
  }
  EXPECT_EQ(settingsAfterClick.find("Q="), std::string::npos);
  EXPECT_NE(settingsAfterClick.find("T=1\r\n"), std::string::npos);
  EXPECT_NE(settingsAfterClick.find("[Kill]\r\n*.bak=1\r\n"), std::string::npos);

  for (const char* value : {"0x1", " +1"}) {
    RunningProgram program(std::string("[Area]\r\nT=") + value + "\r\n");
    program.Start();
    ASSERT_NE(program.WaitForWindow(L"TForm1"), nullptr);
    EXPECT_TRUE(program.DriveTicks()[program.DriveLineIndex(kScratchDrive)]) << value;
  }
  RunningProgram program("[Area]\r\nT=1x\r\n");
  program.Start();
  ASSERT_NE(program.WaitForWindow(L"TForm1"), nullptr);
  EXPECT_FALSE(program.DriveTicks()[program.DriveLineIndex(kScratchDrive)]);
}

TEST(DriveList, ReadOnlySettingsFileIsReportedAndTheProgramGoesOn) {
  RunningProgram program("[Area]\r\nT=0\r\n");
  SetFileAttributesW(program.SettingsPath().c_str(), FILE_ATTRIBUTE_READONLY);
  program.Start();
  ASSERT_NE(program.WaitForWindow(L"TForm1"), nullptr);
  program.ClickDriveLine(program.DriveLineIndex(kScratchDrive), /*onTickBox=*/false);
  const MessageBoxInfo box = program.WaitForMessageBox();
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_EQ(box.text, L"Unable to write to " + program.SettingsPath());
  PressOk(box.hwnd);
  Sleep(500);
  EXPECT_TRUE(program.Running());
  EXPECT_EQ(program.SettingsBytes(), "[Area]\r\nT=0\r\n");
  SetFileAttributesW(program.SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

struct EncodedFile {
  const char* name;
  std::string bytes;
  std::string keptPart;
};

class Encodings : public testing::TestWithParam<EncodedFile> {};

// The program rewrites Area; the Cyrillic keys elsewhere come back byte for byte.
TEST_P(Encodings, CyrillicKeysSurviveARewrite) {
  RunningProgram program(GetParam().bytes);
  program.Start();
  ASSERT_NE(program.WaitForWindow(L"TForm1"), nullptr);
  const int scratch = program.DriveLineIndex(kScratchDrive);
  ASSERT_GE(scratch, 0) << "the scratch drive is not listed";
  EXPECT_TRUE(program.DriveTicks()[scratch]);
  program.ClickDriveLine(scratch, /*onTickBox=*/false);
  const std::string after = program.SettingsBytes();
  EXPECT_NE(after, GetParam().bytes);  // Area was rewritten
  EXPECT_NE(after.find(GetParam().keptPart), std::string::npos);
}

std::string Utf16(const std::wstring& text) {
  std::string bytes = "\xff\xfe";
  for (wchar_t c : text) {
    bytes += static_cast<char>(c & 0xff);
    bytes += static_cast<char>((c >> 8) & 0xff);
  }
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, Encodings,
    testing::Values(EncodedFile{"cp1251", "[ExcludeDir]\r\nT:\\\xcc\xf3\xf1\xee\xf0=1\r\n[Area]\r\nT=1\r\n",
                                "[ExcludeDir]\r\nT:\\\xcc\xf3\xf1\xee\xf0=1\r\n"},
                    EncodedFile{"utf8",
                                "[ExcludeDir]\r\nT:\\\xd0\x9c\xd1\x83\xd1\x81\xd0\xbe\xd1\x80=1\r\n[Area]\r\nT=1\r\n",
                                "[ExcludeDir]\r\nT:\\\xd0\x9c\xd1\x83\xd1\x81\xd0\xbe\xd1\x80=1\r\n"},
                    EncodedFile{"utf16", Utf16(L"[ExcludeDir]\r\nT:\\Мусор=1\r\n[Area]\r\nT=1\r\n"),
                                Utf16(L"[ExcludeDir]\r\nT:\\Мусор=1\r\n").substr(2)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace krelmix::e2e
