#pragma once
// Program-wide state, alive for the whole run; the windows and the engine reach it by reference.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace krelmix {

struct ProgramState {
  std::wstring ExeDir;  // with its trailing backslash
  std::wstring TmpDir;
  bool TestMode = false;
  bool NightFlyMode = false;
  bool NightTrashMode = false;
  bool ShowSplash = true;
  bool FollowReport = true;
  bool WarnTmp = true;
  bool UseAnimation = false;
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
