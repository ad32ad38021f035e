#include "SkinCanvas.h"

#include <algorithm>
#include <cmath>

namespace artgen {

SkinCanvas::SkinCanvas(int width, int height, const std::array<uint32_t, 16>& palette, Inside inside, ArtScale scale)
    : scale_(scale),
      width_(width),
      height_(height),
      image_(scale.Edge(width), scale.Edge(height), palette),
      inside_(std::move(inside)) {}

void SkinCanvas::EachPixel(int x0, int y0, int x1, int y1, const PixelInk& ink) {
  for (int py = std::max(0, scale_.Edge(y0)); py < std::min(image_.Height(), scale_.Edge(y1 + 1)); ++py)
    for (int px = std::max(0, scale_.Edge(x0)); px < std::min(image_.Width(), scale_.Edge(x1 + 1)); ++px) {
      if (!PixelIn(px, py)) continue;
      if (const uint8_t chosen = ink(px, py, scale_.Design(px), scale_.Design(py)); chosen != 0)
        image_.Set(px, py, chosen);
    }
}

void SkinCanvas::Rect(int x0, int y0, int x1, int y1, uint8_t ink) {
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) Set(x, y, ink);
}

float SkinCanvas::Hash(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return static_cast<float>((h ^ (h >> 16)) & 0xFFFFFF) / 16777216.0f;
}

float SkinCanvas::Streak(int x, int y, int seed) {
  const float period = 37;
  const int cell = static_cast<int>(std::floor(x / period));
  const float t = x / period - cell;
  const float s = t * t * (3 - 2 * t);
  return Hash(cell, y, seed) * (1 - s) + Hash(cell + 1, y, seed) * s;
}

uint8_t SkinCanvas::Dither(float shade, int x, int y, int seed) {
  const float threshold = 0.08f + 0.84f * Streak(x * 3, y, seed);
  const int base = static_cast<int>(std::floor(shade));
  const int ink = base + (shade - base > threshold ? 1 : 0);
  return static_cast<uint8_t>(std::clamp(ink, 1, 11));
}

void SkinCanvas::OuterBevel() {
  for (int y = 0; y < Height(); ++y) {
    for (int x = 0; x < Width(); ++x) {
      if (!In(x, y)) continue;
      for (int d = 1; d <= 3; ++d) {
        const bool litSide = !In(x - d, y) || !In(x, y - d) || !In(x - d, y - d);
        const bool darkSide = !In(x + d, y) || !In(x, y + d) || !In(x + d, y + d);
        if (!litSide && !darkSide) continue;
        bool lit = litSide && !darkSide;
        // Where both meet (the top right and bottom left corners) the diagonal decides.
        if (litSide && darkSide) lit = !In(x, y - d) || !In(x - d, y);
        static const uint8_t litInks[] = {kRampDarkest, 10, 8};
        static const uint8_t darkInks[] = {kRampDarkest, 2, 3};
        Set(x, y, lit ? litInks[d - 1] : darkInks[d - 1]);
        break;
      }
    }
  }
}

void SkinCanvas::Sunken(int x0, int y0, int x1, int y1, int width) {
  static const uint8_t dark[] = {2, 1};
  static const uint8_t light[] = {8, 6};
  for (int i = 0; i < width; ++i) {
    const int k = width - 1 - i;  // the outer ring first
    HLine(x0 - 1 - i, x1 + i, y0 - 1 - i, dark[k]);
    VLine(x0 - 1 - i, y0 - 1 - i, y1 + i, dark[k]);
    HLine(x0 - i, x1 + 1 + i, y1 + 1 + i, light[k]);
    VLine(x1 + 1 + i, y0 - i, y1 + 1 + i, light[k]);
  }
}

void SkinCanvas::Socket(int x0, int y0, int x1, int y1) {
  Rect(x0, y0, x1, y1, 2);
  HLine(x0 + 1, x1 - 1, y0, kRampDarkest);
  VLine(x0, y0 + 1, y1 - 1, kRampDarkest);
  HLine(x0 + 1, x1 - 1, y0 + 1, kRampDarkest);
  VLine(x0 + 1, y0 + 1, y1 - 1, kRampDarkest);
  for (int x = x0 + 2; x < x1; ++x)  // a soft shadow under the top edge
    if ((x + y0) % 2 == 0) Set(x, y0 + 2, kRampDarkest);
  HLine(x0 + 2, x1 - 1, y1 - 1, 3);
  HLine(x0 + 1, x1 - 1, y1, 7);
  VLine(x1, y0 + 1, y1 - 1, 6);
  HLine(x0 + 2, x1 - 1, y1 + 1, 5);
}

void SkinCanvas::Screw(int cx, int cy) {
  EachPixel(cx - 4, cy - 4, cx + 4, cy + 4, [&](int px, int py, float x, float y) -> uint8_t {
    const float dx = x - cx, dy = y - cy;
    const float r = std::sqrt(dx * dx + dy * dy);
    if (r > 4.3f) return 0;
    if (r > 3.4f) return dx + dy < 0 ? 2 : 8;  // the countersink: shadow above, light below
    const float shade = 8.6f - (dx + dy) * 0.55f;
    return Dither(shade, px, py);
  });
  for (int i = -2; i <= 2; ++i) {  // the slot, at an angle
    Set(cx + i, cy - i, 2);
    Set(cx + i + 1, cy - i, 10);
  }
}

void SkinCanvas::Led(int cx, int cy, uint8_t ring, uint8_t body, uint8_t glint) {
  EachPixel(cx - 3, cy - 3, cx + 3, cy + 3, [&](int, int, float x, float y) -> uint8_t {
    const float r = std::hypot(x - cx, y - cy);
    return r <= 2.2f ? body : r <= 3.3f ? ring : 0;
  });
  Set(cx - 1, cy - 1, glint);
}

}  // namespace artgen
