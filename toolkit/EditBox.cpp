#include "toolkit/EditBox.h"

namespace krelmix {

void EditBox::Create(HWND parent, RECT bounds, UINT id, HFONT font) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
  HWND hwnd = CreateChild(parent, L"EDIT", L"", style, bounds, id);
  if (font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void EditBox::SetText(const std::wstring& text) { SetWindowTextW(Handle(), text.c_str()); }

}  // namespace krelmix
