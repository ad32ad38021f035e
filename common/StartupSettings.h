#pragma once
#include "common/ProgramState.h"
#include "settings/IniDocument.h"

namespace krelmix {

// The options the program starts with before it reads the file.
void ApplyOptionDefaults(ProgramState& state);
// The start-up read of options and sounds (the drive ticks are the drive list's own).
void ReadStartupSettings(const IniDocument& settings, ProgramState& state);

}  // namespace krelmix
