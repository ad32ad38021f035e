#pragma once
// Owner of one HWND. The object is found through GWLP_USERDATA, set at WM_NCCREATE and cleared at
// WM_NCDESTROY; messages go to OnMessage, and every exception stops at the window procedure.
#include <windows.h>

namespace krelmix {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return hwnd_; }
  bool Exists() const { return hwnd_ != nullptr; }
  void Destroy();

 protected:
  // Registers a class whose procedure routes to Window objects; safe to call repeatedly.
  static void RegisterClassOnce(const wchar_t* className, UINT style, HCURSOR cursor, HBRUSH background,
                                HICON icon = nullptr);
  HWND CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, RECT bounds,
                    HWND parent, UINT_PTR id = 0);

  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The window is gone: the handle is already cleared.
  virtual void OnDestroyed() {}
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

HINSTANCE ModuleInstance();

// Shift, Ctrl or Alt is down: Enter and Esc then belong to a shortcut, not to a window's buttons.
inline bool ModifierKeyHeld() {
  return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
}

}  // namespace krelmix
