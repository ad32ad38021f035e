#include "toolkit/FocusMark.h"

#include "toolkit/GraphicControl.h"

namespace krelmix {

namespace {
bool marksShown = false;

BOOL CALLBACK RepaintWithChildren(HWND window, LPARAM) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  return TRUE;
}
}  // namespace

bool TabStop::Usable() const {
  if (painted) return painted->Visible() && painted->Enabled();
  return window && IsWindowVisible(window) && IsWindowEnabled(window);
}

void PaintedFocus::Set(HWND host, GraphicControl* control) {
  if (control == current_) return;
  if (current_) current_->Invalidate();
  current_ = control;
  if (current_) {
    SetFocus(host);
    current_->Invalidate();
  }
}

void PaintedFocus::Paint(HDC dc, HWND host) const {
  if (!current_ || !marksShown || GetFocus() != host || !current_->Visible()) return;
  RECT mark = current_->Bounds();
  InflateRect(&mark, -2, -2);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &mark);
}

bool PaintedFocus::MarksShown() { return marksShown; }

void PaintedFocus::ShowMarks(bool shown) {
  if (marksShown == shown) return;
  marksShown = shown;
  // Every window of the thread repaints with or without its marks.
  EnumThreadWindows(GetCurrentThreadId(), RepaintWithChildren, 0);
}

}  // namespace krelmix
