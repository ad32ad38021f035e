#pragma once
// The part of a window that carries graphic controls: paints them, finds the one under the mouse,
// routes presses, hover and cursor to it, and shows their hints as tooltips. The same tooltip
// window serves the window's child controls that show hints.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "toolkit/GraphicControl.h"

namespace krelmix {

class GraphicHost {
 public:
  GraphicHost() = default;
  GraphicHost(const GraphicHost&) = delete;
  GraphicHost& operator=(const GraphicHost&) = delete;

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

  // A child window's tooltip; hint() gives its text each time the tooltip is about to show.
  void AddWindowTool(HWND child, std::function<std::wstring()> hint);
  // Answers the tooltip window's request for a child window's text (WM_NOTIFY, TTN_GETDISPINFO).
  bool AnswerTextRequest(LPARAM lParam);

 private:
  void SetHot(GraphicControl* control);
  void CreateTooltips();
  // The text of the tooltip about to show: a child window's under the mouse, else that of the
  // control under the mouse, disabled or not.
  std::wstring CurrentHint() const;

  struct WindowTool {
    HWND child;
    std::function<std::wstring()> hint;
  };

  HWND hwnd_ = nullptr;
  OwnedWindow tooltips_;
  bool shapedTooltips_ = false;  // taken over by the program's shaped hint
  std::vector<GraphicControl*> controls_;
  std::vector<WindowTool> windowTools_;
  std::wstring requestedText_;  // lives until the tooltip has copied it
  GraphicControl* hot_ = nullptr;
  GraphicControl* pressed_ = nullptr;
  bool tracking_ = false;
};

}  // namespace krelmix
