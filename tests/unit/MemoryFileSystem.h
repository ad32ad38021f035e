#pragma once
// A file system held in memory, case-insensitive like Windows, with folder links and injectable
// failures. Folders list their entries in creation order, "." and ".." first below a root.
#include <functional>
#include <map>
#include <set>
#include <stdexcept>

#include "common/TextCase.h"
#include "platform/FileSystem.h"

namespace krelmix::test {

class MemoryFileSystem : public FileSystem {
 public:
  // --- Building the tree (parents are made as needed).
  void AddFolder(const std::wstring& path, uint32_t attributes = FileAttr::Directory) {
    Node& node = Make(path);
    node.attributes = attributes | FileAttr::Directory;
  }
  void AddFile(const std::wstring& path, uint64_t size = 0, uint32_t attributes = FileAttr::Archive) {
    Node& node = Make(path);
    node.attributes = attributes & ~FileAttr::Directory;
    node.size = size;
  }
  // A folder link: listing through it shows the target's entries, as a real link would.
  void AddLink(const std::wstring& path, const std::wstring& target) {
    Node& node = Make(path);
    node.attributes = FileAttr::Directory | FileAttr::ReparsePoint;
    node.target = target;
  }
  // Replaces whatever stands at the path (and below it) by a folder link.
  // Replacements keep the entry's place in its folder's listing.
  void ReplaceWithLink(const std::wstring& path, const std::wstring& target) {
    Erase(Key(path));
    AddLink(path, target);
  }
  void ReplaceWithFolder(const std::wstring& path) {
    Erase(Key(path));
    AddFolder(path);
  }

  // --- Looking at it.
  bool Exists(const std::wstring& path) const { return nodes_.count(Key(Resolve(path))) != 0; }
  uint32_t AttributesOf(const std::wstring& path) const { return At(path).attributes; }
  size_t FileCount() const {
    size_t n = 0;
    for (const auto& [key, node] : nodes_) n += (node.attributes & FileAttr::Directory) == 0;
    return n;
  }

  // --- Failures, by path as given to the call (case-insensitive).
  std::set<std::wstring> failRemoveFile, failRemoveFolder, failList, failSetAttributes;
  std::wstring tempPath = L"T:\\Temp\\";
  std::vector<std::wstring> protectedFolders = {L"C:\\Windows", L"C:\\Users", L"C:\\Users\\Me"};
  // Called before every file removal, with the path; may change the tree.
  std::function<void(const std::wstring&)> beforeRemoveFile;

  // --- Calls made.
  std::map<std::wstring, int> lists;  // listings per folder, by upper-case path
  std::vector<std::wstring> removedFiles, removedFolders;

  bool ListFolder(const std::wstring& dir, std::vector<DirEntry>& entries) override {
    entries.clear();
    ++lists[Key(dir)];
    if (failList.count(Key(dir))) return false;
    auto it = nodes_.find(Key(Resolve(dir)));
    if (it == nodes_.end() || !(it->second.attributes & FileAttr::Directory)) return false;
    const Node* folder = &it->second;
    if (!folder->target.empty()) folder = &At(folder->target);
    if (Key(dir).size() > 2) {
      entries.push_back({L".", FileAttr::Directory, 0});
      entries.push_back({L"..", FileAttr::Directory, 0});
    }
    for (const auto& child : folder->children) {
      auto found = nodes_.find(child);
      if (found == nodes_.end()) continue;  // removed
      entries.push_back({found->second.name, found->second.attributes, found->second.size});
    }
    return true;
  }

  std::optional<DirEntry> Stat(const std::wstring& path) override {
    auto it = nodes_.find(Key(Resolve(path)));
    if (it == nodes_.end()) return std::nullopt;
    return DirEntry{it->second.name, it->second.attributes, it->second.size};
  }

  bool SetAttributes(const std::wstring& path, uint32_t attributes) override {
    auto it = nodes_.find(Key(Resolve(path)));
    if (it == nodes_.end() || failSetAttributes.count(Key(path))) return false;
    it->second.attributes = (it->second.attributes & (FileAttr::Directory | FileAttr::ReparsePoint)) |
                            (attributes & ~(FileAttr::Directory | FileAttr::ReparsePoint));
    return true;
  }

  bool RemoveFile(const std::wstring& path) override {
    if (beforeRemoveFile) beforeRemoveFile(path);
    const std::wstring key = Key(Resolve(path));
    auto it = nodes_.find(key);
    if (it == nodes_.end() || failRemoveFile.count(Key(path))) return false;
    if (it->second.attributes & (FileAttr::Directory | FileAttr::ReadOnly)) return false;
    Erase(key);
    removedFiles.push_back(path);
    return true;
  }

  bool RemoveFolder(const std::wstring& path) override {
    const std::wstring key = Key(Resolve(path));
    auto it = nodes_.find(key);
    if (it == nodes_.end() || failRemoveFolder.count(Key(path))) return false;
    const Node& node = it->second;
    if (!(node.attributes & FileAttr::Directory) || node.live != 0) return false;
    Erase(key);  // a link goes alone: its target is another node
    removedFolders.push_back(path);
    return true;
  }

  std::wstring TempPath() override { return tempPath; }
  std::vector<std::wstring> ProtectedFolders() override { return protectedFolders; }

 private:
  struct Node {
    std::wstring name;
    uint32_t attributes = FileAttr::Directory;
    uint64_t size = 0;
    std::wstring target;              // for a folder link
    // Keys in creation order; removed ones stay listed here (skipped) so that removing stays
    // cheap in folders of many thousand files.
    std::vector<std::wstring> children;
    std::set<std::wstring> known;
    size_t live = 0;
  };

  static std::wstring Key(const std::wstring& path) { return UpperCase(path); }
  static std::wstring Parent(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

  // Follows links on the way to the last component, not at it.
  std::wstring Resolve(const std::wstring& path) const {
    size_t slash = path.find(L'\\');
    std::wstring done = path.substr(0, slash);
    while (slash != std::wstring::npos) {
      auto it = nodes_.find(Key(done));
      if (it != nodes_.end() && !it->second.target.empty()) done = it->second.target;
      const size_t next = path.find(L'\\', slash + 1);
      done += path.substr(slash, next == std::wstring::npos ? std::wstring::npos : next - slash);
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
};

}  // namespace krelmix::test
