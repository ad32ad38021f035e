#include "skin/RegionData.h"

#include <algorithm>

namespace krelmix {

namespace {

constexpr size_t kCountSize = 4;
constexpr size_t kRectSize = 16;

uint32_t ReadU32(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
         static_cast<uint32_t>(bytes[offset + 2]) << 16 | static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

int32_t ReadI32(std::span<const uint8_t> bytes, size_t offset) { return static_cast<int32_t>(ReadU32(bytes, offset)); }

RegionRect ReadRect(std::span<const uint8_t> bytes, size_t offset) {
  return {ReadI32(bytes, offset), ReadI32(bytes, offset + 4), ReadI32(bytes, offset + 8), ReadI32(bytes, offset + 12)};
}

void WriteU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void WriteRect(std::vector<uint8_t>& out, const RegionRect& r) {
  WriteU32(out, static_cast<uint32_t>(r.left));
  WriteU32(out, static_cast<uint32_t>(r.top));
  WriteU32(out, static_cast<uint32_t>(r.right));
  WriteU32(out, static_cast<uint32_t>(r.bottom));
}

bool Inside(const RegionRect& r, const RegionRect& box) {
  return r.left >= box.left && r.top >= box.top && r.right <= box.right && r.bottom <= box.bottom;
}

StoredOutline Malformed() { return {StoredOutlineKind::Malformed, {}, {}}; }

}  // namespace

StoredOutline ParseStoredOutline(std::span<const uint8_t> bytes) {
  if (bytes.size() < kCountSize) return Malformed();
  const int32_t n = ReadI32(bytes, 0);
  if (n == 0 && bytes.size() == kCountSize) return {};
  if (n < static_cast<int32_t>(kRegionHeaderSize) || bytes.size() - kCountSize != static_cast<size_t>(n))
    return Malformed();

  const std::span<const uint8_t> data = bytes.subspan(kCountSize);
  const uint32_t headerSize = ReadU32(data, 0);
  const uint32_t type = ReadU32(data, 4);
  const uint32_t count = ReadU32(data, 8);
  const uint32_t listSize = ReadU32(data, 12);
  const size_t listBytes = data.size() - kRegionHeaderSize;
  if (headerSize != kRegionHeaderSize || type != kRegionTypeRectangles) return Malformed();
  // Division first, so that no product of a hostile count can overflow.
  if (listBytes % kRectSize != 0 || listBytes / kRectSize != count) return Malformed();
  // GDI accepts a list size of 0 as "not given"; anything else must be the real size.
  if (listSize != 0 && listSize != listBytes) return Malformed();

  StoredOutline result{StoredOutlineKind::Outline, {}, data};
  result.outline.bounds = ReadRect(data, 16);
  result.outline.rects.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const RegionRect r = ReadRect(data, kRegionHeaderSize + i * kRectSize);
    if (r.left >= r.right || r.top >= r.bottom || !Inside(r, result.outline.bounds)) return Malformed();
    result.outline.rects.push_back(r);
  }
  return result;
}

RegionRect BoundingBox(const std::vector<RegionRect>& rects) {
  if (rects.empty()) return {};
  RegionRect box = rects.front();
  for (const auto& r : rects) {
    box.left = std::min(box.left, r.left);
    box.top = std::min(box.top, r.top);
    box.right = std::max(box.right, r.right);
    box.bottom = std::max(box.bottom, r.bottom);
  }
  return box;
}

std::vector<uint8_t> SerializeRegionData(const std::vector<RegionRect>& rects) {
  std::vector<uint8_t> out;
  out.reserve(kRegionHeaderSize + rects.size() * kRectSize);
  WriteU32(out, kRegionHeaderSize);
  WriteU32(out, kRegionTypeRectangles);
  WriteU32(out, static_cast<uint32_t>(rects.size()));
  WriteU32(out, static_cast<uint32_t>(rects.size() * kRectSize));
  WriteRect(out, BoundingBox(rects));
  for (const auto& r : rects) WriteRect(out, r);
  return out;
}

std::vector<uint8_t> SerializeStoredOutline(const std::vector<RegionRect>& rects) {
  const std::vector<uint8_t> data = SerializeRegionData(rects);
  std::vector<uint8_t> out;
  out.reserve(kCountSize + data.size());
  WriteU32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

std::vector<uint8_t> NoStoredOutline() { return {0, 0, 0, 0}; }

std::vector<PixelRun> RowRuns(int width, int y, const OpaqueAt& opaque) {
  std::vector<PixelRun> runs;
  int x = 0;
  while (x < width) {
    while (x < width && !opaque(x, y)) ++x;
    if (x == width) break;
    const int x1 = x;
    while (x < width && opaque(x, y)) ++x;
    runs.push_back({x1, x});
  }
  return runs;
}

// Rows are turned into bands; a row whose runs equal those of the band just above it (and
// touching it) only lengthens that band, which is how GDI keeps its regions canonical.
std::vector<RegionRect> OutlineRects(int width, int height, const OpaqueAt& opaque) {
  std::vector<RegionRect> rects;
  std::vector<PixelRun> bandRuns;
  size_t bandStart = 0;  // index of the current band's first rectangle
  int bandBottom = -1;
  for (int y = 0; y < height; ++y) {
    std::vector<PixelRun> runs = RowRuns(width, y, opaque);
    if (runs.empty()) continue;
    if (bandBottom == y && runs == bandRuns) {
      for (size_t i = bandStart; i < rects.size(); ++i) rects[i].bottom = y + 1;
    } else {
      bandStart = rects.size();
      for (const auto& run : runs) rects.push_back({run.x1, y, run.x2, y + 1});
      bandRuns = std::move(runs);
    }
    bandBottom = y + 1;
  }
  return rects;
}

uint32_t DefaultKeyColour(const PixelGrid& grid) {
  if (grid.width <= 0 || grid.height <= 0) return 0;
  return grid.At(0, grid.height - 1) & 0xFFFFFF;
}

std::vector<RegionRect> OutlineRects(const PixelGrid& grid, uint32_t keyColour) {
  if (grid.width <= 0 || grid.height <= 0 ||
      grid.pixels.size() < static_cast<size_t>(grid.width) * static_cast<size_t>(grid.height))
    return {};
  keyColour &= 0xFFFFFF;
  return OutlineRects(grid.width, grid.height, [&](int x, int y) { return (grid.At(x, y) & 0xFFFFFF) != keyColour; });
}

}  // namespace krelmix
