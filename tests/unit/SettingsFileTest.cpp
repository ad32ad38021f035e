#include <gtest/gtest.h>

#include "FakeStorage.h"
#include "settings/SettingsFile.h"
#include "settings/Switch.h"

namespace krelmix {
namespace {

const std::wstring kPath = L"T:\\Программа\\Krelmix.ini";

struct Fixture {
  test::FakeStorage storage;
  Cp1251Codec codec;
  SettingsFile file{storage, codec, kPath};
};

TEST(SettingsFile, MissingFileReadsEmptyAndIsCreatedByTheFirstWrite) {
  Fixture f;
  EXPECT_EQ(f.file.LoadExisting(), std::nullopt);
  EXPECT_TRUE(f.file.Load().KeyNames(L"Area").empty());
  EXPECT_EQ(f.storage.writes, 0);
  f.file.Update([](IniDocument& d) { d.Write(L"Area", L"C", L"1"); });
  ASSERT_NE(f.file.LoadExisting(), std::nullopt);
  EXPECT_EQ(f.file.Load().Value(L"area", L"c"), L"1");
  EXPECT_EQ(f.storage.paused, 0u);
}

TEST(SettingsFile, RefusedWriteRaisesTheMessageWithTheFullPathAndKeepsTheOldFile) {
  Fixture f;
  f.storage.files[kPath] = "[Area]\r\nC=1\r\n";
  f.storage.refuseWrites = true;
  try {
    f.file.Update([](IniDocument& d) { d.EraseSection(L"Area"); });
    FAIL() << "no error raised";
  } catch (const SettingsWriteError& e) {
    EXPECT_EQ(e.Message(), L"Unable to write to " + kPath);
  }
  EXPECT_EQ(f.storage.files[kPath], "[Area]\r\nC=1\r\n");
  EXPECT_EQ(f.storage.paused, 0u);  // a refusal is not waited out
}

// A scanner or backup tool holds the file for milliseconds: the read and the write wait for it.
TEST(SettingsFile, AFileHeldForAMomentIsWaitedFor) {
  Fixture f;
  f.storage.files[kPath] = "[Kill]\r\n*.old=1\r\n";
  f.storage.heldReads = 3;
  EXPECT_EQ(f.file.Load().KeyNames(L"Kill"), std::vector<std::wstring>{L"*.old"});
  EXPECT_EQ(f.storage.paused, 3 * SettingsFile::kRetryPauseMs);
  f.storage.heldReads = 2;
  f.storage.busyWrites = 4;
  f.file.Update([](IniDocument& d) { d.Write(L"Area", L"C", L"1"); });
  EXPECT_EQ(f.storage.files[kPath], "[Kill]\r\n*.old=1\r\n[Area]\r\nC=1\r\n");
}

// A file that stays held is never taken for an empty one, and nothing is written over it.
TEST(SettingsFile, AFileThatStaysHeldRaisesAfterAboutASecondAndIsNotWritten) {
  Fixture f;
  f.storage.files[kPath] = "[Kill]\r\n*.old=1\r\n";
  f.storage.heldReads = test::FakeStorage::kAlways;
  try {
    f.file.Load();
    FAIL() << "no error raised";
  } catch (const SettingsReadError& e) {
    EXPECT_EQ(e.Message(), L"Не удалось прочитать файл настроек " + kPath);
  }
  EXPECT_GE(f.storage.paused, 900u);
  EXPECT_LE(f.storage.paused, 1100u);
  EXPECT_THROW(f.file.LoadExisting(), SettingsReadError);
  EXPECT_THROW(f.file.Update([](IniDocument& d) { d.Write(L"Area", L"C", L"1"); }), SettingsReadError);
  EXPECT_EQ(f.storage.writes, 0);

  f.storage.heldReads = 0;
  f.storage.busyWrites = test::FakeStorage::kAlways;
  EXPECT_THROW(f.file.Update([](IniDocument& d) { d.Write(L"Area", L"C", L"1"); }), SettingsWriteError);
  EXPECT_EQ(f.storage.files[kPath], "[Kill]\r\n*.old=1\r\n");
}

TEST(SettingsFile, EncodingIsKeptAndAKeyTheCodePageLacksIsNotLost) {
  Fixture f;
  f.storage.files[kPath] = "[ExcludeDir]\r\nC:\\\xc2\xf0\xe5\xec\xff=1\r\n";  // "C:\Время" in cp1251
  f.file.Update([](IniDocument& d) { d.Write(L"Area", L"C", L"0"); });
  EXPECT_EQ(f.storage.files[kPath].substr(0, 13), "[ExcludeDir]\r");  // still cp1251, no BOM
  EXPECT_EQ(f.file.Load().KeyNames(L"ExcludeDir"), (std::vector<std::wstring>{L"C:\\Время"}));

  f.file.Update([](IniDocument& d) { d.Write(L"ExcludeDir", L"C:\\文件", L"1"); });
  EXPECT_EQ(f.file.Load().KeyNames(L"ExcludeDir"), (std::vector<std::wstring>{L"C:\\Время", L"C:\\文件"}));
}

}  // namespace
}  // namespace krelmix
