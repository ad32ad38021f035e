#pragma once
// The events that can play a sound. The number is the event's slot in SoundFiles, the position of
// its key in section Soundz and its row in the sound editor.

namespace krelmix {

enum class SoundEvent { evStart, evExit, evTmpCleaned, evNothingFound, evFound, evKilled };

}  // namespace krelmix
