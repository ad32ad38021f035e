#include "common/TextCase.h"

namespace krelmix {

std::wstring AsciiLower(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return out;
}

}  // namespace krelmix
