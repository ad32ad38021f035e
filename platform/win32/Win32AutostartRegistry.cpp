#include "platform/win32/Win32AutostartRegistry.h"

#include <windows.h>

namespace krelmix {

namespace {
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A Run key held open for one change; a key that was written to is flushed before it is closed.
class RunKey {
 public:
  RunKey(HKEY root, REGSAM access, bool create) : write_((access & KEY_SET_VALUE) != 0) {
    const LSTATUS status = create ? RegCreateKeyExW(root, kRunKey, 0, nullptr, 0, access, nullptr, &key_, nullptr)
                                  : RegOpenKeyExW(root, kRunKey, 0, access, &key_);
    if (status != ERROR_SUCCESS) key_ = nullptr;
  }
  ~RunKey() {
    if (!key_) return;
    if (write_) RegFlushKey(key_);
    RegCloseKey(key_);
  }
  RunKey(const RunKey&) = delete;
  RunKey& operator=(const RunKey&) = delete;
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
  bool write_;
};

bool HasValue(HKEY root, REGSAM view, const std::wstring& name) {
  RunKey key(root, KEY_QUERY_VALUE | view, false);
  return key.Get() && RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
}  // namespace

bool Win32AutostartRegistry::SetValue(const std::wstring& name, const std::wstring& data) {
  RunKey key(HKEY_CURRENT_USER, KEY_SET_VALUE, true);
  if (!key.Get()) return false;
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), bytes) ==
         ERROR_SUCCESS;
}

void Win32AutostartRegistry::RemoveValue(const std::wstring& name) {
  RunKey key(HKEY_CURRENT_USER, KEY_SET_VALUE, false);
  if (key.Get()) RegDeleteValueW(key.Get(), name.c_str());
}

// Only a value that is there is removed, so a user without the right to write the machine's key
// hears about it only when something stays. (On 32-bit Windows both views are the one key.)
bool Win32AutostartRegistry::RemoveMachineValue(const std::wstring& name) {
  bool gone = true;
  for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    if (!HasValue(HKEY_LOCAL_MACHINE, view, name)) continue;
    RunKey key(HKEY_LOCAL_MACHINE, KEY_SET_VALUE | view, false);
    if (!key.Get() || RegDeleteValueW(key.Get(), name.c_str()) != ERROR_SUCCESS) gone = false;
  }
  return gone;
}

}  // namespace krelmix
