#include "Skin.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "PixelFont.h"
#include "SkinCanvas.h"

namespace artgen {

namespace {

// Palette: the key, a ramp of cool greys for the metal, three teals and an amber light.
enum Ink : uint8_t {
  Key = 0,
  Black = 1,  // 1..11: the grey ramp from darkest to lightest
  Light = 11,
  DeepTeal = 12,
  Teal = 13,
  Aqua = 14,
  Amber = 15,
};
const std::array<uint32_t, 16> kPalette = {
    kSkinKeyColour, 0x06070A, 0x111318, 0x1B1E25, 0x252932, 0x313641, 0x3F4552, 0x505766,
    0x666E7F,       0x828B9D, 0xA8B0C0, 0xD6DCE6, 0x005668, 0x0096B0, 0x3CD6EC, 0xFFBE46,
};

// Rows 4 to 459; each row runs from its first column to column 596. The lower left is cut
// away in a curve down to the drive column, which itself ends at row 329.
int FirstColumn(int y) {
  struct Step {
    int lastRow, firstColumn;
  };
  static const Step steps[] = {
      {79, 5},   {80, 8},   {81, 10},  {82, 12},  {83, 13},  {84, 15},  {85, 16},  {86, 17},  {87, 19},  {88, 20},
      {89, 21},  {90, 22},  {91, 23},  {92, 24},  {93, 25},  {94, 26},  {95, 27},  {96, 28},  {98, 29},  {99, 30},
      {101, 31}, {103, 32}, {105, 33}, {107, 34}, {109, 35}, {113, 36}, {117, 37}, {121, 38}, {329, 39}, {459, 156},
  };
  for (const Step& s : steps)
    if (y <= s.lastRow) return s.firstColumn;
  return -1;
}

class Skin {
 public:
  explicit Skin(ArtScale scale) : c_(kSkinWidth, kSkinHeight, kPalette, InMainShape, scale) {}

  IndexedImage Paint() {
    Metal();
    c_.OuterBevel();
    ButtonBar();
    DriveColumn();
    FoundListWell();
    Title();
    const IndexedImage& image = c_.Image();
    for (int py = 0; py < image.Height(); ++py)
      for (int px = 0; px < image.Width(); ++px)
        if (c_.PixelIn(px, py) == (image.At(px, py) == Key)) throw std::logic_error("skin pixel off the shape");
    return c_.Image();
  }

 private:
  void Set(int x, int y, uint8_t ink) { c_.Set(x, y, ink); }
  void Rect(int x0, int y0, int x1, int y1, uint8_t ink) { c_.Rect(x0, y0, x1, y1, ink); }
  void HLine(int x0, int x1, int y, uint8_t ink) { c_.HLine(x0, x1, y, ink); }
  void VLine(int x, int y0, int y1, uint8_t ink) { c_.VLine(x, y0, y1, ink); }
  void Sunken(int x0, int y0, int x1, int y1, int width) { c_.Sunken(x0, y0, x1, y1, width); }
  void Socket(int x0, int y0, int x1, int y1) { c_.Socket(x0, y0, x1, y1); }
  void Screw(int cx, int cy) { c_.Screw(cx, cy); }
  void Led(int cx, int cy, uint8_t ring, uint8_t body, uint8_t glint) { c_.Led(cx, cy, ring, body, glint); }

  // Brushed dark metal, a little lighter at the top; its grain is as fine at every scale.
  void Metal() {
    c_.EachPixel(0, 0, kSkinWidth - 1, kSkinHeight - 1, [](int px, int py, float, float y) {
      const float rowTone = (SkinCanvas::Hash(0, py, 7) - 0.5f) * 0.25f;
      const float top = y < 70 ? 5.6f - 0.5f * y / 70.0f : 5.0f - 0.6f * (y - 70) / 390.0f;
      const float shade = top + rowTone + (SkinCanvas::Streak(px, py, 3) - 0.5f) * 0.3f;
      return SkinCanvas::Dither(shade, px, py);
    });
  }

  // Buttons at y 15..64: "О..." at 20, the run's six at 90..339, "Настройки" at 370..429 and
  // "Выход" at 535..584.
  void ButtonBar() {
    Socket(14, 10, 75, 66);
    Socket(84, 10, 345, 66);
    Socket(364, 10, 435, 66);
    Socket(529, 10, 590, 66);
    for (int x : {140, 190, 240, 290}) {  // faint seams between the run's buttons
      VLine(x - 1, 20, 58, 2);
      VLine(x, 20, 58, 5);
    }
    Screw(355, 22);
    Screw(355, 56);
    // A vent between the settings and the exit button.
    for (int i = 0; i < 7; ++i) {
      const int y = 19 + i * 6;
      HLine(447, 517, y, Black);
      HLine(446, 518, y + 1, 2);
      HLine(447, 517, y + 2, 7);
      Set(446, y, 3);
      Set(518, y, 3);
    }
    // The groove under the bar.
    HLine(8, 593, 68, 2);
    HLine(8, 593, 69, 7);
  }

  void Title() {
    const std::u32string name = U"Krelmix";
    const FontStyle big{3, 1, false};
    const int x = 168, y = 71;
    // A dark outline first, then the letters, teal below and light aqua on top.
    DrawText(name, x, y, big, [&](int px, int py, int) {
      for (int dy = -1; dy <= 2; ++dy)
        for (int dx = -1; dx <= 2; ++dx) Set(px + dx, py + dy, Black);
    });
    DrawText(name, x, y, big, [&](int px, int py, int row) {
      const uint8_t ink = row <= 1 ? Light : row <= 3 ? Aqua : row <= 5 ? Teal : DeepTeal;
      Set(px, py, ink);
    });
    // Light on the top edge of each font pixel.
    DrawText(name, x, y, big, [&](int px, int py, int) {
      if ((py - y) % 3 == 0 && c_.At(px, py - 1) == Black && c_.At(px, py) != Light) Set(px, py, 10);
    });

    const std::u32string motto = U"очистка дисков от мусора";
    const FontStyle small{1, 1, false};
    const int mx = x + TextWidth(name, big) + 12, my = y + 21 - 8;
    DrawText(motto, mx + 1, my + 1, small, [&](int px, int py, int) { Set(px, py, Black); });
    DrawText(motto, mx, my, small, [&](int px, int py, int) { Set(px, py, 9); });

    const int lineStart = mx + TextWidth(motto, small) + 10;
    HLine(lineStart, 574, 86, 2);
    HLine(lineStart, 574, 87, 7);
    Led(583, 86, Black, Aqua, Light);
  }

  // The drive list at 47,76 (110 x 140), the banners at 58,220 and 58,254 (88 x 31) and the
  // counters panel at 48,288 (109 x 33).
  void DriveColumn() {
    Rect(47, 76, 156, 215, Light);
    Sunken(47, 76, 156, 215, 2);
    Rect(58, 220, 145, 250, 3);
    Sunken(58, 220, 145, 250, 1);
    Rect(58, 254, 145, 284, 3);
    Sunken(58, 254, 145, 284, 1);
    Rect(48, 288, 156, 320, 6);
    Sunken(48, 288, 156, 320, 1);
    Screw(30, 86);
  }

  // The found list at 162,96 (429 x 336) and the status line at 161,434 (432 x 22) share one
  // dark well.
  void FoundListWell() {
    Rect(161, 96, 592, 455, 2);
    Rect(162, 96, 590, 431, Light);
    Rect(161, 434, 592, 455, 5);
    HLine(161, 592, 432, Black);
    Sunken(161, 96, 592, 455, 1);
    HLine(160, 592, 94, 2);
    VLine(159, 94, 456, 2);
  }

  SkinCanvas c_;
};

}  // namespace

bool InMainShape(int x, int y) {
  if (y < 4 || y > 459 || x > 596) return false;
  return x >= FirstColumn(y);
}

IndexedImage PaintMainSkin(ArtScale scale) { return Skin(scale).Paint(); }

}  // namespace artgen
