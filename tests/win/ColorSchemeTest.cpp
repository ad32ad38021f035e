// The windows' texts read from their colours alone, in the standard scheme and in high contrast:
// the high-contrast black colours written into this process's system colours, and the scheme's
// switch (which Wine 8 always answers "off") said to be on.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "SkinWindow.h"
#include "forms/About.h"
#include "forms/DirKillerForm.h"
#include "toolkit/ColorScheme.h"
#include "toolkit/HintLayout.h"
#include "toolkit/ShapeHint.h"

namespace krelmix {
namespace {

class HighContrastBlack {
 public:
  HighContrastBlack() {
    for (const auto& [index, colour] : kScheme) saved_.push_back(GetSysColor(index));
    Write(true);
  }
  ~HighContrastBlack() { Write(false); }

 private:
  void Write(bool on) {
    std::vector<int> indices;
    std::vector<COLORREF> colours;
    for (size_t i = 0; i < std::size(kScheme); ++i) {
      indices.push_back(kScheme[i].first);
      colours.push_back(on ? kScheme[i].second : saved_[i]);
    }
    SetHighContrastProbe(on ? std::function<bool()>([] { return true; }) : nullptr);
    SetSysColors(static_cast<int>(indices.size()), indices.data(), colours.data());
    test::Pump(300);
  }
  static constexpr std::pair<int, COLORREF> kScheme[] = {{COLOR_WINDOW, RGB(0, 0, 0)},
                                                         {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
                                                         {COLOR_BTNFACE, RGB(0, 0, 0)},
                                                         {COLOR_BTNTEXT, RGB(255, 255, 255)},
                                                         {COLOR_INFOBK, RGB(0, 0, 0)},
                                                         {COLOR_INFOTEXT, RGB(255, 255, 255)},
                                                         {COLOR_GRAYTEXT, RGB(63, 242, 63)},
                                                         {COLOR_HIGHLIGHT, RGB(26, 235, 255)},
                                                         {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
                                                         {COLOR_BTNSHADOW, RGB(128, 128, 128)},
                                                         {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)}};
  std::vector<COLORREF> saved_;
};

struct TextPlace {
  COLORREF background;  // its most common colour
  int readable;         // pixels that stand out from it by the contrast text needs; 0: nothing reads
};

// A text's place on the screen, inset from its control's edges so that no frame or bevel counts.
TextPlace Measure(HWND window, RECT client) {
  InflateRect(&client, -2, -2);
  POINT origin{client.left, client.top};
  ClientToScreen(window, &origin);
  const int width = client.right - client.left, height = client.bottom - client.top;
  const std::vector<uint32_t> pixels = test::ScreenStrip(origin.x, origin.y, width, height);
  std::map<uint32_t, int> counts;
  for (uint32_t p : pixels) ++counts[p & 0xFFFFFF];
  const uint32_t background =
      std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
  auto colour = [](uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); };
  const auto readable = std::count_if(pixels.begin(), pixels.end(),
                                      [&](uint32_t p) { return ContrastRatio(colour(p), colour(background)) >= 4.5; });
  return {colour(background), static_cast<int>(readable)};
}

void ShowOnTop(HWND window) {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(window);
  test::Pump(400);
}

constexpr int kText = 12;  // pixels of a figure or a line of text, at the least

// The result window's figures; they follow a change of scheme while the window is open.
TEST(HighContrast, TheResultWindowsFiguresReadInEitherSchemeAndFollowTheChange) {
  TempCleanResult result;
  result.removedDirs = 48;
  result.killedFiles = 12;
  result.failedFiles = 7;
  TDirKillerForm2 form(result);
  form.CreateForm(nullptr);
  ShowOnTop(form.Handle());
  // Label4, Label5 and Label10 on the panel at (2, 2).
  const RECT figures[] = {{67, 27, 159, 42}, {67, 44, 159, 59}, {67, 119, 159, 134}};
  for (const RECT& r : figures) EXPECT_GE(Measure(form.Handle(), r).readable, kText) << "standard scheme";
  HighContrastBlack scheme;
  for (const RECT& r : figures) {
    const TextPlace place = Measure(form.Handle(), r);
    EXPECT_GE(place.readable, kText) << "high contrast";
    EXPECT_EQ(place.background, GetSysColor(COLOR_BTNFACE)) << "the scheme's colours did not reach the window";
  }
}

TEST(HighContrast, TheAboutWindowsReleaseAndCopyrightLinesRead) {
  HighContrastBlack scheme;
  TAboutForm form;
  form.CreateForm(nullptr);
  ShowOnTop(form.Handle());
  // SRLabel1 and Label1 on the panel at (105, 9).
  EXPECT_GE(Measure(form.Handle(), {106, 92, 286, 109}).readable, kText) << "release";
  EXPECT_GE(Measure(form.Handle(), {106, 129, 286, 142}).readable, kText) << "copyright";
}

TEST(HighContrast, TheHintsTextReads) {
  HighContrastBlack scheme;
  ShapeHint hint;
  HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
  ASSERT_NE(tooltip, nullptr);
  hint.Adopt(tooltip, [] { return std::wstring(L"Поиск мусора на отмеченных дисках"); });
  SetCursorPos(200, 200);
  SetWindowPos(tooltip, HWND_TOPMOST, 200, 200, 10, 10, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  test::Pump(400);
  RECT window{};
  GetWindowRect(tooltip, &window);
  const HintSize size{window.right - window.left, window.bottom - window.top};
  const HintRect text = HintTextRect(HintPosition::BelowRight, size, 4, size.width - 27, size.height - 22);
  const TextPlace place = Measure(tooltip, {text.left, text.top, text.right, text.bottom});
  EXPECT_GE(place.readable, kText);
  EXPECT_EQ(place.background, GetSysColor(COLOR_INFOBK));
  DestroyWindow(tooltip);
}

}  // namespace
}  // namespace krelmix
