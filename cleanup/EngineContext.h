#pragma once
// What every job of the cleanup engine shares: the program's state, the disk, the main window,
// and whether the window is closing.
#include <string>

#include "cleanup/CleanupView.h"
#include "cleanup/Report.h"
#include "common/ProgramState.h"
#include "platform/FileSystem.h"

namespace krelmix {

struct EngineContext {
  ProgramState& state;
  FileSystem& fs;
  CleanupView& view;
  // Set once PumpMessages reported the window closing; the outermost engine call starts afresh.
  bool closing = false;

  // Lets the window answer; false once it is closing, and from then on without asking it again.
  bool Pump() {
    if (!closing && !view.PumpMessages()) closing = true;
    return !closing;
  }

  // The folder being worked on, in the status line, shortened to its width.
  void ShowFolder(const std::wstring& dir) {
    if (state.NightFlyMode) return;
    constexpr int kStatusWidth = 285;
    const TextWidth width = [this](std::wstring_view text) { return view.TextWidth(text); };
    view.SetStatus(L" " + ShortenPath(dir, width, kStatusWidth));
  }
};

}  // namespace krelmix
