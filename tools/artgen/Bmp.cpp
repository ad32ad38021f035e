#include "Bmp.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace artgen {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

namespace {

uint8_t Byte(float v) { return static_cast<uint8_t>(std::lround(std::fmin(std::fmax(v, 0.0f), 1.0f) * 255)); }

// File header and BITMAPINFOHEADER; 2835 pixels per metre is 72 dpi.
std::vector<uint8_t> Headers(int width, int height, int bits, uint32_t colours, size_t pixelBytes) {
  const uint32_t offset = 14 + 40 + colours * 4;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + static_cast<uint32_t>(pixelBytes));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bits));
  Put32(out, 0);  // BI_RGB
  Put32(out, static_cast<uint32_t>(pixelBytes));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, colours);
  Put32(out, colours);
  return out;
}

size_t Stride(int width, int bits) { return ((static_cast<size_t>(width) * bits + 31) / 32) * 4; }

void Save(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

void WriteBmp4(const std::string& path, const IndexedImage& image) {
  const size_t stride = Stride(image.Width(), 4);
  std::vector<uint8_t> out = Headers(image.Width(), image.Height(), 4, 16, stride * image.Height());
  for (uint32_t c : image.Palette()) Put32(out, c & 0xFFFFFF);  // stored as B, G, R, 0
  for (int y = image.Height() - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < image.Width(); ++x) row[x / 2] |= static_cast<uint8_t>(image.At(x, y) << (x % 2 ? 0 : 4));
    out.insert(out.end(), row.begin(), row.end());
  }
  Save(path, out);
}

void WriteBmp24(const std::string& path, const ColourImage& image, Colour background) {
  const size_t stride = Stride(image.Width(), 24);
  std::vector<uint8_t> out = Headers(image.Width(), image.Height(), 24, 0, stride * image.Height());
  for (int y = image.Height() - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < image.Width(); ++x) {
      const Colour c = Over(image.At(x, y), background);
      row[x * 3] = Byte(c.b);
      row[x * 3 + 1] = Byte(c.g);
      row[x * 3 + 2] = Byte(c.r);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  Save(path, out);
}

void WriteBmp32Premultiplied(const std::string& path, const ColourImage& image) {
  const size_t stride = Stride(image.Width(), 32);
  std::vector<uint8_t> out = Headers(image.Width(), image.Height(), 32, 0, stride * image.Height());
  for (int y = image.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.Width(); ++x) {
      const Colour& c = image.At(x, y);
      const uint8_t a = Byte(c.a);
      // Premultiply in bytes so that no channel can exceed alpha.
      auto pre = [&](float v) { return static_cast<uint8_t>((Byte(v) * a + 127) / 255); };
      out.push_back(pre(c.b));
      out.push_back(pre(c.g));
      out.push_back(pre(c.r));
      out.push_back(a);
    }
  }
  Save(path, out);
}

}  // namespace artgen
