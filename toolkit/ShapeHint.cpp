#include "toolkit/ShapeHint.h"

#include <commctrl.h>

#include <memory>

#include "toolkit/DisplayScale.h"
#include "toolkit/Gdi.h"

namespace krelmix {

namespace {

ShapeHint* g_program = nullptr;

// What one adopted tooltip window shows: its text, placement and the screen picture beneath.
struct Adopted {
  ShapeHint* hint;
  std::function<std::wstring()> text;
  std::wstring shown;
  HintScale scale;  // of the display the hint shows on
  SIZE textSize{};
  HintPlacement placement;
  HintSize size;
  Bitmap screen;
};

RECT ToRect(const HintRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// Measured as it is drawn: in the hint's font, on a DC made like the one the bubble is drawn on.
SIZE TextSize(HFONT font, const std::wstring& text) {
  WindowDC screen(nullptr);
  MemoryDC dc(screen.Get());
  SelectGuard selected(dc.Get(), font);
  RECT r{0, 0, HintWrapWidth(GetSystemMetrics(SM_CXSCREEN)), 0};
  DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return {r.right - r.left, r.bottom - r.top};
}

// The bubble's outline: the rounded rectangle and, unless only the rectangle is asked for, the
// pointer, both moved by (dx, dy).
Region BubbleRegion(const Adopted& a, int depth, int dx, int dy, bool withPointer) {
  const HintScale& scale = a.scale;
  const HintRect b = HintBubbleRect(a.placement.position, a.size, depth, scale);
  Region shape(CreateRoundRectRgn(b.left + dx, b.top + dy, b.right + dx + 1, b.bottom + dy + 1, scale(16), scale(16)));
  if (!withPointer) return shape;
  const HintPoint tip = HintPointerTip(a.placement.position, a.size);
  const bool left = tip.x == 0, top = tip.y == 0;
  // The base, 30 pixels wide, on the rectangle's edge that faces the mouse vertically.
  const int baseY = top ? b.top + 1 : b.bottom - 1;
  const int baseX = left ? b.left + scale(8) : b.right - scale(38);
  POINT points[3] = {{tip.x + dx, tip.y + dy}, {baseX + dx, baseY + dy}, {baseX + scale(30) + dx, baseY + dy}};
  Region pointer(CreatePolygonRgn(points, 3, WINDING));
  CombineRgn(shape.Get(), shape.Get(), pointer.Get(), RGN_OR);
  return shape;
}

void Paint(HWND hwnd, const Adopted& a) {
  const ShapeHintStyle& s = a.hint->Style();
  PaintDC paint(hwnd);
  MemoryDC memory(paint.Get());
  Bitmap canvas(CreateCompatibleBitmap(paint.Get(), a.size.width, a.size.height));
  SelectGuard selected(memory.Get(), canvas.Get());
  HDC dc = memory.Get();
  if (a.screen) {
    MemoryDC source(paint.Get());
    SelectGuard picture(source.Get(), a.screen.Get());
    BitBlt(dc, 0, 0, a.size.width, a.size.height, source.Get(), 0, 0, SRCCOPY);
  }
  // The tracing shadow: every other pixel darkened by the shadow colour, the screen showing between.
  const int depth = a.scale(s.shadowDepth);
  Region shadow = BubbleRegion(a, depth, depth, depth, a.placement.position != HintPosition::BelowRight);
  const WORD checker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  Bitmap pattern(CreateBitmap(8, 8, 1, 1, checker));
  Brush traced(CreatePatternBrush(pattern.Get()));
  {
    SelectClipRgn(dc, shadow.Get());
    SetTextColor(dc, s.shadowColor.Get());
    SetBkColor(dc, RGB(255, 255, 255));
    SelectGuard brush(dc, traced.Get());
    PatBlt(dc, 0, 0, a.size.width, a.size.height, 0x00A000C9);  // destination AND pattern
    SelectClipRgn(dc, nullptr);
  }
  // The bubble: filled, a black rim around rectangle and pointer together.
  Region bubble = BubbleRegion(a, depth, 0, 0, true);
  const TextColors colors = TextColorsOn(s.textColor, s.color, COLOR_INFOBK);
  const bool scheme = colors.fillBackground || s.color.IsSystem();
  Brush fill(CreateSolidBrush(colors.background)), rim(CreateSolidBrush(scheme ? colors.text : s.borderColor));
  FillRgn(dc, bubble.Get(), fill.Get());
  FrameRgn(dc, bubble.Get(), rim.Get(), 1, 1);
  // The text, lifted by a light copy, in the rectangle it was measured to fill.
  RECT text = ToRect(HintTextRect(a.placement.position, a.size, depth, a.textSize.cx, a.textSize.cy, a.scale));
  SelectGuard font(dc, a.hint->Font(a.scale.dpi).Get());
  SetBkMode(dc, TRANSPARENT);
  RECT lifted = text;
  OffsetRect(&lifted, 1, 1);
  if (!scheme) {  // the lift was made for the light bubble
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, a.shown.c_str(), static_cast<int>(a.shown.size()), &lifted, DT_WORDBREAK | DT_NOPREFIX);
  }
  SetTextColor(dc, colors.text);
  DrawTextW(dc, a.shown.c_str(), static_cast<int>(a.shown.size()), &text, DT_WORDBREAK | DT_NOPREFIX);
  BitBlt(paint.Get(), 0, 0, a.size.width, a.size.height, dc, 0, 0, SRCCOPY);
}

// Lays the hint out for the text about to show and copies the screen beneath its place. The text
// is what the host says is under the mouse, else what the tooltip itself holds; with none, the
// hint is not shown at all: a bubble is never empty.
bool Prepare(HWND tooltip, Adopted& a, WINDOWPOS& pos) {
  a.shown = a.text ? a.text() : std::wstring();
  if (a.shown.empty()) {
    wchar_t own[1024] = {};
    DefSubclassProc(tooltip, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(own));
    a.shown = own;
  }
  if (a.shown.empty()) return false;
  const ShapeHintStyle& s = a.hint->Style();
  a.scale = {DpiOf(tooltip)};
  a.textSize = TextSize(a.hint->Font(a.scale.dpi).Get(), a.shown);
  a.size = HintWindowSize(a.textSize.cx, a.textSize.cy, a.scale(s.shadowDepth), a.scale);
  POINT mouse;
  GetCursorPos(&mouse);
  const HintRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  a.placement = PlaceHint({mouse.x, mouse.y}, a.size, screen, s.position, a.scale);
  const RECT r = ToRect(a.placement.rect);
  pos.x = r.left;
  pos.y = r.top;
  pos.cx = a.size.width;
  pos.cy = a.size.height;
  pos.flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
  WindowDC desktop(nullptr);
  a.screen = Bitmap(CreateCompatibleBitmap(desktop.Get(), a.size.width, a.size.height));
  MemoryDC copy(desktop.Get());
  SelectGuard selected(copy.Get(), a.screen.Get());
  BitBlt(copy.Get(), 0, 0, a.size.width, a.size.height, desktop.Get(), r.left, r.top, SRCCOPY);
  return true;
}

}  // namespace

ShapeHint::ShapeHint() = default;

BorrowedFont ShapeHint::Font(int dpi) {
  if (!font_ || fontDpi_ != dpi) {
    DesignScaleScope scale{DisplayScale(dpi)};
    font_ = CreatePixelFont(L"MS Sans Serif", 11);
    fontDpi_ = dpi;
  }
  return font_;
}

ShapeHint::~ShapeHint() {
  if (g_program == this) g_program = nullptr;
}

void ShapeHint::SetEnabled(bool enabled) {
  if (enabled)
    g_program = this;
  else if (g_program == this)
    g_program = nullptr;
}

ShapeHint* ShapeHint::Program() { return g_program; }

void ShapeHint::Adopt(HWND tooltip, std::function<std::wstring()> text) {
  // No frame of its own: the bubble is the whole window, and the corners keep the screen picture.
  SetWindowLongPtrW(tooltip, GWL_STYLE, GetWindowLongPtrW(tooltip, GWL_STYLE) & ~WS_BORDER);
  SetWindowLongPtrW(tooltip, GWL_EXSTYLE, GetWindowLongPtrW(tooltip, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
  auto* adopted = new Adopted{this, std::move(text), {}, {}, {}, {}, {}, {}};
  SetWindowSubclass(tooltip, TooltipProc, 2, reinterpret_cast<DWORD_PTR>(adopted));
}

LRESULT CALLBACK ShapeHint::TooltipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
  auto* a = reinterpret_cast<Adopted*>(data);
  switch (message) {
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, TooltipProc, 2);
      delete a;
      break;
    case WM_WINDOWPOSCHANGING: {
      auto& pos = *reinterpret_cast<WINDOWPOS*>(lParam);
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      if ((pos.flags & SWP_SHOWWINDOW) || (IsWindowVisible(hwnd) && !(pos.flags & SWP_HIDEWINDOW))) {
        if (pos.flags & SWP_SHOWWINDOW) {
          if (!Prepare(hwnd, *a, pos)) pos.flags &= ~SWP_SHOWWINDOW;
        } else {
          const RECT r = ToRect(a->placement.rect);
          pos.x = r.left;
          pos.y = r.top;
          pos.cx = a->size.width;
          pos.cy = a->size.height;
        }
      }
      return result;
    }
    case WM_NCCALCSIZE:
      return 0;  // the client area is the whole window
    case WM_NCPAINT:
    case WM_ERASEBKGND:
      return 1;
    case WM_PRINTCLIENT:
    case WM_PAINT:
      if (a->size.width > 0) {
        Paint(hwnd, *a);
        return 0;
      }
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace krelmix
