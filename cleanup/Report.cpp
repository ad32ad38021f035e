#include "cleanup/Report.h"

#include <cstdio>

namespace krelmix {

namespace {
std::wstring Number(uint64_t n) { return std::to_wstring(n); }
std::wstring Folders(uint64_t dirCount) { return L" ====> Каталогов: " + Number(dirCount + 1); }
std::wstring Size(uint64_t bytes) { return L" ====> Размер: " + Number(bytes / 1024) + L" kb"; }

std::wstring TimeFields(int h, int m, int s, int ms) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%2d:%2d:%2d:%3d", h, m, s, ms);
  return text;
}
std::wstring TimeFields(TimeOfDay t) { return TimeFields(t.hour, t.minute, t.second, t.millisecond); }

// A folder part loses its first folder; "\" stays "\" (nothing left to cut).
std::wstring CutFirstDirectory(std::wstring folder) {
  const bool root = !folder.empty() && folder[0] == L'\\';
  if (root) folder.erase(0, 1);
  if (folder.rfind(L"...\\", 0) == 0) folder.erase(0, 4);
  const size_t slash = folder.find(L'\\');
  folder = slash == std::wstring::npos ? L"" : L"...\\" + folder.substr(slash + 1);
  return root ? L"\\" + folder : folder;
}
}  // namespace

std::wstring NothingFoundReport(uint64_t dirCount) { return L" ЧИСТО!!!" + Folders(dirCount); }

std::wstring CleanedReport(uint64_t killedFiles, uint64_t killedBytes, uint64_t dirCount) {
  return L" Итого очищено: " + Number(killedFiles) + Size(killedBytes) + Folders(dirCount);
}

std::wstring FoundReport(uint64_t foundFiles, uint64_t foundBytes, uint64_t dirCount) {
  return L" Итого найдено: " + Number(foundFiles) + Size(foundBytes) + Folders(dirCount);
}

std::wstring TimingMessage(TimeOfDay start, TimeOfDay end, uint64_t elapsedMilliseconds) {
  const uint64_t ms = elapsedMilliseconds % 1000, s = elapsedMilliseconds / 1000;
  return L"Начало: " + TimeFields(start) + L"\nКонец:   " + TimeFields(end) +
         L"\n------------------------------------\nВсего:     " +
         TimeFields(static_cast<int>(s / 3600), static_cast<int>(s / 60 % 60), static_cast<int>(s % 60),
                    static_cast<int>(ms));
}

std::wstring ShortenPath(std::wstring_view path, const TextWidth& width, int maxWidth) {
  std::wstring drive, rest(path);
  if (rest.size() >= 2 && rest[1] == L':') {
    drive = rest.substr(0, 2);
    rest.erase(0, 2);
  }
  std::wstring folder, name = rest;
  const size_t first = rest.find(L'\\'), last = rest.rfind(L'\\');
  if (first != std::wstring::npos) {
    folder = rest.substr(first, last - first + 1);
    name = rest.substr(last + 1);
  }
  while (width(drive + folder + name) > maxWidth && (!drive.empty() || !folder.empty())) {
    if (folder == L"\\...\\") {
      folder = L"...\\";
      drive.clear();
    } else if (folder.empty()) {
      drive.clear();
    } else {
      std::wstring cut = CutFirstDirectory(folder);
      // A lone "\" cuts to itself: dropping it keeps the loop from running for ever.
      folder = cut == folder ? L"" : cut;
    }
  }
  return drive + folder + name;
}

}  // namespace krelmix
