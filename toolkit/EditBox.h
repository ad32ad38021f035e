#pragma once
// A one-line text box without a border. Its text is its window text, so the control description
// reports it as the caption.
#include <windows.h>

#include <string>

#include "toolkit/WindowedControl.h"

namespace krelmix {

class EditBox : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  const wchar_t* Kind() const override { return L"edit"; }

  void SetText(const std::wstring& text);

 protected:
  WindowClass Class() const override { return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT}; }
};

}  // namespace krelmix
