#pragma once
// The machine's autostart list: string values under HKEY_LOCAL_MACHINE,
// "Software\Microsoft\Windows\CurrentVersion\Run", started by Windows at every log-on.
#include <string>

namespace krelmix {

class AutostartRegistry {
 public:
  virtual ~AutostartRegistry() = default;
  // Writes the value as a string; false when the key cannot be opened for writing or the value
  // not set (a user without the right to write under HKEY_LOCAL_MACHINE).
  virtual bool SetValue(const std::wstring& name, const std::wstring& data) = 0;
  // Removes the value. An absent value, or one that cannot be removed, is not reported.
  virtual void RemoveValue(const std::wstring& name) = 0;
};

}  // namespace krelmix
