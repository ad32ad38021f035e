#include "toolkit/Window.h"

#include "toolkit/ErrorReport.h"

namespace krelmix {

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

Window::~Window() { Destroy(); }

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
}

void Window::RegisterClassOnce(const wchar_t* className, UINT style, HCURSOR cursor, HBRUSH background, HICON icon) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(ModuleInstance(), className, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = Procedure;
  wc.hInstance = ModuleInstance();
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = className;
  RegisterClassExW(&wc);
}

HWND Window::CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, RECT bounds,
                          HWND parent, UINT_PTR id) {
  return CreateWindowExW(exStyle, className, title, style, bounds.left, bounds.top, bounds.right - bounds.left,
                         bounds.bottom - bounds.top, parent, reinterpret_cast<HMENU>(id), ModuleInstance(), this);
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    try {
      self->OnDestroyed();
    } catch (...) {
      ReportCurrentException(nullptr);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  try {
    return self->OnMessage(message, wParam, lParam);
  } catch (...) {
    ReportCurrentException(hwnd);
  }
  return 0;
}

}  // namespace krelmix
