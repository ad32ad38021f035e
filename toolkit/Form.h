#pragma once
// A top-level window of the program: carries graphic controls and windowed child controls, shows
// modally, and raises the events the windows are written against (activate, close, destroy).
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/Accessible.h"
#include "toolkit/ColorScheme.h"
#include "toolkit/DisplayScale.h"
#include "toolkit/FocusMark.h"
#include "toolkit/Gdi.h"
#include "toolkit/GraphicHost.h"
#include "toolkit/KeyCommands.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/Window.h"

namespace krelmix {

class Form;
class GraphicControl;

// What a screen reader finds in a form: the form's client area with, as its children, every
// painted control (name, role, state, place and default action from the control itself) and every
// windowed control (read through its own window's object), each followed by the painted controls
// lying on it (a panel's labels).
class FormAccessible : public AccessibleSource {
 public:
  explicit FormAccessible(Form& form) : form_(form) {}

  HWND Window() const override;
  long ChildCount() const override { return static_cast<long>(Children().size()); }
  AccessibleFacts Facts(long child) const override;
  HWND ChildWindow(long child) const override;
  void DoDefaultAction(long child) override;
  long FocusedChild() const override;

 private:
  struct Child {
    GraphicControl* painted;  // or
    HWND window;
    HWND host;  // the window that paints a painted control
  };
  std::vector<Child> Children() const;
  Form& form_;
};

class WindowedControl;

// Posted to itself after the first activation has settled: the form then raises onActivate.
constexpr UINT kFirstActivationMessage = WM_APP + 0x3F1;

// Sent to a form by a button that closes it: wParam the modal result to set.
constexpr UINT kSetModalResultMessage = WM_APP + 0x3F2;

enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct FormStyle {
  std::wstring className;
  std::wstring title;
  SIZE clientSize{0, 0};
  DWORD style = WS_POPUP;
  DWORD exStyle = 0;
  Shade color = RGB(0, 0, 0);
  HICON icon = nullptr;
};

class Form : public Window, private MessageFilter {
 public:
  explicit Form(FormStyle style) : style_(std::move(style)) {}
  ~Form() override;

  // Makes the window (hidden), centred on the screen, or on the owner when one is given and asked for.
  void CreateForm(HWND owner, bool centreOnOwner = false);
  void Show();
  void Hide();
  // Shows the form modally: the owner is disabled, a nested loop runs until a result is set or the
  // form closes; a quit request met on the way is passed on to the outer loop.
  int ShowModal();
  void Close();
  void SetModalResult(int result) { modalResult_ = result; }
  int CurrentModalResult() const { return modalResult_; }

  GraphicHost& Graphics() { return graphics_; }
  void AddGraphic(GraphicControl& control) { graphics_.Add(control); }
  void AddWindowed(WindowedControl& control);
  // Makes a control on the form and adds it: a design table's row, one call per control.
  void Add(GraphicControl& control, const CreateArgs& args);
  void Add(WindowedControl& control, UINT id, const CreateArgs& args);
  // The controls that take the keyboard focus, windowed and painted, in tab order.
  void SetTabOrder(std::vector<TabStop> order) { tabOrder_ = std::move(order); }
  void FocusNext(HWND from, bool backwards);
  // The painted control that has the focus, null when none has.
  GraphicControl* FocusedGraphic() const { return paintedFocus_.Current(); }
  // The form's command keys: they work while the form or one of its controls has the keyboard.
  KeyCommands& Keys() { return keys_; }
  // Call when the command buttons have changed state: they are painted at once, and the keys
  // typed before, at the states shown until now, are dropped (see KeyCommands).
  void CommandsChanged();

  // One line per control: name, kind, left, top, width, height, enabled, visible, caption, hint,
  // and the width and height the caption takes in the control's font, broken into lines at the
  // control's width (a word wider than the control makes it wider), tab-separated. Read by the program's own tests
  // through kDescribeMessageName.
  std::wstring DescribeControls() const;

  // The scale the form is laid out at: its monitor's when it was made or last moved to.
  DisplayScale Scale() const { return scale_; }
  // Lays the form out again at `dpi` and places it at `bounds` (WM_DPICHANGED: the window went to a
  // monitor of another scale); its controls' places and fonts follow, then onScaleChanged.
  void ChangeScale(int dpi, const RECT& bounds);
  std::function<void(DisplayScale)> onScaleChanged;

  std::function<void()> onActivate;    // the first time the form becomes active
  std::function<bool()> onCloseQuery;  // false keeps the form open
  std::function<void()> onClose;
  std::function<void(HDC)> onPaintBackground;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Takes the key-downs for the form and its controls that the form's keys use (Tab, a press of the
  // focused painted control, a command), before the control sees them; the control keeps the keys
  // it uses itself.
  bool PreTranslateMessage(MSG& msg) override;
  // Called with the handle made, before the form is shown: create child controls here.
  virtual void CreateControls() {}
  // Called once the controls have been laid out at a new scale (see ChangeScale).
  virtual void ScaleChanged() {}

 private:
  void PaintForm();
  void Activated(WPARAM wParam);
  LRESULT Reflect(HWND child, UINT message, WPARAM wParam, LPARAM lParam, bool& reflected);
  void AnswerDescribe(HWND requester) const;
  void RestoreFocus();

  friend class FormAccessible;
  FormStyle style_;
  GraphicHost graphics_;
  std::vector<WindowedControl*> windowed_;
  std::vector<TabStop> tabOrder_;
  PaintedFocus paintedFocus_;
  KeyCommands keys_;
  FormAccessible accessible_{*this};
  HWND lastFocus_ = nullptr;
  HWND owner_ = nullptr;
  DisplayScale scale_;
  std::map<std::pair<HFONT, int>, Font> scaledFonts_;  // the controls' fonts made at another DPI
  bool activatedOnce_ = false;
  bool modal_ = false;
  int modalResult_ = mrNone;
};

// The registered message a test sends with its own window in wParam; the form answers with
// WM_COPYDATA (dwData kDescribeData) holding DescribeControls() as UTF-16.
extern const wchar_t kDescribeMessageName[];
constexpr ULONG_PTR kDescribeData = 0x4B52;  // "KR"

}  // namespace krelmix
