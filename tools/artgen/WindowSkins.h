#pragma once
// The skins of the dialogs and of the About window; sizes are at 100%.
#include <cstdint>

#include "Image.h"

namespace artgen {

// The options dialog and the sound editor share one skin; the mask and exclusion editors
// another. Both are keyed on black and hold no black pixel, so those windows are rectangles.
constexpr int kOptionsSkinWidth = 360, kOptionsSkinHeight = 286;
constexpr int kEditorsSkinWidth = 120, kEditorsSkinHeight = 286;
IndexedImage PaintOptionsSkin(ArtScale scale = ArtScale());
IndexedImage PaintEditorsSkin(ArtScale scale = ArtScale());

// The restore window's skin, keyed on black like the dialogs': the title on the metal, the list
// of kept runs and the list of the chosen run's files each in a sunken frame, the line of what is
// kept, and three button sockets.
constexpr int kRestoreSkinWidth = 500, kRestoreSkinHeight = 336;
IndexedImage PaintRestoreSkin(ArtScale scale = ArtScale());

// The About window's skin, keyed on its bottom-left pixel: a rectangle with a few rim pixels in
// the key colour.
constexpr int kAboutSkinWidth = 300, kAboutSkinHeight = 205;
constexpr uint32_t kAboutKeyColour = 0x131113;
bool InAboutShape(int x, int y);
IndexedImage PaintAboutSkin(ArtScale scale = ArtScale());

}  // namespace artgen
