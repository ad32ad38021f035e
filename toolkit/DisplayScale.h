#pragma once
// The scale a window is drawn at: its monitor's DPI against the 96 every design table, font size
// and picture of the program is made for. The designs stay in 96-DPI units; a coordinate, a
// font's size and a picture are multiplied by the scale where they are used.
#include <windows.h>

#include <functional>

#include "toolkit/Control.h"

namespace krelmix {

constexpr int kDesignDpi = 96;

class DisplayScale {
 public:
  explicit DisplayScale(int dpi = kDesignDpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}
  int Dpi() const { return dpi_; }
  bool IsDesignSize() const { return dpi_ == kDesignDpi; }
  int operator()(int designUnits) const { return MulDiv(designUnits, dpi_, kDesignDpi); }
  SIZE operator()(SIZE s) const { return {(*this)(s.cx), (*this)(s.cy)}; }
  // The DPI of the art this scale is drawn from: the program's pictures are painted for 100, 125,
  // 150, 175 and 200% of the design, and a window takes those of the nearest scale at or above its
  // own (the largest, above 200%). 96 DPI takes the design's own.
  int ArtDpi() const;
  // The art's step in that list: 0 for 100%, 4 for 200%.
  int ArtStep() const { return (ArtDpi() - kDesignDpi) / kArtDpiStep; }
  // A picture painted for `artDpi` shown at this scale: as it is when it was painted for this
  // one, else its design size at this scale.
  SIZE Shown(SIZE picture, int artDpi) const {
    if (artDpi == dpi_ || artDpi <= 0) return picture;
    return (*this)(SIZE{MulDiv(picture.cx, kDesignDpi, artDpi), MulDiv(picture.cy, kDesignDpi, artDpi)});
  }
  static constexpr int kArtDpiStep = 24;  // 25% of 96
  static constexpr int kLargestArtDpi = 192;
  // A place: its edges scaled, so that neighbours that touch at 96 DPI touch at every scale.
  Bounds operator()(const Bounds& b) const {
    const int left = (*this)(b.left), top = (*this)(b.top);
    return {left, top, (*this)(b.left + b.width) - left, (*this)(b.top + b.height) - top};
  }

 private:
  int dpi_;
};

// A window moving from one scale to another (a monitor of another DPI): places and fonts made at
// `from` are made again at `to`. font() gives a font at the new scale, kept by the window.
struct ScaleChange {
  DisplayScale from, to;
  std::function<BorrowedFont(BorrowedFont)> font;
  int operator()(int pixels) const { return MulDiv(pixels, to.Dpi(), from.Dpi()); }
  RECT operator()(RECT r) const { return {(*this)(r.left), (*this)(r.top), (*this)(r.right), (*this)(r.bottom)}; }
};

// The DPI of a window's monitor (GetDpiForWindow where the system has it, before Windows 10
// the screen's), or of the primary monitor for no window.
int DpiOf(HWND window);

// The scale of the form whose controls are being made on this thread: Form::Add, a panel's
// AddGraphic and the pixel fonts take it. Outside of a form's making, the design size.
DisplayScale DesignScale();
class DesignScaleScope {
 public:
  explicit DesignScaleScope(DisplayScale scale);
  ~DesignScaleScope();
  DesignScaleScope(const DesignScaleScope&) = delete;
  DesignScaleScope& operator=(const DesignScaleScope&) = delete;

 private:
  DisplayScale previous_;
};

}  // namespace krelmix
