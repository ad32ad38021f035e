#include "platform/win32/Win32AnsiCodec.h"

namespace krelmix {

namespace {
// Code pages for which Windows takes no conversion flags and no "default character used" answer
// (the call fails with them): UTF-8, which Windows' "Beta: Unicode UTF-8" option makes the ANSI
// code page, and the stateful and GB18030 ones.
bool TakesNoFlags(UINT codePage) {
  return codePage == CP_UTF8 || codePage == 42 || codePage == 52936 || codePage == 54936 || codePage == 65000 ||
         (codePage >= 50220 && codePage <= 50229) || (codePage >= 57002 && codePage <= 57011);
}
}  // namespace

std::wstring Win32AnsiCodec::Decode(std::string_view bytes) const {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(codePage_, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage_, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text;
}

std::optional<std::string> Win32AnsiCodec::Encode(std::wstring_view text) const {
  if (text.empty()) return std::string();
  const bool plain = TakesNoFlags(codePage_);
  const DWORD flags = codePage_ == CP_UTF8 ? WC_ERR_INVALID_CHARS : plain ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL lossy = FALSE;
  BOOL* const lossyAnswer = plain ? nullptr : &lossy;
  const int length = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(codePage_, flags, text.data(), length, nullptr, 0, nullptr, lossyAnswer);
  if (lossy || n <= 0) return std::nullopt;
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage_, flags, text.data(), length, bytes.data(), n, nullptr, lossyAnswer);
  // Where Windows cannot say that it replaced a character, reading the bytes back tells.
  if (lossy || (plain && Decode(bytes) != text)) return std::nullopt;
  return bytes;
}

}  // namespace krelmix
