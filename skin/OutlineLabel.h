#pragma once
// A label drawn in one of the rounded buttons' text styles (the result window's headings are
// outlined and disabled). It has no behaviour; disabled, it looks the same.
#include <windows.h>

#include "skin/ShapeButton.h"
#include "toolkit/GraphicControl.h"

namespace krelmix {

class OutlineLabel : public Label {
 public:
  using Label::Label;
  void Paint(HDC dc) override;

 private:
  static constexpr TextStyle kTextStyle = TextStyle::Outline;
};

}  // namespace krelmix
