#include "skin/OutlineLabel.h"

namespace krelmix {

void OutlineLabel::Paint(HDC dc) {
  if (!Visible()) return;
  SelectGuard font(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
  DrawStyledText(dc, Caption(), Bounds(), style_, color_, Enabled());
}

}  // namespace krelmix
