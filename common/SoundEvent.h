#pragma once
// The events that can play a sound. The number is the event's slot in SoundFiles, the position of
// its key in the stored sound list and its row in the sound editor.
#include <cstddef>

namespace krelmix {

enum class SoundEvent { evStart, evExit, evTmpCleaned, evNothingFound, evFound, evKilled };

constexpr std::size_t kSoundEventCount = 6;

}  // namespace krelmix
