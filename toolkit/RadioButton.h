#pragma once
// An option button with its caption: the standard button of that kind. One of a group is selected.
#include <windows.h>

#include <string>

#include "toolkit/WindowedControl.h"

namespace krelmix {

class RadioButton : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  const wchar_t* Kind() const override { return L"radiobutton"; }
  // firstOfGroup starts a new group of buttons that select each other out.
  void Create(HWND parent, RECT bounds, UINT id, const std::wstring& caption, HFONT font, bool firstOfGroup);
  bool Selected() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetSelected(bool selected) { SendMessageW(Handle(), BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0); }
};

}  // namespace krelmix
