// The keep folder of deleted files on the test drive T:: files moved into it through their handles
// and back keep their bytes, times and attributes; it is private to its user; nothing in it that
// is a link is ever restored or deleted through.
#include <windows.h>
#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include "ScratchFolder.h"
#include "UnixLink.h"
#include "platform/win32/Win32FileSystem.h"
#include "restore/KeptRuns.h"

namespace krelmix {
namespace {

std::string Bytes(const std::wstring& path) {
  HANDLE file =
      CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(missing)";
  char buffer[256];
  DWORD got = 0;
  ReadFile(file, buffer, sizeof buffer, &got, nullptr);
  CloseHandle(file);
  return std::string(buffer, got);
}

void Write(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(ExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  FILETIME time{0x12345678, 0x01D00000};  // a time no write would give
  SetFileTime(file, &time, nullptr, &time);
  CloseHandle(file);
}

class KeepFolderOnDisk : public ::testing::Test {
 protected:
  KeepFolderOnDisk() {
    test::RemoveTree(dir);
    CreateDirectoryW(dir.c_str(), nullptr);
  }
  ~KeepFolderOnDisk() override {
    test::RemoveTree(dir);
    test::RemoveTree(keepPath);
  }
  // Moves `name` of the scratch folder into the keep folder as `kept`.
  GoneAs KeepIt(Win32FileSystem& through, KeepFolder& keep, const std::wstring& name, const std::wstring& kept) {
    const auto anyFile = [](const FileIdentity&) { return true; };
    return through.OpenForDeletion(dir)->KeepFileIf(name, anyFile, &keep, kept, [&](const GoingFile& file, bool) {
      noted = file;
      return true;
    });
  }
  const FileCheck AsNoted() const {
    return [this](const FileIdentity& now) { return IsSameFile(noted.identity, now); };
  }

  const std::wstring dir = L"T:\\krelmix-keep-" + std::to_wstring(GetCurrentProcessId());
  Win32FileSystem fs;
  const std::wstring keepPath = KeepFolderOf(fs, L"T:");
  GoingFile noted;
};

TEST_F(KeepFolderOnDisk, AFileMovedInAndBackKeepsItsBytesTimesAndAttributesUnderBothRules) {
  Win32FileSystem windowsRules(Win32FileSystem::LinkRules::Windows);
  const std::unique_ptr<KeepFolder> keep = fs.OpenKeepFolder(keepPath, true);
  ASSERT_TRUE(keep);
  int n = 0;
  for (Win32FileSystem* through : {&fs, &windowsRules}) {
    const std::wstring file = dir + L"\\вложенная\\файл.bak", kept = L"kept" + std::to_wstring(++n);
    CreateDirectoryW((dir + L"\\вложенная").c_str(), nullptr);
    Write(file, "content " + std::to_string(n));
    const DWORD attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    SetFileAttributesW(file.c_str(), attributes);
    ASSERT_EQ(through->OpenForDeletion(dir + L"\\вложенная")
                  ->KeepFileIf(
                      L"файл.bak", [](const FileIdentity&) { return true; }, keep.get(), kept,
                      [&](const GoingFile& going, bool) { return noted = going, true; }),
              GoneAs::Kept);
    EXPECT_FALSE(test::EntryExists(file));
    EXPECT_EQ(Bytes(keepPath + L"\\" + kept), "content " + std::to_string(n));
    test::RemoveTree(dir + L"\\вложенная");
    Write(dir + L"\\вложенная\\..\\taken.bak", "other");
    EXPECT_EQ(keep->MoveBack(kept, AsNoted(), dir + L"\\taken.bak"), PutBack::PlaceTaken);
    EXPECT_EQ(Bytes(dir + L"\\taken.bak"), "other");
    ASSERT_EQ(keep->MoveBack(kept, AsNoted(), file), PutBack::Done);  // its folder made again
    EXPECT_EQ(Bytes(file), "content " + std::to_string(n));
    EXPECT_EQ(GetFileAttributesW(file.c_str()), attributes);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.ftLastWriteTime.dwLowDateTime, 0x12345678u);
    EXPECT_EQ(keep->MoveBack(kept, AsNoted(), file), PutBack::Missing);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST_F(KeepFolderOnDisk, TheFolderIsHiddenAndReadableByItsUserTheSystemAndTheAdministratorsAlone) {
  ASSERT_TRUE(fs.OpenKeepFolder(keepPath, true));
  const DWORD holder = GetFileAttributesW(L"T:\\.KrelmixRestore");
  EXPECT_EQ(holder & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
            DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(GetNamedSecurityInfoW(keepPath.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                  nullptr, nullptr, &descriptor),
            DWORD{ERROR_SUCCESS});
  wchar_t* text = nullptr;
  ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                                   DACL_SECURITY_INFORMATION, &text, nullptr));
  const std::wstring user = fs.UserKey();
  // Wine 8 keeps no access lists: it reads one back from the Unix permissions the list gave.
  const bool underWine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  EXPECT_EQ(std::wstring(text), underWine ? L"D:(A;OICI;FA;;;SY)(A;OICI;FA;;;" + user + L")"
                                          : L"D:P(A;OICI;FA;;;" + user + L")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)");
  LocalFree(text);
  LocalFree(descriptor);
  // A folder someone else opened to everyone is no keep folder.
  ASSERT_TRUE(SetNamedSecurityInfoW(const_cast<wchar_t*>(keepPath.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS);
  EXPECT_FALSE(fs.OpenKeepFolder(keepPath, true));
  const std::vector<std::wstring> kept = fs.ProtectedFolders();
  EXPECT_NE(std::find(kept.begin(), kept.end(), L"T:\\.KrelmixRestore"), kept.end());
}

TEST_F(KeepFolderOnDisk, ALinkInTheKeepFolderIsNeitherRestoredNorDeletedThrough) {
  const std::unique_ptr<KeepFolder> keep = fs.OpenKeepFolder(keepPath, true);
  ASSERT_TRUE(keep);
  const std::wstring canary = dir + L"\\canary.bak";
  Write(canary, "canary");
  Write(dir + L"\\real.bak", "canary");
  ASSERT_EQ(KeepIt(fs, *keep, L"real.bak", L"k1"), GoneAs::Kept);
  // The kept file swapped for a link to another file of the same size and time.
  ASSERT_TRUE(DeleteFileW((keepPath + L"\\k1").c_str()));
  ASSERT_TRUE(test::MakeUnixLink(keepPath + L"\\k1", canary));
  const auto anyFile = [](const FileIdentity&) { return true; };
  EXPECT_EQ(keep->MoveBack(L"k1", anyFile, dir + L"\\real.bak"), PutBack::Refused);
  EXPECT_FALSE(keep->Remove(L"k1", anyFile));
  EXPECT_FALSE(keep->Read(L"k1"));
  EXPECT_EQ(Bytes(canary), "canary");
  EXPECT_FALSE(test::EntryExists(dir + L"\\real.bak"));
  test::RemoveUnixLink(keepPath + L"\\k1");
  // A keep folder that is itself a link is none.
  const std::wstring linked = L"T:\\.KrelmixRestore\\linked-" + std::to_wstring(GetCurrentProcessId());
  ASSERT_TRUE(test::MakeUnixLink(linked, dir));
  EXPECT_FALSE(fs.OpenKeepFolder(linked, false));
  test::RemoveUnixLink(linked);
}

}  // namespace
}  // namespace krelmix
