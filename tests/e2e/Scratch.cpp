#include "Scratch.h"

#include <fstream>
#include <filesystem>
#include <vector>


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

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

namespace {
std::string UnixPath(const std::wstring& windowsPath) {
  using ToUnix = char*(__cdecl*)(const wchar_t*);
  auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* unix = toUnix(windowsPath.c_str());
  if (!unix) return {};
  std::string path = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return path;
}

// Wine starts a host program like any other: links are made and removed the host way, since
// Windows calls under Wine act on a host link's target.
bool RunHostCommand(const std::string& command) {
  std::wstring wide(command.begin(), command.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  WaitForSingleObject(process.hProcess, 30000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return true;
}
}  // namespace

void ClearScratchDrive() {
  const std::string root = UnixPath(L"T:\\");
  if (root.empty()) return;
  // rm never follows a link: a linked folder loses only the link. The host program may end
  // before Wine reports it, so it leaves a mark when it is done.
  const std::string command = "/bin/sh -c \"/usr/bin/find '" + root +
                              "' -mindepth 1 -maxdepth 1 ! -name .windows-label -exec /bin/rm -rf {} + ; " +
                              "/usr/bin/touch '" + root + "/.cleared'\"";
  RunHostCommand(command);
  for (int i = 0; i < 200 && !Exists(L"T:\\.cleared"); ++i) Sleep(50);
  DeleteFileW(L"T:\\.cleared");
}

bool MakeFolderLink(const std::wstring& link, const std::wstring& target) {
  const std::string linkPath = UnixPath(link), targetPath = UnixPath(target);
  if (linkPath.empty() || targetPath.empty()) return false;
  if (!RunHostCommand("/bin/ln -s \"" + targetPath + "\" \"" + linkPath + "\"")) return false;
  for (int i = 0; i < 100; ++i) {
    const DWORD attributes = GetFileAttributesW(link.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    Sleep(50);
  }
  return false;
}

std::string SettingsTickingScratch(const std::string& more) {
  // Options 0 off: no splash window in the way of the tests.
  return "[Area]\r\nT=1\r\n[Options]\r\n0=0\r\n1=1\r\n2=1\r\n" + more;
}

}  // namespace krelmix::e2e
