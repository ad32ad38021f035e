#pragma once
// The About window's outline as its rows are listed: the full 300 x 205 rectangle with a few
// edge pixels cut, as bands of rows (right and bottom edges exclusive), then the runs of the
// last row.
#include <vector>

#include "skin/RegionData.h"

namespace krelmix::test {

inline std::vector<RegionRect> ExpectedAboutOutline() {
  std::vector<RegionRect> rects = {
      {1, 0, 299, 1},     {0, 1, 300, 2},     {1, 2, 300, 5},     {0, 5, 300, 13},    {1, 13, 300, 14},
      {0, 14, 300, 183},  {1, 183, 300, 184}, {0, 184, 300, 198}, {1, 198, 300, 200}, {0, 200, 300, 201},
      {1, 201, 299, 203}, {0, 203, 2, 204},   {3, 203, 300, 204},
  };
  // Row 204: the kept columns, first and last inclusive.
  static const int lastRow[][2] = {{1, 7},     {9, 9},     {11, 13},   {15, 15},   {17, 18},   {20, 46},   {48, 50},
                                   {52, 57},   {59, 80},   {82, 87},   {89, 93},   {95, 107},  {109, 188}, {190, 199},
                                   {201, 206}, {208, 217}, {219, 224}, {226, 228}, {230, 235}, {237, 242}, {244, 246},
                                   {248, 253}, {255, 260}, {262, 284}, {286, 290}, {292, 294}, {296, 297}};
  for (const auto& run : lastRow) rects.push_back({run[0], 204, run[1] + 1, 205});
  return rects;
}

}  // namespace krelmix::test
