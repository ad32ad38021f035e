#include "toolkit/CheckListBox.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "toolkit/Gdi.h"

namespace krelmix {

namespace {
constexpr int kTickWidth = 13;
}

void CheckListBox::Create(HWND parent, RECT bounds, UINT id, const CheckListStyle& style) {
  style_ = style;
  DWORD listStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                    LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
  HWND hwnd = CreateWindowExW(0, L"LISTBOX", Name().c_str(), listStyle, bounds.left, bounds.top,
                              bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  Adopt(hwnd);
  if (style.font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(style.font), FALSE);
  SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, style.itemHeight);
}

void CheckListBox::Clear() { SendMessageW(Handle(), LB_RESETCONTENT, 0, 0); }

size_t CheckListBox::Add(const std::wstring& text, bool ticked) {
  const LRESULT index = SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (index < 0) throw std::runtime_error("Out of memory while adding to a list");
  SendMessageW(Handle(), LB_SETITEMDATA, index, ticked ? 1 : 0);
  return static_cast<size_t>(index);
}

size_t CheckListBox::Count() const {
  const LRESULT n = SendMessageW(Handle(), LB_GETCOUNT, 0, 0);
  return n < 0 ? 0 : static_cast<size_t>(n);
}

std::wstring CheckListBox::Text(size_t index) const {
  const LRESULT length = SendMessageW(Handle(), LB_GETTEXTLEN, index, 0);
  if (length < 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(Handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got < 0 ? 0 : static_cast<size_t>(got));
  return text;
}

void CheckListBox::SetText(size_t index, const std::wstring& text) {
  if (index >= Count()) return;
  const bool ticked = Ticked(index);
  const int current = ItemIndex();
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(Handle(), LB_DELETESTRING, index, 0);
  SendMessageW(Handle(), LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(Handle(), LB_SETITEMDATA, index, ticked ? 1 : 0);
  if (current >= 0) SendMessageW(Handle(), LB_SETCURSEL, current, 0);
  if (updates_ == 0) {
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    RECT item;
    if (SendMessageW(Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) != LB_ERR)
      InvalidateRect(Handle(), &item, FALSE);
  }
}

bool CheckListBox::Ticked(size_t index) const {
  const LRESULT data = SendMessageW(Handle(), LB_GETITEMDATA, index, 0);
  return data != LB_ERR && data != 0;
}

void CheckListBox::SetTicked(size_t index, bool ticked) {
  SendMessageW(Handle(), LB_SETITEMDATA, index, ticked ? 1 : 0);
  RECT item;
  if (updates_ == 0 && SendMessageW(Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) != LB_ERR)
    InvalidateRect(Handle(), &item, FALSE);
}

int CheckListBox::ItemIndex() const { return static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0)); }
void CheckListBox::SetItemIndex(int index) { SendMessageW(Handle(), LB_SETCURSEL, index, 0); }

void CheckListBox::BeginUpdate() {
  if (updates_++ == 0) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void CheckListBox::EndUpdate() {
  if (updates_ > 0 && --updates_ == 0) {
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
  if (message == WM_LBUTTONDOWN) {
    const LRESULT hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, lParam);
    result = CallDefault(message, wParam, lParam);
    if (!HIWORD(hit) && GET_X_LPARAM(lParam) < kTickWidth) ToggleTick(LOWORD(hit));
    return true;
  }
  if (message == WM_LBUTTONUP) {
    result = CallDefault(message, wParam, lParam);
    const LRESULT hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, lParam);
    if (!HIWORD(hit) && onClick) onClick();
    return true;
  }
  if (message == WM_KEYDOWN && wParam == VK_SPACE) {
    ToggleTick(ItemIndex());
    result = 0;
    return true;
  }
  return false;
}

bool CheckListBox::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_DRAWITEM) {
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
  }
  if (message == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = style_.itemHeight;
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
  if (item.itemID == static_cast<UINT>(-1)) return;
  const bool selected = item.itemState & ODS_SELECTED;
  const RECT row = item.rcItem;
  FillRect(item.hDC, &row, GetSysColorBrush(COLOR_WINDOW));
  const int boxSize = std::min(kTickWidth - 2, static_cast<int>(row.bottom - row.top) - 2);
  RECT box = {row.left + 1, row.top + 1, row.left + 1 + boxSize, row.top + 1 + boxSize};
  if (style_.tick == TickStyle::Box) {
    DrawFrameControl(item.hDC, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (item.itemData ? DFCS_CHECKED : 0));
  } else if (item.itemData) {
    DrawFrameControl(item.hDC, &box, DFC_MENU, DFCS_MENUCHECK | DFCS_TRANSPARENT);
  }
  RECT text = {row.left + kTickWidth + 2, row.top, row.right, row.bottom};
  if (selected) FillRect(item.hDC, &text, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const std::wstring line = Text(item.itemID);
  SelectGuard select(item.hDC, style_.font ? style_.font : GetStockObject(DEFAULT_GUI_FONT));
  DrawTextW(item.hDC, line.c_str(), static_cast<int>(line.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &text);
}

}  // namespace krelmix
