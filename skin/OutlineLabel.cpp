#include "skin/OutlineLabel.h"

namespace krelmix {

void OutlineLabel::Paint(HDC dc) {
  if (!Visible()) return;
  SelectGuard font(dc, TextFont());
  // A heading is disabled only so that it takes no clicks: it keeps its colour.
  DrawStyledText(dc, Caption(), Bounds(), kTextStyle, Color(), true);
}

}  // namespace krelmix
