#include "skin/ShapeButton.h"

#include <optional>

#include "skin/ImageForm.h"

namespace krelmix {

namespace {

void TextAt(HDC dc, const std::wstring& text, RECT rect, int dx, int dy, COLORREF color) {
  OffsetRect(&rect, dx, dy);
  SetTextColor(dc, color);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace

void DrawStyledText(HDC dc, const std::wstring& text, RECT rect, TextStyle style, COLORREF color, bool enabled) {
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  if (!enabled && style != TextStyle::Outline) {
    TextAt(dc, text, rect, 1, 1, light);
    TextAt(dc, text, rect, 0, 0, dark);
  } else {
    switch (style) {
      case TextStyle::Lowered:  // engraved: a light edge below and right of the text
        TextAt(dc, text, rect, 1, 1, light);
        break;
      case TextStyle::Raised:  // embossed: light above and left, dark below and right
        TextAt(dc, text, rect, -1, -1, light);
        TextAt(dc, text, rect, 1, 1, dark);
        break;
      case TextStyle::Outline:  // the text in the highlight colour ringed by its colour
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx)
            if (dx || dy) TextAt(dc, text, rect, dx, dy, enabled ? color : dark);
        color = light;
        break;
      case TextStyle::Default:
        break;
    }
    TextAt(dc, text, rect, 0, 0, color);
  }
  SetBkMode(dc, oldMode);
}

Region ShapeButton::FaceRegion(int width, int height, int bias) {
  // Drawn into a picture and outlined like a skin: the face black on white, so the bottom-left
  // corner (outside the rounded face) gives the key colour.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  Bitmap picture(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!picture) return {};
  {
    MemoryDC memory(nullptr);
    SelectGuard selected(memory.Get(), picture.Get());
    RECT all{0, 0, width, height};
    FillRect(memory.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectGuard brush(memory.Get(), GetStockObject(BLACK_BRUSH));
    SelectGuard pen(memory.Get(), GetStockObject(BLACK_PEN));
    RoundRect(memory.Get(), 0, 0, width - 1, height - 1, bias, bias);
  }
  return Region(ComputeOutlineRegion(picture.Get(), RGB(255, 255, 255)).Release());
}

void ShapeButton::OnCreated(const CreateArgs& args) {
  font_ = args.font;
  WindowedControl::OnCreated(args);
  Region face = FaceRegion(args.bounds.width, args.bounds.height, scale_(look_.roundRectBias));
  if (face && SetWindowRgn(Handle(), face.Get(), TRUE)) face.Release();  // the window owns it now
}

void ShapeButton::OnScaleChanged(const ScaleChange& change, RECT bounds) {
  if (font_) font_ = change.font(font_);
  Region face = FaceRegion(bounds.right - bounds.left, bounds.bottom - bounds.top, scale_(look_.roundRectBias));
  if (face && SetWindowRgn(Handle(), face.Get(), TRUE)) face.Release();
}

void ShapeButton::Click() {
  if (look_.modalResult) SendMessageW(GetAncestor(Handle(), GA_ROOT), kSetModalResultMessage, look_.modalResult, 0);
  if (onClick) onClick();
}

bool ShapeButton::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    Click();
    result = 0;
    return true;
  }
  if (message == WM_DRAWITEM) {
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
  }
  return false;
}

bool ShapeButton::UsesKey(UINT key) const {
  return key == VK_SPACE ||
         (!ModifierKeyHeld() && ((key == VK_RETURN && look_.isDefault) || (key == VK_ESCAPE && look_.isCancel)));
}

bool ShapeButton::OnOwnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (onKey && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP || message == WM_SYSKEYUP))
    onKey(message, wParam);
  switch (message) {
    case WM_GETDLGCODE:
      result = DLGC_WANTALLKEYS | DLGC_BUTTON;
      return true;
    case WM_SETCURSOR:
      if (!look_.cursor) return false;
      SetCursor(look_.cursor.Get());
      result = TRUE;
      return true;
    case WM_KEYDOWN:
      if (UsesKey(static_cast<UINT>(wParam))) {
        if (IsWindowEnabled(Handle()) && IsWindowVisible(Handle())) Click();
        result = 0;
        return true;
      }
      return false;
    case WM_KEYUP:
    case WM_CHAR:
      // The space bar already clicked at its key-down; the system button would click again here.
      if (wParam != VK_SPACE && wParam != L' ') return false;
      result = 0;
      return true;
  }
  return false;
}

void ShapeButton::Draw(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const RECT all = item.rcItem;
  const int w = all.right - all.left, h = all.bottom - all.top, bias = scale_(look_.roundRectBias);
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool enabled = (item.itemState & ODS_DISABLED) == 0;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  Brush faceBrush(CreateSolidBrush(face));
  FillRect(dc, &all, faceBrush.Get());
  if (look_.shading == FaceShading::Highlight || look_.shading == FaceShading::Raised) {
    // The face's upper half a shade lighter, as if lit from above.
    const COLORREF lit = RGB((GetRValue(face) + 255) / 2, (GetGValue(face) + 255) / 2, (GetBValue(face) + 255) / 2);
    Brush litBrush(CreateSolidBrush(pressed ? face : lit));
    Region upper(CreateRoundRectRgn(1, 1, w - 1, h / 2 + bias / 2, bias, bias));
    Region lower(CreateRectRgn(0, h / 2, w, h));
    CombineRgn(upper.Get(), upper.Get(), lower.Get(), RGN_DIFF);
    FillRgn(dc, upper.Get(), litBrush.Get());
  }
  // Bevel: light top-left arc and dark bottom-right arc (the reverse while pressed), black rim.
  if (look_.shading != FaceShading::Flat) {
    Pen lightPen(CreatePen(PS_SOLID, 1, pressed ? dark : light));
    Pen darkPen(CreatePen(PS_SOLID, 1, pressed ? light : dark));
    SelectGuard noBrush(dc, GetStockObject(NULL_BRUSH));
    {
      SelectGuard pen(dc, lightPen.Get());
      Arc(dc, 1, 1, w - 2, h - 2, w - 1, 0, 0, h - 1);
    }
    SelectGuard pen(dc, darkPen.Get());
    Arc(dc, 1, 1, w - 2, h - 2, 0, h - 1, w - 1, 0);
  }
  {
    SelectGuard noBrush(dc, GetStockObject(NULL_BRUSH));
    Pen rim(CreatePen(PS_SOLID, 1, (item.itemState & ODS_FOCUS) ? RGB(0, 0, 0) : GetSysColor(COLOR_3DDKSHADOW)));
    SelectGuard pen(dc, rim.Get());
    RoundRect(dc, 0, 0, w - 1, h - 1, bias, bias);
  }
  // Glyph and caption, centred together; both move a pixel down and right while pressed.
  const std::wstring caption = Text();
  SelectGuard font(dc, font_ ? static_cast<HGDIOBJ>(font_.Get()) : GetStockObject(DEFAULT_GUI_FONT));
  SIZE textSize{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &textSize);
  SIZE state{}, glyph{};  // one state's picture, and its size shown at the window's scale
  if (look_.glyph) {
    state = BitmapSize(look_.glyph.Get());
    state.cx /= 2;
    glyph = scale_(state);
  }
  const int gap = look_.glyph ? scale_(6) : 0;
  const int shift = pressed ? scale_(1) : 0;
  int x = (w - (glyph.cx + gap + textSize.cx)) / 2 + shift;
  if (look_.glyph) {
    MemoryDC memory(dc);
    SelectGuard picture(memory.Get(), look_.glyph.Get());
    const int y = (h - glyph.cy) / 2 + shift;
    TransparentBlt(dc, x, y, glyph.cx, glyph.cy, memory.Get(), enabled ? 0 : state.cx, 0, state.cx, state.cy,
                   GetPixel(memory.Get(), 0, state.cy - 1));
    x += glyph.cx + gap;
  }
  RECT textRect{x, shift, x + textSize.cx, h + shift};
  DrawStyledText(dc, caption, textRect, look_.textStyle, GetSysColor(COLOR_BTNTEXT), enabled);
  // The focus mark, once the keyboard is in use in the window (its form says so).
  if ((item.itemState & ODS_FOCUS) &&
      !(SendMessageW(GetAncestor(item.hwndItem, GA_ROOT), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
    RECT mark{bias / 3, scale_(4), w - 1 - bias / 3, h - scale_(5)};
    DrawFocusRect(dc, &mark);
  }
}

}  // namespace krelmix
