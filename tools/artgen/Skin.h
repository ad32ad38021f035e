#pragma once
// The main window's skin: 600 x 463 at 100%, 16 colours, the outside in the key colour RGB(252, 2, 4).
#include "Image.h"

namespace artgen {

constexpr int kSkinWidth = 600, kSkinHeight = 463;
constexpr uint32_t kSkinKeyColour = 0xFC0204;

// The window's shape: which pixels belong to the window.
bool InMainShape(int x, int y);
IndexedImage PaintMainSkin(ArtScale scale = ArtScale());

}  // namespace artgen
