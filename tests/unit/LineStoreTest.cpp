#include "platform/LineStore.h"

#include <gtest/gtest.h>

namespace krelmix {
namespace {

TEST(LineStore, KeepsEveryLineAndTickAcrossManyBlocks) {
  LineStore store;
  constexpr size_t kLines = 20000;  // several text blocks
  for (size_t i = 0; i < kLines; ++i) {
    const std::wstring line = L"C:\\папка\\file" + std::to_wstring(i) + L".tmp";
    EXPECT_EQ(store.Add(line, i % 3 == 0), i);
  }
  ASSERT_EQ(store.Count(), kLines);
  for (size_t i = 0; i < kLines; i += 997) {
    EXPECT_EQ(store.Text(i), L"C:\\папка\\file" + std::to_wstring(i) + L".tmp");
    EXPECT_EQ(store.Ticked(i), i % 3 == 0);
  }
  EXPECT_EQ(store.Text(kLines), L"");
  EXPECT_FALSE(store.Ticked(kLines));
}

TEST(LineStore, RewritesShorterAndLongerLinesWithoutTouchingNeighbours) {
  LineStore store;
  store.Add(L"first", false);
  store.Add(L"second", true);
  store.Add(L"third", false);
  store.SetTag(1, 2);
  store.SetText(1, L"2nd");
  EXPECT_EQ(store.Text(1), L"2nd");
  store.SetText(1, L"the second line, now longer than before");
  EXPECT_EQ(store.Text(0), L"first");
  EXPECT_EQ(store.Text(1), L"the second line, now longer than before");
  EXPECT_EQ(store.Text(2), L"third");
  EXPECT_TRUE(store.Ticked(1));
  store.SetTicked(1, false);
  store.SetTicked(5, true);  // past the end: ignored
  EXPECT_FALSE(store.Ticked(1));
  EXPECT_EQ(store.Tag(1), 2);  // the owner's tag outlives rewrites and ticks
  EXPECT_EQ(store.Tag(0), 0);
  store.SetText(5, L"ignored");
  EXPECT_EQ(store.Count(), 3u);
}

TEST(LineStore, HoldsALineLongerThanABlockAndEmptyLines) {
  LineStore store;
  const std::wstring huge(600 * 1024, L'x');
  store.Add(L"", false);
  store.Add(huge, true);
  store.Add(L"after", false);
  EXPECT_EQ(store.Text(0), L"");
  EXPECT_EQ(store.Text(1), huge);
  EXPECT_EQ(store.Text(2), L"after");
  store.Clear();
  EXPECT_EQ(store.Count(), 0u);
  EXPECT_EQ(store.Add(L"again", false), 0u);
  EXPECT_EQ(store.Text(0), L"again");
}

// Lines of one folder share its text; names in any script, rewrites into another folder or
// script, and a rest longer than a line's own count still read back whole.
TEST(LineStore, FoldersAreSharedAndEveryPartReadsBack) {
  LineStore store;
  const std::wstring folder = L"C:\\Documents and Settings\\user\\Temp\\";
  store.Add(folder + L"a.tmp", false);
  store.Add(folder + L"文件.tmp", true);
  store.Add(L"C:\\other\\b.tmp", false);
  store.Add(folder + L"c.tmp", false);  // the same text again after another folder
  store.Add(L"\\", false);
  const std::wstring longName = L"D:\\" + std::wstring(70000, L'ё') + L"x";
  store.Add(longName, false);
  EXPECT_EQ(store.Text(0), folder + L"a.tmp");
  EXPECT_EQ(store.Text(1), folder + L"文件.tmp");
  EXPECT_EQ(store.Text(2), L"C:\\other\\b.tmp");
  EXPECT_EQ(store.Text(3), folder + L"c.tmp");
  EXPECT_EQ(store.Text(4), L"\\");
  EXPECT_EQ(store.Text(5), longName);
  EXPECT_EQ(store.Length(5), longName.size());
  store.SetText(0, folder + L"ЖЖЖ.tmp");  // a narrow rest rewritten wide, in a longer place
  store.SetText(1, L"E:\\x");             // into another folder, shorter
  EXPECT_EQ(store.Text(0), folder + L"ЖЖЖ.tmp");
  EXPECT_EQ(store.Text(1), L"E:\\x");
  EXPECT_TRUE(store.Ticked(1));
  EXPECT_EQ(store.Text(3), folder + L"c.tmp");
}

}  // namespace
}  // namespace krelmix
