#include "toolkit/FormAccessible.h"

#include <algorithm>

#include "toolkit/Form.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/WindowedControl.h"

namespace krelmix {

HWND FormAccessible::Window() const { return form_.Handle(); }

std::vector<FormAccessible::Child> FormAccessible::Children() const {
  std::vector<Child> children;
  for (GraphicControl* control : form_.graphics_.Controls()) children.push_back({control, nullptr, form_.Handle()});
  for (WindowedControl* control : form_.windowed_) {
    if (!control->Handle()) continue;
    children.push_back({nullptr, control->Handle(), nullptr});
    // A panel's labels are only read, never pressed.
    for (const GraphicControl* painted : control->GraphicChildren())
      children.push_back({const_cast<GraphicControl*>(painted), nullptr, control->Handle()});
  }
  return children;
}

AccessibleFacts FormAccessible::Facts(long child) const {
  AccessibleFacts facts;
  const HWND form = form_.Handle();
  if (child == CHILDID_SELF) {
    facts.name = form_.style_.title;
    facts.role = ROLE_SYSTEM_CLIENT;
    facts.state = BasicState(IsWindowVisible(form) != FALSE, IsWindowEnabled(form) != FALSE, true, GetFocus() == form);
    RECT client{};
    GetClientRect(form, &client);
    facts.screen = ClientToScreenRect(form, client);
    return facts;
  }
  const std::vector<Child> children = Children();
  const Child& c = children[static_cast<size_t>(child - 1)];
  if (!c.painted) {  // a window of its own answers for itself; its place serves the hit test
    GetWindowRect(c.window, &facts.screen);
    if (!IsWindowVisible(c.window)) facts.state = STATE_SYSTEM_INVISIBLE;
    return facts;
  }
  const GraphicControl& control = *c.painted;
  facts.name = control.Caption().empty() ? control.Hint() : control.Caption();
  facts.role = control.AccessibleRole();
  const bool inTabOrder =
      std::find(form_.tabOrder_.begin(), form_.tabOrder_.end(), TabStop(*c.painted)) != form_.tabOrder_.end();
  const bool focused = form_.paintedFocus_.Current() == c.painted && GetFocus() == form;
  facts.state = BasicState(control.Visible(), control.Enabled(), inTabOrder, focused);
  if (facts.role == ROLE_SYSTEM_LINK) facts.state |= STATE_SYSTEM_LINKED;
  if (c.host == form && control.HasDefaultAction())
    facts.defaultAction = facts.role == ROLE_SYSTEM_PUSHBUTTON ? kActionPress : kActionJump;
  facts.shortcut = form_.keys_.TextFor(control);
  facts.screen = ClientToScreenRect(c.host, control.Bounds());
  return facts;
}

HWND FormAccessible::ChildWindow(long child) const {
  const std::vector<Child> children = Children();
  return child >= 1 && static_cast<size_t>(child) <= children.size() ? children[static_cast<size_t>(child - 1)].window
                                                                     : nullptr;
}

void FormAccessible::DoDefaultAction(long child) {
  const std::vector<Child> children = Children();
  if (child < 1 || static_cast<size_t>(child) > children.size()) return;
  const Child& c = children[static_cast<size_t>(child - 1)];
  if (c.painted && c.host == form_.Handle() && c.painted->Visible() && c.painted->Enabled())
    c.painted->DoDefaultAction();
}

long FormAccessible::FocusedChild() const {
  const HWND focus = GetFocus();
  if (!focus) return -1;
  const std::vector<Child> children = Children();
  for (size_t i = 0; i < children.size(); ++i) {
    const Child& c = children[i];
    const bool isFocused = c.painted ? (focus == form_.Handle() && form_.paintedFocus_.Current() == c.painted)
                                     : (c.window == focus || IsChild(c.window, focus));
    if (isFocused) return static_cast<long>(i + 1);
  }
  return focus == form_.Handle() ? CHILDID_SELF : -1;
}

}  // namespace krelmix
