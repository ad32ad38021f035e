#pragma once
// A window moved to a monitor of another scale. Wine shows one monitor, so the test sends
// WM_DPICHANGED itself, with the rectangle the system suggests: the client area times the scale,
// framed as the window is, its top-left moved a little to tell it from where the window was.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "toolkit/Form.h"

namespace krelmix::test {

struct PlacedControl {
  std::wstring name;
  RECT bounds{};
  SIZE text{};  // the caption in the control's font
};

struct Layout {
  RECT window{};
  SIZE client{};
  std::vector<PlacedControl> controls;
};

inline Layout LayoutOf(const Form& form) {
  Layout layout;
  GetWindowRect(form.Handle(), &layout.window);
  RECT client{};
  GetClientRect(form.Handle(), &client);
  layout.client = {client.right, client.bottom};
  std::wistringstream lines(form.DescribeControls());
  for (std::wstring line; std::getline(lines, line);) {
    std::vector<std::wstring> f;
    std::wistringstream fields(line);
    for (std::wstring field; std::getline(fields, field, L'\t');) f.push_back(field);
    if (f.size() < 12) continue;
    const long left = std::stol(f[2]), top = std::stol(f[3]);
    layout.controls.push_back(
        {f[0], {left, top, left + std::stol(f[4]), top + std::stol(f[5])}, {std::stol(f[10]), std::stol(f[11])}});
  }
  return layout;
}

inline void ExpectScaled(const Layout& design, const Layout& now, int dpi) {
  auto scaled = [dpi](long v) { return MulDiv(v, dpi, 96); };
  EXPECT_NEAR(now.client.cx, scaled(design.client.cx), 2);
  EXPECT_NEAR(now.client.cy, scaled(design.client.cy), 2);
  ASSERT_EQ(now.controls.size(), design.controls.size());
  for (size_t i = 0; i < now.controls.size(); ++i) {
    const PlacedControl &was = design.controls[i], &is = now.controls[i];
    SCOPED_TRACE(testing::PrintToString(is.name));
    EXPECT_NEAR(is.bounds.left, scaled(was.bounds.left), 2);
    EXPECT_NEAR(is.bounds.top, scaled(was.bounds.top), 2);
    EXPECT_NEAR(is.bounds.right, scaled(was.bounds.right), 2);
    EXPECT_NEAR(is.bounds.bottom, scaled(was.bounds.bottom), 2);
    // The font follows: the caption takes about the scaled room (hinting makes sizes uneven).
    EXPECT_NEAR(is.text.cy, scaled(was.text.cy), scaled(was.text.cy) / 5 + 1);
  }
}

// Moves the form to a monitor of `dpi` and checks it laid itself out again there; `there` runs
// while it is there, before it is moved back.
inline void ExpectLaidOutAgainAt(Form& form, int dpi, const std::function<void()>& there = {}) {
  const Layout design = LayoutOf(form);
  const HWND hwnd = form.Handle();
  RECT suggested{0, 0, MulDiv(design.client.cx, dpi, 96), MulDiv(design.client.cy, dpi, 96)};
  AdjustWindowRectEx(&suggested, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
  OffsetRect(&suggested, design.window.left + 7 - suggested.left, design.window.top + 5 - suggested.top);
  SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  const Layout moved = LayoutOf(form);
  EXPECT_EQ(form.Scale().Dpi(), dpi);
  EXPECT_EQ(moved.window.left, suggested.left);
  EXPECT_EQ(moved.window.top, suggested.top);
  ExpectScaled(design, moved, dpi);
  if (there) there();
  // And back: where it was, as it was.
  RECT back = design.window;
  SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
  ExpectScaled(design, LayoutOf(form), 96);
}

}  // namespace krelmix::test
