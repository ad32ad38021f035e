#pragma once
// Microsoft Active Accessibility: the object a window hands a screen reader for WM_GETOBJECT
// (OBJID_CLIENT). Its elements come from a source: element 0 is the window's client area itself,
// 1 to ChildCount() its children. A child that is a window of its own is handed out as that
// window's object (the system's standard proxy, or the control's own), so a screen reader walks
// painted and windowed controls alike.
#include <windows.h>
#include <oleacc.h>

#include <string>

namespace krelmix {

class AccessibleObject;

// One element as a screen reader reads it.
struct AccessibleFacts {
  std::wstring name;
  long role = ROLE_SYSTEM_CLIENT;
  long state = 0;              // STATE_SYSTEM_ flags
  std::wstring defaultAction;  // empty: it has none
  std::wstring shortcut;       // the key that does the default action, as the hint names it
  RECT screen{};               // its place on the screen
};

// The names of the default actions, as Russian Windows gives them.
extern const wchar_t kActionPress[];    // "Нажать"
extern const wchar_t kActionJump[];     // "Перейти"
extern const wchar_t kActionCheck[];    // "Отметить"
extern const wchar_t kActionUncheck[];  // "Снять отметку"

class AccessibleSource {
 public:
  AccessibleSource() = default;
  AccessibleSource(const AccessibleSource&) = delete;
  AccessibleSource& operator=(const AccessibleSource&) = delete;
  // Cuts the object off: a screen reader that still holds it is told the window is gone.
  virtual ~AccessibleSource();

  virtual HWND Window() const = 0;
  virtual long ChildCount() const = 0;
  virtual AccessibleFacts Facts(long child) const = 0;
  // The window of a child that is one, else null.
  virtual HWND ChildWindow(long) const { return nullptr; }
  virtual void DoDefaultAction(long child) = 0;
  virtual long FocusedChild() const = 0;  // -1 none, 0 the element itself
  // The child at a point of the screen, 0 for the element itself, -1 outside; by default the last
  // visible child whose place holds the point (later children lie on top).
  virtual long ChildAt(POINT screen) const;

  // Answers WM_GETOBJECT for the client area and runs the default actions asked for; false
  // leaves the message to the window.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  AccessibleObject* object_ = nullptr;  // made at the first request, one reference held
};

// A rectangle of a window's client area on the screen.
RECT ClientToScreenRect(HWND window, RECT client);
// The element's state from what every control has.
long BasicState(bool visible, bool enabled, bool focusable, bool focused);

}  // namespace krelmix
