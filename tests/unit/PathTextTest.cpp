#include <gtest/gtest.h>

#include "platform/PathText.h"

namespace krelmix {
namespace {

using Folders = std::vector<std::wstring>;

TEST(PathText, PrefixesComeOffAndGoOnAsWindowsWritesThem) {
  EXPECT_EQ(WithoutPrefix(L"\\\\?\\C:\\a"), L"C:\\a");
  EXPECT_EQ(WithoutPrefix(L"\\\\.\\C:\\a"), L"C:\\a");
  EXPECT_EQ(WithoutPrefix(L"\\\\?\\unc\\server\\share"), L"\\\\server\\share");
  EXPECT_EQ(WithoutPrefix(L"\\\\server\\share"), L"\\\\server\\share");
  EXPECT_EQ(DosPathOfObjectName(L"\\??\\C:\\a"), L"C:\\a");
  EXPECT_EQ(DosPathOfObjectName(L"\\??\\UNC\\s\\x"), L"\\\\s\\x");
  EXPECT_FALSE(DosPathOfObjectName(L"\\Device\\HarddiskVolume1\\a"));

  EXPECT_EQ(ExtendedForm(L"c:\\a\\b"), L"\\\\?\\c:\\a\\b");
  EXPECT_EQ(ExtendedForm(L"\\\\?\\C:\\a\\..\\b"), L"\\\\?\\C:\\a\\..\\b");  // taken literally
  // Whatever the "\\?\" form would take literally the system must make full first.
  for (const wchar_t* relative : {L"C:\\a\\..\\b", L"C:\\a\\.", L"C:/a", L"C:a", L"a\\b", L"\\a", L""})
    EXPECT_FALSE(ExtendedForm(relative)) << relative;
}

TEST(PathText, RootsDriveLettersAndSteps) {
  EXPECT_EQ(PathRoot(L"c:\\a\\b"), L"c:");
  EXPECT_EQ(PathRoot(L"\\\\server\\share\\x"), L"\\\\server\\share");
  EXPECT_EQ(PathRoot(L"\\\\server"), L"");
  EXPECT_EQ(PathRoot(L"1:\\a"), L"");
  EXPECT_TRUE(IsDriveRoot(L"C:"));
  EXPECT_FALSE(IsDriveRoot(L"C:\\"));
  EXPECT_FALSE(IsDriveLetter(L'Ä'));

  const auto split = SplitLastStep(L"T:\\a\\b.bak");
  ASSERT_TRUE(split);
  EXPECT_EQ(split->folder, L"T:\\a");
  EXPECT_EQ(split->name, L"b.bak");
  EXPECT_FALSE(SplitLastStep(L"b.bak"));

  EXPECT_EQ(FoldersAbove(L"C:\\a\\b\\c"), (Folders{L"C:\\a\\b", L"C:\\a", L"C:"}));
  EXPECT_EQ(FoldersAbove(L"\\\\s\\sh\\a"), (Folders{L"\\\\s\\sh"}));
  EXPECT_TRUE(FoldersAbove(L"C:").empty());
}

TEST(PathText, TrailingSeparatorsDotsAndBlanks) {
  EXPECT_EQ(WithoutTrailingBackslashes(L"C:\\a\\\\"), L"C:\\a");
  EXPECT_EQ(WithoutTrailingBackslashes(L"C:\\"), L"C:");
  EXPECT_EQ(WithoutTrailingBackslashesAfterRoot(L"C:\\\\"), L"C:\\");
  EXPECT_EQ(WithoutTrailingBackslashesAfterRoot(L"C:\\a\\"), L"C:\\a");
  EXPECT_EQ(WithBackslashes(L"C:/a/b"), L"C:\\a\\b");
  // Wine leaves these off a final path's names.
  EXPECT_EQ(WithoutTrailingDots(L"C:\\a. .\\b..\\c "), L"C:\\a\\b\\c");
  EXPECT_TRUE(SamePath(L"C:\\ПАПКА\\x", L"c:\\папка\\X"));
  EXPECT_FALSE(SamePath(L"C:\\a", L"C:\\a\\"));
}

}  // namespace
}  // namespace krelmix
