#include "app/ErrorReport.h"

#include <windows.h>

#include <cstring>
#include <exception>

#include "settings/SettingsFile.h"

namespace krelmix {

namespace {
std::wstring FromUtf8(const char* text) {
  const int length = static_cast<int>(std::strlen(text));
  if (length == 0) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text, length, nullptr, 0);
  if (n <= 0) return std::wstring(text, text + length);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, length, wide.data(), n);
  return wide;
}
}  // namespace

void ShowErrorReport(const std::wstring& text) {
  MessageBoxW(GetActiveWindow(), text.c_str(), L"Krelmix", MB_OK | MB_ICONERROR);
}

std::wstring CurrentExceptionText() {
  try {
    throw;
  } catch (const SettingsWriteError& e) {
    return e.Message();  // carries the path in full, wide
  } catch (const std::exception& e) {
    return FromUtf8(e.what());
  } catch (...) {
    return L"Unknown error";
  }
}

}  // namespace krelmix
