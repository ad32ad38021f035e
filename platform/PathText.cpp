#include "platform/PathText.h"

#include <algorithm>
#include <vector>

#include "platform/CaseFold.h"

namespace krelmix {

namespace {
std::wstring_view WithoutTrailingBackslashes(std::wstring_view path) {
  while (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
  return path;
}
}  // namespace

std::optional<std::wstring> CanonicalFolderPath(std::wstring_view path) {
  std::wstring text(path);
  for (auto& c : text)
    if (c == L'/') c = L'\\';
  for (const wchar_t* unc : {L"\\\\?\\UNC\\", L"\\\\.\\UNC\\", L"\\??\\UNC\\"}) {
    if (text.size() >= 8 && SameName(std::wstring_view(text).substr(0, 8), unc)) {
      text = L"\\\\" + text.substr(8);
      break;
    }
  }
  if (text.rfind(L"\\\\?\\", 0) == 0 || text.rfind(L"\\\\.\\", 0) == 0 || text.rfind(L"\\??\\", 0) == 0)
    text.erase(0, 4);
  // The system drops trailing dots and blanks of a name, so "Windows." is "Windows". False for a
  // name no folder can have.
  const auto clean = [](std::wstring& step) {
    while (!step.empty() && (step.back() == L'.' || step.back() == L' ')) step.pop_back();
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
  const auto isLetter = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); };
  std::wstring root;
  if (text.size() >= 2 && isLetter(text[0]) && text[1] == L':') {
    if (text.size() > 2 && text[2] != L'\\') return std::nullopt;  // relative to a drive's own folder
    root = text.substr(0, 2);
    root[0] = UpperChar(root[0]);
    if (!split(2, 0)) return std::nullopt;
  } else if (text.rfind(L"\\\\", 0) == 0) {
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
