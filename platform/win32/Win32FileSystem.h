#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/PathText.h"

namespace krelmix {

// Paths are handed to the system in the "\\?\" form, so their length is limited only by the
// file system. Each folder is read in one pass through a handle to it, which gives the file ids
// with the names; every deletion goes through a handle opened without following a link.
class Win32FileSystem : public FileSystem {
 public:
  // How a link in a file's place is told apart. Windows opens the link itself and shows it as
  // one; so the files of a folder are opened by name relative to the folder's handle, whose path
  // is checked once. Wine follows a Unix link to a file and shows a plain file, and it deletes
  // through a handle by the path it resolved at the open, the link's target: only each file's
  // final path tells, so each file is opened by its path and its final path checked. The system
  // decides; a test may ask for Windows' rules under Wine.
  enum class LinkRules { OfThisSystem, Windows };
  explicit Win32FileSystem(LinkRules rules = LinkRules::OfThisSystem);

  bool ListFolder(const std::wstring& dir, std::vector<DirEntry>& entries) override;
  bool ListListedFolder(const std::wstring& dir, const FileId& listed, std::vector<DirEntry>& entries) override;
  std::optional<OpenedEntry> Open(const std::wstring& path) override;
  std::wstring LongPath(const std::wstring& path) override;
  bool RemoveFileIf(const std::wstring& path, const FileCheck& isExpected) override;
  std::unique_ptr<FolderDeletion> OpenForDeletion(const std::wstring& dir) override;
  bool RemoveFolder(const std::wstring& path, const FileId& expected) override;
  std::wstring UserKey() override;
  std::unique_ptr<KeepFolder> OpenKeepFolder(const std::wstring& path, bool create) override;
  std::optional<VolumeSpace> SpaceOf(const std::wstring& root) override;
  std::wstring TempPath() override;
  std::vector<std::wstring> ProtectedFolders() override;

 private:
  class FolderHandleDeletion;
  class PathDeletion;
  class Keep;
  // RequestRemoval, keeping the file where it can (FolderDeletion::KeepFileIf).
  GoneAs RequestKeep(const std::wstring& path, const FileCheck& isExpected, KeepFolder* keep,
                     const std::wstring& keptName, const GoingNote& note, std::wstring& spelled);
  // RemoveFileIf without the look afterwards; the file's handle is closed when it returns, and
  // `spelled` is its path as the system spells it.
  bool RequestRemoval(const std::wstring& path, const FileCheck& isExpected, std::wstring& spelled);
  bool windowsLinks_;
  // Where `path` really is, spelled from the same root as `path` when the root itself is
  // somewhere else (a substituted or network drive, a drive that Wine maps to a host folder).
  std::wstring FinalPath(void* handle, const std::wstring& path);
  // The serial number of the volume `path` lies on, asked once per root: under Wine each such
  // question is a round trip to the mount manager, which cost more than the listing itself.
  uint64_t VolumeOf(const std::wstring& path, void* handle);
  std::map<std::wstring, std::wstring> rootFinals_;
  std::map<std::wstring, uint64_t> rootVolumes_;
  std::wstring user_;
  std::vector<uint64_t> listing_;  // one folder's entries as the system writes them, kept for the next
};

// "C:\x" becomes "\\?\C:\x", "C:" becomes "\\?\C:\", "\\server\share\x" becomes
// "\\?\UNC\server\share\x"; relative paths and paths with "/", "." or ".." steps are made
// full first, since the "\\?\" form takes every character literally.
// (The text rules are platform/PathText's ExtendedForm; WithoutPrefix there takes it off again.)
std::wstring ExtendedPath(const std::wstring& path);

}  // namespace krelmix
