#include "common/OptionsSettings.h"

namespace krelmix {

const std::array<const wchar_t*, kOptionRowCount> kOptionRowTexts = {
    L"Показывать заставку",
    L"Слежение за отчетом",
    L"Предупреждать об очистке TMP",
    L"Автоматически удалять ненужные файлы при загрузке",
    L"Автоматически удалять папку TMP при загрузке",
    L"Использовать анимацию",
};

const std::array<AutostartValue, 2> kAutostartValues = {
    AutostartValue{kAutoEraseRow, L"Krelmix2001 erase", L"/nightfly"},
    AutostartValue{kAutoTmpRow, L"Krelmix2001 TMP", L"/nighttrash"},
};

bool ReloadOptions(const ProgramState& state, const SettingsFile& settings, const FolderTest& isFolder,
                   OptionsContent& content) {
  content.rows[kShowSplashRow] = state.ShowSplash;
  content.rows[kFollowReportRow] = state.FollowReport;
  content.rows[kWarnTmpRow] = state.WarnTmp;
  const SettingsReadings readings = settings.LoadReadings();
  if (!readings.exists) return false;
  const IniDocument& document = readings.system;
  ReadOptionRows(document, content.rows);
  content.masks = ReadSwitchList(document, SwitchList::Masks);
  content.excludes = ReadExclusionList(readings, isFolder);
  content.useSounds = ReadUseSounds(document);
  return true;
}

std::wstring AutostartCommand(const std::wstring& programPath, const wchar_t* switchText) {
  return L"\"" + programPath + L"\" " + switchText;
}

AutostartWriteError::AutostartWriteError(const std::wstring& valueName)
    : UserError(L"Failed to set data for '" + valueName + L"'") {}

std::wstring MachineLeftoverNotice(const std::vector<std::wstring>& valueNames) {
  std::wstring names;
  for (const std::wstring& name : valueNames) names += (names.empty() ? L"«" : L", «") + name + L"»";
  return L"Очистка при загрузке остается включенной для всех пользователей, пока администратор не удалит " +
         std::wstring(valueNames.size() == 1 ? L"запись " : L"записи ") + names +
         L" из автозагрузки компьютера (HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run).";
}

AutostartReport SaveOptions(const OptionsContent& content, const std::wstring& programPath, SettingsFile& settings,
                            AutostartRegistry& registry, ProgramState& state) {
  settings.Update([&content](IniDocument& document) {
    WriteSwitchList(document, SwitchList::Masks, content.masks);
    WriteSwitchList(document, SwitchList::Exclusions, content.excludes);
    WriteOptionRows(document, content.rows);
    WriteUseSounds(document, content.useSounds);
  });
  // FollowReport is not set here: the next search reads it from the file.
  state.ShowSplash = content.rows[kShowSplashRow];
  state.WarnTmp = content.rows[kWarnTmpRow];
  state.UseAnimation = content.rows[kAnimationRow];
  state.UseSounds = content.useSounds;

  // The values live under the user's key, which Windows runs at this user's log-on. One left
  // under the machine's key by an earlier version would run for every user whatever the tick says.
  AutostartReport report;
  for (const AutostartValue& value : kAutostartValues) {
    if (!content.rows[value.row]) {
      registry.RemoveValue(value.name);
    } else if (!registry.SetValue(value.name, AutostartCommand(programPath, value.switchText)) && !report.failedValue) {
      report.failedValue = value.name;
    }
    if (!registry.RemoveMachineValue(value.name)) report.machineLeftovers.push_back(value.name);
  }
  return report;
}

}  // namespace krelmix
