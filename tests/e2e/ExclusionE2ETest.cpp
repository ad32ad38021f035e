// Exclusions and masks as Windows reads names: every spelling Windows opens as the excluded folder
// keeps the search out of it, and letters of every alphabet match in the other case, in the
// unattended run and in the window's clean alike.
#include <gtest/gtest.h>

#include "../win/UnixLink.h"
#include "Harness.h"
#include "Scratch.h"

namespace krelmix::e2e {

namespace {

struct Layout {
  std::vector<Canary> canaries;
  std::vector<std::wstring> garbage;
  std::string settings;
};

// One excluded folder per spelling, each with a canary the masks would take, and garbage
// elsewhere in the same alphabets.
Layout LayOut() {
  ClearScratchDrive();
  Layout layout;
  std::wstring excluded;
  const auto exclude = [&](const std::wstring& folder, const std::wstring& spelling, const std::wstring& canary) {
    layout.canaries.push_back(MakeCanary(folder + L"\\" + canary));
    excluded += spelling + L"=1\r\n";
  };
  const std::pair<const wchar_t*, const wchar_t*> spellings[] = {
      {L"T:\\K1", L"T:\\K1."},       {L"T:\\K2", L"T:\\\\K2"},        {L"T:\\K3", L"T:\\.\\K3"},
      {L"T:\\K4", L"T:\\K4\\."},     {L"T:\\K5", L"T:\\sub\\..\\K5"}, {L"T:\\K6", L"\\\\?\\T:\\K6"},
      {L"T:\\K7", L"\\\\.\\T:\\K7"}, {L"T:\\K8", L"\\??\\T:\\K8"},    {L"T:\\Ґрунт", L"T:\\ґрунт"},
      {L"T:\\CAFÉ", L"T:\\café"},    {L"T:\\ΑΡΧΕΙΑ", L"T:\\αρχεια"},  {L"T:\\ＤＡＴＡ", L"T:\\ｄａｔａ"},
  };
  for (const auto& [folder, spelling] : spellings) exclude(folder, spelling, L"canary.bak");
  const std::wstring longName = L"T:\\Long folder name";
  MakeFolder(longName);
  const std::wstring shortName = ShortName(longName);
  EXPECT_NE(shortName, longName) << "the system gives no 8.3 name here";
  exclude(longName, shortName, L"canary.bak");
  // Reached through a folder link, only the folder's id tells it is the one the walk meets.
  layout.canaries.push_back(MakeCanary(L"T:\\K9\\Inner\\canary.bak"));
  EXPECT_TRUE(MakeFolderLink(L"T:\\way", L"T:\\K9"));
  excluded += L"T:\\way\\Inner=1\r\n";
  // The alphabets' own masks, in the other case, inside the excluded folders too.
  for (const wchar_t* name : {L"t.Ґ", L"r.É", L"g.Σ"})
    layout.canaries.push_back(MakeCanary(L"T:\\CAFÉ\\" + std::wstring(name)));
  for (const wchar_t* name : {L"g.bak", L"t.Ґ", L"r.É", L"g.Σ", L"f.ＴＭＰ"}) {
    layout.garbage.push_back(L"T:\\junk\\" + std::wstring(name));
    MakeFile(layout.garbage.back());
  }
  layout.settings = "\xEF\xBB\xBF" +
                    SettingsTickingScratch(test::Utf8(L"[Kill]\r\n*.bak=1\r\n*.ґ=1\r\n*.é=1\r\n*.σ=1\r\n*.ｔｍｐ=1\r\n"
                                                      L"[ExcludeDir]\r\n" +
                                                      excluded));
  return layout;
}

void ExpectKeptAndTaken(const Layout& layout) {
  ExpectIntact(layout.canaries);
  for (const auto& file : layout.garbage) EXPECT_FALSE(Exists(file)) << "garbage kept: " << test::Utf8(file);
}
}  // namespace

TEST(Exclusions, EverySpellingAndAlphabetHoldsInTheUnattendedRunAndTheWindowedClean) {
  Layout layout = LayOut();
  RunningProgram fly(layout.settings);
  fly.Start(L"/nightfly");
  ASSERT_TRUE(fly.WaitForExit(60000));
  ExpectKeptAndTaken(layout);

  layout = LayOut();
  RunningProgram windowed(layout.settings);
  windowed.Start(L"");
  HWND main = windowed.MainWindow();
  ASSERT_NE(main, nullptr);
  windowed.ClickControl(L"SpeedButton5");
  ASSERT_TRUE(WaitUntilIdle(main));
  ExpectKeptAndTaken(layout);
  RemoveCanaries(layout.canaries);
  ClearScratchDrive();
}

}  // namespace krelmix::e2e
