#pragma once
// The About window's pictures: the mascot (opaque) and the logo (drawn keyed on its bottom-left
// pixel, so it carries its key colour and hard edges). Sizes are at 100%.
#include "Image.h"

namespace artgen {

constexpr int kMascotWidth = 85, kMascotHeight = 162;
constexpr int kLogoWidth = 176, kLogoHeight = 49;
Colour LogoKeyColour();  // RGB(255, 0, 255)

ColourImage Mascot(ArtScale scale = ArtScale());
// Opaque everywhere: the background in the key colour, no other pixel of that colour.
ColourImage Logo(ArtScale scale = ArtScale());

}  // namespace artgen
