#include "settings/Switch.h"

#include <limits>

namespace krelmix {
namespace {

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// Accumulates digits into a magnitude; fails on empty input, foreign
// characters, or a magnitude that cannot fit (limit is the largest allowed).
std::optional<uint64_t> ReadMagnitude(std::wstring_view digits, int base, uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (wchar_t c : digits) {
    int d = HexDigit(c);
    if (d < 0 || d >= base) return std::nullopt;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    if (value > limit) return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<int32_t> ParseSwitchNumber(std::wstring_view text) {
  if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
    // Written as a bit pattern, so 0xFFFFFFFF means -1 rather than overflow.
    auto value = ReadMagnitude(text.substr(2), 16, std::numeric_limits<uint32_t>::max());
    if (!value) return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(*value));
  }

  size_t pos = 0;
  while (pos < text.size() && (text[pos] == L' ' || text[pos] == L'\t')) ++pos;

  bool negative = false;
  if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
    negative = text[pos] == L'-';
    ++pos;
  }

  int base = 10;
  if (pos < text.size() && (text[pos] == L'$' || text[pos] == L'x' || text[pos] == L'X')) {
    base = 16;
    ++pos;
  }

  // Hex after a prefix is still a 32-bit pattern (like the 0x form);
  // decimal must fit the signed range.
  uint64_t limit;
  if (base == 16) {
    limit = std::numeric_limits<uint32_t>::max();
  } else {
    limit = negative ? uint64_t{1} << 31 : static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
  }

  auto magnitude = ReadMagnitude(text.substr(pos), base, limit);
  if (!magnitude) return std::nullopt;

  uint32_t bits = static_cast<uint32_t>(*magnitude);
  if (negative) bits = 0u - bits;
  return static_cast<int32_t>(bits);
}

bool ReadSwitch(std::optional<std::wstring> value, bool defaultValue) {
  if (!value) return defaultValue;
  auto number = ParseSwitchNumber(*value);
  if (!number) return defaultValue;
  return *number != 0;
}

const wchar_t* SwitchText(bool on) { return on ? L"1" : L"0"; }

}  // namespace krelmix
