#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it afterwards.
#include <windows.h>

#include <string>
#include <vector>

#include "UnixLink.h"

namespace krelmix::test {

// Links are removed themselves, never entered (under Wine by a Unix rm, see UnixLink.h); long paths go through the
// "\\?\" form.
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
        if (!RemoveDirectoryW(fullPath.c_str()) && !DeleteFileW(fullPath.c_str())) RemoveUnixLink(path);
        continue;
      }
      SetFileAttributesW(fullPath.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
      // A link whose target is gone no longer reads as a link, and Wine cannot delete it.
      else if (!DeleteFileW(fullPath.c_str()))
        RemoveUnixLink(path);
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
  ~ScratchFolder() {
    // Links go first: once its target is gone Wine no longer lists a link, so nothing could.
    for (auto it = links_.rbegin(); it != links_.rend(); ++it)
      if (EntryExists(it->substr(0, it->rfind(L'\\')))) RemoveUnixLink(*it);
    RemoveTree(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::wstring& Path() const { return path_; }
  // A folder link made for the test (it may lie anywhere), removed with the folder.
  bool Link(const std::wstring& link, const std::wstring& target) {
    links_.push_back(link);
    return MakeUnixLink(link, target);
  }

 private:
  std::wstring path_;
  std::vector<std::wstring> links_;
};

}  // namespace krelmix::test
