#include "toolkit/LineStore.h"

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

}  // namespace
}  // namespace krelmix
