#include "settings/SettingsSchema.h"

#include <algorithm>

#include "platform/CaseFold.h"
#include "settings/Switch.h"

namespace krelmix {

namespace {
constexpr wchar_t kOptions[] = L"Options", kUseSoundz[] = L"UseSoundz", kSubj[] = L"Subj", kArea[] = L"Area",
                  kRestore[] = L"Restore", kDays[] = L"Days";

struct ListSection {
  const wchar_t* name;
  bool fallback;  // a switch that is not a number
};

ListSection SectionOf(SwitchList list) {
  switch (list) {
    case SwitchList::Masks:
      return {L"Kill", false};
    case SwitchList::Exclusions:
      return {L"ExcludeDir", false};
    case SwitchList::Sounds:
      break;
  }
  return {L"Soundz", true};
}

std::wstring OptionKey(size_t row) { return std::to_wstring(row); }

bool HasUnreadCharacter(const std::wstring& text) {
  return text.find(static_cast<wchar_t>(0xFFFD)) != std::wstring::npos;
}
}  // namespace

bool ReadOption(const IniDocument& settings, OptionRow row) {
  return ReadSwitch(settings.Value(kOptions, OptionKey(row)), OptionDefault(row));
}

void ReadOptionRows(const IniDocument& settings, OptionRows& rows) {
  const size_t keyCount = settings.KeyNames(kOptions).size();
  for (size_t row = 0; row < keyCount && row < kOptionRowCount; ++row)
    rows[row] = ReadSwitch(settings.Value(kOptions, OptionKey(row)), false);
}

void WriteOptionRows(IniDocument& settings, const OptionRows& rows) {
  settings.EraseSection(kOptions);
  for (size_t row = 0; row < kOptionRowCount; ++row) settings.Write(kOptions, OptionKey(row), SwitchText(rows[row]));
}

bool ReadUseSounds(const IniDocument& settings) { return ReadSwitch(settings.Value(kUseSoundz, kSubj), false); }

void WriteUseSounds(IniDocument& settings, bool on) {
  settings.EraseSection(kUseSoundz);
  settings.Write(kUseSoundz, kSubj, SwitchText(on));
}

std::vector<OptionsEntry> ReadSwitchList(const IniDocument& settings, SwitchList list) {
  const ListSection section = SectionOf(list);
  std::vector<OptionsEntry> entries;
  for (const auto& [key, value] : settings.Entries(section.name))
    entries.push_back({std::wstring(key), ReadSwitch(std::wstring(value), section.fallback)});
  return entries;
}

std::vector<std::wstring> EnabledKeys(const IniDocument& settings, SwitchList list) {
  std::vector<std::wstring> keys;
  for (OptionsEntry& entry : ReadSwitchList(settings, list))
    if (entry.ticked) keys.push_back(std::move(entry.text));
  return keys;
}

void ClearSwitchList(IniDocument& settings, SwitchList list) { settings.EraseSection(SectionOf(list).name); }

bool AddSwitch(IniDocument& settings, SwitchList list, std::wstring_view key, bool on) {
  return settings.Write(SectionOf(list).name, key, SwitchText(on));
}

void WriteSwitchList(IniDocument& settings, SwitchList list, const std::vector<OptionsEntry>& entries) {
  ClearSwitchList(settings, list);
  for (const OptionsEntry& entry : entries) AddSwitch(settings, list, entry.text, entry.ticked);
}

std::vector<std::wstring> EnabledExclusions(const SettingsReadings& readings) {
  std::vector<std::wstring> keys = EnabledKeys(readings.system, SwitchList::Exclusions);
  if (!readings.ownPage) return keys;
  const size_t systemCount = keys.size();
  for (std::wstring& key : EnabledKeys(*readings.ownPage, SwitchList::Exclusions)) {
    if (std::find(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(systemCount), key) ==
        keys.begin() + static_cast<std::ptrdiff_t>(systemCount))
      keys.push_back(std::move(key));
  }
  return keys;
}

std::vector<OptionsEntry> ReadExclusionList(const SettingsReadings& readings,
                                            const std::function<bool(const std::wstring&)>& isFolder) {
  std::vector<OptionsEntry> entries = ReadSwitchList(readings.system, SwitchList::Exclusions);
  if (!readings.ownPage) return entries;
  std::vector<OptionsEntry> others = ReadSwitchList(*readings.ownPage, SwitchList::Exclusions);
  // The readings differ in characters, never in lines; a code page that joins bytes into
  // characters could still make them disagree on the entries, and then the system's stands.
  if (others.size() != entries.size()) return entries;
  for (size_t i = 0; i < entries.size(); ++i) {
    std::wstring& text = entries[i].text;
    const std::wstring& other = others[i].text;
    if (text == other) continue;
    const bool systemNames = isFolder(text), otherNames = isFolder(other);
    if (otherNames != systemNames ? otherNames : HasUnreadCharacter(text) && !HasUnreadCharacter(other)) text = other;
  }
  return entries;
}

bool IsExclusionSection(std::wstring_view section) { return SameName(section, SectionOf(SwitchList::Exclusions).name); }

unsigned ReadKeepDays(const IniDocument& settings) {
  const std::optional<std::wstring> value = settings.Value(kRestore, kDays);
  const std::optional<int32_t> days = value ? ParseSwitchNumber(*value) : std::nullopt;
  return days && *days >= 0 ? static_cast<unsigned>(*days) : kKeepDaysDefault;
}

bool ReadDriveTick(const IniDocument& settings, wchar_t letter) {
  return ReadSwitch(settings.Value(kArea, std::wstring(1, letter)), false);
}

void ReplaceDriveTicks(IniDocument& settings, const std::vector<std::pair<wchar_t, bool>>& ticks) {
  settings.EraseSection(kArea);
  for (const auto& [letter, ticked] : ticks) settings.Write(kArea, std::wstring(1, letter), SwitchText(ticked));
}

}  // namespace krelmix
