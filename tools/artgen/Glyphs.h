#pragma once
// The main window's button glyphs, designed on a 32 x 32 grid.
#include <functional>
#include <string>
#include <vector>

#include "Image.h"
#include "Shapes.h"

namespace artgen {

using GlyphPainter = std::function<void(ColourImage&, const Placement&)>;

struct GlyphDesign {
  std::string name;  // file name without extension
  GlyphPainter paint;
  bool hasDisabledState;
};

const std::vector<GlyphDesign>& GlyphDesigns();
void PaintBroom(ColourImage& image, const Placement& at);
void PaintGlobe(ColourImage& image, const Placement& at);

// The greyed look of a disabled button: no colour, little contrast, half transparent.
ColourImage Disabled(const ColourImage& glyph);

}  // namespace artgen
