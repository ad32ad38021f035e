#pragma once
// A child window that is one of the program's controls: it knows its name and receives the
// notifications its form reflects back to it (WM_COMMAND, WM_DRAWITEM, ...).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace krelmix {

class GraphicControl;

// Sent by a control to its form on Tab, as no dialog manager runs the forms' loops: wParam the
// control, lParam non-zero for Shift+Tab. The form moves the focus on.
constexpr UINT kFocusNextMessage = WM_APP + 0x3F0;

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
  // The tooltip text. A control shows it only when asked to before its form has made its
  // controls; the text itself may change at any time and is read when the tooltip shows.
  const std::wstring& Hint() const { return hint_; }
  void SetHint(std::wstring hint) { hint_ = std::move(hint); }
  bool ShowsHint() const { return showHint_; }
  void SetShowHint(bool show) { showHint_ = show; }
  // The mouse moved over the control, at this client point; the control's own handling follows.
  std::function<void(POINT)> onMouseMove;
  // Graphic controls painted on this control (a panel's labels).
  virtual std::vector<const GraphicControl*> GraphicChildren() const { return {}; }

  // A reflected notification; returns true when it was handled, with the result in result.
  virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 protected:
  // Makes the control's child window of a system class and subclasses it for its own messages.
  HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, RECT bounds, UINT id);
  virtual bool OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  std::wstring name_;
  HWND hwnd_ = nullptr;
  std::wstring hint_;
  bool showHint_ = false;
};

}  // namespace krelmix
