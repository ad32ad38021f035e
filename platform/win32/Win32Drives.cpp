#include "platform/win32/Win32Drives.h"

#include <windows.h>
#include <winnetwk.h>

namespace krelmix {

namespace {
std::wstring Root(wchar_t letter) { return std::wstring(1, letter) + L":\\"; }

// Keeps a drive without a medium from popping up the system's "insert a disk" prompt, and
// restores the caller's mode however the query ends.
class SilentCriticalErrors {
 public:
  SilentCriticalErrors() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~SilentCriticalErrors() { SetErrorMode(previous_); }
  SilentCriticalErrors(const SilentCriticalErrors&) = delete;
  SilentCriticalErrors& operator=(const SilentCriticalErrors&) = delete;

 private:
  UINT previous_;
};
}  // namespace

uint32_t Win32Drives::LogicalDrives() { return GetLogicalDrives(); }

DriveKind Win32Drives::Kind(wchar_t letter) {
  switch (GetDriveTypeW(Root(letter).c_str())) {
    case DRIVE_NO_ROOT_DIR:
      return DriveKind::NoRootDir;
    case DRIVE_REMOVABLE:
      return DriveKind::Removable;
    case DRIVE_FIXED:
      return DriveKind::Fixed;
    case DRIVE_REMOTE:
      return DriveKind::Remote;
    case DRIVE_CDROM:
      return DriveKind::CdRom;
    case DRIVE_RAMDISK:
      return DriveKind::RamDisk;
    default:
      return DriveKind::Unknown;
  }
}

std::optional<std::wstring> Win32Drives::VolumeLabel(wchar_t letter) {
  SilentCriticalErrors silent;
  wchar_t label[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(Root(letter).c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
    return std::nullopt;
  return std::wstring(label);
}

std::optional<std::wstring> Win32Drives::RemoteName(wchar_t letter) {
  const std::wstring local = std::wstring(1, letter) + L":";
  wchar_t remote[1024] = {};
  DWORD size = 1024;
  if (WNetGetConnectionW(local.c_str(), remote, &size) != NO_ERROR) return std::nullopt;
  return std::wstring(remote);
}

}  // namespace krelmix
