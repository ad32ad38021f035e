#include "common/StartupSettings.h"

#include "settings/Switch.h"

namespace krelmix {

void ReadStartupSettings(const IniDocument& settings, ProgramState& state) {
  state.ShowSplash = ReadSwitch(settings.Value(L"Options", L"0"), true);
  state.FollowReport = ReadSwitch(settings.Value(L"Options", L"1"), true);
  state.WarnTmp = ReadSwitch(settings.Value(L"Options", L"2"), true);
  state.UseAnimation = ReadSwitch(settings.Value(L"Options", L"5"), false);
  // A key's position decides its event; keys past the sixth have no event and are left alone.
  const auto keys = settings.KeyNames(L"Soundz");
  for (size_t slot = 0; slot < state.SoundFiles.size(); ++slot) {
    state.SoundFiles[slot].clear();
    if (slot < keys.size() && ReadSwitch(settings.Value(L"Soundz", keys[slot]), true))
      state.SoundFiles[slot] = keys[slot];
  }
  state.UseSounds = ReadSwitch(settings.Value(L"UseSoundz", L"Subj"), false);
}

}  // namespace krelmix
