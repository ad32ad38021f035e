#pragma once
// Anti-aliased painting of simple shapes, for the button glyphs and banner pictures. A shape is
// an inside test in design coordinates (at 100%, pixel centres at x + 0.5); painting samples each
// pixel of the picture, at the picture's own scale, on an 8 x 8 grid.
#include <functional>
#include <utility>
#include <vector>

#include "Image.h"

namespace artgen {

using Shape = std::function<bool(float x, float y)>;
using Paint = std::function<Colour(float x, float y)>;

struct Point {
  float x, y;
};

Shape Circle(float cx, float cy, float r);
Shape Ring(float cx, float cy, float r, float width);  // centred on radius r
Shape RoundRect(float x0, float y0, float x1, float y1, float radius);
Shape Capsule(Point a, Point b, float radius);  // a thick line with round ends
Shape Polygon(std::vector<Point> points);       // even-odd rule
Shape Union(Shape a, Shape b);
Shape Minus(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Grow(Shape s, float by);  // the shape and everything within `by` of it (approximately)

Paint Solid(Colour c);
// Colour running from `from` at point a to `to` at point b, constant across.
Paint Linear(Point a, Colour from, Point b, Colour to);

// A transform from design units (the glyphs are designed on a 32 x 32 grid) to pixels.
struct Placement {
  float scale = 1, dx = 0, dy = 0;
};

void Fill(ColourImage& image, const Shape& shape, const Paint& paint, const Placement& at = {});

}  // namespace artgen
