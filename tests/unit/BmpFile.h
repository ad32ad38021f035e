#pragma once
// Reads the uncompressed bitmaps the artwork generator writes, for tests that look at pixels.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "skin/RegionData.h"

namespace krelmix::test {

inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct BmpInfo {
  int bitsPerPixel = 0;
  uint32_t compression = 0;
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  PixelGrid grid;
};

// Uncompressed 4, 8, 24 and 32 bits per pixel; rows bottom-up or top-down.
inline std::optional<BmpInfo> DecodeBmp(const std::vector<uint8_t>& b) {
  auto u16 = [&](size_t o) { return static_cast<uint32_t>(b[o] | b[o + 1] << 8); };
  auto u32 = [&](size_t o) { return u16(o) | u16(o + 2) << 16; };
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  BmpInfo info;
  const uint32_t dataOffset = u32(10), headerSize = u32(14);
  const int32_t width = static_cast<int32_t>(u32(18)), rawHeight = static_cast<int32_t>(u32(22));
  info.bitsPerPixel = static_cast<int>(u16(28));
  info.compression = u32(30);
  const uint32_t colours = u32(46) ? u32(46) : (info.bitsPerPixel <= 8 ? 1u << info.bitsPerPixel : 0u);
  const int height = rawHeight < 0 ? -rawHeight : rawHeight;
  const size_t stride = ((static_cast<size_t>(width) * info.bitsPerPixel + 31) / 32) * 4;
  if (width <= 0 || height <= 0 || 14 + headerSize + colours * 4 > b.size() || dataOffset + stride * height > b.size())
    return std::nullopt;
  for (uint32_t i = 0; i < colours; ++i) info.palette.push_back(u32(14 + headerSize + i * 4) & 0xFFFFFF);
  info.grid = {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
  for (int y = 0; y < height; ++y) {
    const size_t row = dataOffset + stride * static_cast<size_t>(rawHeight < 0 ? y : height - 1 - y);
    for (int x = 0; x < width; ++x) {
      uint32_t c = 0;
      switch (info.bitsPerPixel) {
        case 4:
          c = info.palette.at((b[row + x / 2] >> (x % 2 ? 0 : 4)) & 15);
          break;
        case 8:
          c = info.palette.at(b[row + x]);
          break;
        case 24:
          c = u16(row + x * 3) | static_cast<uint32_t>(b[row + x * 3 + 2]) << 16;
          break;
        case 32:
          c = u32(row + x * 4);
          break;
        default:
          return std::nullopt;
      }
      info.grid.pixels[static_cast<size_t>(y) * width + x] = c;
    }
  }
  return info;
}

}  // namespace krelmix::test
