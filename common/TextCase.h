#pragma once
#include <string>
#include <string_view>

namespace krelmix {

// Upper case for names: ASCII and Cyrillic letters, independent of the C library's locale.
wchar_t UpperChar(wchar_t c);
std::wstring UpperCase(std::wstring_view text);
// Lower case of ASCII letters only, as the command line is matched.
std::wstring AsciiLower(std::wstring_view text);

}  // namespace krelmix
