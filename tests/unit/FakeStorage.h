#pragma once
// In-memory settings storage whose file another program can hold for a number of reads or
// writes, and which can refuse writes. It never waits: pauses are only added up.
#include <map>

#include "platform/SettingsStorage.h"

namespace krelmix::test {

class FakeStorage : public SettingsStorage {
 public:
  static constexpr int kAlways = -1;
  std::map<std::wstring, std::string> files;
  bool refuseWrites = false;
  int heldReads = 0;   // the next reads of an existing file find it held (kAlways: every one)
  int busyWrites = 0;  // the next writes find the file held (kAlways: every one)
  int reads = 0, writes = 0;
  unsigned paused = 0;  // milliseconds the callers waited in all

  StoredFile Read(const std::wstring& path) override {
    ++reads;
    auto it = files.find(path);
    if (it == files.end()) return {StoredFile::State::Missing, {}};
    if (Take(heldReads)) return {StoredFile::State::Unreadable, {}};
    return {StoredFile::State::Read, it->second};
  }
  WriteOutcome Write(const std::wstring& path, const std::string& bytes) override {
    if (refuseWrites) return WriteOutcome::Refused;
    if (Take(busyWrites)) return WriteOutcome::Busy;
    ++writes;
    files[path] = bytes;
    return WriteOutcome::Written;
  }
  void Pause(unsigned milliseconds) override { paused += milliseconds; }

 private:
  static bool Take(int& count) {
    if (count == 0) return false;
    if (count > 0) --count;
    return true;
  }
};

}  // namespace krelmix::test
