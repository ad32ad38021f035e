#include <gtest/gtest.h>

#include "cleanup/Report.h"

namespace krelmix {
namespace {

TEST(Report, LinesKeepTheirFormAndSizesDivideBy1024) {
  EXPECT_EQ(NothingFoundReport(0), L" ЧИСТО!!! ====> Каталогов: 1");
  EXPECT_EQ(FoundReport(1, 2047, 4), L" Итого найдено: 1 ====> Размер: 1 kb ====> Каталогов: 5");
  EXPECT_EQ(CleanedReport(1, 1023, 0), L" Итого очищено: 1 ====> Размер: 0 kb ====> Каталогов: 1");
  // Counters beyond 16 and 32 bits are shown whole.
  EXPECT_EQ(FoundReport(70000, 5'000'000'000ull, 70000),
            L" Итого найдено: 70000 ====> Размер: 4882812 kb ====> Каталогов: 70001");
}

TEST(Report, TimingIsSpacePaddedAndTheElapsedTimeIsTrueAcrossMidnight) {
  EXPECT_EQ(TimingMessage({9, 5, 3, 12}, {9, 5, 4, 20}, 1008),
            L"Начало:  9: 5: 3: 12\nКонец:    9: 5: 4: 20\n------------------------------------\n"
            L"Всего:      0: 0: 1:  8");
  const std::wstring overMidnight = TimingMessage({23, 59, 59, 500}, {0, 0, 1, 0}, 1500);
  EXPECT_NE(overMidnight.find(L"Всего:      0: 0: 1:500"), std::wstring::npos);
}

TEST(Report, PathIsShortenedFolderByFolderThenLosesItsDrive) {
  const TextWidth chars = [](std::wstring_view s) { return static_cast<int>(s.size()); };
  EXPECT_EQ(ShortenPath(L"C:\\one\\two\\three", chars, 100), L"C:\\one\\two\\three");
  EXPECT_EQ(ShortenPath(L"C:\\one\\two\\three", chars, 14), L"C:\\...\\three");
  EXPECT_EQ(ShortenPath(L"C:\\one\\two\\three", chars, 11), L"...\\three");
  EXPECT_EQ(ShortenPath(L"C:\\one\\two\\three", chars, 3), L"three");
  // A long name right under the root must not loop for ever.
  EXPECT_EQ(ShortenPath(L"C:\\averyveryverylongfoldername", chars, 10), L"averyveryverylongfoldername");
}

}  // namespace
}  // namespace krelmix
