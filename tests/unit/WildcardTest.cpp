#include <gtest/gtest.h>

#include <vector>

#include "cleanup/Wildcard.h"

namespace krelmix {
namespace {

struct Case {
  const wchar_t* mask;
  const wchar_t* name;
  bool matches;
};

// What FindFirstFile answers on Windows for these long names.
TEST(Wildcard, FollowsTheWindowsRules) {
  const Case cases[] = {
      {L"*.*", L"foo", true},
      {L"*.", L"foo", true},
      {L"*.", L"foo.txt", false},
      {L"??", L"a", true},
      {L"?.?", L"a", true},
      {L"*.tm?", L"file.tm", true},
      {L"*.b?", L"data.b", true},
      {L"a*b", L"a.xb", true},
      {L"*.bak", L"notes.bakup", false},
      {L"*.bak", L"NOTES.BAK", true},
      {L"*.bak", L"a.b.bak", true},
      {L"*.tmp", L"tmp", false},
      {L"~*.tmp", L"~$doc.tmp", true},
      {L"*.бак", L"ФАЙЛ.БАК", true},
      {L"?.?", L"ab", false},
      {L"*.tm?", L"file.tmpx", false},
      {L"data.*", L"data", true},
      {L"*.bak", L"x.bak.txt", false},
      // Every alphabet folds as Windows folds it; "ß" is not "SS", the Turkish i's stay apart.
      {L"*.ґ", L"t.Ґ", true},
      {L"*.é", L"r.É", true},
      {L"*.σ", L"x.Σ", true},
      {L"*.ｔｍｐ", L"a.ＴＭＰ", true},
      {L"*.ß", L"a.SS", false},
      {L"*.i", L"a.İ", false},
      {L"*.ı", L"a.I", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Wildcard(c.mask).Matches(c.name), c.matches) << "mask " << c.mask << " name " << c.name;
}

TEST(Wildcard, MasksThatMatchEverythingOrLeaveTheFolderAreRefused) {
  for (const std::wstring& mask :
       std::vector<std::wstring>{L"", L"*", L"*.*", L"?*", L"*.?*", L"...", L" * ", L"..\\*.bak", L"a/b", L"C:*.bak",
                                 L">*", L"<.<", L"\"*", L"<>\"", L"x" + std::wstring(255, L'*')})
    EXPECT_FALSE(IsUsableMask(mask)) << mask;
  for (const std::wstring& mask :
       std::vector<std::wstring>{L"*.bak", L"~*.tmp", L"*.b?", L"a", L"a<", L"x" + std::wstring(254, L'*')})
    EXPECT_TRUE(IsUsableMask(mask)) << mask;
}

// The masks of programs and drivers would delete the system: refused however they are written.
TEST(Wildcard, ProgramMasksAreRefusedInEveryCaseAndSpelling) {
  for (const std::wstring& mask : std::vector<std::wstring>{L"*.exe", L"*.EXE", L"*.Com", L"*.sYs", L"*.DRV", L"<.exe",
                                                            L"*\"exe", L"*.exe.", L"*.exe .", L"*.*"})
    EXPECT_FALSE(IsUsableMask(mask)) << mask;
  for (const std::wstring& mask : std::vector<std::wstring>{L"*.exe~", L"x*.exe", L"*.ex", L"*.drv.bak"})
    EXPECT_TRUE(IsUsableMask(mask)) << mask;
}

}  // namespace
}  // namespace krelmix
