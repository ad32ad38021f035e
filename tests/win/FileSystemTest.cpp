#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "ScratchFolder.h"
#include "UnixLink.h"
#include "platform/win32/Win32FileSystem.h"

namespace krelmix {
namespace {

void RemoveUnixLinkAt(const std::wstring& link) { test::RemoveUnixLink(link); }

const DirEntry* Find(const std::vector<DirEntry>& entries, const std::wstring& name) {
  auto it = std::find_if(entries.begin(), entries.end(), [&](const DirEntry& e) { return e.name == name; });
  return it == entries.end() ? nullptr : &*it;
}

void WriteFile(const std::wstring& path, const std::string& bytes = "x") {
  HANDLE file =
      CreateFileW(ExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// A folder path longer than MAX_PATH, made one step at a time.
std::wstring MakeDeepFolder(const std::wstring& base, int levels) {
  std::wstring path = base;
  for (int i = 0; i < levels; ++i) {
    path += L"\\Очень длинное имя папки номер " + std::to_wstring(i);
    EXPECT_TRUE(CreateDirectoryW(ExtendedPath(path).c_str(), nullptr)) << GetLastError();
  }
  return path;
}

TEST(Win32FileSystem, ExtendedPathForms) {
  EXPECT_EQ(ExtendedPath(L"C:"), L"\\\\?\\C:\\");
  EXPECT_EQ(ExtendedPath(L"C:\\x\\y"), L"\\\\?\\C:\\x\\y");
  EXPECT_EQ(ExtendedPath(L"\\\\server\\share\\x"), L"\\\\?\\UNC\\server\\share\\x");
  EXPECT_EQ(ExtendedPath(L"\\\\?\\C:\\x"), L"\\\\?\\C:\\x");
  EXPECT_EQ(ExtendedPath(L"C:\\x\\..\\y/z"), L"\\\\?\\C:\\y\\z");
}

TEST(Win32FileSystem, ListsEveryEntryOnceWithLongNamesOfAnyScriptAndFullSizes) {
  test::ScratchFolder folder(L"fs-list");
  Win32FileSystem fs;
  const std::wstring dir = folder.Path();
  const std::vector<std::wstring> names = {L"обычный файл.tmp", L"文件.tmp", L"emoji \U0001F600.tmp", L"notes.bakup",
                                           L"trailing dot."};
  for (const auto& name : names) WriteFile(dir + L"\\" + name);
  WriteFile(dir + L"\\hidden.sys", "hidden");
  SetFileAttributesW((dir + L"\\hidden.sys").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  // A sparse 5 GB file: its size must not be cut to 32 bits.
  HANDLE big = CreateFileW((dir + L"\\big.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(big, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 5LL << 30;
  ASSERT_TRUE(SetFilePointerEx(big, size, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(big));
  CloseHandle(big);
  CreateDirectoryW((dir + L"\\Папка").c_str(), nullptr);

  std::vector<DirEntry> entries;
  ASSERT_TRUE(fs.ListFolder(dir, entries));
  for (const auto& name : names) EXPECT_NE(Find(entries, name), nullptr);
  ASSERT_NE(Find(entries, L"big.tmp"), nullptr);
  EXPECT_EQ(Find(entries, L"big.tmp")->size, 5ull << 30);
  EXPECT_EQ(Find(entries, L"hidden.sys")->attributes & 0x6u, 0x6u);
  EXPECT_EQ(Find(entries, L"hidden.sys")->size, 6u);
  EXPECT_TRUE(Find(entries, L"Папка")->IsDirectory());
  EXPECT_NE(Find(entries, L"big.tmp")->id, Find(entries, L"hidden.sys")->id);
  const DirEntry dot = *Find(entries, L"trailing dot.");
  EXPECT_TRUE(fs.RemoveFile(dir + L"\\trailing dot.", dot.Identity()));
  EXPECT_FALSE(fs.Open(dir + L"\\trailing dot.").has_value());
  EXPECT_FALSE(fs.ListFolder(dir + L"\\missing", entries));
  EXPECT_TRUE(entries.empty());
}

TEST(Win32FileSystem, PathsLongerThanMaxPathWorkThroughout) {
  test::ScratchFolder folder(L"fs-long");
  Win32FileSystem fs;
  const std::wstring deep = MakeDeepFolder(folder.Path(), 12);
  ASSERT_GT(deep.size(), 400u);
  const std::wstring file = deep + L"\\глубокий.tmp";
  WriteFile(file, "12345");
  std::vector<DirEntry> entries;
  ASSERT_TRUE(fs.ListFolder(deep, entries));
  ASSERT_NE(Find(entries, L"глубокий.tmp"), nullptr);
  ASSERT_TRUE(SetFileAttributesW(ExtendedPath(file).c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(fs.ListFolder(deep, entries));
  const DirEntry found = *Find(entries, L"глубокий.tmp");
  EXPECT_EQ(fs.Open(file)->finalPath, file);
  EXPECT_EQ(fs.LongPath(file), file);
  EXPECT_TRUE(fs.RemoveFile(file, found.Identity()));  // read-only is lifted for the deletion
  EXPECT_FALSE(fs.Open(file).has_value());
  EXPECT_TRUE(fs.RemoveFolder(deep, fs.Open(deep)->id));
  EXPECT_FALSE(fs.Open(deep).has_value());
}

TEST(Win32FileSystem, AFolderLinkIsReportedAsALinkAndRemovedWithoutItsTarget) {
  test::ScratchFolder folder(L"fs-link");
  Win32FileSystem fs;
  const std::wstring target = folder.Path() + L"\\target", link = folder.Path() + L"\\link";
  CreateDirectoryW(target.c_str(), nullptr);
  WriteFile(target + L"\\canary.tmp");
  ASSERT_TRUE(folder.Link(link, target));
  std::vector<DirEntry> entries;
  ASSERT_TRUE(fs.ListFolder(folder.Path(), entries));
  ASSERT_NE(Find(entries, L"link"), nullptr);
  EXPECT_EQ(Find(entries, L"link")->attributes, FileAttr::Directory | FileAttr::ReparsePoint);
  ASSERT_TRUE(fs.Open(link).has_value());
  EXPECT_TRUE(fs.Open(link)->IsLink());
  // Windows removes the link itself; Wine cannot without touching the target. Either way the
  // target keeps everything.
  if (!fs.RemoveFolder(link, {})) {
    EXPECT_TRUE(fs.Open(link)->IsLink());
  }
  EXPECT_NE(GetFileAttributesW((target + L"\\canary.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32FileSystem, RemovingALinkToAnEmptyFolderNeverRemovesThatFolder) {
  test::ScratchFolder folder(L"fs-empty-link");
  Win32FileSystem fs;
  const std::wstring target = folder.Path() + L"\\empty", link = folder.Path() + L"\\link";
  CreateDirectoryW(target.c_str(), nullptr);
  ASSERT_TRUE(folder.Link(link, target));
  const bool removed = fs.RemoveFolder(link, {});
  EXPECT_NE(GetFileAttributesW(target.c_str()), INVALID_FILE_ATTRIBUTES) << "the link's target was removed";
  if (!removed) {
    EXPECT_TRUE(fs.Open(link)->IsLink());
  }
}

// Under Wine a file link looks like a plain file; its final path still tells it apart, and a
// deletion through it, or through a folder link above, or of a changed file, is refused.
TEST(Win32FileSystem, DeletionsThroughLinksOrOfChangedFilesAreRefused) {
  test::ScratchFolder folder(L"fs-identity");
  Win32FileSystem fs;
  const std::wstring dir = folder.Path(), canary = dir + L"\\canary.txt";
  WriteFile(canary, "canary");
  SetFileAttributesW(canary.c_str(), FILE_ATTRIBUTE_READONLY);
  CreateDirectoryW((dir + L"\\real").c_str(), nullptr);
  WriteFile(dir + L"\\real\\x.bak", "x");
  WriteFile(dir + L"\\grown.bak", "1");
  ASSERT_TRUE(
      test::RunShell("ln -s '" + test::UnixName(canary) + "' '" + test::UnixEntryName(dir + L"\\flink.bak") + "'",
                     dir + L"\\flink.bak"));
  ASSERT_TRUE(folder.Link(dir + L"\\dlink", dir + L"\\real"));
  std::vector<DirEntry> entries, inside;
  ASSERT_TRUE(fs.ListFolder(dir, entries));
  ASSERT_TRUE(fs.ListFolder(dir + L"\\real", inside));
  // A folder link is not listed, as what a folder swapped for one after its parent's listing
  // would take the walk to is not what was listed.
  std::vector<DirEntry> throughLink{DirEntry{}};
  EXPECT_FALSE(fs.ListFolder(dir + L"\\dlink", throughLink));
  EXPECT_TRUE(throughLink.empty());
  EXPECT_NE(fs.Open(dir + L"\\flink.bak")->finalPath, dir + L"\\flink.bak");
  EXPECT_FALSE(fs.RemoveFile(dir + L"\\flink.bak", Find(entries, L"flink.bak")->Identity()));
  EXPECT_FALSE(fs.RemoveFile(dir + L"\\dlink\\x.bak", Find(inside, L"x.bak")->Identity()));
  WriteFile(dir + L"\\grown.bak", "12");
  EXPECT_FALSE(fs.RemoveFile(dir + L"\\grown.bak", Find(entries, L"grown.bak")->Identity()));
  EXPECT_EQ(GetFileAttributesW(canary.c_str()) & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
  EXPECT_TRUE(fs.Open(dir + L"\\real\\x.bak").has_value());
  RemoveUnixLinkAt(dir + L"\\flink.bak");
}

// Windows' rules, as the program follows them there: a folder is checked once and its files are
// opened by name relative to its handle. A link where a file was found, a changed file, a name
// with a folder part, and any file of a folder reached through a link are refused.
TEST(Win32FileSystem, UnderWindowsRulesFilesAreOpenedByNameInTheirCheckedFolder) {
  test::ScratchFolder folder(L"fs-windows-rules");
  Win32FileSystem fs(Win32FileSystem::LinkRules::Windows);
  const std::wstring dir = folder.Path();
  WriteFile(dir + L"\\только чтение.bak");
  SetFileAttributesW((dir + L"\\только чтение.bak").c_str(), FILE_ATTRIBUTE_READONLY);
  WriteFile(dir + L"\\grown.bak", "1");
  CreateDirectoryW((dir + L"\\real").c_str(), nullptr);
  WriteFile(dir + L"\\real\\x.bak");
  ASSERT_TRUE(folder.Link(dir + L"\\dlink.bak", dir + L"\\real"));
  std::vector<DirEntry> entries, inside;
  ASSERT_TRUE(fs.ListFolder(dir, entries));
  ASSERT_TRUE(fs.ListFolder(dir + L"\\real", inside));
  const FileIdentity x = Find(inside, L"x.bak")->Identity();
  WriteFile(dir + L"\\grown.bak", "12");

  const auto deletion = fs.OpenForDeletion(dir);
  EXPECT_FALSE(deletion->RemoveFile(L"grown.bak", Find(entries, L"grown.bak")->Identity()));
  EXPECT_FALSE(deletion->RemoveFile(L"dlink.bak", Find(entries, L"dlink.bak")->Identity()));
  EXPECT_FALSE(deletion->RemoveFile(L"real\\x.bak", x));
  EXPECT_FALSE(fs.OpenForDeletion(dir + L"\\dlink.bak")->RemoveFile(L"x.bak", x));
  EXPECT_TRUE(deletion->RemoveFile(L"только чтение.bak", Find(entries, L"только чтение.bak")->Identity()));
  EXPECT_FALSE(fs.Open(dir + L"\\только чтение.bak").has_value());
  EXPECT_TRUE(fs.Open(dir + L"\\grown.bak").has_value());
  EXPECT_TRUE(fs.Open(dir + L"\\real\\x.bak").has_value());
}

// The attributes belong to the file: deleting one of its names must leave them to the others.
TEST(Win32FileSystem, DeletingOneNameOfAHardLinkedFileKeepsItsAttributes) {
  test::ScratchFolder folder(L"fs-hardlink");
  Win32FileSystem fs;
  const std::wstring one = folder.Path() + L"\\one.bak", other = folder.Path() + L"\\other.txt";
  WriteFile(one);
  ASSERT_TRUE(CreateHardLinkW(other.c_str(), one.c_str(), nullptr));
  const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  SetFileAttributesW(one.c_str(), kept);
  std::vector<DirEntry> entries;
  ASSERT_TRUE(fs.ListFolder(folder.Path(), entries));
  EXPECT_TRUE(fs.RemoveFile(one, Find(entries, L"one.bak")->Identity()));
  EXPECT_FALSE(fs.Open(one).has_value());
  EXPECT_EQ(GetFileAttributesW(other.c_str()) & 0x7, kept);
  SetFileAttributesW(other.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// In a folder that refuses deletions (made immutable on the host) Wine takes the request and keeps
// the file at the close. The deletion fails, by path and through the folder under both rules, and
// the read-only file keeps its attributes; once the folder allows it, the same call deletes it.
TEST(Win32FileSystem, ADeletionThatDoesNotTakeFailsAndTheFileKeepsItsAttributes) {
  test::ScratchFolder folder(L"fs-immutable");
  const std::wstring dir = folder.Path() + L"\\locked", file = dir + L"\\ro.bak";
  CreateDirectoryW(dir.c_str(), nullptr);
  WriteFile(file);
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  const DWORD before = GetFileAttributesW(file.c_str());
  std::vector<DirEntry> entries;
  Win32FileSystem fs, windowsRules(Win32FileSystem::LinkRules::Windows);
  ASSERT_TRUE(fs.ListFolder(dir, entries));
  const FileIdentity found = Find(entries, L"ro.bak")->Identity();
  test::ImmutableFolder immutable(dir);
  if (!immutable.Made()) GTEST_SKIP() << "the host refuses chattr +i";
  EXPECT_FALSE(fs.RemoveFile(file, found));
  EXPECT_FALSE(fs.OpenForDeletion(dir)->RemoveFile(L"ro.bak", found));
  EXPECT_FALSE(windowsRules.OpenForDeletion(dir)->RemoveFile(L"ro.bak", found));
  EXPECT_EQ(GetFileAttributesW(file.c_str()), before);
  immutable.Undo();
  EXPECT_TRUE(fs.RemoveFile(file, found));
  EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32FileSystem, TempPathAndProtectedFolders) {
  Win32FileSystem fs;
  const std::wstring temp = fs.TempPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), L'\\');
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  const auto kept = fs.ProtectedFolders();
  EXPECT_NE(std::find(kept.begin(), kept.end(), std::wstring(windows)), kept.end());
  for (const auto& folder : kept) EXPECT_NE(folder.back(), L'\\') << folder;
  for (const auto* name : {L"C:\\ProgramData", L"C:\\users\\Public", L"C:\\users"}) {
    const bool listed = std::any_of(kept.begin(), kept.end(), [&](const std::wstring& f) {
      return CompareStringOrdinal(f.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
    });
    EXPECT_TRUE(listed) << testing::PrintToString(std::wstring(name));
  }
}

}  // namespace
}  // namespace krelmix
