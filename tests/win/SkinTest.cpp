#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "../unit/MainOutline.h"
#include "KeyPress.h"
#include "SkinWindow.h"

namespace krelmix {
namespace {

using test::LeftDown;
using test::LeftUp;
using test::MoveMouse;
using test::RunWithInput;
using test::SkinWindow;

bool SameRegion(HRGN a, HRGN b) {
  GdiObject<HRGN> difference(CreateRectRgn(0, 0, 0, 0));
  return CombineRgn(difference.Get(), a, b, RGN_XOR) == NULLREGION;
}

GdiObject<HRGN> WindowRegion(HWND hwnd) {
  GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(hwnd, region.Get()) == ERROR) return {};
  return region;
}

GdiObject<HRGN> RegionFromStored(const std::vector<uint8_t>& stored) {
  return GdiObject<HRGN>(ExtCreateRegion(nullptr, static_cast<DWORD>(stored.size() - 4),
                                         reinterpret_cast<const RGNDATA*>(stored.data() + 4)));
}

TEST(SkinOutline, MainSkinResourceGivesTheStoredOutline) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  GdiObject<HBITMAP> skin(LoadBitmapResource(instance, IDB_SKIN_MAIN));
  ASSERT_TRUE(skin);
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectW(skin.Get(), sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBmih.biBitCount, 4);
  EXPECT_EQ(dib.dsBm.bmWidth, 600);
  EXPECT_EQ(dib.dsBm.bmHeight, 463);

  const std::vector<uint8_t> stored = LoadResourceBytes(instance, IDR_SKIN_MAIN_OUTLINE);
  const GdiObject<HRGN> computed = ComputeOutlineRegion(skin.Get(), std::nullopt);
  ASSERT_TRUE(computed);
  // Byte for byte what GDI reports for the region built run by run.
  EXPECT_EQ(StoredOutlineOf(computed.Get()), stored);
  const StoredOutline parsed = ParseStoredOutline(stored);
  ASSERT_EQ(parsed.kind, StoredOutlineKind::Outline);
  EXPECT_EQ(parsed.outline.rects, test::ExpectedMainOutline());
  EXPECT_EQ(parsed.outline.bounds, (RegionRect{5, 4, 597, 460}));

  // The key colour given explicitly gives the same; another key colour gives another outline.
  EXPECT_EQ(StoredOutlineOf(ComputeOutlineRegion(skin.Get(), RGB(252, 2, 4)).Get()), stored);
  EXPECT_NE(StoredOutlineOf(ComputeOutlineRegion(skin.Get(), RGB(0, 0, 0)).Get()), stored);
  EXPECT_FALSE(ComputeOutlineRegion(nullptr, std::nullopt));
}

// Art is painted for 100, 125, 150, 175 and 200%; a scale between takes the next above, and one
// above 200% the largest.
TEST(SkinOutline, ArtIsTakenFromTheNearestScaleAtOrAbove) {
  const std::pair<int, int> expected[] = {{72, 96},   {96, 96},   {97, 120},  {120, 120}, {121, 144},
                                          {144, 144}, {150, 168}, {168, 168}, {192, 192}, {288, 192}};
  for (const auto& [dpi, art] : expected) EXPECT_EQ(DisplayScale(dpi).ArtDpi(), art) << dpi << " DPI";
}

TEST(SkinOutline, TheMouseHookLivesAsLongAsAnySkinControl) {
  ASSERT_FALSE(TfcImageForm::MouseHookInstalled());
  auto first = std::make_unique<TfcImageForm>();
  EXPECT_TRUE(TfcImageForm::MouseHookInstalled());
  auto second = std::make_unique<TfcImageForm>();
  first.reset();
  EXPECT_TRUE(TfcImageForm::MouseHookInstalled());
  second.reset();
  EXPECT_FALSE(TfcImageForm::MouseHookInstalled());
}

TEST(SkinWindow, BorderlessShapedAndSizedToTheSkin) {
  SkinWindow window({});
  const HWND hwnd = window.Hwnd();
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN), 0);
  RECT client{}, frame{};
  GetClientRect(hwnd, &client);
  GetWindowRect(hwnd, &frame);
  EXPECT_EQ(client.right, 600);
  EXPECT_EQ(client.bottom, 463);
  EXPECT_EQ(frame.right - frame.left, 600);  // no border: client and window coincide

  const GdiObject<HRGN> region = WindowRegion(hwnd);
  ASSERT_TRUE(region);
  EXPECT_FALSE(PtInRegion(region.Get(), 4, 100));
  EXPECT_TRUE(PtInRegion(region.Get(), 40, 100));
  RECT box{};
  GetRgnBox(region.Get(), &box);
  EXPECT_EQ(box.right, 597);   // nothing at x = 597 or beyond
  EXPECT_EQ(box.bottom, 460);  // nor below y = 459
  // And the real screen agrees: a point outside the outline is not the window's.
  EXPECT_NE(WindowFromPoint({100 + 4, 100 + 100}), hwnd);
  EXPECT_EQ(WindowFromPoint({100 + 40, 100 + 100}), hwnd);
  EXPECT_NE(WindowFromPoint({100 + 300, 100 + 460}), hwnd);
  EXPECT_EQ(WindowFromPoint({100 + 300, 100 + 459}), hwnd);
}

TEST(SkinWindow, WithoutAStoredOutlineTheSkinGivesTheSameShape) {
  const std::vector<uint8_t> stored = LoadResourceBytes(GetModuleHandleW(nullptr), IDR_SKIN_MAIN_OUTLINE);
  const GdiObject<HRGN> expected = RegionFromStored(stored);
  {
    SkinWindow window({.storedOutline = false});
    EXPECT_TRUE(SameRegion(WindowRegion(window.Hwnd()).Get(), expected.Get()));
    EXPECT_EQ(window.Skin().ComputeRegionData(), stored);
  }
  {
    // A damaged block is not given to GDI: the skin's outline is used instead.
    std::vector<uint8_t> damaged = stored;
    damaged[12] = 0x7F;  // a rectangle count that does not fit the block
    SkinWindow window({.regionData = damaged});
    EXPECT_TRUE(SameRegion(WindowRegion(window.Hwnd()).Get(), expected.Get()));
  }
  {
    // A stored outline is applied as it is, even when it is not the skin's.
    SkinWindow window({.regionData = SerializeStoredOutline({{0, 0, 50, 60}})});
    RECT box{};
    GetRgnBox(WindowRegion(window.Hwnd()).Get(), &box);
    EXPECT_EQ(box.right, 50);
    EXPECT_EQ(box.bottom, 60);
  }
}

// A point of the skin where nothing lies: the vent between the settings and exit buttons.
constexpr POINT kSkinPoint{480, 40};

struct DragResult {
  POINT topLeft;
  bool outlineShown;  // seen on the screen while the button was held
  bool outlineLeft;   // still on the screen after the release
  int presses;        // presses that reached the window
  int quitCode;
};

// The strip once two looks 150 ms apart agree (at most 3 s), pumping between them. An outline
// left on the screen is as still as the rest, so waiting hides none.
std::vector<uint32_t> SettledStrip(int x, int y, int width, int height) {
  std::vector<uint32_t> last = test::ScreenStrip(x, y, width, height);
  for (int look = 0; look < 20; ++look) {
    test::Pump(150);
    std::vector<uint32_t> next = test::ScreenStrip(x, y, width, height);
    if (next == last) break;
    last = std::move(next);
  }
  return last;
}

// Presses at kSkinPoint, moves through `path` (offsets from the press point) and releases;
// `during` runs on the input thread while the button is still held after the last move.
DragResult Drag(SkinWindow& window, std::initializer_list<POINT> path, const std::function<void()>& during = nullptr) {
  const POINT origin = window.TopLeft();
  const int px = origin.x + kSkinPoint.x, py = origin.y + kSkinPoint.y;
  DragResult result{};
  // The outline of a drag ends up somewhere along the window's top edge; watch a strip of it.
  std::vector<uint32_t> before, held, after;
  result.quitCode = RunWithInput([&] {
    MoveMouse(px, py);
    before = test::ScreenStrip(origin.x + 200, origin.y, 200, 40);
    LeftDown();
    for (const POINT& step : path) MoveMouse(px + step.x, py + step.y);
    held = test::ScreenStrip(origin.x + 200, origin.y, 200, 40);
    if (during) during();
    LeftUp();
  });
  result.topLeft = window.TopLeft();
  result.outlineShown = held != before;
  // A left-over outline would be drawn over the window; repainting the window wipes it away.
  // Each look waits until the screen has settled: on a busy machine the window, and the desktop
  // it uncovered when it moved, paint well after the move.
  // Only the window's own pixels are compared: the desktop it uncovered is painted by another
  // program, whenever that program gets round to it, and repainting the window wipes nothing there.
  UpdateWindow(window.Hwnd());  // a paint still due after the move is done before the first look
  after = SettledStrip(origin.x + 200, origin.y, 200, 40);
  RedrawWindow(window.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const std::vector<uint32_t> repainted = SettledStrip(origin.x + 200, origin.y, 200, 40);
  const GdiObject<HRGN> own = WindowRegion(window.Hwnd());
  if (!own) ADD_FAILURE() << "the window has no outline to compare within";
  for (int i = 0; own && i < static_cast<int>(after.size()); ++i) {
    const int x = origin.x + 200 + i % 200 - result.topLeft.x, y = origin.y + i / 200 - result.topLeft.y;
    if (after[i] != repainted[i] && PtInRegion(own.Get(), x, y)) result.outlineLeft = true;
  }
  result.presses = window.Presses();
  return result;
}

TEST(SkinDrag, MovesWithinTheToleranceShowNothingAndMoveNothing) {
  SkinWindow window({});
  const DragResult r = Drag(window, {{3, 2}, {5, 5}, {-5, 4}});
  EXPECT_FALSE(r.outlineShown);
  EXPECT_EQ(r.topLeft.x, 100);
  EXPECT_EQ(r.topLeft.y, 100);
  EXPECT_EQ(r.presses, 0);  // the press was taken by the drag, even though nothing moved
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST(SkinDrag, OnePixelBeyondTheToleranceShowsTheOutlineAndMovesTheWindow) {
  SkinWindow window({});
  DragResult r = Drag(window, {{6, 5}});
  EXPECT_TRUE(r.outlineShown);
  EXPECT_FALSE(r.outlineLeft);
  EXPECT_EQ(r.topLeft.x, 106);
  EXPECT_EQ(r.topLeft.y, 105);
  r = Drag(window, {{0, -6}});
  EXPECT_EQ(r.topLeft.x, 106);
  EXPECT_EQ(r.topLeft.y, 99);
  EXPECT_EQ(r.presses, 0);
}

TEST(SkinDrag, ReleasedBackInsideTheToleranceTheWindowGoesToTheLastOutline) {
  SkinWindow window({});
  const DragResult r = Drag(window, {{20, 15}, {40, 30}, {3, 2}});
  EXPECT_EQ(r.topLeft.x, 140);
  EXPECT_EQ(r.topLeft.y, 130);
  EXPECT_FALSE(r.outlineLeft);
}

TEST(SkinDrag, PressAndReleaseWithoutMovingKeepsThePlace) {
  SkinWindow window({});
  const DragResult r = Drag(window, {});
  EXPECT_FALSE(r.outlineShown);
  EXPECT_EQ(r.topLeft.x, 100);
  EXPECT_EQ(r.topLeft.y, 100);
  EXPECT_EQ(r.presses, 0);
}

TEST(SkinDrag, APressOnAHandledControlIsNotADrag) {
  std::vector<POINT> asked;
  SkinWindow window({.isHandledAt = [&](POINT client) {
    asked.push_back(client);
    return true;
  }});
  const DragResult r = Drag(window, {{30, 30}});
  EXPECT_FALSE(r.outlineShown);
  EXPECT_EQ(r.topLeft.x, 100);
  EXPECT_EQ(r.topLeft.y, 100);
  EXPECT_EQ(r.presses, 1);  // the control under the press gets it
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.front().x, kSkinPoint.x);  // asked in client coordinates
  EXPECT_EQ(asked.front().y, kSkinPoint.y);
}

TEST(SkinDrag, AnErrorInTheFormsCallbackIsReportedAndThePressGoesOn) {
  std::wstring reported;
  SkinWindow window({.isHandledAt = [](POINT) -> bool { throw std::runtime_error("no such control"); },
                     .onError = [&](const std::wstring& text) { reported = text; }});
  const DragResult r = Drag(window, {{30, 30}});
  EXPECT_EQ(reported, L"no such control");
  EXPECT_EQ(r.topLeft.x, 100);
  EXPECT_EQ(r.topLeft.y, 100);
  EXPECT_EQ(r.presses, 1);
}

TEST(SkinDrag, LosingTheCaptureEndsTheDragWhereTheWindowWas) {
  SkinWindow window({});
  const HWND hwnd = window.Hwnd();
  const DragResult r = Drag(window, {{30, 20}}, [hwnd] {
    PostMessageW(hwnd, test::kStealCapture, 0, 0);
    Sleep(200);
  });
  EXPECT_TRUE(r.outlineShown);
  EXPECT_FALSE(r.outlineLeft);  // the outline does not stay behind on the screen
  EXPECT_EQ(r.topLeft.x, 100);
  EXPECT_EQ(r.topLeft.y, 100);
  ReleaseCapture();
}

TEST(SkinDrag, AKeyTypedDuringADragPassesTheStepBeforeDispatch) {
  SkinWindow window({});
  std::vector<std::string> asked;
  test::KeyLog log(asked, 'A');
  const HWND hwnd = window.Hwnd();
  Drag(window, {{30, 20}}, [hwnd] {
    PostMessageW(hwnd, WM_KEYDOWN, 'K', 0);
    Sleep(200);
  });
  EXPECT_EQ(asked, std::vector<std::string>{"AK"});
}

TEST(SkinDrag, AQuitRequestEndsTheDragAndIsPassedOn) {
  SkinWindow window({});
  const DWORD thread = GetCurrentThreadId();
  const DragResult r = Drag(window, {{30, 20}}, [thread] {
    PostThreadMessageW(thread, WM_QUIT, 7, 0);
    Sleep(200);
  });
  EXPECT_EQ(r.quitCode, 7);
  EXPECT_FALSE(r.outlineLeft);
  EXPECT_EQ(r.topLeft.x, 100);
  EXPECT_EQ(r.topLeft.y, 100);
}

TEST(SkinDrag, APressOnAnInactiveWindowOfOursDoesNotMoveIt) {
  SkinWindow other({.at = {300, 250}});
  SkinWindow active({.at = {0, 0}});
  // `active` holds the focus; the press lands on `other` where `active` does not cover it.
  ASSERT_EQ(GetFocus(), active.Hwnd());
  const DragResult r = Drag(other, {{30, 20}});
  EXPECT_EQ(r.topLeft.x, 300);
  EXPECT_EQ(r.topLeft.y, 250);
}

}  // namespace
}  // namespace krelmix
