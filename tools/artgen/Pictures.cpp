#include "Pictures.h"

#include <cmath>
#include <stdexcept>

#include "Glyphs.h"
#include "PixelFont.h"
#include "Shapes.h"

namespace artgen {

namespace {

Shape Ellipse(float cx, float cy, float rx, float ry) {
  return [=](float x, float y) {
    const float u = (x - cx) / rx, v = (y - cy) / ry;
    return u * u + v * v <= 1;
  };
}

// A dark line round a part, so that the figure reads at this size.
void Outlined(ColourImage& image, const Shape& shape, const Paint& paint) {
  Fill(image, Grow(shape, 1.1f), Solid(Rgb(8, 12, 20)));
  Fill(image, shape, paint);
}

void Sparkle(ColourImage& image, float cx, float cy, float size) {
  const Shape star =
      Union(Polygon({{cx - size, cy}, {cx, cy - size * 0.22f}, {cx + size, cy}, {cx, cy + size * 0.22f}}),
            Polygon({{cx, cy - size}, {cx + size * 0.22f, cy}, {cx, cy + size}, {cx - size * 0.22f, cy}}));
  Fill(image, Grow(star, 0.7f), Solid(Rgb(0, 60, 80, 0.45f)));
  Fill(image, star, Solid(Rgb(210, 252, 255)));
}

}  // namespace

Colour LogoKeyColour() { return Rgb(255, 0, 255); }

// Krelmix herself: a small cleaning robot with twin tails, an apron and her broom, standing in a
// teal light.
ColourImage Mascot(ArtScale scale) {
  ColourImage image(kMascotWidth, kMascotHeight, {0, 0, 0, 0}, scale);
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      image.At(x, y) = Mix(Rgb(30, 44, 60), Rgb(8, 12, 18), y / (image.Height() - 1.0f));
  Fill(image, Circle(42, 60, 40), [](float x, float y) {
    const float r = std::hypot(x - 42, y - 60) / 40;
    return Rgb(0, 150, 176, 0.32f * (1 - r) * (1 - r));
  });
  Fill(image, Ellipse(42, 153, 32, 5), Solid(Rgb(0, 0, 0, 0.55f)));

  const Colour tealTop = Rgb(60, 214, 236), tealBottom = Rgb(0, 110, 136);
  const Colour silverTop = Rgb(238, 242, 248), silverBottom = Rgb(140, 150, 170);
  // Twin tails behind the head.
  Outlined(image, Union(Capsule({18, 30}, {11, 56}, 4.2f), Capsule({11, 56}, {14, 70}, 3.2f)),
           Linear({0, 28}, tealTop, {0, 72}, tealBottom));
  Outlined(image, Union(Capsule({64, 30}, {71, 56}, 4.2f), Capsule({71, 56}, {68, 70}, 3.2f)),
           Linear({0, 28}, tealTop, {0, 72}, tealBottom));

  // Legs and boots.
  Outlined(image, Union(Capsule({35, 118}, {34, 145}, 3.4f), Capsule({48, 118}, {49, 145}, 3.4f)),
           Linear({30, 0}, silverTop, {54, 0}, silverBottom));
  Outlined(image, Union(RoundRect(26, 143, 39, 152, 3.5f), RoundRect(44, 143, 57, 152, 3.5f)),
           Linear({0, 143}, Rgb(0, 130, 156), {0, 152}, Rgb(0, 52, 66)));

  // Skirt, body and apron.
  Outlined(image, Polygon({{27, 96}, {56, 96}, {67, 124}, {16, 124}}),
           Linear({0, 96}, Rgb(0, 150, 176), {0, 124}, Rgb(0, 70, 90)));
  Outlined(image, RoundRect(27, 60, 56, 102, 8), Linear({0, 60}, tealTop, {0, 102}, tealBottom));
  const Shape apron = Union(RoundRect(33, 68, 50, 96, 3), Polygon({{31, 92}, {52, 92}, {58, 120}, {25, 120}}));
  Fill(image, Grow(apron, 0.8f), Solid(Rgb(0, 70, 90)));
  Fill(image, apron, Linear({0, 68}, Rgb(252, 253, 255), {0, 120}, Rgb(196, 212, 224)));
  Fill(image, RoundRect(36, 100, 47, 109, 2), Solid(Rgb(150, 186, 204)));
  Fill(image, RoundRect(37, 101, 46, 102, 0.5f), Solid(Rgb(110, 150, 172)));
  Fill(image, Circle(41.5f, 76, 2.8f), Solid(Rgb(120, 70, 0)));  // a light on the chest
  Fill(image, Circle(41.5f, 76, 2.1f), Solid(Rgb(255, 190, 70)));
  Fill(image, Circle(40.8f, 75.3f, 0.7f), Solid(Rgb(255, 250, 220)));
  // The left arm hangs, the right one holds the broom.
  Outlined(image, Capsule({28, 66}, {19, 92}, 3.6f), Linear({14, 0}, silverTop, {30, 0}, silverBottom));
  Outlined(image, Circle(19, 95, 4.2f), Solid(Rgb(214, 222, 234)));

  // The broom stands at her right.
  const Shape bristles = Polygon({{56, 130}, {67, 130}, {79, 157}, {45, 157}});
  Outlined(image, Capsule({71, 14}, {62, 134}, 2.0f), Linear({69, 0}, Rgb(236, 180, 108), {74, 0}, Rgb(140, 84, 36)));
  Outlined(image, bristles, Linear({0, 130}, Rgb(246, 212, 110), {0, 157}, Rgb(196, 134, 40)));
  for (int i = -3; i <= 3; ++i)
    Fill(image, Capsule({61.5f + i * 1.3f, 135}, {61.5f + i * 4.2f, 155}, 0.4f), Solid(Rgb(150, 96, 24, 0.85f)));
  Outlined(image, RoundRect(54, 128, 69, 134, 2), Linear({0, 128}, Rgb(250, 96, 80), {0, 134}, Rgb(150, 24, 24)));
  Outlined(image, Capsule({55, 66}, {63, 84}, 3.6f), Linear({52, 0}, silverTop, {68, 0}, silverBottom));
  Outlined(image, Circle(64, 86, 4.4f), Solid(Rgb(214, 222, 234)));

  // Neck, head, the face screen and the antenna.
  Outlined(image, RoundRect(37, 54, 46, 62, 1), Solid(Rgb(90, 100, 120)));
  Outlined(image, Capsule({41.5f, 9}, {41.5f, 20}, 1.2f), Solid(Rgb(150, 160, 178)));
  Outlined(image, Circle(41.5f, 8, 3.6f), Solid(Rgb(255, 190, 70)));
  Fill(image, Circle(40.3f, 6.8f, 1.2f), Solid(Rgb(255, 250, 220)));
  Outlined(image, Union(Circle(19.5f, 38, 4.5f), Circle(63.5f, 38, 4.5f)),
           Linear({0, 33}, tealTop, {0, 43}, tealBottom));
  Outlined(image, RoundRect(20, 19, 63, 56, 14), Linear({0, 19}, silverTop, {0, 56}, silverBottom));
  // Her fringe, in the colour of the tails.
  Fill(image,
       Intersect(RoundRect(20, 19, 63, 56, 14),
                 Polygon({{18, 18}, {66, 18}, {66, 30}, {56, 27}, {50, 31}, {42, 26}, {34, 31}, {27, 27}, {18, 31}})),
       Linear({0, 18}, tealTop, {0, 31}, tealBottom));
  const Shape screen = RoundRect(25, 30, 58, 52, 8);
  Fill(image, Grow(screen, 0.9f), Solid(Rgb(70, 80, 100)));
  Fill(image, screen, Linear({0, 30}, Rgb(20, 44, 62), {0, 52}, Rgb(6, 16, 26)));
  for (float cx : {34.0f, 49.0f}) {
    Fill(image, Ellipse(cx, 39.5f, 3.9f, 5.2f), Linear({0, 34}, Rgb(170, 250, 255), {0, 45}, Rgb(20, 190, 220)));
    Fill(image, Circle(cx - 1.2f, 37.6f, 1.3f), Solid(Rgb(255, 255, 255)));
    Fill(image, Ellipse(cx - 5, 46.5f, 2.4f, 1.3f), Solid(Rgb(255, 120, 150, 0.55f)));
  }
  Fill(image, Intersect(Ring(41.5f, 43.5f, 4.2f, 1.4f), [](float, float y) { return y > 45.5f; }),
       Solid(Rgb(120, 240, 255)));

  Sparkle(image, 77, 144, 3.6f);
  Sparkle(image, 10, 132, 2.8f);
  Sparkle(image, 75, 104, 2.2f);
  Sparkle(image, 9, 14, 3.0f);
  return image;
}

// The broom and the name in the main skin's letters, with a line under them.
ColourImage Logo(ArtScale scale) {
  ColourImage art(kLogoWidth, kLogoHeight, {0, 0, 0, 0}, scale);
  PaintBroom(art, {1.4f, -1.0f, 2.0f});
  const FontStyle big{4, 1, false};
  const int x = 44, y = 5;
  DrawText(U"Krelmix", x, y, big, [&](int px, int py, int) {
    for (int dy = -1; dy <= 2; ++dy)
      for (int dx = -1; dx <= 2; ++dx) art.BlendCell(px + dx, py + dy, Rgb(6, 16, 28));
  });
  DrawText(U"Krelmix", x, y, big, [&](int px, int py, int row) {
    static const Colour inks[] = {Rgb(214, 250, 255), Rgb(160, 240, 252), Rgb(60, 214, 236), Rgb(30, 190, 214),
                                  Rgb(0, 150, 176),   Rgb(0, 122, 146),   Rgb(0, 86, 104)};
    art.SetCell(px, py, inks[row]);
  });
  const FontStyle small{1, 1, false};
  const std::u32string_view motto = U"очистка дисков от мусора";
  const int mx = x + (TextWidth(U"Krelmix", big) - TextWidth(motto, small)) / 2, my = 38;
  DrawText(motto, mx, my, small, [&](int px, int py, int) { art.SetCell(px, py, Rgb(16, 36, 96)); });

  // Hard edges: what the painting covers at least half is opaque, the rest is the key.
  ColourImage logo(kLogoWidth, kLogoHeight, LogoKeyColour(), scale);
  const Colour edge = Rgb(6, 16, 28);
  for (int py = 0; py < logo.Height(); ++py)
    for (int px = 0; px < logo.Width(); ++px) {
      const Colour& c = art.At(px, py);
      if (c.a < 0.5f) continue;
      Colour opaque = Over(c, edge);
      opaque.a = 1;
      logo.At(px, py) = opaque;
    }
  if (art.At(0, art.Height() - 1).a >= 0.5f) throw std::logic_error("the logo's bottom-left pixel must be the key");
  return logo;
}

}  // namespace artgen
