#include "common/TextCase.h"

namespace krelmix {

wchar_t UpperChar(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - L'a' + L'A');
  if (c >= 0x0430 && c <= 0x044F) return static_cast<wchar_t>(c - 0x20);  // а..я
  if (c >= 0x0450 && c <= 0x045F) return static_cast<wchar_t>(c - 0x50);  // ѐ..џ
  return c;
}

std::wstring UpperCase(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = UpperChar(c);
  return out;
}

std::wstring AsciiLower(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return out;
}

}  // namespace krelmix
