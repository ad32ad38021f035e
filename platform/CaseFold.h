#pragma once
// Letter case as Windows compares file names: one upper-case table for every character of the
// Basic Multilingual Plane, the one CompareStringOrdinal with ignore-case and the file system use.
// It maps one character to one (German "ß" stays "ß", never "SS"), leaves the Turkish dotted and
// dotless i alone, and does not depend on any locale. Characters outside the plane (and the
// surrogate halves Windows keeps them in) stay as they are.
#include <string>
#include <string_view>

namespace krelmix {

wchar_t UpperChar(wchar_t c);
std::wstring UpperCase(std::wstring_view text);
// True when the two names are the same to Windows: equal once both are upper-cased.
bool SameName(std::wstring_view a, std::wstring_view b);

}  // namespace krelmix
