#pragma once
// What the options dialog reads and writes: the settings file's option rows, mask and exclusion
// lists and sound switch, the in-memory options, and the two autostart values that follow rows 3
// and 4. The dialog itself only shows this content and hands it back.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/ProgramState.h"
#include "platform/AutostartRegistry.h"
#include "platform/UserError.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSchema.h"

namespace krelmix {

// The option rows' texts, in the order of OptionRow.
extern const std::array<const wchar_t*, kOptionRowCount> kOptionRowTexts;

// What the dialog shows. A new dialog starts with every row unticked, the sound box ticked and
// both lists empty.
struct OptionsContent {
  OptionRows rows{};
  std::vector<OptionsEntry> masks;     // the mask editor's list (the stored masks)
  std::vector<OptionsEntry> excludes;  // the exclusion editor's list (the stored exclusions)
  bool useSounds = true;
};

// The reload of an activation while no editor shows: rows 0 to 2 from memory, then, when the file
// exists, the rows by key number up to the count of keys in Options, both lists and the sound box.
// Returns whether the file was read; without it the lists and the sound box are left as they are.
// A file that is there but cannot be read raises SettingsReadError: the dialog must then not offer
// a save built from anything but the file. An exclusion is shown in the reading of the file that
// names an existing folder (`isFolder`; see ReadExclusionList).
using FolderTest = std::function<bool(const std::wstring& path)>;
bool ReloadOptions(const ProgramState& state, const SettingsFile& settings, const FolderTest& isFolder,
                   OptionsContent& content);

// One of the two autostart values.
struct AutostartValue {
  OptionRow row;
  const wchar_t* name;
  const wchar_t* switchText;
};
extern const std::array<AutostartValue, 2> kAutostartValues;

// The command Windows runs at log-on. The path is quoted: unquoted, a path with a space (the usual
// "C:\Program Files\...") would start whatever program lies at its first word.
std::wstring AutostartCommand(const std::wstring& programPath, const wchar_t* switchText);

// An autostart value could not be written.
class AutostartWriteError : public UserError {
 public:
  explicit AutostartWriteError(const std::wstring& valueName);
};

// How a save left the autostart values.
struct AutostartReport {
  std::optional<std::wstring> failedValue;     // the first value that could not be written
  std::vector<std::wstring> machineLeftovers;  // values an earlier version left for every user
};

// Tells the user that the cleanup at log-on stays switched on for every user while values left
// under HKEY_LOCAL_MACHINE wait for an administrator.
std::wstring MachineLeftoverNotice(const std::vector<std::wstring>& valueNames);

// "Сохранить": writes the masks, exclusions, option rows and sound switch in one replacement of the file, sets
// ShowSplash, WarnTmp, UseAnimation and UseSounds, then makes both autostart values under the
// user's Run key match rows 3 and 4, whether or not the ticks changed, and removes the values of
// the same names from the machine's Run key. A refused file write raises SettingsWriteError, and a
// file that cannot be read first SettingsReadError; either changes nothing else. What happened to
// the autostart values, the file being complete by then, is reported back for the dialog to tell.
AutostartReport SaveOptions(const OptionsContent& content, const std::wstring& programPath, SettingsFile& settings,
                            AutostartRegistry& registry, ProgramState& state);

}  // namespace krelmix
