#pragma once
// Program-wide state, alive for the whole run; the windows and the engine reach it by reference.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/SettingsSchema.h"

namespace krelmix {

struct ProgramState {
  std::wstring ExeDir;  // with its trailing backslash
  std::wstring TmpDir;
  bool TestMode = false;
  bool NightFlyMode = false;
  bool NightTrashMode = false;
  bool ShowSplash = OptionDefault(kShowSplashRow);
  bool FollowReport = OptionDefault(kFollowReportRow);
  bool WarnTmp = OptionDefault(kWarnTmpRow);
  bool UseAnimation = OptionDefault(kAnimationRow);
  bool UseSounds = false;
  std::array<std::wstring, 6> SoundFiles;
  std::vector<std::wstring> MaskList;
  std::vector<std::wstring> ExcludeList;
  bool StopFlag = false;
  bool CleanMode = false;
  uint64_t FoundFiles = 0, DirCount = 0, KilledFiles = 0, FailedFiles = 0, FailedDirs = 0;
  uint64_t FoundBytes = 0, KilledBytes = 0;

  std::wstring SettingsPath() const { return ExeDir + L"Krelmix.ini"; }
};

}  // namespace krelmix
