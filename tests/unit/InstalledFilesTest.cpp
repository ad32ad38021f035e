#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
}  // namespace krelmix
