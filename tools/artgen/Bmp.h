#pragma once
// Uncompressed Windows bitmap files, rows bottom-up.
#include <cstdint>
#include <string>
#include <vector>

#include "Image.h"

namespace artgen {

// Little-endian fields of the Windows file formats.
void Put16(std::vector<uint8_t>& out, uint32_t v);
void Put32(std::vector<uint8_t>& out, uint32_t v);

void WriteBmp4(const std::string& path, const IndexedImage& image);
// Opaque 24-bit picture: alpha is flattened onto `background`.
void WriteBmp24(const std::string& path, const ColourImage& image, Colour background);
// 32-bit picture whose fourth byte is alpha, colours premultiplied by it (ready for AlphaBlend).
void WriteBmp32Premultiplied(const std::string& path, const ColourImage& image);

}  // namespace artgen
