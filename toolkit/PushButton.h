#pragma once
// A standard push button. With no dialog manager in the forms' loops, the button itself answers
// Enter (when it is the default) and Esc (when it is the cancel button).
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>

#include "toolkit/WindowedControl.h"

namespace krelmix {

class PushButton : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  const wchar_t* Kind() const override { return L"button"; }
  long AccessibleRole() const override { return ROLE_SYSTEM_PUSHBUTTON; }
  // Before Create: the default button answers Enter, the cancel button Esc.
  void SetDefault(bool isDefault) { default_ = isDefault; }
  void SetCancel(bool isCancel) { cancel_ = isCancel; }
  std::function<void()> onClick;

 protected:
  WindowClass Class() const override {
    return {L"BUTTON", static_cast<DWORD>(WS_TABSTOP | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON))};
  }
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool default_ = false;
  bool cancel_ = false;
};

}  // namespace krelmix
