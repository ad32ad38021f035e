#include "toolkit/ListAccessible.h"

#include <algorithm>
#include <climits>

#include "toolkit/CheckListBox.h"

namespace krelmix {

HWND ListAccessible::Window() const { return list_.Handle(); }

long ListAccessible::ChildCount() const { return static_cast<long>(std::min<size_t>(list_.Count(), LONG_MAX)); }

AccessibleFacts ListAccessible::Facts(long child) const {
  AccessibleFacts facts;
  const HWND list = list_.Handle();
  const bool visible = list && IsWindowVisible(list), focused = list && GetFocus() == list;
  RECT client{};
  GetClientRect(list, &client);
  if (child == CHILDID_SELF) {
    facts.name = list_.AccessibleName();
    facts.role = ROLE_SYSTEM_LIST;
    facts.state = BasicState(visible, list_.Enabled(), true, focused);
    facts.screen = ClientToScreenRect(list, client);
    return facts;
  }
  const size_t index = static_cast<size_t>(child - 1);
  const bool ticked = list_.Ticked(index);
  const bool current = list_.ItemIndex() == child - 1;
  facts.name = list_.Text(index);
  facts.role = ROLE_SYSTEM_LISTITEM;
  facts.state = BasicState(visible, list_.Enabled(), true, current && focused) | STATE_SYSTEM_SELECTABLE;
  if (current) facts.state |= STATE_SYSTEM_SELECTED;
  if (ticked) facts.state |= STATE_SYSTEM_CHECKED;
  facts.defaultAction = ticked ? kActionUncheck : kActionCheck;
  RECT item{};
  if (SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) == LB_ERR) item = RECT{};
  RECT shown{};
  if (!IntersectRect(&shown, &item, &client)) facts.state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
  facts.screen = ClientToScreenRect(list, item);
  return facts;
}

void ListAccessible::DoDefaultAction(long child) {
  if (child < 1) return;
  list_.SetItemIndex(child - 1);
  list_.ToggleTick(child - 1);
  if (list_.onClick) list_.onClick();
}

long ListAccessible::FocusedChild() const {
  if (GetFocus() != list_.Handle()) return -1;
  const int current = list_.ItemIndex();
  return current >= 0 ? current + 1 : CHILDID_SELF;
}

long ListAccessible::ChildAt(POINT screen) const {
  POINT client = screen;
  ScreenToClient(list_.Handle(), &client);
  RECT area{};
  GetClientRect(list_.Handle(), &area);
  if (!PtInRect(&area, client)) return -1;
  const int line = list_.ItemAt(client);
  return line >= 0 ? line + 1 : CHILDID_SELF;
}

}  // namespace krelmix
