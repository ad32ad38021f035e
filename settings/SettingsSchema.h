#pragma once
// What Krelmix.ini holds, named in one place: every section, key and option row of the file, each
// read and written through a typed function here. No other file spells a section or a key.
//
//   [Options]    keys "0" to "5": the option rows below, switches
//   [Kill]       one key per mask, its switch says whether the search uses it
//   [ExcludeDir] one key per excluded folder, switched likewise
//   [Soundz]     one key per sound file; a key's position is its event (common/SoundRows)
//   [UseSoundz]  key "Subj": the sound switch
//   [Area]       one key per drive letter: the drive list's ticks
//   [Restore]    key "Days": how many days deleted files are kept to be put back
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/IniDocument.h"

namespace krelmix {

constexpr size_t kOptionRowCount = 6;
// The option rows, in the order of their keys "0" to "5" in section Options.
enum OptionRow : size_t {
  kShowSplashRow = 0,
  kFollowReportRow = 1,
  kWarnTmpRow = 2,
  kAutoEraseRow = 3,  // the autostart value for /nightfly
  kAutoTmpRow = 4,    // the autostart value for /nighttrash
  kAnimationRow = 5,
};
using OptionRows = std::array<bool, kOptionRowCount>;

// The option a row has where the file says nothing: on for rows 0 to 2, off for the others.
constexpr bool OptionDefault(OptionRow row) { return row <= kWarnTmpRow; }
// An option as the program starts with it: a missing key or one that is not a number gives the
// row's default.
bool ReadOption(const IniDocument& settings, OptionRow row);
// The options dialog's reading: rows by number up to the count of keys present in Options,
// whatever those keys are; a row read so defaults to off, a row past them keeps its `rows` value.
void ReadOptionRows(const IniDocument& settings, OptionRows& rows);
// Options rewritten to hold the six rows in order.
void WriteOptionRows(IniDocument& settings, const OptionRows& rows);

bool ReadUseSounds(const IniDocument& settings);  // off when missing
void WriteUseSounds(IniDocument& settings, bool on);

// The sections that are lists of switched keys.
enum class SwitchList {
  Masks,       // Kill; an unreadable switch is off
  Exclusions,  // ExcludeDir; likewise
  Sounds,      // Soundz; an unreadable switch is on
};

// One key of a switch list, as the options dialog and the sound editor show it.
struct OptionsEntry {
  std::wstring text;
  bool ticked = false;
};

// Every key of the list in file order with its switch.
std::vector<OptionsEntry> ReadSwitchList(const IniDocument& settings, SwitchList list);
// The keys switched on, in file order.
std::vector<std::wstring> EnabledKeys(const IniDocument& settings, SwitchList list);
// The list rewritten to hold `entries` in order; an entry the file cannot hold as a key (empty, or
// with an equals sign) is left out.
void WriteSwitchList(IniDocument& settings, SwitchList list, const std::vector<OptionsEntry>& entries);
// The list emptied; and one key added to it, false, changing nothing, when the file cannot hold
// the key (see IniDocument::Write).
void ClearSwitchList(IniDocument& settings, SwitchList list);
bool AddSwitch(IniDocument& settings, SwitchList list, std::wstring_view key, bool on);

// The file as the system's code page reads it and, where its bytes are neither UTF-8 nor marked
// and the program's own code page (Windows-1251, in which it has always written on a Russian
// system) reads them otherwise, that reading too: a file written under one code page and read
// under another. Only the exclusions look at the second reading.
struct SettingsReadings {
  IniDocument system;
  std::optional<IniDocument> ownPage;
  bool exists = true;  // false: there is no file, and both readings are empty
};

// The excluded folders switched on under either reading, each text once: excluding more never
// deletes anything, so an exclusion holds whichever code page wrote it.
std::vector<std::wstring> EnabledExclusions(const SettingsReadings& readings);
// The exclusion editor's list: each key in the reading that names an existing folder; where
// neither or both do, the system's, unless it holds characters the code page could not read and
// the other does not.
std::vector<OptionsEntry> ReadExclusionList(const SettingsReadings& readings,
                                            const std::function<bool(const std::wstring&)>& isFolder);
// Whether the section is the one of the excluded folders.
bool IsExclusionSection(std::wstring_view section);

// How many days deleted files are kept to be put back: a whole number of days, 0 and more; a
// missing key, or one that is no such number, gives the default.
constexpr unsigned kKeepDaysDefault = 7;
unsigned ReadKeepDays(const IniDocument& settings);

// The drive list's tick for the drive whose line starts with `letter` (off when missing), and
// Area rewritten to hold one key per drive letter in the order given.
bool ReadDriveTick(const IniDocument& settings, wchar_t letter);
void ReplaceDriveTicks(IniDocument& settings, const std::vector<std::pair<wchar_t, bool>>& ticks);

}  // namespace krelmix
