#include "platform/CaseFold.h"

#include <array>
#include <cstdint>

namespace krelmix {

namespace {

struct Range {
  uint16_t first, last, step;
  int32_t delta;
};

// Generated from the system's table by tools/casefold; a Win32 test holds it to the system's own
// comparison for all 65,536 characters.
constexpr Range kRanges[] = {
#include "platform/CaseFoldRanges.inc"
};

// The ranges spread into one table of the whole plane, once: a name is folded one lookup per
// character, which the search does for every file it lists.
const std::array<uint16_t, 0x10000>& Table() {
  static const std::array<uint16_t, 0x10000> table = [] {
    std::array<uint16_t, 0x10000> t{};
    for (uint32_t c = 0; c < t.size(); ++c) t[c] = static_cast<uint16_t>(c);
    for (const Range& r : kRanges)
      for (uint32_t c = r.first; c <= r.last; c += r.step)
        t[c] = static_cast<uint16_t>(static_cast<int32_t>(c) + r.delta);
    return t;
  }();
  return table;
}

}  // namespace

wchar_t UpperChar(wchar_t c) {
  if (c < 0x80) return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
  const auto unit = static_cast<uint32_t>(c);
  return unit < 0x10000 ? static_cast<wchar_t>(Table()[unit]) : c;
}

std::wstring UpperCase(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = UpperChar(c);
  return out;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

}  // namespace krelmix
