#include "SkinCanvas.h"

#include <algorithm>
#include <cmath>

namespace artgen {

SkinCanvas::SkinCanvas(int width, int height, const std::array<uint32_t, 16>& palette, Inside inside)
    : image_(width, height, palette), inside_(std::move(inside)) {}

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
        image_.Set(x, y, lit ? litInks[d - 1] : darkInks[d - 1]);
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
  for (int y = cy - 4; y <= cy + 4; ++y)
    for (int x = cx - 4; x <= cx + 4; ++x) {
      const float dx = x - cx, dy = y - cy;
      const float r = std::sqrt(dx * dx + dy * dy);
      if (r > 4.3f) continue;
      if (r > 3.4f) {
        Set(x, y, dx + dy < 0 ? 2 : 8);  // the countersink: shadow above, light below
        continue;
      }
      const float shade = 8.6f - (dx + dy) * 0.55f;
      Set(x, y, Dither(shade, x, y));
    }
  for (int i = -2; i <= 2; ++i) {  // the slot, at an angle
    Set(cx + i, cy - i, 2);
    Set(cx + i + 1, cy - i, 10);
  }
}

void SkinCanvas::Led(int cx, int cy, uint8_t ring, uint8_t body, uint8_t glint) {
  for (int y = cy - 3; y <= cy + 3; ++y)
    for (int x = cx - 3; x <= cx + 3; ++x) {
      const float r = std::hypot(static_cast<float>(x - cx), static_cast<float>(y - cy));
      if (r <= 2.2f)
        Set(x, y, body);
      else if (r <= 3.3f)
        Set(x, y, ring);
    }
  Set(cx - 1, cy - 1, glint);
}

}  // namespace artgen
