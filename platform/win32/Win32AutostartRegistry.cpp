#include "platform/win32/Win32AutostartRegistry.h"

#include <windows.h>

#include "platform/win32/Handles.h"

namespace krelmix {

namespace {
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The Run key under `root`, opened or made for one change; empty when it cannot be.
RegistryKey OpenRunKey(HKEY root, REGSAM access, bool create) {
  HKEY key = nullptr;
  const LSTATUS status = create ? RegCreateKeyExW(root, kRunKey, 0, nullptr, 0, access, nullptr, &key, nullptr)
                                : RegOpenKeyExW(root, kRunKey, 0, access, &key);
  return RegistryKey(status == ERROR_SUCCESS ? key : nullptr);
}

// A change to the Run key is flushed at once: the log-on entries must survive a power cut.
bool Flushed(const RegistryKey& key, LSTATUS status) {
  RegFlushKey(key.Get());
  return status == ERROR_SUCCESS;
}

bool HasValue(HKEY root, REGSAM view, const std::wstring& name) {
  const RegistryKey key = OpenRunKey(root, KEY_QUERY_VALUE | view, false);
  return key && RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
}  // namespace

bool Win32AutostartRegistry::SetValue(const std::wstring& name, const std::wstring& data) {
  const RegistryKey key = OpenRunKey(HKEY_CURRENT_USER, KEY_SET_VALUE, true);
  if (!key) return false;
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return Flushed(
      key, RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), bytes));
}

void Win32AutostartRegistry::RemoveValue(const std::wstring& name) {
  const RegistryKey key = OpenRunKey(HKEY_CURRENT_USER, KEY_SET_VALUE, false);
  if (key) Flushed(key, RegDeleteValueW(key.Get(), name.c_str()));
}

// Only a value that is there is removed, so a user without the right to write the machine's key
// hears about it only when something stays. (On 32-bit Windows both views are the one key.)
bool Win32AutostartRegistry::RemoveMachineValue(const std::wstring& name) {
  bool gone = true;
  for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    if (!HasValue(HKEY_LOCAL_MACHINE, view, name)) continue;
    const RegistryKey key = OpenRunKey(HKEY_LOCAL_MACHINE, KEY_SET_VALUE | view, false);
    if (!key || !Flushed(key, RegDeleteValueW(key.Get(), name.c_str()))) gone = false;
  }
  return gone;
}

}  // namespace krelmix
