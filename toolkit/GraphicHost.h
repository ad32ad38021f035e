#pragma once
// The part of a window that carries graphic controls: paints them, finds the one under the mouse,
// routes presses, hover and cursor to it, and shows their hints as tooltips.
#include <windows.h>

#include <vector>

#include "toolkit/GraphicControl.h"

namespace krelmix {

class GraphicHost {
 public:
  GraphicHost() = default;
  GraphicHost(const GraphicHost&) = delete;
  GraphicHost& operator=(const GraphicHost&) = delete;
  ~GraphicHost();

  // Controls later in the list lie on top of earlier ones. Not owned.
  void Add(GraphicControl& control);
  const std::vector<GraphicControl*>& Controls() const { return controls_; }

  // Called once the host window exists.
  void Bind(HWND hwnd);
  void Paint(HDC dc) const;

  // The topmost visible control under a client point, disabled ones included when asked.
  GraphicControl* ControlAt(POINT client, bool includeDisabled) const;

  // Mouse and cursor messages; returns true when a control took the message.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Re-reads the hints and places of the controls into the tooltip window.
  void UpdateTooltips();

 private:
  void SetHot(GraphicControl* control);
  void CreateTooltips();

  HWND hwnd_ = nullptr;
  HWND tooltips_ = nullptr;
  bool shapedTooltips_ = false;  // taken over by the program's shaped hint
  std::vector<GraphicControl*> controls_;
  GraphicControl* hot_ = nullptr;
  GraphicControl* pressed_ = nullptr;
  bool tracking_ = false;
};

}  // namespace krelmix
