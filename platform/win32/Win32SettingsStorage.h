#pragma once
#include "platform/SettingsStorage.h"

namespace krelmix {

class Win32SettingsStorage : public SettingsStorage {
 public:
  bool Exists(const std::wstring& path) override;
  std::optional<std::string> Read(const std::wstring& path) override;
  bool Write(const std::wstring& path, const std::string& bytes) override;
};

}  // namespace krelmix
