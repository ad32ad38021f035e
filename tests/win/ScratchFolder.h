#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it afterwards.
#include <windows.h>

#include <string>

namespace krelmix::test {

// Links are removed themselves, never entered; long paths go through the "\\?\" form.
inline void RemoveTree(const std::wstring& dir) {
  const std::wstring full = dir.size() > 1 && dir[1] == L':' ? L"\\\\?\\" + dir : dir;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((full + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = dir + L"\\" + name, fullPath = full + L"\\" + name;
      const DWORD attributes = data.dwFileAttributes;
      if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        if (!RemoveDirectoryW(fullPath.c_str())) DeleteFileW(fullPath.c_str());
        continue;
      }
      SetFileAttributesW(fullPath.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
      else DeleteFileW(fullPath.c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(full.c_str());
}

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::wstring(temp) + L"krelmix-" + name + L"-" + std::to_wstring(GetCurrentProcessId());
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() { RemoveTree(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

}  // namespace krelmix::test
