#include "toolkit/ScrewPanel.h"

#include "toolkit/Gdi.h"

namespace krelmix {

namespace {

constexpr int kScrew = 8, kInset = 2 + 1;  // diameter; 2 pixels in from the 1-pixel bevel

void DrawScrew(HDC dc, int x, int y) {
  Brush head(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  Pen rim(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
  SelectGuard brush(dc, head.Get());
  SelectGuard pen(dc, rim.Get());
  Ellipse(dc, x, y, x + kScrew, y + kScrew);
  Pen slot(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW)));
  SelectGuard slotPen(dc, slot.Get());
  MoveToEx(dc, x + 2, y + kScrew - 3, nullptr);  // a slot from bottom-left to top-right
  LineTo(dc, x + kScrew - 2, y + 1);
  Pen shine(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
  SelectGuard shinePen(dc, shine.Get());
  Arc(dc, x + 1, y + 1, x + kScrew - 1, y + kScrew - 1, x + kScrew - 1, y, x, y + kScrew - 1);
}

}  // namespace

bool ScrewPanel::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == STN_DBLCLK) {
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(Handle(), &at);
    const auto children = GraphicChildren();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      const RECT b = (*it)->Bounds();
      if ((*it)->Visible() && PtInRect(&b, at)) {
        if ((*it)->onDblClick) (*it)->onDblClick();
        break;
      }
    }
    result = 0;
    return true;
  }
  if (!Panel::OnReflected(message, wParam, lParam, result)) return false;
  if (message == WM_DRAWITEM) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const RECT r = item.rcItem;
    for (POINT corner : {POINT{r.left + kInset, r.top + kInset}, POINT{r.right - kInset - kScrew, r.top + kInset},
                         POINT{r.left + kInset, r.bottom - kInset - kScrew},
                         POINT{r.right - kInset - kScrew, r.bottom - kInset - kScrew}})
      DrawScrew(item.hDC, corner.x, corner.y);
  }
  return true;
}

}  // namespace krelmix
