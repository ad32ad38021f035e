#include "platform/win32/Win32AnsiCodec.h"

#include <windows.h>

namespace krelmix {

std::wstring Win32AnsiCodec::Decode(std::string_view bytes) const {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text;
}

std::optional<std::string> Win32AnsiCodec::Encode(std::wstring_view text) const {
  if (text.empty()) return std::string();
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, &lossy);
  if (lossy || n <= 0) return std::nullopt;
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), bytes.data(), n,
                      nullptr, &lossy);
  if (lossy) return std::nullopt;
  return bytes;
}

}  // namespace krelmix
