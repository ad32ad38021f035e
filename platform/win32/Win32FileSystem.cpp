#include "platform/win32/Win32FileSystem.h"

#include <windows.h>
#include <shlobj.h>

namespace krelmix {

namespace {
class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : h_(h) {}
  ~FindHandle() {
    if (valid()) FindClose(h_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

// Wine removes a host folder link by removing what it points to when that is empty, and refuses
// otherwise; it cannot remove the link alone. Under Wine folder links are therefore left in place.
bool RunningOnWine() {
  static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool HasRelativeStep(const std::wstring& path, size_t from) {
  if (path.find(L'/') != std::wstring::npos) return true;
  while (from <= path.size()) {
    size_t end = path.find(L'\\', from);
    if (end == std::wstring::npos) end = path.size();
    const std::wstring_view part(path.data() + from, end - from);
    if (part == L"." || part == L"..") return true;
    from = end + 1;
  }
  return false;
}

std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD got = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (got == 0 || got >= needed) return path;
  full.resize(got);
  return full;
}

std::wstring FromBuffer(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

std::wstring WithoutTrailingBackslash(std::wstring path) {
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
  return WithoutTrailingBackslash(FromBuffer(path));
}

DirEntry ToEntry(const WIN32_FIND_DATAW& data) {
  return {data.cFileName, data.dwFileAttributes,
          (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
}
}  // namespace

std::wstring ExtendedPath(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0) return path;
  const bool drive = path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':';
  if (drive && path.size() == 2) return L"\\\\?\\" + path + L"\\";
  if (drive && path[2] == L'\\' && !HasRelativeStep(path, 3)) return L"\\\\?\\" + path;
  if (path.rfind(L"\\\\", 0) == 0 && path.size() > 2 && !HasRelativeStep(path, 2))
    return L"\\\\?\\UNC\\" + path.substr(2);
  const std::wstring full = FullPath(path);
  // A path the system cannot make full is passed on as it is and fails there.
  if (full == path) return path;
  return ExtendedPath(full);
}

bool Win32FileSystem::ListFolder(const std::wstring& dir, std::vector<DirEntry>& entries) {
  entries.clear();
  std::wstring pattern = ExtendedPath(dir);
  if (pattern.empty() || pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  // The basic level skips the 8.3 aliases nobody here looks at, and large fetches cut round
  // trips in big folders.
  FindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH));
  if (!find.valid()) return GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty drive root
  do {
    entries.push_back(ToEntry(data));
  } while (FindNextFileW(find.get(), &data));
  return true;
}

std::optional<DirEntry> Win32FileSystem::Stat(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(ExtendedPath(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  const size_t slash = path.rfind(L'\\');
  return DirEntry{slash == std::wstring::npos ? path : path.substr(slash + 1), data.dwFileAttributes,
                  (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
}

bool Win32FileSystem::SetAttributes(const std::wstring& path, uint32_t attributes) {
  return SetFileAttributesW(ExtendedPath(path).c_str(), attributes) != 0;
}

bool Win32FileSystem::RemoveFile(const std::wstring& path) {
  return DeleteFileW(ExtendedPath(path).c_str()) != 0;
}

bool Win32FileSystem::RemoveFolder(const std::wstring& path) {
  const std::wstring extended = ExtendedPath(path);
  const DWORD attributes = GetFileAttributesW(extended.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && RunningOnWine()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return RemoveDirectoryW(extended.c_str()) != 0;
}

std::wstring Win32FileSystem::TempPath() {
  std::wstring path(MAX_PATH + 1, L'\0');
  DWORD got = GetTempPathW(static_cast<DWORD>(path.size()), path.data());
  if (got > path.size()) {
    path.assign(got, L'\0');
    got = GetTempPathW(static_cast<DWORD>(path.size()), path.data());
  }
  if (got == 0 || got > path.size()) return {};
  path.resize(got);
  return path;
}

std::vector<std::wstring> Win32FileSystem::ProtectedFolders() {
  std::vector<std::wstring> folders;
  auto add = [&](std::wstring folder) {
    if (!folder.empty()) folders.push_back(WithoutTrailingBackslash(std::move(folder)));
  };
  wchar_t buffer[MAX_PATH] = {};
  if (GetWindowsDirectoryW(buffer, MAX_PATH)) add(buffer);
  if (GetSystemDirectoryW(buffer, MAX_PATH)) add(buffer);
  const std::wstring profile = ShellFolder(CSIDL_PROFILE);
  add(profile);
  // The folder that holds every user's profile.
  const size_t slash = profile.rfind(L'\\');
  if (slash != std::wstring::npos && slash > 2) add(profile.substr(0, slash));
  add(ShellFolder(CSIDL_PROGRAM_FILES));
  add(ShellFolder(CSIDL_COMMON_DOCUMENTS));
  return folders;
}

}  // namespace krelmix
