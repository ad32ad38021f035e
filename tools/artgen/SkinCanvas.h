#pragma once
// Painting tools shared by the window skins: a 16-colour picture with a shape, brushed metal on
// a grey ramp, rims, sunken frames, sockets, screws and lights.
#include <cstdint>
#include <functional>

#include "Image.h"

namespace artgen {

// Palette indices 1 to 11 of every skin are the same ramp of cool greys, darkest first.
enum Ramp : uint8_t { kRampDarkest = 1, kRampLightest = 11 };

class SkinCanvas {
 public:
  using Inside = std::function<bool(int x, int y)>;
  SkinCanvas(int width, int height, const std::array<uint32_t, 16>& palette, Inside inside);

  int Width() const { return image_.Width(); }
  int Height() const { return image_.Height(); }
  bool In(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height() && inside_(x, y); }
  uint8_t At(int x, int y) const { return image_.At(x, y); }
  const IndexedImage& Image() const { return image_; }

  // Paints only inside the window's shape, so no decoration can change the outline.
  void Set(int x, int y, uint8_t ink) {
    if (In(x, y)) image_.Set(x, y, ink);
  }
  void Rect(int x0, int y0, int x1, int y1, uint8_t ink);  // inclusive corners
  void HLine(int x0, int x1, int y, uint8_t ink) { Rect(x0, y, x1, y, ink); }
  void VLine(int x, int y0, int y1, uint8_t ink) { Rect(x, y0, x, y1, ink); }

  static float Hash(int x, int y, int seed);
  // Smooth noise along a row: the streaks of brushed metal.
  static float Streak(int x, int y, int seed);
  // Dithering of a shade on the grey ramp with a threshold that runs in streaks along the rows:
  // the grain of brushed metal instead of a checker pattern.
  static uint8_t Dither(float shade, int x, int y, int seed = 17);

  // The rim: a dark line round the shape, lit on its upper and left sides.
  void OuterBevel();
  // A sunken frame round [x0, x1] x [y0, y1] (inclusive), `width` pixels deep (1 or 2).
  void Sunken(int x0, int y0, int x1, int y1, int width);
  // A dark, smooth recess with soft corners, for buttons to sit in.
  void Socket(int x0, int y0, int x1, int y1);
  void Screw(int cx, int cy);
  void Led(int cx, int cy, uint8_t ring, uint8_t body, uint8_t glint);

 private:
  IndexedImage image_;
  Inside inside_;
};

}  // namespace artgen
