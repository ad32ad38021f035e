#pragma once
// What a screen reader finds in a form: the form's client area with, as its children, every
// painted control (name, role, state, place and default action from the control itself) and every
// windowed control (read through its own window's object), each followed by the painted controls
// lying on it (a panel's labels).
#include <windows.h>

#include <vector>

#include "toolkit/Accessible.h"

namespace krelmix {

class Form;
class GraphicControl;

class FormAccessible : public AccessibleSource {
 public:
  explicit FormAccessible(Form& form) : form_(form) {}

  HWND Window() const override;
  long ChildCount() const override { return static_cast<long>(Children().size()); }
  AccessibleFacts Facts(long child) const override;
  HWND ChildWindow(long child) const override;
  void DoDefaultAction(long child) override;
  long FocusedChild() const override;

 private:
  struct Child {
    GraphicControl* painted;  // or
    HWND window;
    HWND host;  // the window that paints a painted control
  };
  std::vector<Child> Children() const;
  Form& form_;
};

}  // namespace krelmix
