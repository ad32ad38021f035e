#pragma once
// Event sounds: the user's WAV file for each SoundEvent, played when sounds are on.
#include <string>
#include <string_view>

#include "common/ProgramState.h"
#include "common/SoundEvent.h"
#include "common/WavePlayer.h"

namespace krelmix {

// Plays the event's file from state.SoundFiles when UseSounds is on and the slot is not empty;
// otherwise does nothing. Nothing is reported either way.
void PlayEventSound(const ProgramState& state, WavePlayer& player, SoundEvent event);

// A sound path as stored in the settings file, made absolute: a relative path is taken from
// the program's folder (exeDir, with its trailing backslash), not from the current folder,
// which for an autostart or a shortcut is anywhere. Absolute, rooted and UNC paths are kept.
std::wstring ResolveSoundPath(std::wstring_view exeDir, std::wstring_view path);

}  // namespace krelmix
