#include "skin/OutlineLabel.h"

namespace krelmix {

void OutlineLabel::Paint(HDC dc) {
  if (!Visible()) return;
  SelectGuard font(dc, TextFont());
  const TextColors colors = Colors();
  FillIfAsked(dc, colors);
  // A heading is disabled only so that it takes no clicks: it keeps its colour. In high contrast
  // the ring would blur the scheme's text: the text is drawn plain.
  DrawStyledText(dc, Caption(), Bounds(), HighContrast() ? TextStyle::Default : kTextStyle, colors.text, true);
}

}  // namespace krelmix
