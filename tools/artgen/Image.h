#pragma once
// Pictures the generator paints: colour pictures with straight alpha, and 16-colour pictures.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace artgen {

// The scale a picture is painted at, in percent of its 96-DPI design. Designs stay in 96-DPI
// units; design pixel x covers the picture pixels from Edge(x) to Edge(x + 1), so that neighbours
// that touch in the design touch at every scale and each edge falls on the pixel grid.
class ArtScale {
 public:
  explicit ArtScale(int percent = 100) : percent_(percent) {}
  int Percent() const { return percent_; }
  float Factor() const { return static_cast<float>(percent_) / 100; }
  int Edge(int design) const { return (design * percent_ + 50) / 100; }
  // The design pixel that picture pixel `pixel` belongs to.
  int Cell(int pixel) const { return (200 * pixel + 99) / (2 * percent_); }
  // A picture pixel's centre in design units, where design pixel x is at x (its own centre).
  float Design(int pixel) const { return (static_cast<float>(pixel) + 0.5f) / Factor() - 0.5f; }

 private:
  int percent_;
};

struct Colour {
  float r = 0, g = 0, b = 0, a = 1;  // 0..1, not premultiplied
};

Colour Rgb(int r, int g, int b, float a = 1);
Colour Mix(const Colour& x, const Colour& y, float t);
// `top` painted over `bottom`, with `top`'s alpha scaled by `coverage`.
Colour Over(const Colour& top, const Colour& bottom, float coverage = 1);

// Width and height are the design's; the picture has them at its scale.
class ColourImage {
 public:
  ColourImage(int width, int height, Colour fill = {0, 0, 0, 0}, ArtScale scale = ArtScale());
  int Width() const { return width_; }  // in picture pixels
  int Height() const { return height_; }
  const ArtScale& Scale() const { return scale_; }
  Colour& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const Colour& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  void Blend(int x, int y, const Colour& c, float coverage = 1);
  // The picture pixels of design pixel (x, y), set or painted over.
  void SetCell(int x, int y, const Colour& c);
  void BlendCell(int x, int y, const Colour& c);

 private:
  ArtScale scale_;
  int width_, height_;
  std::vector<Colour> pixels_;
};

// A picture of palette indices; colours are 0x00RRGGBB.
class IndexedImage {
 public:
  IndexedImage(int width, int height, const std::array<uint32_t, 16>& palette);
  int Width() const { return width_; }
  int Height() const { return height_; }
  uint8_t At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  void Set(int x, int y, uint8_t index) { pixels_[static_cast<size_t>(y) * width_ + x] = index; }
  const std::array<uint32_t, 16>& Palette() const { return palette_; }

 private:
  int width_, height_;
  std::array<uint32_t, 16> palette_;
  std::vector<uint8_t> pixels_;
};

}  // namespace artgen
