#pragma once
// Letter case of the command line; names are compared with platform/CaseFold.
#include <string>
#include <string_view>

namespace krelmix {

// Lower case of ASCII letters only, as the command line is matched.
std::wstring AsciiLower(std::wstring_view text);

}  // namespace krelmix
