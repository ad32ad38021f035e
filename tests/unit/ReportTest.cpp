#include <gtest/gtest.h>

#include <random>

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

// The shortening a step at a time, as the rule reads.
std::wstring ShortenStepByStep(std::wstring_view path, const TextWidth& width, int maxWidth) {
  std::wstring drive, rest(path);
  if (rest.size() >= 2 && rest[1] == L':') {
    drive = rest.substr(0, 2);
    rest.erase(0, 2);
  }
  std::wstring folder, name = rest;
  const size_t first = rest.find(L'\\'), last = rest.rfind(L'\\');
  if (first != std::wstring::npos) {
    folder = rest.substr(first, last - first + 1);
    name = rest.substr(last + 1);
  }
  while (width(drive + folder + name) > maxWidth && (!drive.empty() || !folder.empty())) {
    if (folder == L"\\...\\") {
      folder = L"...\\";
      drive.clear();
    } else if (folder.empty()) {
      drive.clear();
    } else {
      const bool root = folder[0] == L'\\';
      std::wstring cut = root ? folder.substr(1) : folder;
      if (cut.rfind(L"...\\", 0) == 0) cut.erase(0, 4);
      const size_t slash = cut.find(L'\\');
      cut = slash == std::wstring::npos ? L"" : L"...\\" + cut.substr(slash + 1);
      if (root) cut = L"\\" + cut;
      folder = cut == folder ? L"" : cut;
    }
  }
  return drive + folder + name;
}

// Shortened by halving, the path comes out as step by step, for names of every width and folders
// named "..." too; a path as deep as the longest there is takes a few measurements.
TEST(Report, PathIsShortenedAsStepByStepWithAFewMeasurementsAtAnyDepth) {
  const TextWidth weighted = [](std::wstring_view s) {
    int w = 0;
    for (wchar_t c : s) w += c == L'i' ? 1 : c == L'W' ? 9 : 5;
    return w;
  };
  std::mt19937 random(7);
  const wchar_t* pieces[] = {L"i", L"W", L"ab", L"...", L"iiiiiiii", L"WWW", L"x.y"};
  for (int round = 0; round < 3000; ++round) {
    std::wstring path = random() % 4 ? L"C:" : L"";
    const int folders = static_cast<int>(random() % 7);
    for (int i = 0; i <= folders; ++i)
      path += (i == 0 && path.empty() && random() % 3 == 0 ? L"" : L"\\") + std::wstring(pieces[random() % 7]);
    const int max = static_cast<int>(random() % 120);
    ASSERT_EQ(ShortenPath(path, weighted, max), ShortenStepByStep(path, weighted, max))
        << std::string(path.begin(), path.end()) << " in " << max;
  }
  std::wstring deep = L"T:";
  for (int i = 0; i < 16000; ++i) deep += L"\\d";
  deep += L"\\x.bak";
  int measured = 0;
  const TextWidth counting = [&](std::wstring_view s) {
    ++measured;
    return static_cast<int>(s.size()) * 6;
  };
  std::wstring fits = L"T:\\...\\";
  for (int i = 0; i < 17; ++i) fits += L"d\\";
  EXPECT_EQ(ShortenPath(deep, counting, 285), fits + L"x.bak");
  EXPECT_LE(measured, 20);
}

}  // namespace
}  // namespace krelmix
