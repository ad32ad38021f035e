#pragma once
// In-memory settings storage with a switch to refuse writes.
#include <map>

#include "platform/SettingsStorage.h"

namespace krelmix::test {

class FakeStorage : public SettingsStorage {
 public:
  std::map<std::wstring, std::string> files;
  bool refuseWrites = false;
  int writes = 0;

  bool Exists(const std::wstring& path) override { return files.count(path) != 0; }
  std::optional<std::string> Read(const std::wstring& path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool Write(const std::wstring& path, const std::string& bytes) override {
    if (refuseWrites) return false;
    ++writes;
    files[path] = bytes;
    return true;
  }
};

}  // namespace krelmix::test
