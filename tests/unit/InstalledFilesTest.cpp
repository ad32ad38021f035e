#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BmpFile.h"
#include "common/StartupSettings.h"

namespace krelmix {
namespace {

// The settings file installed with the program names the shipped sounds, one per event in event
// order, relative to the program's folder, and turns sounds on.
TEST(InstalledFiles, SettingsNameTheShippedSoundsInEventOrder) {
  const std::vector<uint8_t> bytes = test::ReadFileBytes(KRELMIX_RESOURCE_DIR "/Krelmix.ini");
  ASSERT_FALSE(bytes.empty());
  const std::wstring text(bytes.begin(), bytes.end());  // plain ASCII
  ProgramState state;
  ReadStartupSettings(IniDocument::Parse(text), state);
  EXPECT_TRUE(state.UseSounds);
  const std::array<std::wstring, 6> expected = {L"sounds\\start.wav",   L"sounds\\exit.wav",  L"sounds\\tmp.wav",
                                                L"sounds\\nothing.wav", L"sounds\\found.wav", L"sounds\\killed.wav"};
  EXPECT_EQ(state.SoundFiles, expected);
  for (const auto& name : expected) {
    const std::string file(name.begin() + 7, name.end());
    const auto wav = test::ReadFileBytes(KRELMIX_RESOURCE_DIR "/sounds/" + file);
    ASSERT_GT(wav.size(), 44u) << file;
    // PCM, mono, 22050 Hz, 16 bits.
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(wav[20] | wav[21] << 8, 1) << file;
    EXPECT_EQ(wav[22] | wav[23] << 8, 1) << file;
    EXPECT_EQ(wav[24] | wav[25] << 8 | wav[26] << 16, 22050) << file;
    EXPECT_EQ(wav[34] | wav[35] << 8, 16) << file;
    const double seconds = (wav.size() - 44) / 2.0 / 22050;
    EXPECT_GE(seconds, 0.2) << file;
    EXPECT_LE(seconds, 0.8) << file;
  }
}

// The options dialog, the sound editor, the two list editors and the restore window are keyed on
// black: their skins hold no black pixel, so each of those windows is a plain rectangle.
TEST(InstalledFiles, SkinsKeyedOnBlackMakeRectangularWindows) {
  const struct {
    const char* file;
    int width, height;
  } skins[] = {{"Options.bmp", 360, 286}, {"Editors.bmp", 120, 286}, {"Restore.bmp", 500, 336}};
  for (const auto& skin : skins) {
    const auto bmp = test::DecodeBmp(test::ReadFileBytes(std::string(KRELMIX_RESOURCE_DIR "/skins/") + skin.file));
    ASSERT_TRUE(bmp) << skin.file;
    EXPECT_EQ(bmp->bitsPerPixel, 4) << skin.file;
    EXPECT_EQ(bmp->compression, 0u) << skin.file;
    EXPECT_EQ(bmp->grid.width, skin.width) << skin.file;
    EXPECT_EQ(bmp->grid.height, skin.height) << skin.file;
    EXPECT_EQ(OutlineRects(bmp->grid, 0x000000), (std::vector<RegionRect>{{0, 0, skin.width, skin.height}}))
        << skin.file;
  }
}

// The About window's pictures have the sizes of their places, the logo's bottom-left pixel (its
// key when drawn) is the key colour, and the link cursor's hot spot is the hand's topmost pixel.
TEST(InstalledFiles, AboutPicturesAndLinkCursor) {
  const auto mascot = test::DecodeBmp(test::ReadFileBytes(KRELMIX_RESOURCE_DIR "/pictures/Mascot.bmp"));
  ASSERT_TRUE(mascot);
  EXPECT_EQ(mascot->grid.width, 85);
  EXPECT_EQ(mascot->grid.height, 162);
  const auto logo = test::DecodeBmp(test::ReadFileBytes(KRELMIX_RESOURCE_DIR "/pictures/Logo.bmp"));
  ASSERT_TRUE(logo);
  EXPECT_EQ(logo->grid.width, 176);
  EXPECT_EQ(logo->grid.height, 49);
  EXPECT_EQ(DefaultKeyColour(logo->grid), 0xFF00FFu);

  const std::vector<uint8_t> cur = test::ReadFileBytes(KRELMIX_RESOURCE_DIR "/cursors/LinkPoint.cur");
  ASSERT_EQ(cur.size(), 22u + 40u + 8u + 2u * 128u);
  auto u16 = [&](size_t o) { return cur[o] | cur[o + 1] << 8; };
  EXPECT_EQ(u16(2), 2);  // a cursor
  EXPECT_EQ(u16(4), 1);
  EXPECT_EQ(cur[6], 32);
  EXPECT_EQ(cur[7], 32);
  EXPECT_EQ(u16(22 + 14), 1);  // one bit per pixel
  const int hotX = u16(10), hotY = u16(12);
  // The AND mask follows the colour mask; rows bottom-up, a clear bit is a drawn pixel.
  auto drawn = [&](int x, int y) { return !(cur[22 + 48 + 128 + (31 - y) * 4 + x / 8] & (0x80 >> (x % 8))); };
  EXPECT_TRUE(drawn(hotX, hotY));
  for (int y = 0; y < hotY; ++y)
    for (int x = 0; x < 32; ++x) EXPECT_FALSE(drawn(x, y)) << x << "," << y;
}

}  // namespace
}  // namespace krelmix
