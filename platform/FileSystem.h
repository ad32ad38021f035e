#pragma once
// The file operations the search, the deletion and the temporary-folder cleanup need. Paths are
// plain wide Windows paths (a drive root is "C:"); the implementation takes care of long paths.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace krelmix {

// File attribute bits as Windows reports them.
namespace FileAttr {
constexpr uint32_t ReadOnly = 0x1;
constexpr uint32_t Hidden = 0x2;
constexpr uint32_t System = 0x4;
constexpr uint32_t Directory = 0x10;
constexpr uint32_t Archive = 0x20;
constexpr uint32_t Normal = 0x80;
constexpr uint32_t Temporary = 0x100;
constexpr uint32_t ReparsePoint = 0x400;
constexpr uint32_t Compressed = 0x800;
}  // namespace FileAttr

struct DirEntry {
  std::wstring name;  // the long name
  uint32_t attributes = 0;
  uint64_t size = 0;

  bool IsDirectory() const { return (attributes & FileAttr::Directory) != 0; }
  bool IsLink() const { return (attributes & FileAttr::ReparsePoint) != 0; }
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Every entry of folder `dir` (files, folders, links; "." and ".." as the platform gives them),
  // hidden and system ones included, in the platform's order, read in one pass. False when the
  // folder cannot be listed (missing, not a folder, access denied); `entries` is then empty.
  virtual bool ListFolder(const std::wstring& dir, std::vector<DirEntry>& entries) = 0;
  // The attributes and length of the entry itself (a link is not followed), or nothing when it
  // is missing. Read without opening the file.
  virtual std::optional<DirEntry> Stat(const std::wstring& path) = 0;
  virtual bool SetAttributes(const std::wstring& path, uint32_t attributes) = 0;
  virtual bool RemoveFile(const std::wstring& path) = 0;
  // Removes an empty folder, or a folder link itself without touching what it points to.
  virtual bool RemoveFolder(const std::wstring& path) = 0;
  // The temporary folder as the platform reports it, with its trailing backslash.
  virtual std::wstring TempPath() = 0;
  // Folders that must never be emptied wholesale: the Windows folder, the folder holding the
  // user profiles, the current user's profile. Without trailing backslashes.
  virtual std::vector<std::wstring> ProtectedFolders() = 0;
};

}  // namespace krelmix
