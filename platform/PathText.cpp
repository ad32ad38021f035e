#include "platform/PathText.h"

#include <algorithm>
#include <vector>

#include "platform/CaseFold.h"

namespace krelmix {

namespace {
bool StartsWith(std::wstring_view text, std::wstring_view start) { return text.substr(0, start.size()) == start; }

// True when the path from `from` on has a "." or ".." step or a '/'.
bool HasRelativeStep(std::wstring_view path, size_t from) {
  if (path.find(L'/') != std::wstring_view::npos) return true;
  while (from <= path.size()) {
    const size_t end = std::min(path.find(L'\\', from), path.size());
    const std::wstring_view part = path.substr(from, end - from);
    if (part == L"." || part == L"..") return true;
    from = end + 1;
  }
  return false;
}

void TrimDotsAndBlanks(std::wstring& text) {
  while (!text.empty() && (text.back() == L'.' || text.back() == L' ')) text.pop_back();
}
}  // namespace

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

std::wstring_view PathRoot(std::wstring_view path) {
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':') return path.substr(0, 2);
  if (!StartsWith(path, L"\\\\")) return {};
  const size_t server = path.find(L'\\', 2);
  if (server == std::wstring_view::npos) return {};
  return path.substr(0, path.find(L'\\', server + 1));
}

bool IsDriveRoot(std::wstring_view canonical) { return canonical.size() == 2 && canonical[1] == L':'; }

std::wstring WithoutPrefix(std::wstring_view path) {
  for (const wchar_t* unc : {L"\\\\?\\UNC\\", L"\\\\.\\UNC\\"})
    if (path.size() >= 8 && SameName(path.substr(0, 8), unc)) return L"\\\\" + std::wstring(path.substr(8));
  if (StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\")) return std::wstring(path.substr(4));
  return std::wstring(path);
}

std::optional<std::wstring> DosPathOfObjectName(std::wstring_view name) {
  if (StartsWith(name, L"\\??\\UNC\\")) return L"\\\\" + std::wstring(name.substr(8));
  if (StartsWith(name, L"\\??\\")) return std::wstring(name.substr(4));
  return std::nullopt;
}

std::optional<std::wstring> ExtendedForm(std::wstring_view path) {
  // Every file the program opens goes through here: one allocation per path.
  const auto joined = [](std::wstring_view prefix, std::wstring_view rest, std::wstring_view suffix) {
    std::wstring out;
    out.reserve(prefix.size() + rest.size() + suffix.size());
    return out.append(prefix).append(rest).append(suffix);
  };
  if (StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\")) return std::wstring(path);
  const bool drive = path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':';
  if (drive && path.size() == 2) return joined(L"\\\\?\\", path, L"\\");
  if (drive && path[2] == L'\\' && !HasRelativeStep(path, 3)) return joined(L"\\\\?\\", path, {});
  if (StartsWith(path, L"\\\\") && path.size() > 2 && !HasRelativeStep(path, 2))
    return joined(L"\\\\?\\UNC\\", path.substr(2), {});
  return std::nullopt;
}

std::wstring WithBackslashes(std::wstring_view path) {
  std::wstring text(path);
  for (auto& c : text)
    if (c == L'/') c = L'\\';
  return text;
}

std::wstring_view WithoutTrailingBackslashes(std::wstring_view path) {
  while (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
  return path;
}

std::wstring_view WithoutTrailingBackslashesAfterRoot(std::wstring_view path) {
  while (path.size() > 3 && path.back() == L'\\') path.remove_suffix(1);
  return path;
}

std::wstring WithoutTrailingDots(std::wstring_view path) {
  std::wstring out;
  out.reserve(path.size());
  for (wchar_t c : path) {
    if (c == L'\\') TrimDotsAndBlanks(out);
    out += c;
  }
  TrimDotsAndBlanks(out);
  return out;
}

std::optional<PathSplit> SplitLastStep(std::wstring_view path) {
  const size_t slash = path.rfind(L'\\');
  if (slash == std::wstring_view::npos) return std::nullopt;
  return PathSplit{path.substr(0, slash), path.substr(slash + 1)};
}

std::vector<std::wstring> FoldersAbove(std::wstring_view canonical) {
  std::vector<std::wstring> above;
  std::wstring_view path = canonical;
  while (!IsRootPath(path)) {
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring_view::npos || slash < 2) break;
    path = path.substr(0, slash);
    above.emplace_back(path);
  }
  return above;
}

bool SamePath(std::wstring_view a, std::wstring_view b) { return SameName(a, b); }

std::optional<std::wstring> CanonicalFolderPath(std::wstring_view path) {
  std::wstring text = WithBackslashes(path);
  for (const wchar_t* unc : {L"\\\\?\\UNC\\", L"\\\\.\\UNC\\", L"\\??\\UNC\\"}) {
    if (text.size() >= 8 && SameName(std::wstring_view(text).substr(0, 8), unc)) {
      text = L"\\\\" + text.substr(8);
      break;
    }
  }
  if (StartsWith(text, L"\\\\?\\") || StartsWith(text, L"\\\\.\\") || StartsWith(text, L"\\??\\")) text.erase(0, 4);
  // The system drops trailing dots and blanks of a name, so "Windows." is "Windows". False for a
  // name no folder can have.
  const auto clean = [](std::wstring& step) {
    TrimDotsAndBlanks(step);
    for (wchar_t c : step)
      if (c < 0x20 || std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos) return false;
    return true;
  };
  // The steps after `at`, "." and ".." resolved; false when a step cannot be a name or ".."
  // climbs above the root.
  std::vector<std::wstring> steps;
  const auto split = [&](size_t at, size_t keep) {
    while (at < text.size()) {
      while (at < text.size() && text[at] == L'\\') ++at;
      const size_t end = std::min(text.find(L'\\', at), text.size());
      std::wstring step = text.substr(at, end - at);
      at = end;
      if (step == L"..") {
        if (steps.size() <= keep) return false;
        steps.pop_back();
        continue;
      }
      if (!clean(step)) return false;
      if (!step.empty()) steps.push_back(std::move(step));
    }
    return true;
  };
  std::wstring root;
  if (text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == L':') {
    if (text.size() > 2 && text[2] != L'\\') return std::nullopt;  // relative to a drive's own folder
    root = text.substr(0, 2);
    root[0] = UpperChar(root[0]);
    if (!split(2, 0)) return std::nullopt;
  } else if (StartsWith(text, L"\\\\")) {
    // A share root is its server and share name; both must be there, as names.
    size_t from = 2;
    for (int part = 0; part < 2; ++part) {
      while (from < text.size() && text[from] == L'\\') ++from;
      const size_t end = std::min(text.find(L'\\', from), text.size());
      std::wstring name = text.substr(from, end - from);
      if (name == L"." || name == L".." || !clean(name) || name.empty()) return std::nullopt;
      root += L"\\" + name;
      from = end;
    }
    root = L"\\" + root;
    if (!split(from, 0)) return std::nullopt;
  } else {
    return std::nullopt;
  }
  std::wstring out = root;
  for (const auto& step : steps) out += L"\\" + step;
  return out;
}

bool IsRootPath(std::wstring_view canonical) {
  if (canonical.size() == 2 && canonical[1] == L':') return true;
  if (canonical.substr(0, 2) != L"\\\\") return false;
  const size_t server = canonical.find(L'\\', 2);
  return server != std::wstring_view::npos && canonical.find(L'\\', server + 1) == std::wstring_view::npos;
}

bool IsSameOrInside(std::wstring_view folder, std::wstring_view outer) {
  const std::wstring_view f = WithoutTrailingBackslashes(folder), o = WithoutTrailingBackslashes(outer);
  if (o.empty()) return false;
  if (f.size() == o.size()) return SameName(f, o);
  return f.size() > o.size() && f[o.size()] == L'\\' && SameName(f.substr(0, o.size()), o);
}

}  // namespace krelmix
