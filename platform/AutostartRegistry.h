#pragma once
// The autostart list: string values under "Software\Microsoft\Windows\CurrentVersion\Run",
// started by Windows at log-on. The program keeps its values under HKEY_CURRENT_USER, which the
// user can always write, also without administrator rights; the machine's key (HKEY_LOCAL_MACHINE)
// is only cleared of values an earlier version left there.
#include <string>

namespace krelmix {

class AutostartRegistry {
 public:
  virtual ~AutostartRegistry() = default;
  // Writes the value as a string under the user's Run key; false when it cannot be written.
  virtual bool SetValue(const std::wstring& name, const std::wstring& data) = 0;
  // Removes the user's value. An absent value, or one that cannot be removed, is not reported.
  virtual void RemoveValue(const std::wstring& name) = 0;
  // Removes a value of that name from the machine's Run key. True when none is left there
  // (removed, or none was there); false when one stays because the user may not remove it.
  virtual bool RemoveMachineValue(const std::wstring& name) = 0;
};

}  // namespace krelmix
