#include "common/SoundRows.h"

#include <algorithm>
#include <vector>

#include "platform/CaseFold.h"
#include "settings/SettingsSchema.h"

namespace krelmix {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Where the file name begins: after the last separator, or after the colon of "C:name".
size_t FileNameStart(std::wstring_view path) {
  const size_t separator = path.find_last_of(L"\\/");
  if (separator != std::wstring_view::npos) return separator + 1;
  return path.size() >= 2 && path[1] == L':' ? 2 : 0;
}

std::wstring Placeholder(size_t slot) { return L"<no sound " + std::to_wstring(slot) + L">"; }

// The same file, one more ".\" before its name: "C:\a\b.wav" becomes "C:\a\.\b.wav".
std::wstring AnotherSpelling(const std::wstring& path) {
  std::wstring spelling = path;
  spelling.insert(FileNameStart(path), L".\\");
  return spelling;
}

bool IsTaken(const std::vector<std::wstring>& keys, std::wstring_view key) {
  return std::any_of(keys.begin(), keys.end(), [key](const std::wstring& k) { return SameName(k, key); });
}

}  // namespace

bool IsSoundPlaceholder(std::wstring_view key) { return !key.empty() && key.front() == L'<' && key.back() == L'>'; }

std::wstring PlainSoundPath(std::wstring_view key) {
  std::wstring folder(key.substr(0, FileNameStart(key)));
  const std::wstring_view name = key.substr(folder.size());
  // Only a "." step of its own counts: "..\" and "a.\" are left alone.
  auto endsWithCurrentFolderStep = [&folder] {
    const size_t n = folder.size();
    if (n < 2 || folder[n - 2] != L'.' || !IsSeparator(folder[n - 1])) return false;
    return n == 2 || IsSeparator(folder[n - 3]) || folder[n - 3] == L':';
  };
  while (endsWithCurrentFolderStep()) folder.resize(folder.size() - 2);
  return folder.append(name);
}

SoundRows ReadSoundRows(const IniDocument& settings) {
  SoundRows rows;
  const std::vector<OptionsEntry> entries = ReadSwitchList(settings, SwitchList::Sounds);
  for (size_t slot = 0; slot < rows.size() && slot < entries.size(); ++slot) {
    const OptionsEntry& entry = entries[slot];
    if (IsSoundPlaceholder(entry.text)) continue;
    rows[slot] = SoundRow(PlainSoundPath(entry.text), entry.ticked);
  }
  return rows;
}

void WriteSoundRows(IniDocument& settings, const SoundRows& rows) {
  ClearSwitchList(settings, SwitchList::Sounds);
  const auto lastNamed = std::find_if(rows.rbegin(), rows.rend(), [](const SoundRow& r) { return !r.file.empty(); });
  const size_t count = static_cast<size_t>(rows.rend() - lastNamed);
  std::vector<std::wstring> written;
  for (size_t slot = 0; slot < count; ++slot) {
    const SoundRow& row = rows[slot];
    std::wstring key = row.file;
    while (!key.empty() && IsTaken(written, key)) key = AnotherSpelling(key);
    // A path the file cannot hold as a key (one with '=' in it) leaves its event silent rather than
    // letting the events after it move up.
    if (key.empty() || !AddSwitch(settings, SwitchList::Sounds, key, row.ticked)) {
      key = Placeholder(slot);
      AddSwitch(settings, SwitchList::Sounds, key, false);
    }
    written.push_back(key);
  }
}

}  // namespace krelmix
