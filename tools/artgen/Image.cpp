#include "Image.h"

#include <algorithm>

namespace artgen {

Colour Rgb(int r, int g, int b, float a) { return {r / 255.0f, g / 255.0f, b / 255.0f, a}; }

Colour Mix(const Colour& x, const Colour& y, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Colour Over(const Colour& top, const Colour& bottom, float coverage) {
  const float ta = top.a * std::clamp(coverage, 0.0f, 1.0f);
  const float a = ta + bottom.a * (1 - ta);
  if (a <= 0) return {0, 0, 0, 0};
  auto channel = [&](float t, float b) { return (t * ta + b * bottom.a * (1 - ta)) / a; };
  return {channel(top.r, bottom.r), channel(top.g, bottom.g), channel(top.b, bottom.b), a};
}

ColourImage::ColourImage(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void ColourImage::Blend(int x, int y, const Colour& c, float coverage) {
  if (Contains(x, y)) At(x, y) = Over(c, At(x, y), coverage);
}

IndexedImage::IndexedImage(int width, int height, const std::array<uint32_t, 16>& palette)
    : width_(width), height_(height), palette_(palette), pixels_(static_cast<size_t>(width) * height, 0) {}

}  // namespace artgen
