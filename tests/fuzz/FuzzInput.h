#pragma once
// Turns a fuzzer's bytes into the inputs of the code under test.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace krelmix::fuzz {

// Two bytes per character, little-endian, so every UTF-16 unit (surrogates included) is reachable.
inline std::wstring Wide(const uint8_t* data, size_t size) {
  std::wstring text;
  text.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  return text;
}

// The input cut at each zero character into parts.
inline std::vector<std::wstring> Parts(const std::wstring& text) {
  std::vector<std::wstring> parts(1);
  for (wchar_t c : text) {
    if (c == L'\0')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

// A failed property: stop at once so the fuzzer keeps the input.
inline void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace krelmix::fuzz
