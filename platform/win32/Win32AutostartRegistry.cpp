#include "platform/win32/Win32AutostartRegistry.h"

#include <windows.h>

namespace krelmix {

namespace {
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The Run key opened for full access, flushed and closed when it goes.
class RunKey {
 public:
  RunKey() {
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_ALL_ACCESS, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~RunKey() {
    if (!key_) return;
    RegFlushKey(key_);
    RegCloseKey(key_);
  }
  RunKey(const RunKey&) = delete;
  RunKey& operator=(const RunKey&) = delete;
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};
}  // namespace

bool Win32AutostartRegistry::SetValue(const std::wstring& name, const std::wstring& data) {
  RunKey key;
  if (!key.Get()) return false;
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), bytes) ==
         ERROR_SUCCESS;
}

void Win32AutostartRegistry::RemoveValue(const std::wstring& name) {
  RunKey key;
  if (key.Get()) RegDeleteValueW(key.Get(), name.c_str());
}

}  // namespace krelmix
