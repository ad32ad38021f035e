#include "toolkit/WindowedControl.h"

#include <commctrl.h>
#include <windowsx.h>

#include "toolkit/ErrorReport.h"
#include "toolkit/Window.h"

namespace krelmix {

WindowedControl::~WindowedControl() {
  if (hwnd_) {
    RemoveWindowSubclass(hwnd_, SubclassProc, 1);
    DestroyWindow(hwnd_);
  }
}

RECT WindowedControl::BoundsInParent() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring WindowedControl::Text() const {
  if (!hwnd_) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool WindowedControl::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
bool WindowedControl::OnOwnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void WindowedControl::Create(HWND parent, UINT id, const CreateArgs& args) {
  const WindowClass kind = Class();
  const DWORD style =
      kind.style | WS_CHILD | (args.visible ? WS_VISIBLE : 0) | (args.enabled ? 0 : static_cast<DWORD>(WS_DISABLED));
  const RECT r = args.bounds.Rect();
  scale_ = DesignScale();
  SetHint(args.hint);
  hwnd_ = CreateWindowExW(0, kind.className, kind.text ? kind.text : args.caption.c_str(), style, r.left, r.top,
                          r.right - r.left, r.bottom - r.top, parent,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ModuleInstance(), nullptr);
  if (!hwnd_) return;
  SetWindowSubclass(hwnd_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
  OnCreated(args);
}

void WindowedControl::ChangeScale(const ScaleChange& change) {
  if (!hwnd_) return;
  scale_ = change.to;
  const RECT bounds = change(BoundsInParent());
  SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)))
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(change.font(BorrowedFont(font)).Get()), FALSE);
  OnScaleChanged(change, bounds);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void WindowedControl::OnCreated(const CreateArgs& args) {
  if (args.font) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(args.font.Get()), FALSE);
}

LRESULT WindowedControl::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK WindowedControl::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR self) {
  auto* control = reinterpret_cast<WindowedControl*>(self);
  try {
    LRESULT result = 0;
    if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(hwnd, SubclassProc, 1);
      control->hwnd_ = nullptr;
      return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    if (message == WM_MOUSEMOVE && control->onMouseMove)
      control->onMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if ((control->accessible_ || message == WM_GETOBJECT) && control->AccessibleRole()) {
      if (!control->accessible_) control->accessible_ = std::make_unique<WindowAccessible>(*control);
      if (control->accessible_->HandleMessage(message, wParam, lParam, result)) return result;
    }
    if (control->OnOwnMessage(message, wParam, lParam, result)) return result;
  } catch (...) {
    ReportCurrentException(GetAncestor(hwnd, GA_ROOT));
    return 0;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

HWND WindowAccessible::Window() const { return control_.Handle(); }

AccessibleFacts WindowAccessible::Facts(long) const {
  AccessibleFacts facts;
  const HWND window = control_.Handle();
  const std::wstring caption = control_.Text();
  facts.name = caption.empty() ? control_.Hint() : caption;
  facts.role = control_.AccessibleRole();
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  facts.state =
      BasicState((style & WS_VISIBLE) != 0, control_.Enabled(), (style & WS_TABSTOP) != 0, GetFocus() == window);
  const bool ticks = facts.role == ROLE_SYSTEM_CHECKBUTTON || facts.role == ROLE_SYSTEM_RADIOBUTTON;
  const bool checked = ticks && SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (checked) facts.state |= STATE_SYSTEM_CHECKED;
  facts.defaultAction = !ticks ? kActionPress : checked ? kActionUncheck : kActionCheck;
  RECT client{};
  GetClientRect(window, &client);
  facts.screen = ClientToScreenRect(window, client);
  return facts;
}

void WindowAccessible::DoDefaultAction(long) { SendMessageW(control_.Handle(), BM_CLICK, 0, 0); }

long WindowAccessible::FocusedChild() const { return GetFocus() == control_.Handle() ? CHILDID_SELF : -1; }

}  // namespace krelmix
