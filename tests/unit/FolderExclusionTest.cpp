#include <gtest/gtest.h>

#include "cleanup/FolderExclusion.h"

namespace krelmix {
namespace {

TEST(FolderExclusion, DriveRootsAndEmptyTextAreRefusedAnyOtherFolderIsTaken) {
  for (const wchar_t* folder : {L"", L"c:\\", L"C:\\", L"D:\\", L"C:", L"C:/", L"z:\\\\", L"\\"})
    EXPECT_FALSE(IsUsableExclusion(folder)) << folder;
  for (const wchar_t* folder : {L"C:\\Windows", L"c:\\temp\\", L"\\\\server\\share", L"1:", L"CC:\\"})
    EXPECT_TRUE(IsUsableExclusion(folder)) << folder;
}

TEST(FolderExclusion, TheSetComparesWholePathsWithoutCaseOrTrailingSeparator) {
  const ExclusionSet set({L"c:\\Program Files\\", L"C:/Temp/Old", L"C:\\Время"});
  for (const wchar_t* folder : {L"C:\\PROGRAM FILES", L"C:\\Temp\\old", L"C:\\ВРЕМЯ", L"c:\\время"})
    EXPECT_TRUE(set.Contains(folder)) << folder;
  for (const wchar_t* folder : {L"C:\\Program Files2", L"C:\\Temp", L"C:\\Temp\\Old\\Sub", L"D:\\Temp\\Old"})
    EXPECT_FALSE(set.Contains(folder)) << folder;
  EXPECT_FALSE(ExclusionSet().Contains(L"C:\\Temp"));
}

}  // namespace
}  // namespace krelmix
