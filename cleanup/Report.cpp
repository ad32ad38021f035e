#include "cleanup/Report.h"

#include <cstdio>
#include <vector>

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

// One state of a shortening: the drive, and the folder part as "\" (root), "...\" (dots) and the
// rest of the original folder part from `tail` on. Kept this small, every state of a path with
// thousands of folders is had at the cost of reading the path once.
struct Shortening {
  bool drive, root, dots;
  size_t tail;
};

// The step the shortening takes from `at`: a folder part equal to "\...\" becomes "...\" and the
// drive is dropped; an empty one drops the drive; any other loses its first folder (a leading
// "...\" goes with it and "...\" is put in front; with no backslash left it becomes empty), and
// a lone "\" becomes empty. False when nothing is left to take.
bool NextShortening(std::wstring_view folder, Shortening& at) {
  const std::wstring_view tail = folder.substr(at.tail);
  if (!at.root && !at.dots && tail.empty()) {
    if (!at.drive) return false;
    at.drive = false;
  } else if (at.root && (at.dots ? tail.empty() : tail == L"...\\")) {
    at = {false, false, true, folder.size()};
  } else {
    // What follows the leading backslash, without a leading "...\".
    size_t from = at.tail;
    if (!at.dots && tail.rfind(L"...\\", 0) == 0) from += 4;
    const size_t slash = folder.find(L'\\', from);
    if (slash == std::wstring_view::npos) {
      at = {at.drive, false, false, folder.size()};
    } else {
      at = {at.drive, at.root, true, slash + 1};
    }
  }
  return true;
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

// Each step takes characters away and none adds any but the first (a first folder shorter than
// "..."), so from the first step on a text never grows: the first that fits is found by halving,
// with a few measurements whatever the depth of the path. A step at a time, a path as deep as a
// folder link loop makes it took minutes to measure, each time the walk left a folder.
std::wstring ShortenPath(std::wstring_view path, const TextWidth& width, int maxWidth) {
  std::wstring_view drive, rest = path;
  if (rest.size() >= 2 && rest[1] == L':') {
    drive = rest.substr(0, 2);
    rest.remove_prefix(2);
  }
  std::wstring_view folder, name = rest;
  const size_t first = rest.find(L'\\'), last = rest.rfind(L'\\');
  if (first != std::wstring_view::npos) {
    folder = rest.substr(first, last - first + 1);
    name = rest.substr(last + 1);
  }
  // The original folder part is kept without its leading backslash, which `root` stands for.
  const std::wstring_view inner = folder.empty() ? folder : folder.substr(1);
  const auto text = [&](const Shortening& at) {
    std::wstring out;
    if (at.drive) out += drive;
    if (at.root) out += L'\\';
    if (at.dots) out += L"...\\";
    out += inner.substr(at.tail);
    out += name;
    return out;
  };
  std::vector<Shortening> steps{{!drive.empty(), !folder.empty(), false, 0}};
  if (folder.empty()) steps[0].tail = inner.size();
  for (Shortening next = steps[0]; NextShortening(inner, next);) steps.push_back(next);
  if (width(text(steps[0])) <= maxWidth || steps.size() == 1) return text(steps[0]);
  size_t low = 1, high = steps.size() - 1;  // the last step is taken whether it fits or not
  while (low < high) {
    const size_t middle = (low + high) / 2;
    if (width(text(steps[middle])) <= maxWidth)
      high = middle;
    else
      low = middle + 1;
  }
  return text(steps[low]);
}

}  // namespace krelmix
