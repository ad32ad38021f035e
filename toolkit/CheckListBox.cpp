#include "toolkit/CheckListBox.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <stdexcept>

#include "toolkit/Gdi.h"

namespace krelmix {

namespace {
constexpr int kTickWidth = 13;

UINT SyncCountMessage() {
  static const UINT message = RegisterWindowMessageW(L"KrelmixCheckListSyncCount");
  return message;
}
}  // namespace

WindowedControl::WindowClass CheckListBox::Class() const {
  const DWORD style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_NODATA |
                      (look_.integralHeight ? 0 : LBS_NOINTEGRALHEIGHT);
  return {L"LISTBOX", style, Name().c_str()};
}

void CheckListBox::OnCreated(const CreateArgs& args) {
  HWND hwnd = Handle();
  font_ = args.font;
  // The list box took its behaviour from the style it was made with. The strings flag is added
  // afterwards only for the message marshalling: another process's LB_GETTEXT is given a buffer of
  // LB_GETTEXTLEN characters only when the window's style says it has strings.
  SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(GetWindowLongW(hwnd, GWL_STYLE) | LBS_HASSTRINGS));
  WindowedControl::OnCreated(args);
  SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, scale_(look_.itemHeight));
  // The list box fitted its height to whole rows of the height it had at creation; sizing it
  // again fits it to the rows it has now.
  if (look_.integralHeight)
    SetWindowPos(hwnd, nullptr, 0, 0, args.bounds.width, args.bounds.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CheckListBox::OnScaleChanged(const ScaleChange& change, RECT bounds) {
  if (font_) font_ = change.font(font_);
  SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, scale_(look_.itemHeight));
  // Fitted to whole rows of the old height when it was sized; sized again, it fits the new ones.
  if (look_.integralHeight)
    SetWindowPos(Handle(), nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LineStore& CheckListBox::OwnStore() {
  if (model_ != &ownLines_) throw std::logic_error("The list shows another model");
  return ownLines_.Store();
}

void CheckListBox::ForgetCount() {
  countBehind_ = false;
  pendingSelection_ = kNoPendingSelection;
}

void CheckListBox::Clear() {
  OwnStore().Clear();
  ForgetCount();
  SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
}

size_t CheckListBox::Add(const std::wstring& text, bool ticked) {
  if (Count() >= static_cast<size_t>(INT_MAX)) throw std::runtime_error("Too many lines for a list");
  const size_t index = OwnStore().Add(text, ticked);
  LinesAdded();
  return index;
}

void CheckListBox::ShowModel(CheckListModel& model) {
  ownLines_.Store().Clear();
  model_ = &model;
  LinesReset();
}

void CheckListBox::LinesAdded() {
  // A held list takes its new count when the hold ends; syncing sooner would repaint it.
  if (!countBehind_ && !Held()) PostMessageW(Handle(), SyncCountMessage(), 0, 0);
  countBehind_ = true;
}

void CheckListBox::LineChanged(size_t index) { InvalidateLine(index); }

void CheckListBox::LinesChanged() {
  if (!Held()) InvalidateRect(Handle(), nullptr, FALSE);
}

void CheckListBox::LinesReset() {
  ForgetCount();
  // The list box forgets its lines and is told the model's count at once.
  SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
  if (model_->Count() > 0) {
    countBehind_ = true;
    if (!Held()) SyncCount();
  }
  if (!Held()) InvalidateRect(Handle(), nullptr, TRUE);
}

void CheckListBox::SyncCount() {
  if (!countBehind_) return;
  countBehind_ = false;
  if (model_->Count() > static_cast<size_t>(INT_MAX) || SendMessageW(Handle(), LB_SETCOUNT, model_->Count(), 0) < 0) {
    SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
    throw std::runtime_error("Out of memory while adding to a list");
  }
  if (pendingSelection_ != kNoPendingSelection) {
    SendMessageW(Handle(), LB_SETCURSEL, pendingSelection_, 0);
    pendingSelection_ = kNoPendingSelection;
  }
}

size_t CheckListBox::Count() const { return model_->Count(); }

std::wstring CheckListBox::Text(size_t index) const {
  if (index >= Count()) return {};
  std::wstring text(model_->Length(index), L'\0');
  text.resize(model_->CopyText(index, text.data()));
  return text;
}

void CheckListBox::SetText(size_t index, const std::wstring& text) {
  if (index >= Count()) return;
  OwnStore().SetText(index, text);
  InvalidateLine(index);
}

bool CheckListBox::Ticked(size_t index) const { return index < Count() && model_->Ticked(index); }

void CheckListBox::SetTicked(size_t index, bool ticked) {
  if (index >= Count()) return;
  model_->SetTicked(index, ticked);
  InvalidateLine(index);
}

void CheckListBox::InvalidateLine(size_t index) {
  RECT item;
  if (!Held() && SendMessageW(Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) != LB_ERR)
    InvalidateRect(Handle(), &item, FALSE);
}

int CheckListBox::ItemIndex() const {
  if (countBehind_ && pendingSelection_ != kNoPendingSelection) return pendingSelection_;
  return static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
}

int CheckListBox::ItemAt(POINT client) const {
  const LRESULT hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  if (HIWORD(hit) || LOWORD(hit) >= Count()) return -1;
  return LOWORD(hit);
}

void CheckListBox::SetItemIndex(int index) {
  if (countBehind_) {
    pendingSelection_ = index >= 0 && static_cast<size_t>(index) < Count() ? index : -1;
    return;
  }
  SendMessageW(Handle(), LB_SETCURSEL, index, 0);
}

void CheckListBox::BeginUpdate() {
  if (updates_++ == 0) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void CheckListBox::EndUpdate() {
  if (updates_ > 0 && --updates_ == 0) {
    SyncCount();
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
  }
}

void CheckListBox::ToggleTick(int index) {
  if (index < 0 || static_cast<size_t>(index) >= Count()) return;
  SetTicked(static_cast<size_t>(index), !Ticked(static_cast<size_t>(index)));
  if (onTickToggled) onTickToggled(static_cast<size_t>(index));
}

// A press on the tick flips it; every click on a line is the list's click; the space bar flips
// the current line's tick.
bool CheckListBox::OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (AnswerFromStore(message, wParam, lParam, result)) return true;
  if (accessible_.HandleMessage(message, wParam, lParam, result)) return true;
  if (message == SyncCountMessage()) {
    if (!Held()) SyncCount();
    result = 0;
    return true;
  }
  // Whatever the list box does itself (paint, scroll, hit-test a click) needs the true count.
  // While the list is held it keeps the count it shows: every LB_SETCOUNT invalidates the list,
  // and the paint that follows would sync it again, so a run would repaint it at every pump.
  if (message != LB_SETCOUNT && !Held()) SyncCount();
  if (message == WM_LBUTTONDOWN) {
    const LRESULT hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, lParam);
    result = CallDefault(message, wParam, lParam);
    if (!HIWORD(hit) && GET_X_LPARAM(lParam) < scale_(kTickWidth)) ToggleTick(LOWORD(hit));
    return true;
  }
  if (message == WM_LBUTTONUP) {
    result = CallDefault(message, wParam, lParam);
    const LRESULT hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, lParam);
    if (!HIWORD(hit) && onClick) onClick();
    return true;
  }
  if (message == WM_KEYDOWN && UsesKey(static_cast<UINT>(wParam))) {
    const int index = ItemIndex();
    ToggleTick(index);
    if (index >= 0 && static_cast<size_t>(index) < Count() && onKeyTick) onKeyTick(static_cast<size_t>(index));
    result = 0;
    return true;
  }
  return false;
}

// The list box holds no strings and no item data: the messages that read or change them are
// answered from the store, whoever sends them.
bool CheckListBox::AnswerFromStore(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const size_t index = wParam;
  switch (message) {
    case LB_GETTEXTLEN:
      result = index < Count() ? static_cast<LRESULT>(model_->Length(index)) : LB_ERR;
      return true;
    case LB_GETTEXT: {
      if (index >= Count() || !lParam) {
        result = LB_ERR;
        return true;
      }
      result = static_cast<LRESULT>(model_->CopyText(index, reinterpret_cast<wchar_t*>(lParam)));
      return true;
    }
    case LB_GETITEMDATA:
      result = index < Count() ? (model_->Ticked(index) ? 1 : 0) : LB_ERR;
      return true;
    case LB_SETITEMDATA:
      if (index >= Count()) {
        result = LB_ERR;
        return true;
      }
      SetTicked(index, lParam != 0);
      result = TRUE;
      return true;
    case LB_RESETCONTENT:
      // Another model's lines are its owner's to clear (LinesReset); the list box forgets its count.
      if (model_ == &ownLines_) ownLines_.Store().Clear();
      ForgetCount();
      return false;
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
      // Lines come and go only through this class; the list box alone would lose step with the store.
      result = LB_ERR;
      return true;
    default:
      return false;
  }
}

bool CheckListBox::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_DRAWITEM) {
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
  }
  if (message == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = scale_(look_.itemHeight);
    result = TRUE;
    return true;
  }
  if (message == WM_COMMAND) {
    const UINT code = HIWORD(wParam);
    if (code == LBN_DBLCLK && onDblClick) onDblClick();
    // A change of the current line by keyboard counts as a click; mouse clicks come on release.
    if (code == LBN_SELCHANGE && !(GetKeyState(VK_LBUTTON) & 0x8000) && onClick) onClick();
    result = 0;
    return true;
  }
  return false;
}

void CheckListBox::Draw(const DRAWITEMSTRUCT& item) const {
  if (item.itemID == static_cast<UINT>(-1)) {
    // An empty list that has the focus shows it round its whole area, once the keyboard is in use.
    RECT area = item.rcItem;
    if ((item.itemState & ODS_FOCUS) && GetClientRect(item.hwndItem, &area) &&
        !(SendMessageW(GetAncestor(item.hwndItem, GA_ROOT), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
      DrawFocusRect(item.hDC, &area);
    return;
  }
  if (item.itemID >= Count()) return;
  const bool selected = item.itemState & ODS_SELECTED;
  const bool ticked = Ticked(item.itemID);
  const RECT row = item.rcItem;
  FillRect(item.hDC, &row, GetSysColorBrush(COLOR_WINDOW));
  const int tickWidth = scale_(kTickWidth), margin = scale_(1);
  const int boxSize = std::min(tickWidth - 2 * margin, static_cast<int>(row.bottom - row.top) - 2 * margin);
  RECT box = {row.left + margin, row.top + margin, row.left + margin + boxSize, row.top + margin + boxSize};
  if (look_.tick == TickStyle::Box) {
    DrawFrameControl(item.hDC, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (ticked ? DFCS_CHECKED : 0));
  } else if (ticked) {
    DrawFrameControl(item.hDC, &box, DFC_MENU, DFCS_MENUCHECK | DFCS_TRANSPARENT);
  }
  RECT text = {row.left + tickWidth + 2 * margin, row.top, row.right, row.bottom};
  if (selected) FillRect(item.hDC, &text, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const std::wstring line = Text(item.itemID);
  SelectGuard select(item.hDC, font_ ? font_.Get() : GetStockObject(DEFAULT_GUI_FONT));
  const Font condensed = look_.condenseToFit ? CondensedToFit(item.hDC, line, text.right - text.left) : Font();
  std::optional<SelectGuard> selectCondensed;
  if (condensed) selectCondensed.emplace(item.hDC, condensed.Get());
  DrawTextW(item.hDC, line.data(), static_cast<int>(line.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &text);
}

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
