#pragma once
// The shaped hint: while enabled, every tooltip window of the program's windows is drawn as a
// rounded speech bubble with a pointer towards the mouse and a shadow over the screen picture.
// The tooltip control keeps its timing; this takes over its place, size and painting.
#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/ColorScheme.h"
#include "toolkit/Gdi.h"
#include "toolkit/HintLayout.h"

namespace krelmix {

struct ShapeHintStyle {
  Shade color = RGB(240, 251, 255);
  COLORREF borderColor = RGB(0, 0, 0);
  Shade shadowColor = Shade::System(COLOR_BTNSHADOW);
  // Chosen for the bubble's own light colour; in high contrast the tooltip pair takes over.
  Shade textColor = RGB(0, 0, 0);
  int shadowDepth = 4;
  HintPosition position = HintPosition::BelowRight;
};

class ShapeHint {
 public:
  ShapeHint();
  ~ShapeHint();
  ShapeHint(const ShapeHint&) = delete;
  ShapeHint& operator=(const ShapeHint&) = delete;

  ShapeHintStyle& Style() { return style_; }
  // The hint's font at a display's DPI: its design size times the scale.
  BorrowedFont Font(int dpi = 96);
  // Makes this the program's hint window: tooltip windows made (or updated) from now on are drawn
  // by it. Disabling gives the standard tooltip back to windows made afterwards.
  void SetEnabled(bool enabled);

  // The enabled shaped hint, if any.
  static ShapeHint* Program();
  // Takes over a tooltip window; text() gives the text it is about to show.
  void Adopt(HWND tooltip, std::function<std::wstring()> text);

 private:
  static LRESULT CALLBACK TooltipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);
  krelmix::Font font_;
  int fontDpi_ = 0;
  ShapeHintStyle style_;
};

}  // namespace krelmix
