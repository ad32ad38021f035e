#pragma once
#include "platform/Drives.h"

namespace krelmix {

class Win32Drives : public Drives {
 public:
  uint32_t LogicalDrives() override;
  DriveKind Kind(wchar_t letter) override;
  std::optional<std::wstring> VolumeLabel(wchar_t letter) override;
  std::optional<std::wstring> RemoteName(wchar_t letter) override;
};

}  // namespace krelmix
