#include "cleanup/DriveList.h"

#include "platform/CaseFold.h"
#include "settings/SettingsSchema.h"

namespace krelmix {

namespace {
// A line is keyed by its drive letter, the first character of its text.
wchar_t LetterOf(const DriveLine& line) { return line.text.empty() ? L'\0' : line.text[0]; }
}  // namespace

std::wstring VolumeText(Drives& drives, wchar_t letter) {
  return L"[" + UpperCase(drives.VolumeLabel(letter).value_or(L"")) + L"]";
}

std::wstring NetworkText(Drives& drives, wchar_t letter) {
  const auto remote = drives.RemoteName(UpperChar(letter));
  if (!remote) return VolumeText(drives, letter);
  return UpperCase(*remote);
}

std::vector<DriveLine> FillDriveList(Drives& drives) {
  std::vector<DriveLine> lines;
  const uint32_t mask = drives.LogicalDrives();
  for (int bit = 0; bit < 26; ++bit) {
    if (!(mask & (1u << bit))) continue;
    const wchar_t letter = static_cast<wchar_t>(L'A' + bit);
    const std::wstring head = std::wstring(1, letter) + L":";
    switch (drives.Kind(letter)) {
      case DriveKind::Removable:
        lines.push_back({head});
        break;
      case DriveKind::Fixed:
      case DriveKind::RamDisk:
        lines.push_back({head + L" " + VolumeText(drives, letter)});
        break;
      case DriveKind::Remote:
        lines.push_back({head + L" " + NetworkText(drives, letter)});
        break;
      default:
        break;
    }
  }
  return lines;
}

DriveTicks TickedDrives(const std::vector<DriveLine>& lines) {
  DriveTicks ticks;
  ticks.listEmpty = lines.empty();
  for (const auto& line : lines)
    if (line.ticked) ticks.roots.push_back(line.text.substr(0, 2));
  return ticks;
}

void RestoreDriveTicks(std::vector<DriveLine>& lines, const IniDocument& settings) {
  for (auto& line : lines) line.ticked = ReadDriveTick(settings, LetterOf(line));
}

void WriteDriveTicks(const std::vector<DriveLine>& lines, IniDocument& settings) {
  std::vector<std::pair<wchar_t, bool>> ticks;
  for (const auto& line : lines)
    if (!line.text.empty()) ticks.emplace_back(LetterOf(line), line.ticked);  // no key without a letter
  ReplaceDriveTicks(settings, ticks);
}

}  // namespace krelmix
