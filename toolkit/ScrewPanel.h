#pragma once
// A raised panel with a screw head painted in each corner, passing double-clicks on to the graphic
// control under the mouse (a logo lying on it).
#include <windows.h>

#include "toolkit/Panel.h"

namespace krelmix {

class ScrewPanel : public Panel {
 public:
  using Panel::Panel;

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace krelmix
