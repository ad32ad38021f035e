#include <gtest/gtest.h>

#include "FakeStorage.h"
#include "settings/SettingsFile.h"
#include "settings/Switch.h"

namespace krelmix {
namespace {

const std::wstring kPath = L"T:\\Программа\\Krelmix.ini";

TEST(SettingsFile, MissingFileReadsEmptyAndIsCreatedByTheFirstWrite) {
  test::FakeStorage storage;
  Cp1251Codec codec;
  SettingsFile file(storage, codec, kPath);
  EXPECT_FALSE(file.Exists());
  EXPECT_TRUE(file.Load().KeyNames(L"Area").empty());
  EXPECT_EQ(storage.writes, 0);
  file.Update([](IniDocument& d) { d.Write(L"Area", L"C", L"1"); });
  EXPECT_TRUE(file.Exists());
  EXPECT_EQ(file.Load().Value(L"area", L"c"), L"1");
}

TEST(SettingsFile, RefusedWriteRaisesTheMessageWithTheFullPathAndKeepsTheOldFile) {
  test::FakeStorage storage;
  storage.files[kPath] = "[Area]\r\nC=1\r\n";
  Cp1251Codec codec;
  SettingsFile file(storage, codec, kPath);
  storage.refuseWrites = true;
  try {
    file.Update([](IniDocument& d) { d.EraseSection(L"Area"); });
    FAIL() << "no error raised";
  } catch (const SettingsWriteError& e) {
    EXPECT_EQ(e.Message(), L"Unable to write to " + kPath);
  }
  EXPECT_EQ(storage.files[kPath], "[Area]\r\nC=1\r\n");
}

TEST(SettingsFile, EncodingIsKeptAndAKeyTheCodePageLacksIsNotLost) {
  test::FakeStorage storage;
  Cp1251Codec codec;
  SettingsFile file(storage, codec, kPath);
  storage.files[kPath] = "[ExcludeDir]\r\nC:\\\xc2\xf0\xe5\xec\xff=1\r\n";  // "C:\Время" in cp1251
  file.Update([](IniDocument& d) { d.Write(L"Area", L"C", L"0"); });
  EXPECT_EQ(storage.files[kPath].substr(0, 13), "[ExcludeDir]\r");  // still cp1251, no BOM
  EXPECT_EQ(file.Load().KeyNames(L"ExcludeDir"), (std::vector<std::wstring>{L"C:\\Время"}));

  file.Update([](IniDocument& d) { d.Write(L"ExcludeDir", L"C:\\文件", L"1"); });
  EXPECT_EQ(file.Load().KeyNames(L"ExcludeDir"), (std::vector<std::wstring>{L"C:\\Время", L"C:\\文件"}));
}

}  // namespace
}  // namespace krelmix
