#include "toolkit/PushButton.h"

namespace krelmix {

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
