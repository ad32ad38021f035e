#pragma once
// A child window that is one of the program's controls: it knows its name and receives the
// notifications its form reflects back to it (WM_COMMAND, WM_DRAWITEM, ...).
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Accessible.h"
#include "toolkit/Control.h"
#include "toolkit/DisplayScale.h"

namespace krelmix {

class WindowedControl;

// What a screen reader finds in a windowed control of a standard kind (push button, check box,
// option button): its caption, role, state and click, the same on Windows and under Wine, whose
// standard proxies read every button as a plain client area without its tick.
class WindowAccessible : public AccessibleSource {
 public:
  explicit WindowAccessible(WindowedControl& control) : control_(control) {}

  HWND Window() const override;
  long ChildCount() const override { return 0; }
  AccessibleFacts Facts(long child) const override;
  void DoDefaultAction(long child) override;  // a click, as the mouse makes it
  long FocusedChild() const override;

 private:
  WindowedControl& control_;
};

class GraphicControl;

class WindowedControl : public Control {
 public:
  using Control::Control;
  ~WindowedControl() override;

  // Makes the control's window in parent, with the child id its form's notifications carry.
  void Create(HWND parent, UINT id, const CreateArgs& args);
  HWND Handle() const { return hwnd_; }
  bool Enabled() const override { return hwnd_ && IsWindowEnabled(hwnd_); }
  void SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }
  bool Visible() const override { return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
  std::wstring Caption() const override { return Text(); }
  RECT BoundsInParent() const override;
  HFONT CaptionFont() const override { return reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)); }
  // The window text (a panel's caption, a button's caption, a text box's text).
  std::wstring Text() const;
  // A control shows its hint only when asked to before its form has made its controls.
  bool ShowsHint() const { return showHint_; }
  void SetShowHint(bool show) { showHint_ = show; }
  // The mouse moved over the control, at this client point; the control's own handling follows.
  std::function<void(POINT)> onMouseMove;
  // Its window moved to a monitor of another scale: its place, font and own drawing follow.
  void ChangeScale(const ScaleChange& change);
  // Graphic controls painted on this control (a panel's labels).
  virtual std::vector<const GraphicControl*> GraphicChildren() const { return {}; }

  // A key-down the control uses itself at the keys held now; its form's keys leave it alone (see
  // Form::PreTranslateMessage). The control's key handling and this answer come from one rule.
  virtual bool UsesKey(UINT) const { return false; }

  // A reflected notification; returns true when it was handled, with the result in result.
  virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 protected:
  // The system window class a kind is made of, and its style (WS_CHILD and, as the arguments
  // say, WS_VISIBLE and WS_DISABLED are added). A null text makes the caption the window text.
  struct WindowClass {
    const wchar_t* className;
    DWORD style;
    const wchar_t* text = nullptr;
  };
  virtual WindowClass Class() const = 0;
  // The window exists; by default it takes the font.
  virtual void OnCreated(const CreateArgs& args);
  virtual bool OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // After a change of scale the window has its new place (`bounds`, in its parent) and font.
  virtual void OnScaleChanged(const ScaleChange&, RECT /*bounds*/) {}
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);
  // The scale of the form the control was made on: its own drawing (rows, ticks) is sized by it.
  DisplayScale scale_;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  HWND hwnd_ = nullptr;
  bool showHint_ = false;
  std::unique_ptr<WindowAccessible> accessible_;  // made at a screen reader's first request
};

}  // namespace krelmix
