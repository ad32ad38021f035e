#pragma once
// The drive queries the drive list needs; Win32 implementation in platform/win32.
#include <cstdint>
#include <optional>
#include <string>

namespace krelmix {

enum class DriveKind { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

class Drives {
 public:
  virtual ~Drives() = default;
  // Bit 0 is A:, bit 25 is Z:.
  virtual uint32_t LogicalDrives() = 0;
  virtual DriveKind Kind(wchar_t letter) = 0;
  // The volume label, or nothing when it cannot be read (no medium, unreadable). The
  // implementation must not let the system prompt for a missing medium.
  virtual std::optional<std::wstring> VolumeLabel(wchar_t letter) = 0;
  // The remote name of a network connection, or nothing when it is not one.
  virtual std::optional<std::wstring> RemoteName(wchar_t letter) = 0;
};

}  // namespace krelmix
