#pragma once
// Pictures the generator paints: colour pictures with straight alpha, and 16-colour pictures.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace artgen {

struct Colour {
  float r = 0, g = 0, b = 0, a = 1;  // 0..1, not premultiplied
};

Colour Rgb(int r, int g, int b, float a = 1);
Colour Mix(const Colour& x, const Colour& y, float t);
// `top` painted over `bottom`, with `top`'s alpha scaled by `coverage`.
Colour Over(const Colour& top, const Colour& bottom, float coverage = 1);

class ColourImage {
 public:
  ColourImage(int width, int height, Colour fill = {0, 0, 0, 0});
  int Width() const { return width_; }
  int Height() const { return height_; }
  Colour& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const Colour& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  void Blend(int x, int y, const Colour& c, float coverage = 1);

 private:
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
