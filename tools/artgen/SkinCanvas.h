#pragma once
// Painting tools shared by the window skins: a 16-colour picture with a shape, brushed metal on
// a grey ramp, rims, sunken frames, sockets, screws and lights.
#include <cstdint>
#include <functional>

#include "Image.h"

namespace artgen {

// Palette indices 1 to 11 of every skin are the same ramp of cool greys, darkest first.
enum Ramp : uint8_t { kRampDarkest = 1, kRampLightest = 11 };

// Painters work in design pixels (96 DPI); the canvas lays each onto the picture pixels it covers
// at its scale. Textures and round parts are painted per picture pixel, so they stay fine-grained
// and round at any scale.
class SkinCanvas {
 public:
  using Inside = std::function<bool(int x, int y)>;
  // Called for each picture pixel inside the shape with its coordinates and its centre in design
  // units; gives the ink, or 0 to leave the pixel as it is.
  using PixelInk = std::function<uint8_t(int px, int py, float x, float y)>;
  SkinCanvas(int width, int height, const std::array<uint32_t, 16>& palette, Inside inside,
             ArtScale scale = ArtScale());

  int Width() const { return width_; }  // in design pixels
  int Height() const { return height_; }
  const ArtScale& Scale() const { return scale_; }
  bool In(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height() && inside_(x, y); }
  // Whether a picture pixel lies inside the shape.
  bool PixelIn(int px, int py) const { return In(scale_.Cell(px), scale_.Cell(py)); }
  uint8_t At(int x, int y) const { return image_.At(scale_.Edge(x), scale_.Edge(y)); }
  const IndexedImage& Image() const { return image_; }

  // Paints only inside the window's shape, so no decoration can change the outline.
  void Set(int x, int y, uint8_t ink) {
    if (!In(x, y)) return;
    for (int py = scale_.Edge(y); py < scale_.Edge(y + 1); ++py)
      for (int px = scale_.Edge(x); px < scale_.Edge(x + 1); ++px) image_.Set(px, py, ink);
  }
  // Paints the picture pixels of design pixels [x0, x1] x [y0, y1] one by one.
  void EachPixel(int x0, int y0, int x1, int y1, const PixelInk& ink);
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
  ArtScale scale_;
  int width_, height_;
  IndexedImage image_;
  Inside inside_;
};

}  // namespace artgen
