#include "toolkit/HintLayout.h"

#include <algorithm>

namespace krelmix {

namespace {
// 15 pixels for the pointer and 4 on each side of the text; 18 in height, as first laid out,
// left the text's last line a pixel below the bubble.
constexpr int kMinTextWidth = 46, kExtraWidth = 23, kExtraHeight = 23, kPointerInset = 15, kTextMargin = 4;
// The cyclic order in which positions are tried.
constexpr std::array<HintPosition, 4> kCycle = {HintPosition::BelowRight, HintPosition::AboveLeft,
                                                HintPosition::AboveRight, HintPosition::BelowLeft};
}  // namespace

int HintWrapWidth(int screenWidth) { return screenWidth / 4; }

HintSize HintWindowSize(int textWidth, int textHeight, int shadowDepth, HintScale scale) {
  return {std::max(textWidth, scale(kMinTextWidth)) + scale(kExtraWidth) + shadowDepth,
          textHeight + scale(kExtraHeight) + shadowDepth};
}

std::array<HintPosition, 4> HintPositionsFrom(HintPosition first) {
  const auto start = std::find(kCycle.begin(), kCycle.end(), first) - kCycle.begin();
  std::array<HintPosition, 4> order{};
  for (size_t i = 0; i < order.size(); ++i) order[i] = kCycle[(static_cast<size_t>(start) + i) % kCycle.size()];
  return order;
}

HintRect HintRectAt(HintPosition position, HintPoint mouse, HintSize size, HintScale scale) {
  const int one = scale(1), three = scale(3), six = scale(6);
  switch (position) {
    case HintPosition::BelowRight:
      return {mouse.x + six, mouse.y + one, mouse.x + six + size.width, mouse.y + one + size.height};
    case HintPosition::AboveLeft:
      return {mouse.x - one - size.width, mouse.y - one - size.height, mouse.x - one, mouse.y - one};
    case HintPosition::AboveRight:
      return {mouse.x + one, mouse.y - one - size.height, mouse.x + one + size.width, mouse.y - one};
    case HintPosition::BelowLeft:
      return {mouse.x - three - size.width, mouse.y + one, mouse.x - three, mouse.y + one + size.height};
  }
  return {};
}

HintPlacement PlaceHint(HintPoint mouse, HintSize size, HintRect screen, HintPosition first, HintScale scale) {
  HintPlacement placement;
  for (HintPosition position : HintPositionsFrom(first)) {
    placement = {position, HintRectAt(position, mouse, size, scale)};
    const HintRect& r = placement.rect;
    if (r.left >= screen.left && r.top >= screen.top && r.right <= screen.right && r.bottom <= screen.bottom) break;
  }
  return placement;
}

HintRect HintBubbleRect(HintPosition position, HintSize size, int shadowDepth, HintScale scale) {
  const int inset = scale(kPointerInset);
  const bool mouseLeft = position == HintPosition::BelowRight || position == HintPosition::AboveRight;
  const bool mouseAbove = position == HintPosition::BelowRight || position == HintPosition::BelowLeft;
  HintRect r{0, 0, size.width - shadowDepth, size.height - shadowDepth};
  if (mouseLeft)
    r.left += inset;
  else
    r.right -= inset;
  if (mouseAbove)
    r.top += inset;
  else
    r.bottom -= inset;
  return r;
}

HintRect HintTextRect(HintPosition position, HintSize size, int shadowDepth, int textWidth, int textHeight,
                      HintScale scale) {
  const HintRect bubble = HintBubbleRect(position, size, shadowDepth, scale);
  const int left = bubble.left + scale(kTextMargin), top = bubble.top + scale(kTextMargin);
  return {left, top, left + textWidth, top + textHeight};
}

HintPoint HintPointerTip(HintPosition position, HintSize size) {
  switch (position) {
    case HintPosition::BelowRight:
      return {0, 0};
    case HintPosition::AboveLeft:
      return {size.width - 1, size.height - 1};
    case HintPosition::AboveRight:
      return {0, size.height - 1};
    case HintPosition::BelowLeft:
      return {size.width - 1, 0};
  }
  return {};
}

}  // namespace krelmix
