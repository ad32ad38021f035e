#pragma once
#include <string>

#include "platform/FileSystem.h"

namespace krelmix {

// Paths are handed to the system in the "\\?\" form, so their length is limited only by the
// file system, and each folder is read in one FindFirstFileEx pass without 8.3 aliases.
class Win32FileSystem : public FileSystem {
 public:
  bool ListFolder(const std::wstring& dir, std::vector<DirEntry>& entries) override;
  std::optional<DirEntry> Stat(const std::wstring& path) override;
  bool SetAttributes(const std::wstring& path, uint32_t attributes) override;
  bool RemoveFile(const std::wstring& path) override;
  bool RemoveFolder(const std::wstring& path) override;
  std::wstring TempPath() override;
  std::vector<std::wstring> ProtectedFolders() override;
};

// "C:\x" becomes "\\?\C:\x", "C:" becomes "\\?\C:\", "\\server\share\x" becomes
// "\\?\UNC\server\share\x"; relative paths and paths with "/", "." or ".." steps are made
// full first, since the "\\?\" form takes every character literally.
std::wstring ExtendedPath(const std::wstring& path);

}  // namespace krelmix
