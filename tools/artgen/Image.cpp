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

ColourImage::ColourImage(int width, int height, Colour fill, ArtScale scale)
    : scale_(scale),
      width_(scale.Edge(width)),
      height_(scale.Edge(height)),
      pixels_(static_cast<size_t>(width_) * height_, fill) {}

void ColourImage::Blend(int x, int y, const Colour& c, float coverage) {
  if (Contains(x, y)) At(x, y) = Over(c, At(x, y), coverage);
}

void ColourImage::SetCell(int x, int y, const Colour& c) {
  for (int py = scale_.Edge(y); py < scale_.Edge(y + 1); ++py)
    for (int px = scale_.Edge(x); px < scale_.Edge(x + 1); ++px)
      if (Contains(px, py)) At(px, py) = c;
}

void ColourImage::BlendCell(int x, int y, const Colour& c) {
  for (int py = scale_.Edge(y); py < scale_.Edge(y + 1); ++py)
    for (int px = scale_.Edge(x); px < scale_.Edge(x + 1); ++px) Blend(px, py, c);
}

IndexedImage::IndexedImage(int width, int height, const std::array<uint32_t, 16>& palette)
    : width_(width), height_(height), palette_(palette), pixels_(static_cast<size_t>(width) * height, 0) {}

}  // namespace artgen
