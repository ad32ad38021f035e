#pragma once
// The six event sounds: PCM, 16 bits, mono, 22050 Hz.
#include <string>
#include <vector>

namespace artgen {

constexpr int kSampleRate = 22050;

struct SoundDesign {
  std::string file;            // in resources/sounds
  std::vector<float> samples;  // -1..1
};

// In event order: start, exit, temporary folder emptied, nothing found, found, deleted.
std::vector<SoundDesign> EventSounds();
void WriteWav(const std::string& path, const std::vector<float>& samples);

}  // namespace artgen
