#include "toolkit/WindowAccessible.h"

#include "toolkit/WindowedControl.h"

namespace krelmix {

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
