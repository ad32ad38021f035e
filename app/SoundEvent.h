#pragma once
// The six events that can play a sound; the number is also the key's position in section Soundz.
namespace krelmix {

enum class SoundEvent { evStart = 0, evExit = 1, evTmpCleaned = 2, evNothingFound = 3, evFound = 4, evKilled = 5 };

}  // namespace krelmix
