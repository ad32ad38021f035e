#include "toolkit/PushButton.h"

namespace krelmix {

void PushButton::Create(HWND parent, RECT bounds, UINT id, const std::wstring& caption, HFONT font, bool isDefault,
                        bool isCancel) {
  default_ = isDefault;
  cancel_ = isCancel;
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  HWND hwnd = CreateChild(parent, L"BUTTON", caption.c_str(), style, bounds, id);
  if (font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

bool PushButton::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
  if (onClick) onClick();
  result = 0;
  return true;
}

bool PushButton::OnOwnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == WM_GETDLGCODE) {
    result = DLGC_WANTALLKEYS | DLGC_BUTTON;
    return true;
  }
  if (message == WM_KEYDOWN && ((wParam == VK_RETURN && default_) || (wParam == VK_ESCAPE && cancel_))) {
    if (onClick) onClick();
    result = 0;
    return true;
  }
  return false;
}

}  // namespace krelmix
