#include "common/StartupSettings.h"

#include "settings/SettingsSchema.h"

namespace krelmix {

void ApplyOptionDefaults(ProgramState& state) {
  state.ShowSplash = OptionDefault(kShowSplashRow);
  state.FollowReport = OptionDefault(kFollowReportRow);
  state.WarnTmp = OptionDefault(kWarnTmpRow);
  state.UseAnimation = OptionDefault(kAnimationRow);
}

void ReadStartupSettings(const IniDocument& settings, ProgramState& state) {
  state.ShowSplash = ReadOption(settings, kShowSplashRow);
  state.FollowReport = ReadOption(settings, kFollowReportRow);
  state.WarnTmp = ReadOption(settings, kWarnTmpRow);
  state.UseAnimation = ReadOption(settings, kAnimationRow);
  // A key's position decides its event; keys past the sixth have no event and are left alone.
  const std::vector<OptionsEntry> sounds = ReadSwitchList(settings, SwitchList::Sounds);
  for (size_t slot = 0; slot < state.SoundFiles.size(); ++slot) {
    state.SoundFiles[slot].clear();
    if (slot < sounds.size() && sounds[slot].ticked) state.SoundFiles[slot] = sounds[slot].text;
  }
  state.UseSounds = ReadUseSounds(settings);
}

}  // namespace krelmix
