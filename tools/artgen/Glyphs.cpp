#include "Glyphs.h"

#include <cmath>

namespace artgen {

namespace {

constexpr float kPi = 3.14159265f;

// A soft dark rim under every glyph keeps it readable on light and dark parts of the skin.
void Shadow(ColourImage& image, const Shape& shape, const Placement& at) {
  const Shape moved = [shape](float x, float y) { return shape(x - 0.8f, y - 1.0f); };
  Fill(image, Grow(moved, 0.9f), Solid(Rgb(0, 0, 0, 0.55f)), at);
}

void PaintAbout(ColourImage& image, const Placement& at) {
  const Shape ball = Circle(16, 16, 13.5f);
  Shadow(image, ball, at);
  Fill(image, ball, Solid(Rgb(12, 44, 104)), at);
  Fill(image, Circle(16, 16, 12.3f), Linear({7, 5}, Rgb(110, 196, 255), {24, 28}, Rgb(22, 86, 190)), at);
  // Glint on the upper half of the ball.
  Fill(image, Intersect(Circle(16, 12, 10.2f), Circle(16, 2.5f, 11.5f)),
       Linear({16, 2}, Rgb(255, 255, 255, 0.7f), {16, 13}, Rgb(255, 255, 255, 0.05f)), at);
  const Colour white = Rgb(252, 253, 255);
  Fill(image, Circle(16, 9.3f, 2.3f), Solid(white), at);
  Fill(image, Union(RoundRect(13.8f, 13, 18.2f, 24.5f, 1.2f), RoundRect(12, 22.3f, 20, 24.8f, 1)), Solid(white), at);
}

void PaintSearch(ColourImage& image, const Placement& at) {
  const Shape handle = Capsule({21, 21}, {28.3f, 28.3f}, 2.9f);
  const Shape rim = Ring(13, 13, 8.6f, 3.4f);
  Shadow(image, Union(Union(handle, rim), Circle(13, 13, 8)), at);
  Fill(image, handle, Linear({23, 27}, Rgb(92, 62, 40), {27, 23}, Rgb(44, 26, 16)), at);
  Fill(image, Capsule({22.4f, 22.4f}, {27.6f, 27.6f}, 1.0f), Solid(Rgb(150, 108, 72, 0.8f)), at);
  Fill(image, Capsule({18.6f, 18.6f}, {21.6f, 21.6f}, 3.2f),
       Linear({17, 21}, Rgb(210, 214, 224), {22, 18}, Rgb(96, 102, 118)), at);
  Fill(image, Circle(13, 13, 7.2f), Linear({6, 6}, Rgb(170, 236, 255, 0.55f), {20, 20}, Rgb(40, 150, 210, 0.55f)), at);
  Fill(image, rim, Linear({5, 5}, Rgb(236, 240, 248), {21, 21}, Rgb(92, 100, 118)), at);
  Fill(image, Ring(13, 13, 10.3f, 0.8f), Solid(Rgb(30, 34, 44, 0.9f)), at);
  // Reflection on the glass.
  Fill(image, Intersect(Ring(13, 13, 4.8f, 1.6f), Polygon({{4, 4}, {13, 4}, {13, 9}, {4, 13}})),
       Solid(Rgb(255, 255, 255, 0.85f)), at);
}

void PaintBin(ColourImage& image, const Placement& at) {
  const Shape body = Polygon({{7.5f, 10.5f}, {24.5f, 10.5f}, {22.6f, 29.2f}, {9.4f, 29.2f}});
  const Shape lid = RoundRect(5.5f, 6.5f, 26.5f, 10.8f, 1.4f);
  const Shape grip = Minus(RoundRect(12, 3, 20, 7.5f, 1.6f), RoundRect(14, 5, 18, 8, 0.5f));
  Shadow(image, Union(Union(body, lid), grip), at);
  Fill(image, body, Linear({8, 0}, Rgb(190, 200, 214), {24, 0}, Rgb(92, 102, 120)), at);
  for (float x : {12.3f, 16.0f, 19.7f})
    Fill(image, Capsule({x, 13.5f}, {x + (x - 16) * 0.1f, 26.5f}, 0.75f), Solid(Rgb(58, 64, 80, 0.85f)), at);
  Fill(image, Capsule({13.3f, 13.5f}, {13.6f, 26.5f}, 0.45f), Solid(Rgb(240, 244, 250, 0.5f)), at);
  Fill(image, grip, Solid(Rgb(120, 128, 146)), at);
  Fill(image, lid, Linear({0, 6.5f}, Rgb(236, 240, 246), {0, 10.8f}, Rgb(120, 130, 148)), at);
  Fill(image,
       Minus(Polygon({{7.5f, 10.5f}, {24.5f, 10.5f}, {22.6f, 29.2f}, {9.4f, 29.2f}}),
             Polygon({{8.5f, 10.5f}, {23.5f, 10.5f}, {21.7f, 28.2f}, {10.3f, 28.2f}})),
       Solid(Rgb(40, 44, 56, 0.9f)), at);
}

Shape Octagon(float r) {
  std::vector<Point> points;
  for (int k = 0; k < 8; ++k) {
    const float angle = kPi / 8 + k * kPi / 4;
    points.push_back({16 + r * std::cos(angle), 16 + r * std::sin(angle)});
  }
  return Polygon(points);
}

void PaintStop(ColourImage& image, const Placement& at) {
  Shadow(image, Octagon(14.6f), at);
  Fill(image, Octagon(14.6f), Solid(Rgb(70, 8, 10)), at);
  Fill(image, Octagon(13.6f), Solid(Rgb(246, 246, 246)), at);
  Fill(image, Octagon(11.6f), Linear({8, 5}, Rgb(255, 92, 74), {24, 28}, Rgb(168, 18, 20)), at);
  Fill(image, Intersect(Octagon(11.6f), Circle(16, 1, 14)), Solid(Rgb(255, 255, 255, 0.22f)), at);
  Fill(image, RoundRect(8.2f, 13.6f, 23.8f, 18.6f, 1.2f), Solid(Rgb(252, 252, 252)), at);
}

}  // namespace

void PaintBroom(ColourImage& image, const Placement& at) {
  // The broom leans from the top right down to the bottom left.
  const Point top{27.5f, 2.5f}, band{15.0f, 18.0f};
  const Point d{-0.6f, 0.8f}, n{0.8f, 0.6f};
  auto along = [&](Point p, float t, float s) { return Point{p.x + d.x * t + n.x * s, p.y + d.y * t + n.y * s}; };
  const Shape stick = Capsule(top, band, 1.7f);
  const Shape bristles = Polygon({along(band, 1, 3.3f), along(band, 1, -3.3f), along(band, 12.5f, -7.8f),
                                  along(band, 13.2f, 0), along(band, 12.5f, 7.8f)});
  const Shape binding = Capsule(along(band, 0.6f, -3.6f), along(band, 0.6f, 3.6f), 1.9f);
  Shadow(image, Union(Union(stick, bristles), binding), at);
  Fill(image, stick, Linear(along(top, 0, -1.5f), Rgb(236, 180, 108), along(top, 0, 1.5f), Rgb(140, 84, 36)), at);
  Fill(image, bristles, Linear(band, Rgb(246, 212, 110), along(band, 13, 0), Rgb(196, 134, 40)), at);
  for (int i = -3; i <= 3; ++i) {
    const float s = static_cast<float>(i);
    Fill(image, Capsule(along(band, 2.5f, s * 0.8f), along(band, 12.2f, s * 2.1f), 0.35f),
         Solid(Rgb(150, 96, 24, 0.8f)), at);
  }
  Fill(image, binding, Linear(along(band, 0, -3), Rgb(250, 96, 80), along(band, 0, 3), Rgb(150, 24, 24)), at);
  // Sparkles: the floor is clean.
  auto sparkle = [&](float cx, float cy, float size) {
    const Shape star =
        Union(Polygon({{cx - size, cy}, {cx, cy - size * 0.22f}, {cx + size, cy}, {cx, cy + size * 0.22f}}),
              Polygon({{cx, cy - size}, {cx + size * 0.22f, cy}, {cx, cy + size}, {cx - size * 0.22f, cy}}));
    Fill(image, Grow(star, 0.6f), Solid(Rgb(0, 60, 80, 0.5f)), at);
    Fill(image, star, Solid(Rgb(200, 250, 255)), at);
  };
  sparkle(24.5f, 23.0f, 4.2f);
  sparkle(28.5f, 14.5f, 2.6f);
}

namespace {

void PaintTmp(ColourImage& image, const Placement& at) {
  const Shape back = Union(RoundRect(2.5f, 7, 26, 25.5f, 1.5f), RoundRect(2.5f, 4.5f, 12.5f, 9, 1.5f));
  const Shape front = Polygon({{5.5f, 11.5f}, {29, 11.5f}, {26, 25.5f}, {2.5f, 25.5f}});
  Shadow(image, Union(back, front), at);
  Fill(image, back, Linear({0, 4}, Rgb(222, 160, 48), {0, 25}, Rgb(170, 108, 20)), at);
  Fill(image, RoundRect(4.5f, 9, 24, 13, 0.5f), Solid(Rgb(250, 250, 244)), at);  // papers inside
  Fill(image, front, Linear({0, 11.5f}, Rgb(255, 222, 120), {0, 25.5f}, Rgb(232, 164, 44)), at);
  Fill(image, Polygon({{5.5f, 11.5f}, {29, 11.5f}, {28.8f, 12.5f}, {5.3f, 12.5f}}), Solid(Rgb(255, 246, 200)), at);
  // The clock: temporary things are a matter of time.
  const float cx = 23, cy = 22.5f;
  Shadow(image, Circle(cx, cy, 7.8f), at);
  Fill(image, Circle(cx, cy, 7.8f), Linear({17, 16}, Rgb(60, 210, 236), {29, 29}, Rgb(0, 92, 128)), at);
  Fill(image, Circle(cx, cy, 6.0f), Linear({18, 17}, Rgb(255, 255, 255), {28, 28}, Rgb(206, 220, 230)), at);
  for (int k = 0; k < 12; k += 3) {
    const float angle = k * kPi / 6;
    Fill(image, Circle(cx + 4.6f * std::cos(angle), cy + 4.6f * std::sin(angle), 0.6f), Solid(Rgb(40, 60, 80)), at);
  }
  Fill(image, Capsule({cx, cy}, {cx, cy - 4.2f}, 0.75f), Solid(Rgb(30, 36, 48)), at);
  Fill(image, Capsule({cx, cy}, {cx + 3.0f, cy + 1.2f}, 0.75f), Solid(Rgb(30, 36, 48)), at);
  Fill(image, Circle(cx, cy, 1.1f), Solid(Rgb(200, 40, 30)), at);
}

void PaintExit(ColourImage& image, const Placement& at) {
  const Shape frame = RoundRect(5, 2.5f, 22, 29.5f, 0.8f);
  Shadow(image, frame, at);
  Fill(image, frame, Solid(Rgb(58, 42, 30)), at);
  // Daylight through the open door.
  Fill(image, RoundRect(6.6f, 4, 20.4f, 29.5f, 0.3f), Linear({0, 4}, Rgb(255, 246, 196), {0, 29}, Rgb(250, 196, 96)),
       at);
  const Shape leaf = Polygon({{6.6f, 4}, {14.2f, 6.8f}, {14.2f, 31}, {6.6f, 29.5f}});
  Fill(image, leaf, Linear({6.6f, 0}, Rgb(198, 122, 62), {14.2f, 0}, Rgb(122, 66, 30)), at);
  Fill(image, Polygon({{8, 8}, {12.8f, 9.6f}, {12.8f, 17}, {8, 16}}), Solid(Rgb(90, 46, 18, 0.45f)), at);
  Fill(image, Polygon({{8, 19.5f}, {12.8f, 20.4f}, {12.8f, 27.6f}, {8, 27}}), Solid(Rgb(90, 46, 18, 0.45f)), at);
  Fill(image, Circle(12.2f, 18.6f, 1.2f), Solid(Rgb(255, 214, 90)), at);
  const Shape arrow = Union(RoundRect(15, 14, 24.5f, 18.6f, 0.8f), Polygon({{23, 9.2f}, {30.8f, 16.3f}, {23, 23.4f}}));
  Fill(image, Grow(arrow, 1.0f), Solid(Rgb(0, 40, 52, 0.9f)), at);
  Fill(image, arrow, Linear({0, 9}, Rgb(140, 244, 255), {0, 23}, Rgb(0, 150, 180)), at);
}

void PaintGear(ColourImage& image, const Placement& at) {
  const Shape gear = [](float x, float y) {
    const float dx = x - 16, dy = y - 16;
    const float r = std::hypot(dx, dy);
    if (r <= 10.4f) return true;
    if (r > 14.2f) return false;
    // Eight teeth, slightly narrower at their tips.
    const float phase = std::fmod(std::atan2(dy, dx) + 2 * kPi, kPi / 4) - kPi / 8;
    const float halfWidth = 0.26f - 0.05f * (r - 10.4f) / 3.8f;
    return std::fabs(phase) <= halfWidth;
  };
  const Shape body = Minus(gear, Circle(16, 16, 4.4f));
  Shadow(image, body, at);
  Fill(image, body, Solid(Rgb(36, 40, 52)), at);
  const Shape inner = Minus(
      [&](float x, float y) {
        for (int k = 0; k < 8; ++k) {
          const float angle = k * kPi / 4;
          const float ox = 0.75f * std::cos(angle), oy = 0.75f * std::sin(angle);
          if (!gear(x + ox, y + oy)) return false;
        }
        return true;
      },
      Circle(16, 16, 5.2f));
  Fill(image, inner, Linear({6, 4}, Rgb(232, 236, 244), {26, 28}, Rgb(104, 112, 132)), at);
  Fill(image, Ring(16, 16, 7.6f, 1.1f), Solid(Rgb(70, 76, 94, 0.7f)), at);
  Fill(image, Ring(16, 16, 8.7f, 0.7f), Solid(Rgb(255, 255, 255, 0.35f)), at);
}

}  // namespace

void PaintGlobe(ColourImage& image, const Placement& at) {
  const Shape ball = Circle(16, 16, 13.5f);
  Shadow(image, ball, at);
  Fill(image, ball, Solid(Rgb(8, 40, 64)), at);
  Fill(image, Circle(16, 16, 12.4f), Linear({7, 6}, Rgb(90, 220, 250), {25, 27}, Rgb(0, 90, 150)), at);
  const Colour line = Rgb(220, 250, 255, 0.75f);
  const Shape inside = Circle(16, 16, 12.4f);
  auto ellipseRing = [](float rx) {
    return [rx](float x, float y) {
      const float u = (x - 16) / rx, v = (y - 16) / 12.4f;
      const float r = std::sqrt(u * u + v * v);
      return std::fabs(r - 1) * rx <= 0.5f;
    };
  };
  Fill(image, Intersect(inside, ellipseRing(5.5f)), Solid(line), at);
  Fill(image, Intersect(inside, [](float x, float) { return std::fabs(x - 16) <= 0.45f; }), Solid(line), at);
  for (float y : {9.5f, 16.0f, 22.5f})
    Fill(image, Intersect(inside, [y](float, float py) { return std::fabs(py - y) <= 0.45f; }), Solid(line), at);
  Fill(image, Intersect(Circle(16, 12, 10), Circle(16, 3, 11)),
       Linear({16, 3}, Rgb(255, 255, 255, 0.55f), {16, 12}, Rgb(255, 255, 255, 0)), at);
}

const std::vector<GlyphDesign>& GlyphDesigns() {
  static const std::vector<GlyphDesign> designs = {
      {"About", PaintAbout, false}, {"Search", PaintSearch, true},  {"Delete", PaintBin, true},
      {"Stop", PaintStop, true},    {"Clean", PaintBroom, true},    {"Tmp", PaintTmp, true},
      {"Exit", PaintExit, true},    {"Settings", PaintGear, false},
  };
  return designs;
}

ColourImage Disabled(const ColourImage& glyph) {
  ColourImage out = glyph;
  for (int y = 0; y < glyph.Height(); ++y) {
    for (int x = 0; x < glyph.Width(); ++x) {
      const Colour& c = glyph.At(x, y);
      const float luminance = 0.30f * c.r + 0.59f * c.g + 0.11f * c.b;
      const float grey = 0.40f + 0.32f * luminance;
      out.At(x, y) = {grey, grey, grey * 1.04f, c.a * 0.7f};
    }
  }
  return out;
}

}  // namespace artgen
