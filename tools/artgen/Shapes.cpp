#include "Shapes.h"

#include <algorithm>
#include <cmath>

namespace artgen {

Shape Circle(float cx, float cy, float r) {
  return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

Shape Ring(float cx, float cy, float r, float width) {
  return [=](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - r) <= width / 2; };
}

Shape RoundRect(float x0, float y0, float x1, float y1, float radius) {
  return [=](float x, float y) {
    if (x < x0 || x > x1 || y < y0 || y > y1) return false;
    const float qx = std::max({x0 + radius - x, 0.0f, x - (x1 - radius)});
    const float qy = std::max({y0 + radius - y, 0.0f, y - (y1 - radius)});
    return qx * qx + qy * qy <= radius * radius;
  };
}

Shape Capsule(Point a, Point b, float radius) {
  return [=](float x, float y) {
    const float vx = b.x - a.x, vy = b.y - a.y;
    const float len2 = vx * vx + vy * vy;
    float t = len2 > 0 ? ((x - a.x) * vx + (y - a.y) * vy) / len2 : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    const float dx = x - (a.x + t * vx), dy = y - (a.y + t * vy);
    return dx * dx + dy * dy <= radius * radius;
  };
}

Shape Polygon(std::vector<Point> points) {
  return [points = std::move(points)](float x, float y) {
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const Point& p = points[i];
      const Point& q = points[j];
      if ((p.y > y) != (q.y > y) && x < (q.x - p.x) * (y - p.y) / (q.y - p.y) + p.x) inside = !inside;
    }
    return inside;
  };
}

Shape Union(Shape a, Shape b) {
  return [=](float x, float y) { return a(x, y) || b(x, y); };
}
Shape Minus(Shape a, Shape b) {
  return [=](float x, float y) { return a(x, y) && !b(x, y); };
}
Shape Intersect(Shape a, Shape b) {
  return [=](float x, float y) { return a(x, y) && b(x, y); };
}

Shape Grow(Shape s, float by) {
  return [=](float x, float y) {
    if (s(x, y)) return true;
    for (int k = 0; k < 16; ++k) {
      const float angle = static_cast<float>(k) * 3.14159265f / 8;
      if (s(x + by * std::cos(angle), y + by * std::sin(angle))) return true;
    }
    return false;
  };
}

Paint Solid(Colour c) {
  return [=](float, float) { return c; };
}

Paint Linear(Point a, Colour from, Point b, Colour to) {
  return [=](float x, float y) {
    const float vx = b.x - a.x, vy = b.y - a.y;
    const float len2 = vx * vx + vy * vy;
    const float t = len2 > 0 ? ((x - a.x) * vx + (y - a.y) * vy) / len2 : 0;
    return Mix(from, to, t);
  };
}

void Fill(ColourImage& image, const Shape& shape, const Paint& paint, const Placement& at) {
  constexpr int kSamples = 8;
  const float factor = image.Scale().Factor();
  for (int py = 0; py < image.Height(); ++py) {
    for (int px = 0; px < image.Width(); ++px) {
      int hits = 0;
      float r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          // Back from pixels to design units.
          const float x = ((px + (sx + 0.5f) / kSamples) / factor - at.dx) / at.scale;
          const float y = ((py + (sy + 0.5f) / kSamples) / factor - at.dy) / at.scale;
          if (!shape(x, y)) continue;
          const Colour c = paint(x, y);
          ++hits;
          r += c.r * c.a;
          g += c.g * c.a;
          b += c.b * c.a;
          a += c.a;
        }
      }
      if (!hits || a <= 0) continue;
      const Colour average{r / a, g / a, b / a, a / hits};
      image.Blend(px, py, average, static_cast<float>(hits) / (kSamples * kSamples));
    }
  }
}

}  // namespace artgen
