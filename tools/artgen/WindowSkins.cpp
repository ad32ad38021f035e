#include "WindowSkins.h"

#include <stdexcept>

#include "PixelFont.h"
#include "SkinCanvas.h"

namespace artgen {

namespace {

// The main skin's inks: 1..11 the grey ramp, then three teals and an amber light. Index 0 is
// the pale edge of the light plates here, the key colour in the About skin.
enum Ink : uint8_t {
  Pale = 0,
  Darkest = 1,
  Light = 11,
  DeepTeal = 12,
  Teal = 13,
  Aqua = 14,
  Amber = 15,
};
constexpr std::array<uint32_t, 16> Palette(uint32_t first) {
  return {first,    0x06070A, 0x111318, 0x1B1E25, 0x252932, 0x313641, 0x3F4552, 0x505766,
          0x666E7F, 0x828B9D, 0xA8B0C0, 0xD6DCE6, 0x005668, 0x0096B0, 0x3CD6EC, 0xFFBE46};
}

// Brushed dark metal over the whole picture, a little lighter at the top, and the rim.
void Metal(SkinCanvas& c, int seed) {
  c.EachPixel(0, 0, c.Width() - 1, c.Height() - 1, [&](int px, int py, float, float y) {
    const float rowTone = (SkinCanvas::Hash(0, py, seed) - 0.5f) * 0.25f;
    const float shade = 5.5f - 0.7f * y / c.Height() + rowTone + (SkinCanvas::Streak(px, py, seed + 1) - 0.5f) * 0.3f;
    return SkinCanvas::Dither(shade, px, py);
  });
  c.OuterBevel();
}

// A flat light plate for controls with dark text, sunk into the metal by `depth` pixels; with
// `paleEdge`, the plate's own lit edge shows under the frame.
void LightPlate(SkinCanvas& c, int x0, int y0, int x1, int y1, int depth, bool paleEdge = true) {
  c.Rect(x0, y0, x1, y1, Light);
  c.Sunken(x0, y0, x1, y1, depth);
  if (!paleEdge) return;
  c.HLine(x0, x1 - 1, y0, Pale);
  c.VLine(x0, y0, y1 - 1, Pale);
}

// The product's name in small aqua letters on the metal, with a dark shadow.
void Badge(SkinCanvas& c, int x, int y) {
  const FontStyle small{1, 1, false};
  DrawText(U"Krelmix", x + 1, y + 1, small, [&](int px, int py, int) { c.Set(px, py, Darkest); });
  DrawText(U"Krelmix", x, y, small, [&](int px, int py, int row) { c.Set(px, py, row <= 2 ? Aqua : Teal); });
}

}  // namespace

// The option list and the controls under it lie on one light plate (the window draws its own
// sunken frame at 7,7 344 x 240 on it); the buttons of the bottom row, at 12..152 and 214..349
// in the two windows that use this skin, sit on two light plates; the badge is between them.
IndexedImage PaintOptionsSkin(ArtScale scale) {
  SkinCanvas c(
      kOptionsSkinWidth, kOptionsSkinHeight, Palette(0xEEF2F7), [](int, int) { return true; }, scale);
  Metal(c, 31);
  LightPlate(c, 7, 7, 350, 246, 2);
  LightPlate(c, 10, 251, 154, 275, 1);
  LightPlate(c, 212, 251, 349, 275, 1);
  c.Screw(163, 258);
  c.Screw(203, 258);
  c.Led(183, 258, Darkest, Amber, Light);
  Badge(c, 167, 267);
  return c.Image();
}

// Dark and calm wherever text lies on the skin: the aqua title, the edit box and the list in one
// recess, then a socket for each of the two buttons with white captions.
IndexedImage PaintEditorsSkin(ArtScale scale) {
  SkinCanvas c(
      kEditorsSkinWidth, kEditorsSkinHeight, Palette(0xEEF2F7), [](int, int) { return true; }, scale);
  Metal(c, 41);
  c.Rect(5, 5, 114, 221, 3);
  c.Sunken(5, 5, 114, 221, 1);
  c.HLine(5, 114, 5, 2);  // a shadow under the recess's top edge
  c.Socket(5, 224, 114, 247);
  c.Socket(5, 252, 114, 275);
  c.Led(10, 281, Darkest, Teal, Aqua);
  c.HLine(16, 108, 280, 2);
  c.HLine(16, 108, 281, 7);
  return c.Image();
}

// The lists at 12,32 476 x 106 and 12,148 476 x 120 lie in frames sunk into the metal; the three
// buttons at 12, 174 and 338 (150 x 24) on row 300 sit in sockets.
IndexedImage PaintRestoreSkin(ArtScale scale) {
  SkinCanvas c(
      kRestoreSkinWidth, kRestoreSkinHeight, Palette(0xEEF2F7), [](int, int) { return true; }, scale);
  Metal(c, 61);
  c.Sunken(10, 30, 489, 139, 2);
  c.Sunken(10, 146, 489, 269, 2);
  for (const int x : {12, 174, 338}) c.Socket(x - 2, 298, x + 151, 325);
  c.Led(476, 12, Darkest, Teal, Aqua);
  Badge(c, 436, 9);
  return c.Image();
}

// Every pixel is the window's except these rim pixels, which are in the key colour.
bool InAboutShape(int x, int y) {
  if (x < 0 || y < 0 || x >= kAboutSkinWidth || y >= kAboutSkinHeight) return false;
  switch (y) {
    case 0:
      return x >= 1 && x <= 298;
    case 2:
    case 3:
    case 4:
    case 13:
    case 183:
    case 198:
    case 199:
      return x >= 1;
    case 201:
    case 202:
      return x >= 1 && x <= 298;
    case 203:
      return x != 2;
    case 204: {
      static const int gaps[] = {0,   8,   10,  14,  16,  19,  47,  51,  58,  81,  88,  94,  108, 189, 200,
                                 207, 218, 225, 229, 236, 243, 247, 254, 261, 285, 291, 295, 298, 299};
      for (int gap : gaps)
        if (x == gap) return false;
      return true;
    }
    default:
      return true;
  }
}

// The mascot at 14,9 (85 x 162) in a sunken frame, the panel at 105,9 (180 x 141) in a groove,
// the two links at 135..258 x 155..188 on a light plate, the rounded button at 14,173 (85 x 25)
// in a socket, and a column of lights on the right.
IndexedImage PaintAboutSkin(ArtScale scale) {
  constexpr uint8_t Key = 0;
  // The rim is painted for the full rectangle; the key pixels then leave the outline as it is.
  SkinCanvas c(
      kAboutSkinWidth, kAboutSkinHeight, Palette(kAboutKeyColour), [](int, int) { return true; }, scale);
  Metal(c, 51);
  c.Sunken(14, 9, 98, 170, 1);
  c.Rect(14, 9, 98, 170, 2);
  c.Sunken(105, 9, 284, 149, 2);
  LightPlate(c, 108, 154, 283, 189, 1, false);  // index 0 is the key here
  c.Screw(120, 172);
  c.Screw(271, 172);
  c.Socket(11, 172, 101, 198);
  for (int i = 0; i < 3; ++i) c.Led(293, 20 + 12 * i, Darkest, i == 0 ? Amber : Teal, i == 0 ? Light : Aqua);
  for (int i = 0; i < 8; ++i) {  // a vent down the right-hand column
    const int y = 64 + i * 8;
    c.HLine(290, 296, y, Darkest);
    c.HLine(290, 296, y + 1, 7);
  }
  c.HLine(108, 270, 196, 2);
  c.HLine(108, 270, 197, 7);
  c.Led(279, 196, Darkest, Aqua, Light);

  IndexedImage image = c.Image();
  for (int py = 0; py < image.Height(); ++py)
    for (int px = 0; px < image.Width(); ++px) {
      if (image.At(px, py) == Key) throw std::logic_error("the About skin uses its key colour inside");
      if (!InAboutShape(scale.Cell(px), scale.Cell(py))) image.Set(px, py, Key);
    }
  return image;
}

}  // namespace artgen
