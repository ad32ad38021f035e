#include "toolkit/CheckBox.h"

namespace krelmix {

void CheckBox::Create(HWND parent, RECT bounds, UINT id, const std::wstring& caption, HFONT font, COLORREF background) {
  backgroundColor_ = background;
  background_ = Brush(CreateSolidBrush(background));
  HWND hwnd =
      CreateChild(parent, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, bounds, id);
  if (!font) return;
  // The caption is condensed where a wider stand-in font would cut it: it has the box's width
  // less the tick box and the gap after it.
  WindowDC screen(nullptr);
  MemoryDC dc(screen.Get());
  SelectGuard selected(dc.Get(), font);
  const int room = bounds.right - bounds.left - GetSystemMetrics(SM_CXMENUCHECK) - 6;
  condensed_ = CondensedToFit(dc.Get(), caption, room);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(condensed_ ? condensed_.Get() : font), FALSE);
}

bool CheckBox::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
  SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
    SetBkColor(reinterpret_cast<HDC>(wParam), backgroundColor_);
    result = reinterpret_cast<LRESULT>(background_.Get());
    return true;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (onClick) onClick();
    result = 0;
    return true;
  }
  return false;
}

}  // namespace krelmix
