#include "Cursor.h"

#include "Bmp.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace artgen {

namespace {

// '#' black, 'o' white, '.' see-through. The tip of the index finger is the hot spot.
const char* const kHand[] = {
    ".....##..........", "....#oo#.........", "....#oo#.........", "....#oo#.........", "....#oo#.........",
    "....#oo###.......", "....#oo#oo###....", "....#oo#oo#oo##..", "....#oo#oo#oo#oo#", ".##.#oo#oo#oo#oo#",
    "#oo##ooooooooooo#", "#ooo#ooooooooooo#", ".#oooooooooooooo#", ".#oooooooooooooo#", "..#ooooooooooooo#",
    "..#ooooooooooooo#", "...#ooooooooooo#.", "...#ooooooooooo#.", "....#ooooooooo#..", "....#ooooooooo#..",
    "....###########..",
};
constexpr int kHandLeft = 5, kHandTop = 1;
constexpr int kHotX = kHandLeft + 5, kHotY = kHandTop;

char PixelAt(int x, int y) {
  const int hx = x - kHandLeft, hy = y - kHandTop;
  if (hy < 0 || hy >= static_cast<int>(sizeof kHand / sizeof kHand[0]) || hx < 0 || hx >= 17) return '.';
  return kHand[hy][hx];
}

}  // namespace

// One 1-bit image: the colour (XOR) mask over the AND mask, both bottom-up, rows of whole
// 4-byte words. Each of the hand's pixels covers its cells at the scale.
void WriteLinkCursor(const std::string& path, ArtScale scale) {
  if (PixelAt(kHotX, kHotY) != '#') throw std::logic_error("the hot spot is off the finger tip");
  const int size = scale.Edge(kCursorSize);
  if (size > 255) throw std::logic_error("the cursor is too large for its directory entry");
  const uint32_t rowBytes = (static_cast<uint32_t>(size) + 31) / 32 * 4;
  const uint32_t maskBytes = static_cast<uint32_t>(size) * rowBytes;
  const uint32_t imageBytes = 40 + 2 * 4 + 2 * maskBytes;
  std::vector<uint8_t> out;
  Put16(out, 0);  // directory: reserved, type 2 (cursor), one image
  Put16(out, 2);
  Put16(out, 1);
  out.push_back(static_cast<uint8_t>(size));
  out.push_back(static_cast<uint8_t>(size));
  out.push_back(2);  // colours
  out.push_back(0);
  Put16(out, static_cast<uint32_t>(scale.Edge(kHotX)));
  Put16(out, static_cast<uint32_t>(scale.Edge(kHotY)));
  Put32(out, imageBytes);
  Put32(out, 22);
  Put32(out, 40);  // BITMAPINFOHEADER; the height counts both masks
  Put32(out, static_cast<uint32_t>(size));
  Put32(out, static_cast<uint32_t>(size) * 2);
  Put16(out, 1);
  Put16(out, 1);
  Put32(out, 0);
  Put32(out, 2 * maskBytes);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 2);
  Put32(out, 0);
  Put32(out, 0x000000);  // palette: black, white
  Put32(out, 0xFFFFFF);
  for (const bool andMask : {false, true})
    for (int y = size - 1; y >= 0; --y) {
      std::vector<uint8_t> row(rowBytes, 0);
      for (int x = 0; x < size; ++x) {
        const char p = PixelAt(scale.Cell(x), scale.Cell(y));
        const bool bit = andMask ? p == '.' : p == 'o';
        if (bit) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      }
      out.insert(out.end(), row.begin(), row.end());
    }
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace artgen
