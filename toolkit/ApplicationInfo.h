#pragma once
// Who the program is to the system: its title, the class of its hidden application window, and
// its executable. Below every window, so that the error report and the single-instance rule can
// name the program without knowing any window.
#include <string>

namespace krelmix {

extern const wchar_t kApplicationTitle[];
extern const wchar_t kApplicationClass[];

// The running executable's full path, and its folder with the trailing backslash.
std::wstring ExecutablePath();
std::wstring ExecutableFolder();

}  // namespace krelmix
