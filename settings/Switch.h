#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace krelmix {

// Reads a number the way switches in the settings file are written:
// "0x1F" (only when longer than two characters), or an optionally signed
// decimal, or hex after "$", "x" or "X" ("$1F", "-x1f"). Leading spaces and
// tabs are allowed; anything left over makes the text not a number.
std::optional<int32_t> ParseSwitchNumber(std::wstring_view text);

// A missing value or one that is not a number yields defaultValue;
// otherwise any non-zero number switches the option on.
bool ReadSwitch(std::optional<std::wstring> value, bool defaultValue);

// Text written back for a switch: "1" or "0".
const wchar_t* SwitchText(bool on);

}  // namespace krelmix
