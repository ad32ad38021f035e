#pragma once
// A child window that is one of the program's controls: it knows its name and receives the
// notifications its form reflects back to it (kReflectBase + WM_COMMAND, WM_DRAWITEM, ...).
#include <windows.h>

#include <string>
#include <vector>

namespace krelmix {

class GraphicControl;

class WindowedControl {
 public:
  explicit WindowedControl(std::wstring name) : name_(std::move(name)) {}
  WindowedControl(const WindowedControl&) = delete;
  WindowedControl& operator=(const WindowedControl&) = delete;
  virtual ~WindowedControl();

  const std::wstring& Name() const { return name_; }
  virtual const wchar_t* Kind() const = 0;
  HWND Handle() const { return hwnd_; }
  bool Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
  void SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }
  RECT BoundsInParent() const;
  // The window text (a panel's caption, a button's caption).
  std::wstring Text() const;
  // Graphic controls painted on this control (a panel's labels).
  virtual std::vector<const GraphicControl*> GraphicChildren() const { return {}; }

  // A reflected notification; returns true when it was handled, with the result in result.
  virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 protected:
  // Takes over a child window made by a derived class and subclasses it for its own messages.
  void Adopt(HWND hwnd);
  virtual bool OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  std::wstring name_;
  HWND hwnd_ = nullptr;
};

}  // namespace krelmix
