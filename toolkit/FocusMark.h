#pragma once
// The keyboard focus among a form's controls where some are painted, not windows: a painted
// control in the tab order "has the focus" while its form's own window holds the system focus, and
// shows a dotted mark inside its bounds. Like Windows' own dialogs, marks show only once the
// keyboard is in use (a mouse user sees none); forms answer WM_QUERYUISTATE with it, so windowed
// controls that draw themselves (the rounded button) follow the same rule.
#include <windows.h>

namespace krelmix {

class GraphicControl;

// One stop of a form's tab order: a windowed control or a painted one.
struct TabStop {
  TabStop(HWND windowStop) : window(windowStop) {}
  TabStop(GraphicControl& paintedStop) : painted(&paintedStop) {}
  bool Usable() const;  // visible and enabled
  bool operator==(const TabStop& other) const { return window == other.window && painted == other.painted; }
  HWND window = nullptr;
  GraphicControl* painted = nullptr;
};

class PaintedFocus {
 public:
  GraphicControl* Current() const { return current_; }
  // The painted control that has the focus while `host` holds the system focus; null for none.
  void Set(HWND host, GraphicControl* control);
  // Draws the mark over the painted controls, when the host has the focus and marks show.
  void Paint(HDC dc, HWND host) const;

  // Program-wide, as the last input decides: shown after a navigation key, hidden after a click.
  static bool MarksShown();
  static void ShowMarks(bool shown);

 private:
  GraphicControl* current_ = nullptr;
};

}  // namespace krelmix
