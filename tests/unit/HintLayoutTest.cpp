#include "toolkit/HintLayout.h"

#include <gtest/gtest.h>

#include <utility>

namespace krelmix {
namespace {

constexpr HintRect kScreen{0, 0, 1024, 768};

TEST(HintLayout, WindowSizeAndWrapWidth) {
  EXPECT_EQ(HintWrapWidth(1024), 256);
  const HintSize size = HintWindowSize(100, 13, 4);
  EXPECT_EQ(size.width, 127);
  EXPECT_EQ(size.height, 40);
  EXPECT_EQ(HintWindowSize(10, 13, 4).width, 46 + 27);  // a short text still gets 46 pixels
}

// At another DPI every margin, inset and offset is its 96-DPI size times the scale.
TEST(HintLayout, EverySizeScalesWithTheDisplay) {
  const HintScale doubled{192}, oneAndAQuarter{120};
  EXPECT_EQ(HintWindowSize(200, 26, 8, doubled).width, 2 * 127);
  EXPECT_EQ(HintWindowSize(200, 26, 8, doubled).height, 2 * 40);
  EXPECT_EQ(HintWindowSize(10, 16, 5, oneAndAQuarter).width, 58 + 29 + 5);  // 46 and 23 pixels at 125%
  const HintSize size{2 * 127, 2 * 35};
  EXPECT_EQ(HintBubbleRect(HintPosition::BelowRight, size, 8, doubled), (HintRect{30, 30, 246, 62}));
  EXPECT_EQ(HintTextRect(HintPosition::BelowRight, size, 8, 20, 20, doubled).left, 30 + 8);
  EXPECT_EQ(HintRectAt(HintPosition::BelowRight, {100, 100}, size, doubled).left, 112);
  EXPECT_EQ(PlaceHint({500, 100}, size, kScreen, HintPosition::BelowLeft, doubled).rect.right, 494);
}

// The text keeps 4 pixels to the bubble's border on every side, wherever the bubble opens.
TEST(HintLayout, TheTextFitsInsideTheBubbleWithItsMargins) {
  for (const auto& [width, height] : {std::pair{81, 13}, std::pair{10, 13}, std::pair{256, 39}}) {
    const HintSize size = HintWindowSize(width, height, 4);
    for (HintPosition position : HintPositionsFrom(HintPosition::BelowRight)) {
      const HintRect bubble = HintBubbleRect(position, size, 4);
      const HintRect text = HintTextRect(position, size, 4, width, height);
      EXPECT_EQ(text.left - bubble.left, 4);
      EXPECT_EQ(text.top - bubble.top, 4);
      EXPECT_GE(bubble.right - text.right, 4) << width;
      EXPECT_GE(bubble.bottom - text.bottom, 4) << height;
    }
  }
}

TEST(HintLayout, TriesTheConfiguredPositionThenTheCycle) {
  const HintSize size{127, 35};
  // Room everywhere: below and right of the mouse.
  HintPlacement p = PlaceHint({500, 400}, size, kScreen, HintPosition::BelowRight);
  EXPECT_EQ(p.position, HintPosition::BelowRight);
  EXPECT_EQ(p.rect, (HintRect{506, 401, 633, 436}));
  // Near the bottom-right corner: above and left, its bottom-right corner at (x - 1, y - 1).
  p = PlaceHint({1020, 760}, size, kScreen, HintPosition::BelowRight);
  EXPECT_EQ(p.position, HintPosition::AboveLeft);
  EXPECT_EQ(p.rect, (HintRect{1019 - 127, 759 - 35, 1019, 759}));
  // Near the bottom-left corner: above-left does not fit, above-right does.
  p = PlaceHint({5, 760}, size, kScreen, HintPosition::BelowRight);
  EXPECT_EQ(p.position, HintPosition::AboveRight);
  EXPECT_EQ(p.rect, (HintRect{6, 759 - 35, 6 + 127, 759}));
  // Near the top-right corner: below-left, its right edge at x - 3.
  p = PlaceHint({1020, 5}, size, kScreen, HintPosition::BelowRight);
  EXPECT_EQ(p.position, HintPosition::BelowLeft);
  EXPECT_EQ(p.rect, (HintRect{1017 - 127, 6, 1017, 41}));
  // Nowhere fits (a screen smaller than the hint): the last one tried.
  EXPECT_EQ(PlaceHint({50, 20}, size, {0, 0, 100, 40}, HintPosition::BelowRight).position, HintPosition::BelowLeft);
  EXPECT_EQ(PlaceHint({50, 20}, size, {0, 0, 100, 40}, HintPosition::AboveLeft).position, HintPosition::BelowRight);
}

TEST(HintLayout, TheBubbleLeavesRoomForThePointerAndTheShadow) {
  const HintSize size{127, 35};
  EXPECT_EQ(HintBubbleRect(HintPosition::BelowRight, size, 4), (HintRect{15, 15, 123, 31}));
  EXPECT_EQ(HintBubbleRect(HintPosition::AboveLeft, size, 4), (HintRect{0, 0, 108, 16}));
  EXPECT_EQ(HintPointerTip(HintPosition::AboveLeft, size).x, 126);
  EXPECT_EQ(HintPointerTip(HintPosition::BelowRight, size).x, 0);
}

}  // namespace
}  // namespace krelmix
