#include "Banners.h"

#include <string>

#include "Glyphs.h"
#include "PixelFont.h"
#include "Shapes.h"

namespace artgen {

namespace {

// Background, a one-pixel frame in the accent colour and a lighter line inside it.
// The lines are a design pixel wide, the gradient as smooth as the picture's pixels allow.
ColourImage Plate(ArtScale scale, Colour top, Colour bottom, Colour frame, Colour inner) {
  ColourImage image(kBannerWidth, kBannerHeight, {0, 0, 0, 0}, scale);
  const int width = image.Width(), height = image.Height();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.At(x, y) = Mix(top, bottom, y / (height - 1.0f));
  for (int px = 0; px < width; ++px) {
    const int x = scale.Cell(px);
    for (int py = 0; py < height; ++py) {
      const int y = scale.Cell(py);
      if (y == 0 || y == kBannerHeight - 1) image.At(px, py) = frame;
      if (y == 1 && x > 0 && x < kBannerWidth - 1) image.Blend(px, py, inner, 0.6f);
    }
  }
  for (int py = 0; py < height; ++py) {
    const int y = scale.Cell(py);
    for (int px = 0; px < width; ++px) {
      const int x = scale.Cell(px);
      if (x == 0 || x == kBannerWidth - 1) image.At(px, py) = frame;
      if (x == 1 && y > 0 && y < kBannerHeight - 1) image.Blend(px, py, inner, 0.4f);
    }
  }
  return image;
}

void Text(ColourImage& image, std::u32string_view text, int x, int y, const FontStyle& style, Colour top, Colour bottom,
          Colour shadow) {
  DrawText(text, x + 1, y + 1, style, [&](int px, int py, int) { image.BlendCell(px, py, shadow); });
  DrawText(text, x, y, style, [&](int px, int py, int row) { image.BlendCell(px, py, Mix(top, bottom, row / 6.0f)); });
}

}  // namespace

ColourImage ProductBanner(ArtScale scale) {
  ColourImage image = Plate(scale, Rgb(34, 44, 58), Rgb(10, 14, 20), Rgb(0, 150, 176), Rgb(90, 200, 220));
  PaintBroom(image, {0.66f, 66.0f, 7.5f});
  Text(image, U"Krelmix", 5, 4, FontStyle{2, 1, false}, Rgb(210, 250, 255), Rgb(30, 190, 220), Rgb(0, 0, 0));
  Text(image, U"очистка", 6, 21, FontStyle{1, 1, false}, Rgb(190, 198, 212), Rgb(140, 150, 168), Rgb(0, 0, 0));
  return image;
}

ColourImage StudioBanner(ArtScale scale) {
  ColourImage image = Plate(scale, Rgb(70, 40, 14), Rgb(24, 12, 4), Rgb(255, 170, 60), Rgb(255, 214, 140));
  PaintGlobe(image, {0.82f, 3.0f, 2.5f});
  const FontStyle big{2, 1, false};
  Text(image, U"d3ir", 38, 4, big, Rgb(255, 240, 190), Rgb(255, 160, 40), Rgb(20, 8, 0));
  return image;
}

}  // namespace artgen
