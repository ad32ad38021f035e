#pragma once
// A drive with very little room, for tests of what a full disk does: a small tmpfs mounted from
// inside Wine through the Unix shell and mapped as a drive letter of the test prefix, the way
// scripts/wine-env.sh maps T:. Mounting needs root (the test sandbox is); where the mount is
// refused, Reason() says so and the test skips with it.
#include <windows.h>

#include <string>

#include "UnixLink.h"

namespace krelmix::test {

class SmallDrive {
 public:
  SmallDrive(wchar_t letter, unsigned kilobytes, unsigned files) : root_(std::wstring(1, letter) + L":") {
    // The shell's marker files go to the system's temporary folder, which outlives the test.
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    marker_ =
        std::wstring(temp) + L"krelmix-drive-" + root_.substr(0, 1) + L"-" + std::to_wstring(GetCurrentProcessId());
    char prefix[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH)) {
      reason_ = "WINEPREFIX is not set: not running under scripts/wine-env.sh";
      return;
    }
    const std::string drive = std::string(1, static_cast<char>(letter | 0x20)) + ":";
    mount_ =
        std::string(prefix) + "/../scratch-small-" + drive.substr(0, 1) + "-" + std::to_string(GetCurrentProcessId());
    link_ = std::string(prefix) + "/dosdevices/" + drive;
    RunShell("mkdir -p '" + mount_ + "' && mount -t tmpfs -o size=" + std::to_string(kilobytes) + "k,nr_inodes=" +
                 std::to_string(files) + " tmpfs '" + mount_ + "' && ln -sfn '" + mount_ + "' '" + link_ + "'",
             marker_);
    ULARGE_INTEGER total{};
    if (!GetDiskFreeSpaceExW((root_ + L"\\").c_str(), nullptr, &total, nullptr) ||
        total.QuadPart > 4ull * kilobytes * 1024)
      reason_ = "cannot mount a " + std::to_string(kilobytes) +
                " KB tmpfs as a drive (mount -t tmpfs needs root); the full-disk case is not tested";
  }
  ~SmallDrive() {
    if (!mount_.empty()) RunShell("rm -f '" + link_ + "'; umount -l '" + mount_ + "'; rmdir '" + mount_ + "'", marker_);
  }
  SmallDrive(const SmallDrive&) = delete;
  SmallDrive& operator=(const SmallDrive&) = delete;

  bool Ready() const { return reason_.empty(); }
  const std::string& Reason() const { return reason_; }
  const std::wstring& Root() const { return root_; }  // "Q:"

  // Takes the room that is left: a file is written to until the drive refuses more.
  void FillSpace() {
    HANDLE file = CreateFileW((root_ + L"\\filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    static const char block[4096] = {};
    DWORD written = 0;
    while (WriteFile(file, block, sizeof block, &written, nullptr) && written == sizeof block) {
    }
    CloseHandle(file);
  }
  // Takes the file entries that are left: no new file can be made, not even an empty one.
  void FillEntries() {
    for (int n = 0;; ++n) {
      HANDLE file = CreateFileW((root_ + L"\\entry" + std::to_wstring(n)).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_NEW, 0, nullptr);
      if (file == INVALID_HANDLE_VALUE) return;
      CloseHandle(file);
    }
  }

 private:
  std::wstring root_, marker_;
  std::string mount_, link_, reason_;
};

}  // namespace krelmix::test
