#include <gtest/gtest.h>

#include "AboutOutline.h"
#include "BmpFile.h"
#include "MainOutline.h"
#include "skin/RegionData.h"

namespace krelmix {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<uint32_t> words) {
  std::vector<uint8_t> out;
  for (uint32_t w : words)
    for (int s = 0; s < 32; s += 8) out.push_back(static_cast<uint8_t>(w >> s));
  return out;
}

TEST(RegionData, StoredFormIsTheCountFollowedByGdiRegionData) {
  const std::vector<RegionRect> rects = {{0, 0, 3, 1}, {5, 0, 6, 1}, {-2, 1, 6, 4}};
  const std::vector<uint8_t> stored = SerializeStoredOutline(rects);
  const std::vector<uint8_t> expected = Bytes({80, 32, 1, 3, 48, static_cast<uint32_t>(-2), 0, 6, 4, 0, 0, 3,
                                               1,  5,  0, 6, 1,  static_cast<uint32_t>(-2), 1, 6, 4});
  EXPECT_EQ(stored, expected);

  const StoredOutline parsed = ParseStoredOutline(stored);
  ASSERT_EQ(parsed.kind, StoredOutlineKind::Outline);
  EXPECT_EQ(parsed.outline.rects, rects);
  EXPECT_EQ(parsed.outline.bounds, (RegionRect{-2, 0, 6, 4}));
  EXPECT_EQ(parsed.regionData.size(), 80u);
  EXPECT_EQ(parsed.regionData.data(), stored.data() + 4);

  // An empty outline is still an outline (GDI writes a header with no rectangles).
  EXPECT_EQ(ParseStoredOutline(SerializeStoredOutline({})).kind, StoredOutlineKind::Outline);
  EXPECT_EQ(ParseStoredOutline(NoStoredOutline()).kind, StoredOutlineKind::None);
}

TEST(RegionData, MalformedBlocksAreRefusedWithoutReadingPastThem) {
  const std::vector<uint8_t> good = SerializeStoredOutline({{0, 0, 2, 2}, {0, 2, 4, 3}});
  auto withWord = [&](size_t offset, uint32_t value) {
    std::vector<uint8_t> b = good;
    for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    return ParseStoredOutline(b).kind;
  };
  // Every truncation, including the empty block and a cut count.
  for (size_t n = 0; n < good.size(); ++n) {
    const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
    EXPECT_EQ(ParseStoredOutline(cut).kind, StoredOutlineKind::Malformed) << "length " << n;
  }
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_EQ(ParseStoredOutline(longer).kind, StoredOutlineKind::Malformed);
  std::vector<uint8_t> noneWithTail = NoStoredOutline();
  noneWithTail.push_back(1);
  EXPECT_EQ(ParseStoredOutline(noneWithTail).kind, StoredOutlineKind::Malformed);

  EXPECT_EQ(withWord(0, static_cast<uint32_t>(-64)), StoredOutlineKind::Malformed);  // negative N
  EXPECT_EQ(withWord(4, 40), StoredOutlineKind::Malformed);                          // header size
  EXPECT_EQ(withWord(8, 2), StoredOutlineKind::Malformed);                           // region type
  EXPECT_EQ(withWord(12, 3), StoredOutlineKind::Malformed);                          // count too big
  EXPECT_EQ(withWord(12, 0x10000001), StoredOutlineKind::Malformed);                 // count * 16 wraps
  EXPECT_EQ(withWord(16, 16), StoredOutlineKind::Malformed);                         // list size
  EXPECT_EQ(withWord(16, 0), StoredOutlineKind::Outline);                            // list size not given
  EXPECT_EQ(withWord(36 + 8, 0), StoredOutlineKind::Malformed);                      // empty rectangle
  EXPECT_EQ(withWord(28, 3), StoredOutlineKind::Malformed);                          // outside the box
}

TEST(RegionData, RowsBecomeBandsAndTouchingEqualRowsMerge) {
  // 0 = key. Rows 0-1 equal (merge), row 2 differs, row 3 empty, row 4 equals row 2 but does not
  // touch it, so it starts a band of its own.
  const std::vector<std::string> picture = {
      "..##..#", "..##..#", "###....", ".......", "###....",
  };
  const auto opaque = [&](int x, int y) { return picture[y][x] == '#'; };
  EXPECT_EQ(OutlineRects(7, 5, opaque),
            (std::vector<RegionRect>{{2, 0, 4, 2}, {6, 0, 7, 2}, {0, 2, 3, 3}, {0, 4, 3, 5}}));
  EXPECT_EQ(RowRuns(7, 0, opaque), (std::vector<PixelRun>{{2, 4}, {6, 7}}));
  EXPECT_TRUE(OutlineRects(0, 5, opaque).empty());
}

TEST(RegionData, KeyColourDefaultsToTheBottomLeftPixel) {
  PixelGrid grid{3, 2, {0x112233, 0x00FF00, 0x112233, 0xFC0204, 0x00FF00, 0x00FF00}};
  EXPECT_EQ(DefaultKeyColour(grid), 0xFC0204u);
  EXPECT_EQ(OutlineRects(grid, DefaultKeyColour(grid)), (std::vector<RegionRect>{{0, 0, 3, 1}, {1, 1, 3, 2}}));
  // The top byte of a pixel (alpha, or padding) plays no part in the comparison.
  grid.pixels[0] |= 0xFF000000;
  EXPECT_EQ(OutlineRects(grid, 0x00FF00), (std::vector<RegionRect>{{0, 0, 1, 1}, {2, 0, 3, 1}, {0, 1, 1, 2}}));
  EXPECT_TRUE(OutlineRects(PixelGrid{}, 0).empty());
}

TEST(RegionData, MainSkinHasTheMainWindowsOutlineAndItIsStoredAsComputed) {
  const auto bmp = test::DecodeBmp(test::ReadFileBytes(KRELMIX_RESOURCE_DIR "/skins/Main.bmp"));
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->bitsPerPixel, 4);
  EXPECT_EQ(bmp->compression, 0u);
  EXPECT_EQ(bmp->grid.width, 600);
  EXPECT_EQ(bmp->grid.height, 463);
  const uint32_t key = DefaultKeyColour(bmp->grid);
  EXPECT_EQ(key, 0xFC0204u);

  const std::vector<RegionRect> outline = OutlineRects(bmp->grid, key);
  ASSERT_EQ(outline.size(), 30u);
  EXPECT_EQ(outline, test::ExpectedMainOutline());
  EXPECT_EQ(BoundingBox(outline), (RegionRect{5, 4, 597, 460}));

  const std::vector<uint8_t> stored = test::ReadFileBytes(KRELMIX_RESOURCE_DIR "/skins/Main.rgn");
  EXPECT_EQ(stored, SerializeStoredOutline(outline));
  EXPECT_EQ(stored.size(), 4u + 32u + 30u * 16u);
}

TEST(RegionData, AboutSkinHasTheAboutWindowsOutlineAndItIsStoredAsComputed) {
  const auto bmp = test::DecodeBmp(test::ReadFileBytes(KRELMIX_RESOURCE_DIR "/skins/About.bmp"));
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->bitsPerPixel, 4);
  EXPECT_EQ(bmp->compression, 0u);
  EXPECT_EQ(bmp->grid.width, 300);
  EXPECT_EQ(bmp->grid.height, 205);
  const uint32_t key = DefaultKeyColour(bmp->grid);
  EXPECT_EQ(key, 0x131113u);

  const std::vector<RegionRect> outline = OutlineRects(bmp->grid, key);
  ASSERT_EQ(outline.size(), 40u);
  EXPECT_EQ(outline, test::ExpectedAboutOutline());
  EXPECT_EQ(BoundingBox(outline), (RegionRect{0, 0, 300, 205}));

  EXPECT_EQ(test::ReadFileBytes(KRELMIX_RESOURCE_DIR "/skins/About.rgn"), SerializeStoredOutline(outline));
}

}  // namespace
}  // namespace krelmix
