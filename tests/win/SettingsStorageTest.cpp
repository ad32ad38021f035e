#include <windows.h>
#include <gtest/gtest.h>

#include "../unit/FakeStorage.h"
#include "ScratchFolder.h"
#include "SmallDrive.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32AnsiCodec.h"
#include "platform/win32/Win32SettingsStorage.h"
#include "settings/SettingsFile.h"

namespace krelmix {
namespace {

using State = StoredFile::State;

std::string Content(Win32SettingsStorage& storage, const std::wstring& path) {
  const StoredFile file = storage.Read(path);
  return file.state == State::Read ? file.bytes : "<" + std::to_string(static_cast<int>(file.state)) + ">";
}

// Everything in a folder but the settings file itself: what a write left behind.
std::vector<std::wstring> Others(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L".." && name != L"Krelmix.ini") names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

// What an earlier write, a crash or another copy of the program left beside the file blocks no
// write: the temporary file is named afresh every time.
TEST(Win32SettingsStorage, WritesReplaceTheFileWhateverWasLeftBesideIt) {
  test::ScratchFolder folder(L"storage");
  Win32SettingsStorage storage;
  const std::wstring path = folder.Path() + L"\\Krelmix.ini";
  EXPECT_EQ(storage.Read(path).state, State::Missing);
  ASSERT_EQ(storage.Write(path, "[Area]\r\nC=1\r\n"), WriteOutcome::Written);
  ASSERT_EQ(storage.Write(path, "[Area]\r\n"), WriteOutcome::Written);
  EXPECT_EQ(Content(storage, path), "[Area]\r\n");
  EXPECT_TRUE(Others(folder.Path()).empty());

  ASSERT_TRUE(CreateDirectoryW((path + L".new~").c_str(), nullptr));
  KernelHandle stale(CreateFileW((path + L".1-1-0.new~").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_READONLY, nullptr));
  EXPECT_EQ(storage.Write(path, "[Area]\r\nT=1\r\n"), WriteOutcome::Written);
  EXPECT_EQ(Content(storage, path), "[Area]\r\nT=1\r\n");
  EXPECT_EQ(Others(folder.Path()).size(), 2u);
}

// A save removes what saves cut off by a killed program left behind, and nothing else: names of
// its own pattern only, of processes that no longer run, plain files only.
TEST(Win32SettingsStorage, ASaveRemovesTheLeftoversOfCutOffSaves) {
  test::ScratchFolder folder(L"leftovers");
  Win32SettingsStorage storage;
  const std::wstring path = folder.Path() + L"\\Krelmix.ini";
  wchar_t ours[32];
  swprintf(ours, 32, L".%lx-1-2.new~", GetCurrentProcessId());
  const std::vector<std::wstring> leftovers = {L".7ffffff0-1-2a.new~", L".7FFFFFF4-3-0.new~"};
  const std::vector<std::wstring> kept = {ours, L".7ffffff0-1.new~", L".7ffffff0-1-2.new", L".x-1-2.new~",
                                          L".7ffffff0-1-2.new~.bak"};
  for (const auto& names : {leftovers, kept})
    for (const std::wstring& name : names)
      KernelHandle(CreateFileW((path + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  const std::wstring other = folder.Path() + L"\\Other.ini.7ffffff0-1-2.new~";
  KernelHandle(CreateFileW(other.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  ASSERT_TRUE(CreateDirectoryW((path + L".7ffffff0-9-9.new~").c_str(), nullptr));

  ASSERT_EQ(storage.Write(path, "[Area]\r\n"), WriteOutcome::Written);
  for (const std::wstring& name : leftovers)
    EXPECT_EQ(GetFileAttributesW((path + name).c_str()), INVALID_FILE_ATTRIBUTES);
  for (const std::wstring& name : kept) EXPECT_NE(GetFileAttributesW((path + name).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW(other.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW((path + L".7ffffff0-9-9.new~").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32SettingsStorage, ReadOnlyFileIsRefusedAndKeepsItsContent) {
  test::ScratchFolder folder(L"readonly");
  Win32SettingsStorage storage;
  const std::wstring path = folder.Path() + L"\\Krelmix.ini";
  ASSERT_EQ(storage.Write(path, "[Area]\r\nC=1\r\n"), WriteOutcome::Written);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(storage.Write(path, "lost"), WriteOutcome::Refused);
  EXPECT_EQ(Content(storage, path), "[Area]\r\nC=1\r\n");
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A file another program holds exclusively is unreadable, not missing, and is not replaced; a
// folder of the settings file's name is no settings file.
TEST(Win32SettingsStorage, AHeldFileIsUnreadableAndBusyAFolderIsMissing) {
  test::ScratchFolder folder(L"held");
  Win32SettingsStorage storage;
  const std::wstring path = folder.Path() + L"\\Krelmix.ini";
  ASSERT_EQ(storage.Write(path, "[Kill]\r\n*.old=1\r\n"), WriteOutcome::Written);
  {
    KernelHandle held(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.Valid());
    EXPECT_EQ(storage.Read(path).state, State::Unreadable);
    EXPECT_EQ(storage.Write(path, "[Area]\r\n"), WriteOutcome::Busy);
  }
  EXPECT_EQ(Content(storage, path), "[Kill]\r\n*.old=1\r\n");
  EXPECT_TRUE(Others(folder.Path()).empty());
  const std::wstring dir = folder.Path() + L"\\Sub.ini";
  ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
  EXPECT_EQ(storage.Read(dir).state, State::Missing);
  EXPECT_EQ(storage.Write(dir, "x"), WriteOutcome::Refused);
}

// A full disk refuses the write and leaves the old file whole, whether the temporary file could
// be made or not; written in place, only content that needs no more room goes in.
TEST(Win32SettingsStorage, AFullDiskLeavesTheFileWholeOnEveryPath) {
  test::ScratchFolder folder(L"fulldisk");
  test::SmallDrive drive(L'Q', 256, 64);
  if (!drive.Ready()) GTEST_SKIP() << drive.Reason();
  Win32SettingsStorage storage;
  const std::wstring path = drive.Root() + L"\\Krelmix.ini";
  std::string old = "[Area]\r\nT=1\r\n[Kill]\r\n";
  for (int i = 0; i < 400; ++i) old += "*.k" + std::to_string(i) + "=1\r\n";
  ASSERT_EQ(storage.Write(path, old), WriteOutcome::Written);
  drive.FillSpace();
  const std::string longer = old + "[ExcludeDir]\r\n" + std::string(9000, 'x') + "=1\r\n";
  EXPECT_EQ(storage.Write(path, longer), WriteOutcome::Refused);  // the temporary file gets no room
  EXPECT_EQ(Content(storage, path), old);

  drive.FillEntries();  // no temporary file at all: the write goes in place
  EXPECT_EQ(storage.Write(path, longer), WriteOutcome::Refused);
  EXPECT_EQ(Content(storage, path), old);
  const std::string shorter = "[Area]\r\nT=0\r\n";
  EXPECT_EQ(storage.Write(path, shorter), WriteOutcome::Written);
  EXPECT_EQ(Content(storage, path), shorter);
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

// The system's own conversions under the code pages of a Western and of a UTF-8 Windows: a 1251
// file keeps every line a tick does not change, down to a line ending in a byte UTF-8 would read as
// the start of a character.
TEST(Win32SettingsFile, ARussianFileKeepsItsBytesUnderTheWesternAndTheUtf8CodePage) {
  const std::string russian = "[Kill]\r\n*.\xE1\xE0\xEA=1\r\n; \xEF\xEE\xF0\xF2\xFC\r\n[Area]\r\nT=0\r\n";
  for (const UINT codePage : {1252u, 65001u}) {
    test::FakeStorage storage;
    storage.files[L"K.ini"] = russian;
    const Win32AnsiCodec codec(codePage);
    EXPECT_EQ(codec.Encode(L"T=1"), std::optional<std::string>("T=1"));
    EXPECT_EQ(codec.Encode(L"Ж").has_value(), codePage == 65001);
    SettingsFile file(storage, codec, L"K.ini");
    file.Update([](IniDocument& d) { ReplaceDriveTicks(d, {{L'T', true}}); });
    EXPECT_EQ(storage.files[L"K.ini"], "[Kill]\r\n*.\xE1\xE0\xEA=1\r\n; \xEF\xEE\xF0\xF2\xFC\r\n[Area]\r\nT=1\r\n")
        << codePage;
  }
}

}  // namespace
}  // namespace krelmix
