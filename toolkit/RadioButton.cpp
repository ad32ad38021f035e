#include "toolkit/RadioButton.h"

namespace krelmix {

void RadioButton::Create(HWND parent, RECT bounds, UINT id, const std::wstring& caption, HFONT font,
                         bool firstOfGroup) {
  const DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP | WS_TABSTOP : 0);
  HWND hwnd = CreateChild(parent, L"BUTTON", caption.c_str(), style, bounds, id);
  if (font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

}  // namespace krelmix
