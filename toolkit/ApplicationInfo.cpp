#include "toolkit/ApplicationInfo.h"

#include <windows.h>

namespace krelmix {

const wchar_t kApplicationTitle[] = L"Krelmix";
const wchar_t kApplicationClass[] = L"TApplication";

std::wstring ExecutablePath() {
  std::wstring path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return path;
}

std::wstring ExecutableFolder() {
  const std::wstring path = ExecutablePath();
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

}  // namespace krelmix
