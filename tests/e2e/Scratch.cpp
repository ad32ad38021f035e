#include "Scratch.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include "../win/UnixLink.h"
#include "Watchdog.h"

namespace krelmix::e2e {

void MakeFolder(const std::wstring& path) {
  for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  CreateDirectoryW(path.c_str(), nullptr);
}

void MakeFile(const std::wstring& path, size_t bytes) {
  MakeFolder(path.substr(0, path.find_last_of(L'\\')));
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out << std::string(bytes, 'x');
}

void MakeEmptyFiles(const std::wstring& folder, int count, const std::string& suffix) {
  const std::string unixFolder = test::UnixName(folder);
  if (unixFolder.empty() || count <= 0) return;
  WaitingFor waiting(L"empty files to be made in " + folder);
  if (!test::RunShell(
          "cd '" + unixFolder + "' && seq -f 'f%.0f" + suffix + "' 0 " + std::to_string(count - 1) + " | xargs touch",
          folder + L"\\.made"))
    ADD_FAILURE() << "the files were not made in time";
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void ClearScratchDrive() {
  const std::string root = test::UnixName(L"T:\\");
  if (root.empty()) return;
  // rm never follows a link: a linked folder loses only the link.
  WaitingFor waiting(L"the scratch drive T: to be emptied");
  const bool cleared = test::RunShell(
      "/usr/bin/find '" + root + "' -mindepth 1 -maxdepth 1 ! -name .windows-label -exec /bin/rm -rf {} +",
      L"T:\\.cleared");
  // Files laid out for the next steps would otherwise be removed under them.
  if (!cleared) ADD_FAILURE() << "the scratch drive T: was not emptied in time";
}

bool MakeFolderLink(const std::wstring& link, const std::wstring& target) {
  return test::MakeUnixLink(link, target) && (GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool MakeFileLink(const std::wstring& link, const std::wstring& target) {
  return test::MakeUnixLink(link, target) && Exists(link);
}

std::string Content(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Canary MakeCanary(const std::wstring& path, DWORD attributes) {
  MakeFolder(path.substr(0, path.rfind(L'\\')));
  const std::string content = "canary " + test::Utf8(path);
  std::ofstream(std::filesystem::path(path), std::ios::binary) << content;
  SetFileAttributesW(path.c_str(), attributes);
  return {path, content, GetFileAttributesW(path.c_str())};
}

void ExpectIntact(const std::vector<Canary>& canaries) {
  for (const auto& canary : canaries) {
    EXPECT_EQ(Content(canary.path), canary.content) << "canary lost: " << test::Utf8(canary.path);
    EXPECT_EQ(GetFileAttributesW(canary.path.c_str()), canary.attributes) << test::Utf8(canary.path);
  }
}

void RemoveCanaries(const std::vector<Canary>& canaries) {
  for (const auto& canary : canaries) {
    SetFileAttributesW(canary.path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(canary.path.c_str());
  }
}

std::wstring ShortName(const std::wstring& path) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD got = GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
  return got > 0 && got < MAX_PATH ? buffer : path;
}

std::string SettingsTickingScratch(const std::string& more) {
  // Options 0 off: no splash window in the way of the tests.
  return "[Area]\r\nT=1\r\n[Options]\r\n0=0\r\n1=1\r\n2=1\r\n" + more;
}

}  // namespace krelmix::e2e
