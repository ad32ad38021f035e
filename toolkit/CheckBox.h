#pragma once
// A tick box with its caption: the standard button of that kind on a background colour of its own.
#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/Gdi.h"
#include "toolkit/WindowedControl.h"

namespace krelmix {

class CheckBox : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  const wchar_t* Kind() const override { return L"checkbox"; }
  void Create(HWND parent, RECT bounds, UINT id, const std::wstring& caption, HFONT font, COLORREF background);
  bool Checked() const;
  void SetChecked(bool checked);
  // The user changed the tick (mouse or space bar); SetChecked does not call it.
  std::function<void()> onClick;

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  Brush background_;
  Font condensed_;  // the caption's font where the given one is too wide for the box
  COLORREF backgroundColor_ = RGB(192, 192, 192);
};

}  // namespace krelmix
