#pragma once
// The file operations the search, the deletion and the temporary-folder cleanup need. Paths are
// plain wide Windows paths (a drive root is "C:"); the implementation takes care of long paths.
//
// Nothing here follows a link at the end of a path, and every deletion is checked: the entry is
// opened without following a link, compared with what the listing showed, checked to be reached
// by its own path (no link on the way, whatever the platform reports as its attributes) and then
// deleted through that same handle. Where a folder is opened for the deletion of several of its
// files, its path is checked once and each file is opened by name relative to the folder's
// handle: a folder swapped for a link after that cannot redirect them. A deletion counts only
// once the file is gone: the system may take the request and still keep the file when the handle
// is closed (a folder that refuses deletions, another program holding the file).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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
constexpr uint32_t Offline = 0x1000;
constexpr uint32_t RecallOnOpen = 0x40000;
constexpr uint32_t RecallOnDataAccess = 0x400000;
// An entry whose data is elsewhere (a cloud-synchronised placeholder, a file moved to other
// storage): deleting it frees nothing on this disk and may delete the only copy.
constexpr uint32_t NotOnThisDisk = Offline | RecallOnOpen | RecallOnDataAccess;
}  // namespace FileAttr

// Which file an entry is: its volume and its number on that volume; number zero when the file
// system gives none.
struct FileId {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool Known() const { return index != 0; }
  bool operator==(const FileId&) const = default;
};

// What a deletion is checked against: the file as the listing showed it.
struct FileIdentity {
  FileId id;
  uint64_t size = 0;
  uint64_t lastWrite = 0;  // 100 ns units, as Windows keeps it
  bool operator==(const FileIdentity&) const = default;
};

// True when `now` is still the file that was `expected`: its id when both are known, its size and
// last-write time.
inline bool IsSameFile(const FileIdentity& expected, const FileIdentity& now) {
  if (expected.id.Known() && now.id != expected.id) return false;
  return now.size == expected.size && now.lastWrite == expected.lastWrite;
}

// Decides on a file about to be deleted, as it is then (read through the handle that deletes it):
// true lets the deletion go on.
using FileCheck = std::function<bool(const FileIdentity& now)>;

struct DirEntry {
  std::wstring name;  // the long name
  uint32_t attributes = 0;
  uint64_t size = 0;
  uint64_t lastWrite = 0;
  FileId id;

  bool IsDirectory() const { return (attributes & FileAttr::Directory) != 0; }
  bool IsLink() const { return (attributes & FileAttr::ReparsePoint) != 0; }
  bool IsPlaceholder() const { return (attributes & FileAttr::NotOnThisDisk) != 0; }
  FileIdentity Identity() const { return {id, size, lastWrite}; }
};

// A file about to go, as read through the handle that moves or deletes it.
struct GoingFile {
  FileIdentity identity;
  uint32_t attributes = 0;
};

// Told, after every check and just before the file goes, whether it is moved into a keep folder
// (`kept`) or deleted for good; false leaves the file where it is.
using GoingNote = std::function<bool(const GoingFile& file, bool kept)>;

enum class GoneAs { NotGone, Kept, Deleted };
enum class PutBack { Done, PlaceTaken, Refused, Missing, Failed };

// One user's private folder on one volume, held open: the deleted files kept for a while are
// moved into it by their handles, and their records lie beside them. Nothing in it is followed:
// an entry that is a link, or is reached some other way than by its own name, is refused.
// Kept files lie in folders of their own inside it ("FOLDER\NAME"), a few hundred to a folder: a
// name new to a folder makes Wine read the whole folder for another case of it.
class KeepFolder {
 public:
  virtual ~KeepFolder() = default;
  // Its entries, as FileSystem::ListFolder gives them, and then those of its folders named
  // "FOLDER\NAME", each handed to `each` as it is read, so that a look that only adds them up
  // holds no more than a folder's listing; `breathe`, when given, is called between folders.
  virtual bool Walk(const std::function<void(DirEntry&&)>& each, const std::function<void()>& breathe) = 0;
  // The same entries, gathered.
  bool List(std::vector<DirEntry>& entries, const std::function<void()>& breathe) {
    entries.clear();
    return Walk([&entries](DirEntry&& entry) { entries.push_back(std::move(entry)); }, breathe);
  }
  // The folder `name` (a plain name) for kept files, made when missing; false when it cannot be
  // made or is not a plain folder.
  virtual bool MakeFolder(const std::wstring& name) = 0;
  // Removes the folder `name` if it is a plain, empty folder.
  virtual bool RemoveFolder(const std::wstring& name) = 0;
  // The whole content of file `name`; nothing when it is missing, a link, or cannot be read.
  virtual std::optional<std::string> Read(const std::wstring& name) = 0;
  // Adds `bytes` at the end of file `name`, made when missing; true once the system holds them,
  // so that a program killed next leaves them in the file.
  virtual bool Append(const std::wstring& name, std::string_view bytes) = 0;
  // Moves the kept file `name`, if `isExpected` takes it, back to `path` through its handle, so
  // that its data, times and attributes stay; the folders on the way are made when missing, and
  // nothing there is ever replaced.
  virtual PutBack MoveBack(const std::wstring& name, const FileCheck& isExpected, const std::wstring& path) = 0;
  // Deletes the file `name` for good if `isExpected` takes it; true when its name is gone.
  virtual bool Remove(const std::wstring& name, const FileCheck& isExpected) = 0;
};

// Some files of one folder deleted one after another: the finds of a folder, or a folder being
// emptied. Each deletion is checked as FileSystem::RemoveFileIf checks it.
class FolderDeletion {
 public:
  virtual ~FolderDeletion() = default;
  // Deletes the file called `name` (no folder part) in the folder; true only when the name is
  // gone afterwards. A file that stays keeps its attributes.
  bool RemoveFileIf(const std::wstring& name, const FileCheck& isExpected) {
    return RequestRemoval(name, isExpected) && IsGone(name);
  }
  bool RemoveFile(const std::wstring& name, const FileIdentity& expected) {
    return RemoveFileIf(name, [&expected](const FileIdentity& now) { return IsSameFile(expected, now); });
  }
  // The same checks, then the file is moved through its handle into `keep` as `keptName`, never
  // replacing anything there, when `keep` is given and lies on the file's volume; otherwise, and
  // when the move fails for another volume, it is deleted for good. `note` hears which, before
  // each. Gone only when the name is gone afterwards.
  GoneAs KeepFileIf(const std::wstring& name, const FileCheck& isExpected, KeepFolder* keep,
                    const std::wstring& keptName, const GoingNote& note) {
    const GoneAs gone = RequestKeep(name, isExpected, keep, keptName, note);
    return gone != GoneAs::NotGone && IsGone(name) ? gone : GoneAs::NotGone;
  }

 protected:
  // The file checked and its deletion handed to the system, as the system reports it; whatever
  // was opened for it is closed again.
  virtual bool RequestRemoval(const std::wstring& name, const FileCheck& isExpected) = 0;
  virtual GoneAs RequestKeep(const std::wstring& name, const FileCheck& isExpected, KeepFolder* keep,
                             const std::wstring& keptName, const GoingNote& note) = 0;
  // One look by name: true only when the system answers that there is no such entry.
  virtual bool IsGone(const std::wstring& name) = 0;
};

// An entry opened without following a link at its end.
struct OpenedEntry {
  FileId id;
  uint32_t attributes = 0;
  // Where the entry really is: long names, no "\\?\" prefix. It differs from the path that was
  // opened when a link lies on the way, including links the platform shows as plain entries.
  std::wstring finalPath;
  bool IsLink() const { return (attributes & FileAttr::ReparsePoint) != 0; }
};

// The folder at a volume's root that holds each user's keep folder.
constexpr wchar_t kKeepRootName[] = L".KrelmixRestore";

struct VolumeSpace {
  bool fixed = false;
  uint64_t total = 0, free = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Every entry of folder `dir` (files, folders, links; "." and ".." as the platform gives them),
  // hidden and system ones included, in the platform's order, read in one pass, with their file
  // ids. False when the folder cannot be listed (missing, not a folder, access denied); `entries`
  // is then empty.
  virtual bool ListFolder(const std::wstring& dir, std::vector<DirEntry>& entries) = 0;
  // The same for a folder that its parent's listing showed as `listed`: false when what the path
  // leads to now is another folder (one swapped for a link meanwhile, on a system that opens
  // what a link points to).
  virtual bool ListListedFolder(const std::wstring& dir, const FileId& listed, std::vector<DirEntry>& entries) {
    (void)listed;
    return ListFolder(dir, entries);
  }
  // Opens the entry itself (a link at the end is not followed) and says what it is; nothing when
  // it is missing or cannot be opened.
  virtual std::optional<OpenedEntry> Open(const std::wstring& path) = 0;
  // `path` with every short (8.3) name replaced by the long one, links not followed; the path
  // unchanged when it does not exist.
  virtual std::wstring LongPath(const std::wstring& path) = 0;
  // Deletes the file at `path` only when `isExpected` says yes to it, it is no link, no folder and
  // no placeholder (FileAttr::NotOnThisDisk), and it is reached by its own path; true only when
  // the path answers "not found" afterwards. Read-only is lifted for the request alone: a file
  // that keeps other names (hard links), or that is not deleted, keeps its attributes.
  virtual bool RemoveFileIf(const std::wstring& path, const FileCheck& isExpected) = 0;
  // The same for a file that must still be `expected` (IsSameFile).
  bool RemoveFile(const std::wstring& path, const FileIdentity& expected) {
    return RemoveFileIf(path, [&expected](const FileIdentity& now) { return IsSameFile(expected, now); });
  }
  // Opens folder `dir` for deleting some of its files, faster than one by one by their paths.
  // Never empty: when the folder cannot be opened, every deletion through it fails.
  virtual std::unique_ptr<FolderDeletion> OpenForDeletion(const std::wstring& dir) = 0;
  // Removes an empty folder that is still `expected` (its id when known) and reached by its own
  // path; or a folder link itself, without touching what it points to.
  virtual bool RemoveFolder(const std::wstring& path, const FileId& expected) = 0;
  // The user running the program, as the system names them for good (a SID).
  virtual std::wstring UserKey() = 0;
  // The folder `path` (its parent, a folder at a volume's root, made hidden and system when
  // missing) opened as the running user's keep folder: with `create`, made when missing with an
  // access list naming that user, the system and the administrators alone. Nothing when either
  // is a link, is reached another way, is open to others, or cannot be made.
  virtual std::unique_ptr<KeepFolder> OpenKeepFolder(const std::wstring& path, bool create) = 0;
  // The size and free room of the volume whose root is `root` ("C:"), and whether it is a fixed
  // disk; nothing when it cannot be read.
  virtual std::optional<VolumeSpace> SpaceOf(const std::wstring& root) = 0;
  // The temporary folder as the platform reports it, with its trailing backslash.
  virtual std::wstring TempPath() = 0;
  // Folders that must never be emptied wholesale, nor any folder holding them: the Windows and
  // system folders, every profile and the folder holding them, the program folders, the shared
  // data and public folders. Without trailing backslashes.
  virtual std::vector<std::wstring> ProtectedFolders() = 0;
};

}  // namespace krelmix
