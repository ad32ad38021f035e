#include <windows.h>
#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "platform/win32/Win32AnsiCodec.h"
#include "platform/win32/Win32SettingsStorage.h"
#include "settings/SettingsFile.h"

namespace krelmix {
namespace {

TEST(Win32SettingsStorage, WritesReplaceTheFileAndLeaveNoTemporaryBehind) {
  test::ScratchFolder folder(L"storage");
  Win32SettingsStorage storage;
  const std::wstring path = folder.Path() + L"\\Krelmix.ini";
  EXPECT_FALSE(storage.Exists(path));
  ASSERT_TRUE(storage.Write(path, "[Area]\r\nC=1\r\n"));
  ASSERT_TRUE(storage.Write(path, "[Area]\r\n"));
  EXPECT_EQ(storage.Read(path), "[Area]\r\n");
  EXPECT_EQ(GetFileAttributesW((path + L".new~").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32SettingsStorage, ReadOnlyFileIsRefusedAndKeepsItsContent) {
  test::ScratchFolder folder(L"readonly");
  Win32SettingsStorage storage;
  const std::wstring path = folder.Path() + L"\\Krelmix.ini";
  ASSERT_TRUE(storage.Write(path, "[Area]\r\nC=1\r\n"));
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(storage.Write(path, "lost"));
  EXPECT_EQ(storage.Read(path), "[Area]\r\nC=1\r\n");
}

// The program's settings on disk in a Cyrillic-named folder, through the system's code page.
TEST(Win32SettingsFile, CyrillicAndCjkKeysSurviveSaveAndReload) {
  test::ScratchFolder folder(L"cyrillic");
  const std::wstring dir = folder.Path() + L"\\Программа";
  ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
  Win32SettingsStorage storage;
  Win32AnsiCodec codec;
  SettingsFile file(storage, codec, dir + L"\\Krelmix.ini");
  file.Update([](IniDocument& d) { d.Write(L"ExcludeDir", L"T:\\Мусор", L"1"); });
  file.Update([](IniDocument& d) { d.Write(L"ExcludeDir", L"T:\\垃圾", L"1"); });
  EXPECT_EQ(file.Load().KeyNames(L"ExcludeDir"), (std::vector<std::wstring>{L"T:\\Мусор", L"T:\\垃圾"}));
}

}  // namespace
}  // namespace krelmix
