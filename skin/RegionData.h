#pragma once
// A window outline as the skin control stores it, and the outline of a skin picture.
//
// Stored form, little-endian: a signed 32-bit byte count N, then N bytes that are exactly the
// GDI region data block (header of 32 bytes, type 1, rectangle count, list size, bounding box,
// then the rectangles). N = 0 means that no outline is stored. Rectangles have exclusive right
// and bottom edges and stand in GDI's canonical order: bands from top to bottom, left to right
// within a band, touching rows with identical runs merged into one band.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace krelmix {

struct RegionRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const RegionRect&) const = default;
};

struct RegionOutline {
  RegionRect bounds;  // all zero for an empty outline
  std::vector<RegionRect> rects;
  bool operator==(const RegionOutline&) const = default;
};

constexpr uint32_t kRegionHeaderSize = 32;
constexpr uint32_t kRegionTypeRectangles = 1;

enum class StoredOutlineKind {
  None,       // N = 0: the outline is to be computed from the skin
  Outline,    // a well-formed region data block
  Malformed,  // anything else; treated like None by the skin control
};

struct StoredOutline {
  StoredOutlineKind kind = StoredOutlineKind::None;
  RegionOutline outline;                // filled for Outline
  std::span<const uint8_t> regionData;  // the N bytes after the count, for Outline
};

// Never reads outside `bytes`. Well-formed means: N matches the block's length exactly, the
// header fields hold their fixed values, the count agrees with N, and every rectangle is
// non-empty and lies within the bounding box.
StoredOutline ParseStoredOutline(std::span<const uint8_t> bytes);

// The region data block alone (what GetRegionData fills in) and the stored form (N first).
std::vector<uint8_t> SerializeRegionData(const std::vector<RegionRect>& rects);
std::vector<uint8_t> SerializeStoredOutline(const std::vector<RegionRect>& rects);
// The stored form of "no outline": N = 0.
std::vector<uint8_t> NoStoredOutline();

RegionRect BoundingBox(const std::vector<RegionRect>& rects);

// One row's maximal runs of opaque pixels, as [x1, x2) pairs from left to right.
struct PixelRun {
  int32_t x1 = 0, x2 = 0;
  bool operator==(const PixelRun&) const = default;
};
using OpaqueAt = std::function<bool(int x, int y)>;
std::vector<PixelRun> RowRuns(int width, int y, const OpaqueAt& opaque);

// The outline of a width x height picture whose opaque pixels are given by `opaque`, in the
// order GDI region data has after the rows' runs were united one by one.
std::vector<RegionRect> OutlineRects(int width, int height, const OpaqueAt& opaque);

// A picture as plain colours (0x00RRGGBB), row 0 at the top.
struct PixelGrid {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The key colour when none is set: the bottom-left pixel.
uint32_t DefaultKeyColour(const PixelGrid& grid);
std::vector<RegionRect> OutlineRects(const PixelGrid& grid, uint32_t keyColour);

}  // namespace krelmix
