// The program's tooltips as shaped bubbles, placed by the room the screen leaves.
#include <gtest/gtest.h>

#include "Harness.h"

namespace krelmix::e2e {

namespace {

// Moves the main window so that the control's centre lands on `screen`, rests the mouse there and
// returns the tooltip window that shows.
HWND HintAt(RunningProgram& program, HWND main, const std::wstring& control, POINT screen) {
  const ControlInfo info = FindControl(main, control);
  POINT centre{(info.bounds.left + info.bounds.right) / 2, (info.bounds.top + info.bounds.bottom) / 2};
  POINT origin{0, 0};
  ClientToScreen(main, &origin);
  RECT frame{};
  GetWindowRect(main, &frame);
  SetWindowPos(main, nullptr, screen.x - centre.x - (origin.x - frame.left),
               screen.y - centre.y - (origin.y - frame.top), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Sleep(500);
  SetCursorPos(screen.x - 20, screen.y - 20);
  Sleep(300);
  SetCursorPos(screen.x, screen.y);
  return program.WaitForWindow(L"tooltips_class32", 5000);
}

}  // namespace

TEST(ShapedHint, TheBubbleFollowsItsTextAndOpensWhereTheScreenLeavesRoom) {
  RunningProgram program("[Options]\r\n0=0\r\n");
  program.Start();
  HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);

  // Near the bottom-right corner: above and to the left, its bottom-right corner at (x - 1, y - 1).
  const POINT corner{w - 20, h - 15};
  HWND hint = HintAt(program, main, L"SpeedButton7", corner);
  ASSERT_NE(hint, nullptr);
  RECT r{};
  GetWindowRect(hint, &r);
  EXPECT_EQ(r.right, corner.x - 1);
  EXPECT_EQ(r.bottom, corner.y - 1);
  EXPECT_FALSE(GetWindowLongW(hint, GWL_STYLE) & WS_BORDER);
  const long shortWidth = r.right - r.left, height = r.bottom - r.top;
  EXPECT_GE(shortWidth, 46 + 27);  // "Выход" is narrower than the least text width
  EXPECT_GT(height, 22);
  EXPECT_LT(height, 22 + 30);

  // Near the top-left corner: below and to the right, its top-left corner at (x + 6, y + 1); a
  // longer text makes a wider bubble.
  SetCursorPos(w / 2, h / 2);
  Sleep(500);
  const POINT topLeft{60, 40};
  hint = HintAt(program, main, L"SpeedButton5", topLeft);  // "Удалить сразу все"
  ASSERT_NE(hint, nullptr);
  GetWindowRect(hint, &r);
  EXPECT_EQ(r.left, topLeft.x + 6);
  EXPECT_EQ(r.top, topLeft.y + 1);
  EXPECT_GT(r.right - r.left, shortWidth);
}

}  // namespace krelmix::e2e

namespace krelmix::e2e {

// "Удалить" is disabled until a search finds something; its hint still shows, laid out for its text.
TEST(ShapedHint, ADisabledButtonShowsItsHint) {
  RunningProgram program("[Options]\r\n0=0\r\n");
  program.Start();
  HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_FALSE(FindControl(main, L"SpeedButton3").enabled);
  HWND hint = HintAt(program, main, L"SpeedButton3", {400, 300});
  ASSERT_NE(hint, nullptr);
  RECT r{};
  GetWindowRect(hint, &r);
  EXPECT_GT(r.right - r.left, 46 + 27) << "the bubble was laid out for no text";
}

}  // namespace krelmix::e2e
