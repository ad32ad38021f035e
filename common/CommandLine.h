#pragma once
// The four start-up switches, matched as whole arguments without regard to ASCII case.
#include <string>
#include <vector>

namespace krelmix {

enum class Switch { Test, Help, NightFly, NightTrash };

// The recognised switches in argument order; any other argument is dropped.
std::vector<Switch> ParseSwitches(const std::vector<std::wstring>& args);

extern const wchar_t kHelpCaption[];
extern const wchar_t kHelpText[];

}  // namespace krelmix
