#pragma once
// A heading drawn in one of the rounded buttons' text styles (the result window's headings are
// outlined and disabled). It has no behaviour; disabled, it looks the same.
#include <windows.h>

#include "skin/ShapeButton.h"
#include "toolkit/GraphicControl.h"

namespace krelmix {

class OutlineLabel : public GraphicControl {
 public:
  using GraphicControl::GraphicControl;
  const wchar_t* Kind() const override { return L"label"; }
  void SetFont(HFONT font) { font_ = font; }
  void SetColor(COLORREF color) { color_ = color; }
  void SetTextStyle(TextStyle style) { style_ = style; }
  void Paint(HDC dc) override;

 private:
  HFONT font_ = nullptr;
  COLORREF color_ = RGB(0, 0, 0);
  TextStyle style_ = TextStyle::Outline;
};

}  // namespace krelmix
