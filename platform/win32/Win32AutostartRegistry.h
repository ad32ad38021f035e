#pragma once
#include "platform/AutostartRegistry.h"

namespace krelmix {

// Each call opens the Run key with the rights its one change needs, makes the change, flushes
// and closes the key again. The user's key is made when it is missing (a new profile may have
// none); the machine's key is looked at in both its 64-bit and its 32-bit view, since a 32-bit
// program's writes there land in the 32-bit view (Wow6432Node) and Windows runs both. The user's
// key is one for 32-bit and 64-bit programs alike.
class Win32AutostartRegistry : public AutostartRegistry {
 public:
  bool SetValue(const std::wstring& name, const std::wstring& data) override;
  void RemoveValue(const std::wstring& name) override;
  bool RemoveMachineValue(const std::wstring& name) override;
};

}  // namespace krelmix
