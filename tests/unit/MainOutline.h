#pragma once
// The main window's outline as the rows table gives it: rows (inclusive) and the first column
// kept in them; the last column is 596 on every row.
#include <vector>

#include "skin/RegionData.h"

namespace krelmix::test {

struct OutlineRow {
  int firstRow, lastRow, firstColumn;
};
inline constexpr OutlineRow kMainOutlineRows[] = {
    {4, 79, 5},     {80, 80, 8},    {81, 81, 10},   {82, 82, 12},   {83, 83, 13},   {84, 84, 15},
    {85, 85, 16},   {86, 86, 17},   {87, 87, 19},   {88, 88, 20},   {89, 89, 21},   {90, 90, 22},
    {91, 91, 23},   {92, 92, 24},   {93, 93, 25},   {94, 94, 26},   {95, 95, 27},   {96, 96, 28},
    {97, 98, 29},   {99, 99, 30},   {100, 101, 31}, {102, 103, 32}, {104, 105, 33}, {106, 107, 34},
    {108, 109, 35}, {110, 113, 36}, {114, 117, 37}, {118, 121, 38}, {122, 329, 39}, {330, 459, 156},
};

inline std::vector<RegionRect> ExpectedMainOutline() {
  std::vector<RegionRect> rects;
  for (const auto& row : kMainOutlineRows) rects.push_back({row.firstColumn, row.firstRow, 597, row.lastRow + 1});
  return rects;
}

}  // namespace krelmix::test
