#include "toolkit/ErrorReport.h"

#include <exception>

#include "platform/UserError.h"
#include "toolkit/ApplicationInfo.h"

namespace krelmix {

namespace {
std::function<void(HWND, const std::wstring&)>& Handler() {
  static std::function<void(HWND, const std::wstring&)> handler;
  return handler;
}

std::wstring FromUtf8(const char* text) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (n <= 1) return {};
  std::wstring wide(n - 1, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), n);
  return wide;
}
}  // namespace

std::wstring CurrentExceptionText() {
  try {
    throw;
  } catch (const UserError& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return FromUtf8(e.what());
  } catch (...) {
    return L"Unknown error";
  }
}

void ReportError(HWND owner, const std::wstring& text) {
  if (Handler()) {
    Handler()(owner, text);
    return;
  }
  MessageBoxW(owner, text.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
}

void ReportCurrentException(HWND owner) { ReportError(owner, CurrentExceptionText()); }

void SetErrorReportHandler(std::function<void(HWND, const std::wstring&)> handler) { Handler() = std::move(handler); }

}  // namespace krelmix
