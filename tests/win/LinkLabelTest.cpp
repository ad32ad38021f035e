#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/LinkLabel.h"

namespace krelmix {
namespace {

constexpr int kW = 120, kH = 40;
constexpr COLORREF kUntouched = RGB(255, 0, 255), kText = RGB(200, 0, 0), kLight = RGB(0, 200, 0),
                   kDark = RGB(0, 0, 200);

// The label painted once into a fresh picture filled with kUntouched.
struct Painted {
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * kW + x]; }
  // The leftmost and rightmost columns holding a colour; -1 when it is nowhere.
  std::pair<int, int> Columns(COLORREF colour) const {
    int first = -1, last = -1;
    for (int x = 0; x < kW; ++x)
      for (int y = 0; y < kH; ++y)
        if (At(x, y) == colour) {
          if (first < 0) first = x;
          last = x;
        }
    return {first, last};
  }
  bool Has(COLORREF colour) const { return Columns(colour).first >= 0; }
};

Painted Paint(LinkLabel& label) {
  WindowDC screen(nullptr);
  MemoryDC memory(screen.Get());
  Bitmap picture(CreateCompatibleBitmap(screen.Get(), kW, kH));
  SelectGuard selected(memory.Get(), picture.Get());
  Brush fill(CreateSolidBrush(kUntouched));
  RECT all{0, 0, kW, kH};
  FillRect(memory.Get(), &all, fill.Get());
  label.Paint(memory.Get());
  Painted painted;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) painted.pixels.push_back(GetPixel(memory.Get(), x, y));
  return painted;
}

struct LinkLabelPaint : ::testing::Test {
  Font font = CreatePixelFont(L"Arial", 24, FW_BOLD);
  LinkLabel label{L"SRLabel1"};
  void SetUp() override {
    label.Create({.bounds = {0, 0, kW, kH}, .caption = L"HIH", .font = font});
    label.Look().fontColor = kText;
    label.Look().alignment = DT_CENTER;
    label.Look().layout = TextLayout::Center;
  }
};

TEST_F(LinkLabelPaint, BackgroundOnlyWhenOpaqueOrHoveringInAnotherColour) {
  label.Look().color = RGB(10, 20, 30);
  EXPECT_EQ(Paint(label).At(1, 1), RGB(10, 20, 30));
  label.Look().transparent = true;
  EXPECT_EQ(Paint(label).At(1, 1), kUntouched);
  // An inactive label keeps its look under the mouse.
  label.Look().hoverColor = RGB(250, 250, 0);
  label.MouseEnter();
  EXPECT_FALSE(label.Hovering());
  EXPECT_EQ(Paint(label).At(1, 1), kUntouched);
  label.MouseLeave();
}

TEST_F(LinkLabelPaint, HighlightUpLeftShadowDownRightTextBetween) {
  label.Look().transparent = true;
  label.Look().showHighlight = true;
  label.Look().highlightColor = kLight;
  label.Look().highlightOffset = 2;
  label.Look().showShadow = true;
  label.Look().shadowColor = kDark;
  const Painted p = Paint(label);
  ASSERT_TRUE(p.Has(kText) && p.Has(kLight) && p.Has(kDark));
  EXPECT_LT(p.Columns(kLight).first, p.Columns(kText).first);
  EXPECT_GT(p.Columns(kDark).second, p.Columns(kText).second);
  label.Look().highlightPos = HighlightPos::TopRight;  // the highlight goes right, the shadow left
  const Painted right = Paint(label);
  EXPECT_GT(right.Columns(kLight).second, right.Columns(kText).second);
  EXPECT_LT(right.Columns(kDark).first, right.Columns(kText).first);
}

TEST_F(LinkLabelPaint, RaisedAndLoweredBevelsAreBevelWidthDeep) {
  label.Look().transparent = true;
  label.Look().bevel = LabelBevel::Raised;
  label.Look().bevelWidth = 2;
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  Painted p = Paint(label);
  EXPECT_EQ(p.At(0, 20), light);
  EXPECT_EQ(p.At(1, 20), light);
  EXPECT_EQ(p.At(60, 0), light);
  EXPECT_EQ(p.At(kW - 1, 20), dark);
  EXPECT_EQ(p.At(kW - 2, 20), dark);
  EXPECT_EQ(p.At(60, kH - 1), dark);
  EXPECT_EQ(p.At(2, 20), kUntouched);
  label.Look().bevel = LabelBevel::Lowered;
  p = Paint(label);
  EXPECT_EQ(p.At(0, 20), dark);
  EXPECT_EQ(p.At(kW - 1, 20), light);
}

TEST_F(LinkLabelPaint, HoverOverAnActiveLinkTakesItsColoursAndCursorDisabledLooksEtched) {
  label.Look().transparent = true;
  label.Look().linkActive = true;
  label.Look().hoverColor = kLight;
  label.Look().hoverFontColor = kDark;
  const BorrowedCursor before = SystemCursor(IDC_HELP);
  label.SetCursor(before);
  ASSERT_TRUE(ScreenCursor(kLinkCursor));  // registered from the program's resources
  label.MouseEnter();
  EXPECT_EQ(label.Cursor(), ScreenCursor(kLinkCursor));
  Painted p = Paint(label);
  EXPECT_EQ(p.At(1, 1), kLight);
  EXPECT_TRUE(p.Has(kDark));
  EXPECT_FALSE(p.Has(kText));
  label.MouseLeave();
  EXPECT_EQ(label.Cursor(), before);
  p = Paint(label);
  EXPECT_EQ(p.At(1, 1), kUntouched);
  EXPECT_TRUE(p.Has(kText));
  label.SetEnabled(false);
  p = Paint(label);
  EXPECT_FALSE(p.Has(kText));
  EXPECT_TRUE(p.Has(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_TRUE(p.Has(GetSysColor(COLOR_BTNHIGHLIGHT)));
}

TEST_F(LinkLabelPaint, ACaptionWiderThanTheLabelIsCondensedToFitNotCut) {
  // Twenty bars, about twice the label's width in this font: all twenty show, each apart.
  std::wstring bars;
  for (int i = 0; i < 20; ++i) bars += L"I ";
  label.SetCaption(bars);
  label.Look().transparent = true;
  const Painted painted = Paint(label);
  int runs = 0;
  for (int x = 0, y = kH / 2; x < kW; ++x)
    if (painted.At(x, y) != kUntouched && (x == 0 || painted.At(x - 1, y) == kUntouched)) ++runs;
  EXPECT_EQ(runs, 20);
}

// A label on a window at 150% shows the link cursor painted for 150%, at its own size: 48 pixels
// wide, the hot spot on the finger tip as at 96 DPI.
TEST(LinkLabel, OnAScaledWindowTheLinkCursorIsPaintedForTheScale) {
  LinkLabel label{L"SRLabel2"};
  {
    const DesignScaleScope scale(DisplayScale(144));
    label.Create({.bounds = {0, 0, kW, kH}, .caption = L"HIH"});
  }
  label.Look().linkActive = true;
  label.MouseEnter();
  ICONINFO scaled{}, design{};
  ASSERT_TRUE(GetIconInfo(label.Cursor().Get(), &scaled));
  ASSERT_TRUE(GetIconInfo(ScreenCursor(kLinkCursor).Get(), &design));
  BITMAP mask{};
  GetObjectW(scaled.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmWidth, 48);
  EXPECT_EQ(scaled.xHotspot, static_cast<DWORD>(MulDiv(static_cast<int>(design.xHotspot), 144, 96)));
  EXPECT_EQ(scaled.yHotspot, static_cast<DWORD>(MulDiv(static_cast<int>(design.yHotspot), 144, 96)));
  for (const ICONINFO& info : {scaled, design}) {
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
  }
}

TEST(LinkLabel, AClickRunsItsHandlerThenHandsTheTargetToTheShell) {
  LinkLabel label(L"SRLabel2");
  label.Create({.bounds = {0, 0, 10, 10}});
  std::vector<std::wstring> events;
  label.onClick = [&] { events.push_back(L"click"); };
  label.onLink = [&] { events.push_back(L"link"); };
  label.openInShell = [&](const std::wstring& target) { events.push_back(target); };
  label.Look().linkedAddress = L"support@krelmix.example";
  auto clicked = [&](LinkType type, bool active = true) {
    events.clear();
    label.Look().linkType = type;
    label.Look().linkActive = active;
    label.Click();
    return events;
  };
  using V = std::vector<std::wstring>;
  EXPECT_EQ(clicked(LinkType::EMail), (V{L"click", L"link", L"mailto:support@krelmix.example"}));
  EXPECT_EQ(clicked(LinkType::News), (V{L"click", L"link", L"news:support@krelmix.example"}));
  EXPECT_EQ(clicked(LinkType::WWW), (V{L"click", L"link", L"support@krelmix.example"}));
  EXPECT_EQ(clicked(LinkType::None), V{L"click"});
  EXPECT_EQ(clicked(LinkType::WWW, false), V{L"click"});
  label.SetEnabled(false);
  EXPECT_EQ(clicked(LinkType::WWW), V{L"click"});
  label.SetEnabled(true);
  label.Look().linkedAddress.clear();
  EXPECT_EQ(clicked(LinkType::WWW), V{L"click"});
}

}  // namespace
}  // namespace krelmix
