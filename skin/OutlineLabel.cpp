#include "skin/OutlineLabel.h"

namespace krelmix {

void OutlineLabel::Paint(HDC dc) {
  if (!Visible()) return;
  SelectGuard font(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
  // A heading is disabled only so that it takes no clicks: it keeps its colour.
  DrawStyledText(dc, Caption(), Bounds(), style_, color_, true);
}

}  // namespace krelmix
