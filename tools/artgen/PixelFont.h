#pragma once
// Our own small bitmap font: cells 5 columns wide (narrow letters less), 7 rows above the
// baseline and 2 below it for descenders. Latin letters, digits, a little punctuation and the
// Cyrillic lower-case letters the artwork needs.
#include <functional>
#include <string_view>

namespace artgen {

struct FontStyle {
  int scale = 1;      // each font pixel becomes scale x scale picture pixels
  int spacing = 1;    // empty font columns between letters
  bool bold = false;  // each column also drawn one picture pixel to the right
};

// Calls plot(column, row) for every font pixel of the text, in font units relative to the text's
// top-left corner (row 0 is the top of a capital letter). Returns the width in font units.
int ForEachFontPixel(std::u32string_view text, const FontStyle& style, const std::function<void(int, int)>& plot);
int TextWidth(std::u32string_view text, const FontStyle& style);  // in picture pixels
constexpr int kFontRows = 9;

// Paints the text with its top-left corner at (x, y): set(px, py, row) for every picture pixel,
// `row` being the font row (0..8) the pixel belongs to, for shading.
void DrawText(std::u32string_view text, int x, int y, const FontStyle& style,
              const std::function<void(int, int, int)>& set);

}  // namespace artgen
