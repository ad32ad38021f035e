#pragma once
// Where the shaped hint's bubble goes and how big its window is: plain arithmetic, no window
// system, so that it is tested natively.
#include <array>

namespace krelmix {

struct HintPoint {
  int x = 0, y = 0;
};
struct HintRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool operator==(const HintRect&) const = default;
};
enum class HintPosition { AboveLeft, AboveRight, BelowLeft, BelowRight };
// The display's DPI against the 96 the sizes below are given in: every size is multiplied by it.
struct HintScale {
  int dpi = 96;
  int operator()(int designPixels) const { return (designPixels * dpi + 48) / 96; }
};

// The text is wrapped at a quarter of the screen width.
int HintWrapWidth(int screenWidth);
// The window around a text of the given size: the text at least 46 pixels wide, plus 23 pixels
// and the shadow depth (given at the display's scale) each way, so that the text keeps 4 pixels to the bubble on every
// side.
struct HintSize {
  int width = 0, height = 0;
};
HintSize HintWindowSize(int textWidth, int textHeight, int shadowDepth, HintScale scale = {});

// The positions in the order they are tried, starting with the configured one.
std::array<HintPosition, 4> HintPositionsFrom(HintPosition first);
// The window's rectangle in one position relative to the mouse.
HintRect HintRectAt(HintPosition position, HintPoint mouse, HintSize size, HintScale scale = {});
struct HintPlacement {
  HintPosition position = HintPosition::BelowRight;
  HintRect rect;
};
// The first position whose window lies on the screen; when none does, the last one tried.
HintPlacement PlaceHint(HintPoint mouse, HintSize size, HintRect screen, HintPosition first, HintScale scale = {});

// The bubble inside the window: the rounded rectangle, inset 15 pixels on the two sides facing
// the mouse and by the shadow depth on the right and bottom; the pointer's tip is the window's
// corner nearest the mouse.
HintRect HintBubbleRect(HintPosition position, HintSize size, int shadowDepth, HintScale scale = {});
// Where the text goes: 4 pixels right of and below the bubble's top-left corner.
HintRect HintTextRect(HintPosition position, HintSize size, int shadowDepth, int textWidth, int textHeight,
                      HintScale scale = {});
HintPoint HintPointerTip(HintPosition position, HintSize size);

}  // namespace krelmix
