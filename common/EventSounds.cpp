#include "common/EventSounds.h"

#include <cstddef>

namespace krelmix {

namespace {
bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// "C:\x.wav", "C:x.wav" (drive-relative, left to the system), "\x.wav", "\\server\x.wav".
bool NamesADriveOrRoot(std::wstring_view path) {
  if (!path.empty() && IsSeparator(path[0])) return true;
  return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == L':';
}
}  // namespace

std::wstring ResolveSoundPath(std::wstring_view exeDir, std::wstring_view path) {
  if (path.empty() || NamesADriveOrRoot(path)) return std::wstring(path);
  std::wstring resolved(exeDir);
  if (!resolved.empty() && !IsSeparator(resolved.back())) resolved += L'\\';
  return resolved.append(path);
}

void PlayEventSound(const ProgramState& state, WavePlayer& player, SoundEvent event) {
  const auto slot = static_cast<std::size_t>(event);
  if (!state.UseSounds || slot >= state.SoundFiles.size() || state.SoundFiles[slot].empty()) return;
  player.SetFileName(ResolveSoundPath(state.ExeDir, state.SoundFiles[slot]));
  player.Play();
}

}  // namespace krelmix
