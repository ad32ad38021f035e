// A settings file written on a Russian system (Windows-1251 bytes), used where the system's code
// page is Western (1252) or UTF-8 (65001): its exclusion still holds, and a write keeps it.
#include <gtest/gtest.h>

#include "Harness.h"
#include "Scratch.h"

namespace krelmix::e2e {

namespace {

const char* const kLocales[] = {"LC_ALL=de_DE.UTF-8", "LC_ALL=hi_IN.UTF-8"};

std::string Cp1251(const std::wstring& text) {
  std::string bytes(text.size(), '\0');
  WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), bytes.data(), static_cast<int>(bytes.size()),
                      nullptr, nullptr);
  return bytes;
}

// A comment, masks and the excluded folder, each with Cyrillic in 1251 bytes.
std::string RussianSettings() {
  return SettingsTickingScratch("; " + Cp1251(L"Папка с архивом не трогать") + "\r\n[Kill]\r\n*.bak=1\r\n" +
                                Cp1251(L"*.копия") + "=1\r\n[ExcludeDir]\r\n" + Cp1251(L"T:\\Архив") + "=1\r\n");
}

// The file's lines outside section Area, which a drive tick rewrites.
std::vector<std::string> LinesBesideArea(const std::string& bytes) {
  std::vector<std::string> lines;
  bool inArea = false;
  for (size_t at = 0; at < bytes.size();) {
    const size_t end = bytes.find("\r\n", at);
    const std::string line = bytes.substr(at, end - at);
    if (!line.empty() && line[0] == '[') inArea = line == "[Area]";
    if (!inArea) lines.push_back(line);
    at = end == std::string::npos ? bytes.size() : end + 2;
  }
  return lines;
}

}  // namespace

TEST(CodePages, AnExclusionWrittenInCyrillicHoldsInTheUnattendedRunUnderWesternAndUtf8) {
  for (const char* locale : kLocales) {
    SCOPED_TRACE(locale);
    ClearScratchDrive();
    const Canary canary = MakeCanary(L"T:\\Архив\\canary.bak");
    MakeFile(L"T:\\junk.bak");
    MakeFile(L"T:\\Другое\\old.bak");
    RunningProgram fly(RussianSettings());
    ASSERT_TRUE(fly.RunWithUnixEnvironment(locale, L"/nightfly"));
    ExpectIntact({canary});
    EXPECT_FALSE(Exists(L"T:\\junk.bak"));
    EXPECT_FALSE(Exists(L"T:\\Другое\\old.bak"));
  }
}

TEST(CodePages, ADriveTickLeavesEveryOtherLineAsItWas) {
  for (const char* locale : kLocales) {
    SCOPED_TRACE(locale);
    RunningProgram program(RussianSettings());
    program.StartWithUnixEnvironment(locale);
    ASSERT_NE(program.MainWindow(), nullptr);
    const int scratch = program.DriveLineIndex(L'T');
    ASSERT_GE(scratch, 0);
    program.ClickDriveLine(scratch, /*onTickBox=*/true);
    EXPECT_FALSE(program.DriveTicks()[scratch]);
    const std::string after = program.SettingsBytes();
    EXPECT_NE(after.find("T=0\r\n"), std::string::npos);
    EXPECT_EQ(LinesBesideArea(after), LinesBesideArea(RussianSettings()));
  }
}

}  // namespace krelmix::e2e
