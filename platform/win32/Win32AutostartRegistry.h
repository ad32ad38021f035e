#pragma once
#include "platform/AutostartRegistry.h"

namespace krelmix {

// Each call opens the Run key for full access (never creating it), makes its one change,
// flushes and closes the key again.
class Win32AutostartRegistry : public AutostartRegistry {
 public:
  bool SetValue(const std::wstring& name, const std::wstring& data) override;
  void RemoveValue(const std::wstring& name) override;
};

}  // namespace krelmix
