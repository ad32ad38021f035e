#pragma once
// What a screen reader finds in a windowed control of a standard kind (push button, check box,
// option button): its caption, role, state and click, the same on Windows and under Wine, whose
// standard proxies read every button as a plain client area without its tick.
#include <windows.h>

#include "toolkit/Accessible.h"

namespace krelmix {

class WindowedControl;

class WindowAccessible : public AccessibleSource {
 public:
  explicit WindowAccessible(WindowedControl& control) : control_(control) {}

  HWND Window() const override;
  long ChildCount() const override { return 0; }
  AccessibleFacts Facts(long child) const override;
  void DoDefaultAction(long child) override;  // a click, as the mouse makes it
  long FocusedChild() const override;

 private:
  WindowedControl& control_;
};

}  // namespace krelmix
