#pragma once
// A file system held in memory, case-insensitive like Windows, with folder links, file links
// (shown as links, or looking like plain files as under Wine), hard links, short names and
// injectable failures. Folders list their entries in creation order, "." and ".." first below a
// root. Deletions are checked as the real one checks them.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>

#include "platform/CaseFold.h"
#include "platform/FileSystem.h"

namespace krelmix::test {

class MemoryFileSystem : public FileSystem {
 public:
  // --- Building the tree (parents are made as needed).
  void AddFolder(const std::wstring& path, uint32_t attributes = FileAttr::Directory) {
    Node& node = Make(path);
    node.file->attributes = attributes | FileAttr::Directory;
  }
  void AddFile(const std::wstring& path, uint64_t size = 0, uint32_t attributes = FileAttr::Archive) {
    Node& node = Make(path);
    node.file->attributes = attributes & ~FileAttr::Directory;
    node.file->size = size;
  }
  // A folder link: listing through it shows the target's entries, as a real link would.
  void AddLink(const std::wstring& path, const std::wstring& target) {
    Node& node = Make(path);
    node.file->attributes = FileAttr::Directory | FileAttr::ReparsePoint;
    node.target = target;
  }
  // A file link; `shown` false makes it look like its target everywhere, as Wine shows one.
  void AddFileLink(const std::wstring& path, const std::wstring& target, bool shown) {
    Node& node = Make(path);
    node.file->attributes = FileAttr::Archive | FileAttr::ReparsePoint;
    node.target = target;
    node.hidden = !shown;
  }
  // A second name of an existing file.
  void AddHardLink(const std::wstring& path, const std::wstring& existing) {
    std::shared_ptr<File> file = At(existing).file;
    Make(path).file = file;
  }
  // An 8.3 alias of an existing entry ("DOCUME~1"), found by every call that takes a path.
  void AddShortName(const std::wstring& path, const std::wstring& alias) {
    aliases_[Key(Parent(path) + L"\\" + alias)] = path.substr(path.rfind(L'\\') + 1);
  }
  // Replacements keep the entry's place in its folder's listing.
  void ReplaceWithLink(const std::wstring& path, const std::wstring& target) {
    Erase(Key(path));
    AddLink(path, target);
  }
  void ReplaceWithFileLink(const std::wstring& path, const std::wstring& target, bool shown) {
    Erase(Key(path));
    AddFileLink(path, target, shown);
  }
  void ReplaceWithFolder(const std::wstring& path) {
    Erase(Key(path));
    AddFolder(path);
  }
  void SetSize(const std::wstring& path, uint64_t size) { At(path).file->size = size; }

  // --- Looking at it.
  bool Exists(const std::wstring& path) const { return nodes_.count(Key(Resolve(path))) != 0; }
  uint32_t AttributesOf(const std::wstring& path) const { return At(path).file->attributes; }
  // The files outside the keep folders of deleted files.
  size_t FileCount() const {
    size_t n = 0;
    for (const auto& [key, node] : nodes_)
      n += (node.file->attributes & FileAttr::Directory) == 0 && key.find(L"\\.KRELMIXRESTORE\\") == std::wstring::npos;
    return n;
  }

  // --- Failures, by path as given to the call (case-insensitive).
  std::set<std::wstring> failRemoveFile, failRemoveFolder, failList;
  // Deletions the system takes and then does not carry out: the file stays as it was.
  std::set<std::wstring> keepRemovedFile;
  std::wstring tempPath = L"T:\\Temp\\";
  std::vector<std::wstring> protectedFolders = {L"C:\\Windows", L"C:\\Users", L"C:\\Users\\Me"};
  // Called before every file removal, with the path; may change the tree.
  std::function<void(const std::wstring&)> beforeRemoveFile;
  // Keep folders: the roots where none can be made, the files no line can be added to, and a
  // call just before a file is moved into one (from, to); each may change the tree or throw.
  std::set<std::wstring> failKeepFolder, failAppend;
  std::function<void(const std::wstring&, const std::wstring&)> beforeKeep;
  std::wstring userKey = L"S-1-5-21-7-1000";
  std::map<std::wstring, VolumeSpace> spaces;  // by upper-case root; a fixed terabyte otherwise
  // The text of a file made by KeepFolder::Append.
  std::string Content(const std::wstring& path) const {
    const auto it = contents_.find(Key(path));
    return it == contents_.end() ? std::string() : it->second;
  }

  // --- Calls made.
  std::map<std::wstring, int> lists;  // listings per folder, by upper-case path
  // Files gone from their place, deleted or kept; and those of them that were kept.
  std::vector<std::wstring> removedFiles, removedFolders, keptFiles;

  bool ListFolder(const std::wstring& dir, std::vector<DirEntry>& entries) override {
    entries.clear();
    ++lists[Key(dir)];
    if (failList.count(Key(dir))) return false;
    auto it = nodes_.find(Key(Resolve(dir)));
    if (it == nodes_.end() || !(it->second.file->attributes & FileAttr::Directory)) return false;
    const Node* folder = &it->second;
    if (!folder->target.empty()) folder = &At(folder->target);
    if (Key(dir).size() > 2) {
      entries.push_back({L".", FileAttr::Directory, 0, 0, {}});
      entries.push_back({L"..", FileAttr::Directory, 0, 0, {}});
    }
    for (const auto& child : folder->children) {
      auto found = nodes_.find(child);
      if (found == nodes_.end()) continue;  // removed
      const Node& node = found->second;
      const File& file = node.hidden ? *At(node.target).file : *node.file;
      entries.push_back({node.name, file.attributes, file.size, file.lastWrite, file.id});
    }
    return true;
  }

  std::optional<OpenedEntry> Open(const std::wstring& path) override {
    const std::wstring resolved = Resolve(path);
    auto it = nodes_.find(Key(resolved));
    if (it == nodes_.end()) return std::nullopt;
    if (it->second.hidden) {
      const std::wstring target = Resolve(it->second.target);
      const File& file = *At(target).file;
      return OpenedEntry{file.id, file.attributes, Spelled(target)};
    }
    const File& file = *it->second.file;
    return OpenedEntry{file.id, file.attributes, Spelled(resolved)};
  }

  std::wstring LongPath(const std::wstring& path) override {
    const std::wstring plain = Unaliased(path);
    return nodes_.count(Key(plain)) ? plain : path;
  }

  bool RemoveFileIf(const std::wstring& path, const FileCheck& isExpected) override {
    return RequestRemoval(path, isExpected) && !Exists(path);
  }

  // Each file by its full path, as the checks above need.
  std::unique_ptr<FolderDeletion> OpenForDeletion(const std::wstring& dir) override {
    ++folderDeletions;
    return std::make_unique<ByPath>(*this, dir);
  }
  int folderDeletions = 0;

  bool RemoveFolder(const std::wstring& path, const FileId& expected) override {
    const std::wstring key = Key(Resolve(path));
    auto it = nodes_.find(key);
    if (it == nodes_.end() || failRemoveFolder.count(Key(path))) return false;
    const Node& node = it->second;
    if (!(node.file->attributes & FileAttr::Directory) || node.live != 0) return false;
    if (node.target.empty() && expected.Known() && node.file->id != expected) return false;
    Erase(key);  // a link goes alone: its target is another node
    removedFolders.push_back(path);
    return true;
  }

  std::wstring UserKey() override { return userKey; }

  std::unique_ptr<KeepFolder> OpenKeepFolder(const std::wstring& path, bool create) override {
    if (failKeepFolder.count(Key(std::wstring(path.substr(0, 2))))) return nullptr;
    if (!Exists(path)) {
      if (!create) return nullptr;
      if (!Exists(Parent(path))) AddFolder(Parent(path), FileAttr::Hidden | FileAttr::System);
      AddFolder(path);
    }
    const std::optional<OpenedEntry> opened = Open(path);
    if (!opened || opened->IsLink() || !(opened->attributes & FileAttr::Directory) ||
        Key(opened->finalPath) != Key(path))
      return nullptr;
    return std::make_unique<Keep>(*this, path);
  }

  std::optional<VolumeSpace> SpaceOf(const std::wstring& root) override {
    const auto it = spaces.find(Key(root));
    return it == spaces.end() ? VolumeSpace{true, 1ull << 40, 1ull << 40} : it->second;
  }

  std::wstring TempPath() override { return tempPath; }
  std::vector<std::wstring> ProtectedFolders() override { return protectedFolders; }

 private:
  class ByPath : public FolderDeletion {
   public:
    ByPath(MemoryFileSystem& fs, std::wstring dir) : fs_(fs), dir_(std::move(dir)) {}

   protected:
    bool RequestRemoval(const std::wstring& name, const FileCheck& isExpected) override {
      return fs_.RequestRemoval(dir_ + L"\\" + name, isExpected);
    }
    GoneAs RequestKeep(const std::wstring& name, const FileCheck& isExpected, KeepFolder* keep,
                       const std::wstring& keptName, const GoingNote& note) override {
      const auto* into = dynamic_cast<Keep*>(keep);
      return fs_.RequestKeep(dir_ + L"\\" + name, isExpected, into ? into->path + L"\\" + keptName : L"", note);
    }
    bool IsGone(const std::wstring& name) override { return !fs_.Exists(dir_ + L"\\" + name); }

   private:
    MemoryFileSystem& fs_;
    std::wstring dir_;
  };

  // What a name leads to; hard links share one.
  struct File {
    FileId id;
    uint32_t attributes = FileAttr::Directory;
    uint64_t size = 0;
    uint64_t lastWrite = 0;
  };
  struct Node {
    std::wstring name;
    std::shared_ptr<File> file;
    std::wstring target;  // for a link
    bool hidden = false;  // a file link that looks like its target
    // Keys in creation order; removed ones stay listed here (skipped) so that removing stays
    // cheap in folders of many thousand files.
    std::vector<std::wstring> children;
    std::set<std::wstring> known;
    size_t live = 0;
  };

  // A keep folder held open; its files are checked as deletions are.
  class Keep : public KeepFolder {
   public:
    Keep(MemoryFileSystem& fs, std::wstring at) : path(std::move(at)), fs_(fs) {}
    bool Walk(const std::function<void(DirEntry&&)>& each, const std::function<void()>& breathe) override {
      std::vector<DirEntry> top, inner;
      if (!ListPlain(path, top)) return false;
      for (const DirEntry& entry : top) each(DirEntry(entry));
      for (const DirEntry& folder : top) {
        if (!folder.IsDirectory() || folder.IsLink() || !ListPlain(path + L"\\" + folder.name, inner)) continue;
        for (DirEntry& entry : inner) {
          entry.name = folder.name + L"\\" + entry.name;
          each(std::move(entry));
        }
        if (breathe) breathe();
      }
      return true;
    }
    bool MakeFolder(const std::wstring& name) override {
      const std::wstring folder = path + L"\\" + name;
      if (!fs_.Exists(folder)) fs_.AddFolder(folder);
      const std::optional<OpenedEntry> opened = fs_.Open(folder);
      return opened && !opened->IsLink() && (opened->attributes & FileAttr::Directory);
    }
    bool RemoveFolder(const std::wstring& name) override {
      const std::wstring folder = path + L"\\" + name;
      const std::optional<OpenedEntry> opened = fs_.Open(folder);
      std::vector<DirEntry> inner;
      if (!opened || opened->IsLink() || !ListPlain(folder, inner) || !inner.empty()) return false;
      fs_.Erase(Key(folder));
      return true;
    }
    std::optional<std::string> Read(const std::wstring& name) override {
      if (!fs_.IsPlainAt(path + L"\\" + name)) return std::nullopt;
      return fs_.Content(path + L"\\" + name);
    }
    bool Append(const std::wstring& name, std::string_view bytes) override {
      const std::wstring file = path + L"\\" + name;
      if (fs_.failAppend.count(Key(file)) || (fs_.Exists(file) && !fs_.IsPlainAt(file))) return false;
      if (!fs_.Exists(file)) fs_.AddFile(file);
      std::string& content = fs_.contents_[Key(file)];
      content += bytes;
      fs_.SetSize(file, content.size());
      return true;
    }
    PutBack MoveBack(const std::wstring& name, const FileCheck& isExpected, const std::wstring& to) override {
      const std::wstring file = path + L"\\" + name;
      if (!fs_.Exists(file)) return PutBack::Missing;
      if (!fs_.IsPlainAt(file) || !isExpected(fs_.IdentityOf(file))) return PutBack::Refused;
      if (fs_.Exists(to)) return PutBack::PlaceTaken;
      const std::optional<OpenedEntry> parent = fs_.Open(Parent(to));
      if (parent && (parent->IsLink() || Key(parent->finalPath) != Key(Parent(to)))) return PutBack::Refused;
      fs_.Move(file, to);
      return PutBack::Done;
    }
    bool Remove(const std::wstring& name, const FileCheck& isExpected) override {
      const std::wstring file = path + L"\\" + name;
      if (!fs_.IsPlainAt(file) || !isExpected(fs_.IdentityOf(file))) return false;
      fs_.Erase(Key(file));
      fs_.contents_.erase(Key(file));
      return true;
    }
    const std::wstring path;

   private:
    bool ListPlain(const std::wstring& folder, std::vector<DirEntry>& entries) {
      if (!fs_.ListFolder(folder, entries)) return false;
      entries.erase(std::remove_if(entries.begin(), entries.end(),
                                   [](const DirEntry& e) { return e.name == L"." || e.name == L".."; }),
                    entries.end());
      return true;
    }
    MemoryFileSystem& fs_;
  };

  // A plain file reached by its own path: no link in its place or on the way.
  bool IsPlainAt(const std::wstring& path) {
    const std::optional<OpenedEntry> opened = Open(path);
    return opened && !(opened->attributes & (FileAttr::Directory | FileAttr::ReparsePoint)) &&
           Key(opened->finalPath) == Key(path);
  }
  FileIdentity IdentityOf(const std::wstring& path) const {
    const File& file = *At(path).file;
    return {file.id, file.size, file.lastWrite};
  }
  // The entry's file under another name, its id, size, time and attributes kept.
  void Move(const std::wstring& from, const std::wstring& to) {
    std::shared_ptr<File> file = At(from).file;
    Erase(Key(Resolve(from)));
    Make(to).file = std::move(file);
  }

  GoneAs RequestKeep(const std::wstring& path, const FileCheck& isExpected, const std::wstring& keptPath,
                     const GoingNote& note) {
    std::wstring target;  // where the file goes once it passed every check; empty: deleted
    const bool requested = RequestRemoval(
        path,
        [&](const FileIdentity& now) {
          if (!isExpected(now)) return false;
          const bool kept = !keptPath.empty() && !Exists(keptPath);
          if (!note({now, AttributesOf(path)}, kept)) return false;
          if (kept && beforeKeep) beforeKeep(path, keptPath);
          if (kept) target = keptPath;
          return true;
        },
        &target);
    return !requested ? GoneAs::NotGone : target.empty() ? GoneAs::Deleted : GoneAs::Kept;
  }

  bool RequestRemoval(const std::wstring& path, const FileCheck& isExpected, const std::wstring* keepAt = nullptr) {
    if (beforeRemoveFile) beforeRemoveFile(path);
    if (failRemoveFile.count(Key(path))) return false;
    const std::optional<OpenedEntry> opened = Open(path);
    constexpr uint32_t kRefused = FileAttr::Directory | FileAttr::ReparsePoint | FileAttr::NotOnThisDisk;
    if (!opened || (opened->attributes & kRefused)) return false;
    if (Key(opened->finalPath) != Key(path)) return false;
    const File& file = *At(path).file;
    if (!isExpected({file.id, file.size, file.lastWrite})) return false;
    if (keepRemovedFile.count(Key(path))) return true;
    if (keepAt && !keepAt->empty()) {
      Move(path, *keepAt);
      keptFiles.push_back(path);
    } else {
      Erase(Key(Resolve(path)));
    }
    removedFiles.push_back(path);
    return true;
  }

  static std::wstring Key(const std::wstring& path) { return UpperCase(path); }
  static std::wstring Parent(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

  // Short names replaced by the long ones, step by step.
  std::wstring Unaliased(const std::wstring& path) const {
    if (aliases_.empty()) return path;
    size_t slash = path.find(L'\\');
    std::wstring done = path.substr(0, slash);
    while (slash != std::wstring::npos) {
      const size_t next = path.find(L'\\', slash + 1);
      std::wstring step = path.substr(slash + 1, next == std::wstring::npos ? std::wstring::npos : next - slash - 1);
      auto alias = aliases_.find(Key(done + L"\\" + step));
      done += L"\\" + (alias == aliases_.end() ? step : alias->second);
      slash = next;
    }
    return done;
  }

  // Follows links on the way to the last component, not at it.
  std::wstring Resolve(const std::wstring& raw) const {
    const std::wstring path = Unaliased(raw);
    size_t slash = path.find(L'\\');
    std::wstring done = path.substr(0, slash);
    while (slash != std::wstring::npos) {
      auto it = nodes_.find(Key(done));
      if (it != nodes_.end() && !it->second.target.empty()) done = Resolve(it->second.target);
      const size_t next = path.find(L'\\', slash + 1);
      done += path.substr(slash, next == std::wstring::npos ? std::wstring::npos : next - slash);
      slash = next;
    }
    return done;
  }

  // A resolved path with every name as the tree keeps it.
  std::wstring Spelled(const std::wstring& resolved) const {
    size_t slash = resolved.find(L'\\');
    std::wstring done = resolved.substr(0, slash);
    while (slash != std::wstring::npos) {
      const size_t next = resolved.find(L'\\', slash + 1);
      const std::wstring raw = resolved.substr(0, next);
      auto it = nodes_.find(Key(raw));
      done += L"\\" + (it == nodes_.end() ? raw.substr(slash + 1) : it->second.name);
      slash = next;
    }
    return done;
  }

  const Node& At(const std::wstring& path) const {
    auto it = nodes_.find(Key(Resolve(path)));
    if (it == nodes_.end()) throw std::out_of_range("no such entry");
    return it->second;
  }

  Node& Make(const std::wstring& path) {
    const std::wstring key = Key(path);
    auto it = nodes_.find(key);
    if (it != nodes_.end()) return it->second;
    const size_t slash = path.rfind(L'\\');
    if (slash != std::wstring::npos) {
      Node& parent = Make(path.substr(0, slash));
      if (parent.known.insert(key).second) parent.children.push_back(key);
      ++parent.live;
    }
    Node& node = nodes_[key];
    node.name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    node.file = std::make_shared<File>();
    node.file->id = {7, ++lastId_};
    node.file->lastWrite = 1000 + lastId_;
    return node;
  }

  void Erase(const std::wstring& key) {
    auto it = nodes_.find(key);
    if (it == nodes_.end()) return;
    for (const auto& child : std::vector<std::wstring>(it->second.children)) Erase(child);
    nodes_.erase(key);
    auto parent = nodes_.find(Parent(key));
    if (parent != nodes_.end()) --parent->second.live;
  }

  std::map<std::wstring, Node> nodes_;
  std::map<std::wstring, std::wstring> aliases_;  // by the alias's upper-case full path
  uint64_t lastId_ = 0;
  std::map<std::wstring, std::string> contents_;  // by upper-case path
};

}  // namespace krelmix::test
