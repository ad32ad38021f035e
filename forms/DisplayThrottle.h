#pragma once
// What a run changes in the main window goes on screen together, at most every kIntervalMs, while
// the queue is still read every 15 ms: the finds, the current line, the counters and the status
// text. Under Wine one update of the list costs about 20 ms (its scroll bar, its rows), so four a
// second keep a walk's cost for its window near a tenth; nobody reads a scrolling report faster.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "toolkit/CheckListBox.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/Panel.h"

namespace krelmix {

struct ThrottledControls {
  Label& folders;  // "Каталогов: N"
  Label& files;    // "Файлов: N"
  Panel& counters;
  Panel& status;
  CheckListBox& foundList;
};

class DisplayThrottle {
 public:
  static constexpr uint64_t kIntervalMs = 250;

  void Bind(const ThrottledControls& controls) { controls_.emplace(controls); }

  void SetFolders(const std::wstring& text) { folders_ = text; }
  void SetFiles(const std::wstring& text) { files_ = text; }
  void SetStatus(const std::wstring& text) { status_ = text; }
  // The line becomes current (and the list gets the focus) at the next update.
  void MakeCurrent(size_t index) { current_ = index; }
  // A list repaints its rows and its scroll bar at every change, which under Wine costs more than
  // the change; it is held until the next update instead.
  void HoldList();

  // Everything held back goes on screen now.
  void Flush();
  // The same, when the last update is kIntervalMs ago.
  void FlushIfDue();

 private:
  std::optional<ThrottledControls> controls_;
  uint64_t lastFlush_ = 0;
  bool holdingList_ = false;
  std::optional<size_t> current_;
  std::optional<std::wstring> status_, folders_, files_;
};

}  // namespace krelmix
