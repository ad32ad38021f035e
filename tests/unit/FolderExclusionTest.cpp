#include <gtest/gtest.h>

#include "MemoryFileSystem.h"
#include "cleanup/FolderExclusion.h"

namespace krelmix {
namespace {

TEST(FolderExclusion, DriveRootsAndEmptyTextAreRefusedAnyOtherFolderIsTaken) {
  for (const wchar_t* folder :
       {L"", L"c:\\", L"C:\\", L"D:\\", L"C:", L"C:/", L"z:\\\\", L"\\", L"\\\\?\\C:\\", L"C:\\.", L"C:\\x\\..\\"})
    EXPECT_FALSE(IsUsableExclusion(folder)) << folder;
  for (const wchar_t* folder : {L"C:\\Windows", L"c:\\temp\\", L"\\\\server\\share", L"1:", L"CC:\\"})
    EXPECT_TRUE(IsUsableExclusion(folder)) << folder;
}

class Exclusions : public ::testing::Test {
 protected:
  Exclusions() {
    fs.AddFolder(L"T:\\Keep");
    fs.AddFolder(L"T:\\Keep2");
    fs.AddFolder(L"T:\\Keep\\Sub");
    fs.AddFolder(L"T:\\Long folder name");
    fs.AddShortName(L"T:\\Long folder name", L"LONGFO~1");
    fs.AddLink(L"X:\\Way", L"T:\\Keep");
  }
  FileId Id(const std::wstring& path) { return fs.Open(path)->id; }
  bool Keeps(const std::wstring& entry, const std::wstring& folder) {
    return ExclusionSet({entry}, fs).Contains(folder, Id(folder));
  }
  test::MemoryFileSystem fs;
};

// Every spelling that Windows opens as the excluded folder holds, by its text and by its id.
TEST_F(Exclusions, EverySpellingOfTheFolderKeepsItOut) {
  for (const wchar_t* entry :
       {L"T:\\Keep", L"t:\\KEEP\\", L"T:/Keep", L"T:\\Keep.", L"T:\\Keep. .", L"T:\\\\Keep", L"T:\\.\\Keep",
        L"T:\\Keep\\.", L"T:\\sub\\..\\Keep", L"\\\\?\\T:\\Keep", L"\\\\.\\T:\\Keep", L"\\??\\T:\\Keep"}) {
    EXPECT_TRUE(Keeps(entry, L"T:\\Keep")) << entry;
    EXPECT_TRUE(ExclusionSet({entry}, fs).Contains(L"T:\\Keep", {})) << entry;  // by its text alone
    EXPECT_FALSE(Keeps(entry, L"T:\\Keep2")) << entry;
    EXPECT_FALSE(Keeps(entry, L"T:\\Keep\\Sub")) << entry;
  }
  EXPECT_TRUE(Keeps(L"T:\\LONGFO~1", L"T:\\Long folder name"));
  EXPECT_TRUE(ExclusionSet({L"t:\\longfo~1\\"}, fs).Contains(L"T:\\Long folder name", {}));
  // Reached through a link, the folder is still the one excluded.
  EXPECT_TRUE(Keeps(L"X:\\Way\\Sub", L"T:\\Keep\\Sub"));
}

// No root is ever excluded; letters of any alphabet match in the other case.
TEST_F(Exclusions, RootsLetterCaseAndFoldersMadeLater) {
  for (const wchar_t* root : {L"T:", L"\\\\?\\T:\\", L"T:\\.", L"T:\\Keep\\.."})
    EXPECT_FALSE(Keeps(root, L"T:\\Keep")) << root;
  EXPECT_TRUE(ExclusionSet({L"T:\\ґрунт\\café"}, fs).Contains(L"T:\\ҐРУНТ\\CAFÉ", {}));
  EXPECT_TRUE(ExclusionSet({L"T:\\Straße"}, fs).Contains(L"T:\\STRAßE", {}));
  EXPECT_FALSE(ExclusionSet({L"T:\\Straße"}, fs).Contains(L"T:\\STRASSE", {}));
  // A folder made after the run began is still kept out by its text.
  EXPECT_TRUE(ExclusionSet({L"T:\\Later\\"}, fs).Contains(L"T:\\later", {7, 999}));
  EXPECT_FALSE(ExclusionSet().Contains(L"T:\\Keep", Id(L"T:\\Keep")));
}

}  // namespace
}  // namespace krelmix
