#pragma once
// The drive list's lines: which drives are listed, how each is described, and their ticks in the
// settings file.
#include <string>
#include <vector>

#include "platform/Drives.h"
#include "settings/IniDocument.h"

namespace krelmix {

struct DriveLine {
  std::wstring text;  // "C: [SYSTEM]": letter, colon, description
  bool ticked = false;
};

std::wstring VolumeText(Drives& drives, wchar_t letter);
std::wstring NetworkText(Drives& drives, wchar_t letter);
// One line per listed drive, in letter order; CD-ROM, unknown and rootless drives are left out.
std::vector<DriveLine> FillDriveList(Drives& drives);

// The drive list as a run sees it.
struct DriveTicks {
  bool listEmpty = true;            // the drive list has no line at all: a run does nothing
  std::vector<std::wstring> roots;  // the ticked lines' first two characters ("C:"), list order
};
DriveTicks TickedDrives(const std::vector<DriveLine>& lines);

// Ticks from the settings file, keyed by each line's first character; missing keys untick.
void RestoreDriveTicks(std::vector<DriveLine>& lines, const IniDocument& settings);
// The stored ticks rewritten to hold exactly one key per line, in list order.
void WriteDriveTicks(const std::vector<DriveLine>& lines, IniDocument& settings);

}  // namespace krelmix
