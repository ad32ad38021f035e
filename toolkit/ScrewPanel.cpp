#include "toolkit/ScrewPanel.h"

#include "toolkit/Gdi.h"

namespace krelmix {

namespace {

constexpr int kScrew = 8, kInset = 2 + 1;  // diameter; 2 pixels in from the 1-pixel bevel

// A screw of diameter `screw` (kScrew at the window's scale); its slot and shine keep 1-pixel pens.
void DrawScrew(HDC dc, int x, int y, int screw, const DisplayScale& scale) {
  const int one = scale(1), two = scale(2), three = scale(3);
  Brush head(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  Pen rim(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
  SelectGuard brush(dc, head.Get());
  SelectGuard pen(dc, rim.Get());
  Ellipse(dc, x, y, x + screw, y + screw);
  Pen slot(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW)));
  SelectGuard slotPen(dc, slot.Get());
  MoveToEx(dc, x + two, y + screw - three, nullptr);  // a slot from bottom-left to top-right
  LineTo(dc, x + screw - two, y + one);
  Pen shine(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
  SelectGuard shinePen(dc, shine.Get());
  Arc(dc, x + one, y + one, x + screw - one, y + screw - one, x + screw - one, y, x, y + screw - one);
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
    const int screw = scale_(kScrew), inset = scale_(kInset);
    for (POINT corner :
         {POINT{r.left + inset, r.top + inset}, POINT{r.right - inset - screw, r.top + inset},
          POINT{r.left + inset, r.bottom - inset - screw}, POINT{r.right - inset - screw, r.bottom - inset - screw}})
      DrawScrew(item.hDC, corner.x, corner.y, screw, scale_);
  }
  return true;
}

}  // namespace krelmix
