#pragma once
// A tick box or an option button with its caption: the standard buttons of those kinds. A caption
// wider than its box (a wider stand-in font) is condensed to fit; a tick box may have a background
// colour of its own.
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <optional>

#include "toolkit/Gdi.h"
#include "toolkit/WindowedControl.h"

namespace krelmix {

class CheckButton : public WindowedControl {
 public:
  // An option button is one of a group, which selects one of them.
  enum class Type { CheckBox, OptionButton };
  CheckButton(std::wstring name, Type type) : WindowedControl(std::move(name)), type_(type) {}
  const wchar_t* Kind() const override { return type_ == Type::CheckBox ? L"checkbox" : L"radiobutton"; }
  long AccessibleRole() const override {
    return type_ == Type::CheckBox ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_RADIOBUTTON;
  }
  // Before Create: the control's own background, and for an option button whether it starts a new
  // group (it then takes the Tab key for the group).
  void SetBackground(COLORREF color) { backgroundColor_ = color; }
  void SetFirstOfGroup(bool first) { firstOfGroup_ = first; }

  bool Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool checked) { SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }
  // The user changed the tick (mouse or space bar); SetChecked does not call it.
  std::function<void()> onClick;

 protected:
  WindowClass Class() const override;
  void OnCreated(const CreateArgs& args) override;
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  Type type_;
  bool firstOfGroup_ = false;
  std::optional<COLORREF> backgroundColor_;
  Brush background_;
  Font condensed_;  // the caption's font where the given one is too wide for the box
};

}  // namespace krelmix
