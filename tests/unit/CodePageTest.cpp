// A settings file written in Windows-1251 (as the program writes it on a Russian system) on a PC
// whose code page is another: Western (1252) or UTF-8 (65001).
#include <gtest/gtest.h>

#include "FakeAutostart.h"
#include "FakeStorage.h"
#include "MemoryFileSystem.h"
#include "RecordingView.h"
#include "cleanup/CleanupEngine.h"
#include "common/OptionsSettings.h"

namespace krelmix {
namespace {

// Stands in for Windows-1252: every byte is a Latin character (the bytes of Cyrillic letters in
// 1251 read as "Àðõèâ" there), and nothing outside Latin-1 can be written.
class Latin1Codec : public AnsiCodec {
 public:
  std::wstring Decode(std::string_view bytes) const override {
    std::wstring text;
    for (char c : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return text;
  }
  std::optional<std::string> Encode(std::wstring_view text) const override {
    std::string bytes;
    for (wchar_t c : text) {
      if (static_cast<uint32_t>(c) > 0xFF) return std::nullopt;
      bytes += static_cast<char>(c);
    }
    return bytes;
  }
};

class StillClock : public Clock {
 public:
  TimeOfDay Now() override { return {}; }
  uint64_t SteadyMilliseconds() override { return 0; }
  uint64_t WallTime() override { return 0; }
};

const Latin1Codec kWestern;
const Utf8Codec kUtf8;

std::string Cp1251(const std::wstring& text) { return *Cp1251Codec().Encode(text); }

// A comment, a Cyrillic mask, "T:\Архив" excluded and a drive tick, all in 1251 bytes.
const std::string kRussianFile = "; " + Cp1251(L"заметка") + "\r\n[Kill]\r\n" + Cp1251(L"*.бак") +
                                 "=1\r\n*.bak=1\r\n[ExcludeDir]\r\n" + Cp1251(L"T:\\Архив") + "=1\r\n[Area]\r\nT=0\r\n";

struct CodePageCase {
  const char* name;
  const AnsiCodec* codec;
};

class OtherCodePage : public ::testing::TestWithParam<CodePageCase> {
 protected:
  OtherCodePage() { storage.files[kPath] = kRussianFile; }
  std::string& Stored() { return storage.files[kPath]; }

  const std::wstring kPath = L"P:\\Krelmix\\Krelmix.ini";
  test::FakeStorage storage;
  SettingsFile settings{storage, *GetParam().codec, kPath};
};

INSTANTIATE_TEST_SUITE_P(, OtherCodePage,
                         ::testing::Values(CodePageCase{"Western", &kWestern}, CodePageCase{"Utf8", &kUtf8}),
                         [](const auto& info) { return std::string(info.param.name); });

// The excluded folder keeps its canary, the other garbage goes, and the Cyrillic mask matches only
// as the system reads it (nothing here), since matching more would delete more.
TEST_P(OtherCodePage, TheExclusionHoldsAndTheMasksReadAsTheSystemReadsThem) {
  test::MemoryFileSystem fs;
  test::RecordingView view;
  ProgramState state;
  StillClock clock;
  CleanupEngine engine{state, fs, view, settings, clock};
  fs.AddFile(L"T:\\Архив\\canary.bak");
  fs.AddFile(L"T:\\junk.bak");
  fs.AddFile(L"T:\\notes.бак");
  engine.NightFly({false, {L"T:"}});
  EXPECT_TRUE(fs.Exists(L"T:\\Архив\\canary.bak"));
  EXPECT_FALSE(fs.Exists(L"T:\\junk.bak"));
  EXPECT_TRUE(fs.Exists(L"T:\\notes.бак"));
  EXPECT_EQ(state.MaskList.size(), 2u);
}

std::vector<std::string> LinesOf(const std::string& bytes) {
  std::vector<std::string> lines;
  for (size_t at = 0, end; at < bytes.size(); at = end + 2)
    lines.push_back(bytes.substr(at, (end = bytes.find("\r\n", at)) - at));
  return lines;
}

// A drive tick, and the options saved as the dialog read them, change only what they change: the
// other lines keep their bytes, whatever the code page made of them (the rewritten sections move
// to the end of the file, as they always have).
TEST_P(OtherCodePage, AWriteKeepsTheBytesOfEveryLineItDoesNotChange) {
  settings.Update([](IniDocument& d) { ReplaceDriveTicks(d, {{L'T', true}}); });
  std::string expected = kRussianFile;
  expected.replace(expected.find("T=0"), 3, "T=1");
  EXPECT_EQ(Stored(), expected);

  ProgramState state;
  OptionsContent content;
  for (const bool named : {false, true}) {
    const FolderTest isFolder = [named](const std::wstring& path) { return named && path == L"T:\\Архив"; };
    ASSERT_TRUE(ReloadOptions(state, settings, isFolder, content));
    test::FakeAutostart registry;
    SaveOptions(content, L"C:\\Krelmix.exe", settings, registry, state);
    const std::vector<std::string> lines = LinesOf(Stored());
    for (const std::string& line : LinesOf(expected))
      EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    EXPECT_EQ(Stored().find("\xEF\xBF\xBD"), std::string::npos);
    expected = Stored();
  }
}

// The editor shows the reading that names an existing folder, else one that lost nothing.
TEST_P(OtherCodePage, TheExclusionEditorShowsTheReadingThatNamesAFolder) {
  const SettingsReadings readings = settings.LoadReadings();
  const auto shown = [&](const FolderTest& isFolder) { return ReadExclusionList(readings, isFolder).at(0).text; };
  EXPECT_EQ(shown([](const std::wstring& path) { return path == L"T:\\Архив"; }), L"T:\\Архив");
  const std::wstring system = readings.system.KeyNames(L"ExcludeDir").at(0);
  EXPECT_EQ(shown([&](const std::wstring& path) { return path == system; }), system);
  const bool systemLostCharacters = system.find(static_cast<wchar_t>(0xFFFD)) != std::wstring::npos;
  EXPECT_EQ(shown([](const std::wstring&) { return false; }), systemLostCharacters ? L"T:\\Архив" : system);
}

// A character the file's code page lacks turns the file into UTF-8 with nothing lost: lines the
// system could not read come from the 1251 reading, and the exclusion keeps both readings.
TEST_P(OtherCodePage, ATextTheFileCannotHoldConvertsItToUtf8WithoutLoss) {
  settings.Update([](IniDocument& d) { AddSwitch(d, SwitchList::Exclusions, L"T:\\文件", true); });
  const std::string& bytes = Stored();
  ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(bytes.find("\xEF\xBF\xBD"), std::string::npos);
  EXPECT_EQ(bytes.find('?'), std::string::npos);
  const SettingsReadings readings = settings.LoadReadings();
  EXPECT_FALSE(readings.ownPage.has_value());
  const std::vector<std::wstring> excluded = EnabledExclusions(readings);
  EXPECT_NE(std::find(excluded.begin(), excluded.end(), L"T:\\Архив"), excluded.end());
  EXPECT_NE(std::find(excluded.begin(), excluded.end(), L"T:\\文件"), excluded.end());
  std::wstring comment = GetParam().codec->Decode(Cp1251(L"заметка"));
  if (comment.find(static_cast<wchar_t>(0xFFFD)) != std::wstring::npos) comment = L"заметка";
  EXPECT_NE(bytes.find("; " + *kUtf8.Encode(comment) + "\r\n"), std::string::npos);
}

// Under the program's own code page nothing reads twice.
TEST(OwnCodePage, AFileInItHasOneReading) {
  test::FakeStorage storage;
  storage.files[L"K.ini"] = kRussianFile;
  const Cp1251Codec codec;
  const SettingsReadings readings = SettingsFile(storage, codec, L"K.ini").LoadReadings();
  EXPECT_FALSE(readings.ownPage.has_value());
  EXPECT_EQ(EnabledExclusions(readings), std::vector<std::wstring>{L"T:\\Архив"});
}

}  // namespace
}  // namespace krelmix
