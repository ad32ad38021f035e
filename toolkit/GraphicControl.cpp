#include "toolkit/GraphicControl.h"

#include <oleacc.h>

#include <optional>

namespace krelmix {

void GraphicControl::Create(const CreateArgs& args) {
  bounds_ = args.bounds.Rect();
  scale_ = DesignScale();
  caption_ = args.caption;
  SetHint(args.hint);
  font_ = args.font;
  enabled_ = args.enabled;
  visible_ = args.visible;
  Invalidate();
}

void GraphicControl::Invalidate() const {
  if (host_) InvalidateRect(host_, &bounds_, FALSE);
}

void GraphicControl::SetBounds(RECT bounds) {
  Invalidate();
  bounds_ = bounds;
  Invalidate();
}

void GraphicControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Invalidate();
}

void GraphicControl::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Invalidate();
}

void GraphicControl::SetCaption(std::wstring caption) {
  caption_ = std::move(caption);
  Invalidate();
}

long GraphicControl::AccessibleRole() const { return ROLE_SYSTEM_STATICTEXT; }
long BevelLine::AccessibleRole() const { return ROLE_SYSTEM_SEPARATOR; }
long Image::AccessibleRole() const { return ROLE_SYSTEM_GRAPHIC; }
long SpeedButton::AccessibleRole() const { return ROLE_SYSTEM_PUSHBUTTON; }

void GraphicControl::ChangeScale(const ScaleChange& change) {
  bounds_ = change(bounds_);
  scale_ = change.to;
  if (font_) font_ = change.font(font_);
}

void Label::FillIfAsked(HDC dc, const TextColors& colors) const {
  if (!colors.fillBackground) return;
  const RECT area = Bounds();
  Brush fill(CreateSolidBrush(colors.background));
  FillRect(dc, &area, fill.Get());
}

void Label::Paint(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  const TextColors colors = Colors();
  FillIfAsked(dc, colors);
  // Grey text belongs with the system's own colours; on a fixed one the label keeps its colour.
  SetTextColor(dc, Enabled() || !background_.IsSystem() ? colors.text : GetSysColor(COLOR_GRAYTEXT));
  SelectGuard select(dc, TextFont());
  RECT area = Bounds();
  // A one-line caption wider than the label (a wider stand-in font) is condensed, not run on.
  const Font condensed = (alignment_ & DT_WORDBREAK) ? Font() : CondensedToFit(dc, Caption(), area.right - area.left);
  std::optional<SelectGuard> selectCondensed;
  if (condensed) selectCondensed.emplace(dc, condensed.Get());
  DrawTextW(dc, Caption().c_str(), static_cast<int>(Caption().size()), &area, alignment_ | DT_NOPREFIX | DT_NOCLIP);
}

void Image::Paint(HDC dc) {
  const HBITMAP picture = picture_.Get();
  if (!picture) return;
  if (center_ || transparent_) {
    const RECT b = Bounds();
    const SIZE size = scale_.Shown(BitmapSize(picture), artDpi_);
    const int x = center_ ? b.left + (b.right - b.left - size.cx) / 2 : b.left;
    const int y = center_ ? b.top + (b.bottom - b.top - size.cy) / 2 : b.top;
    if (transparent_) {
      DrawTransparentBitmap(dc, picture, x, y, size);
    } else {
      MemoryDC source(dc);
      SelectGuard select(source.Get(), picture);
      const SIZE natural = BitmapSize(picture);
      if (natural.cx == size.cx && natural.cy == size.cy) {
        BitBlt(dc, x, y, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
        return;
      }
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, x, y, size.cx, size.cy, source.Get(), 0, 0, natural.cx, natural.cy, SRCCOPY);
    }
    return;
  }
  MemoryDC source(dc);
  SelectGuard select(source.Get(), picture);
  const RECT b = Bounds();
  if (scale_.Dpi() == artDpi_) {
    BitBlt(dc, b.left, b.top, b.right - b.left, b.bottom - b.top, source.Get(), 0, 0, SRCCOPY);
    return;
  }
  // The picture's part the bounds show at its own DPI, shown at the window's scale.
  const krelmix::Bounds design{0, 0, MulDiv(b.right - b.left, artDpi_, scale_.Dpi()),
                               MulDiv(b.bottom - b.top, artDpi_, scale_.Dpi())};
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, b.left, b.top, b.right - b.left, b.bottom - b.top, source.Get(), 0, 0, design.width, design.height,
             SRCCOPY);
}

void SpeedButton::Paint(HDC dc) {
  RECT b = Bounds();
  const bool enabled = Enabled();
  if (enabled && down_ && hot_) {
    DrawEdge(dc, &b, BDR_SUNKENOUTER, BF_RECT);
  } else if (enabled && (hot_ || down_)) {
    DrawEdge(dc, &b, BDR_RAISEDINNER, BF_RECT);
  }
  const int shift = (enabled && down_ && hot_) ? 1 : 0;
  HBITMAP glyph = (enabled || !disabledGlyph_ ? glyph_ : disabledGlyph_).Get();
  const SIZE glyphSize = scale_.Shown(BitmapSize(glyph), artDpi_);
  SelectGuard select(dc, TextFont());
  SIZE text{};
  GetTextExtentPoint32W(dc, Caption().c_str(), static_cast<int>(Caption().size()), &text);
  const int spacing = glyph ? 1 : 0;
  const int contentHeight = glyphSize.cy + spacing + text.cy;
  const int top = b.top + (b.bottom - b.top - contentHeight) / 2 + shift;
  if (glyph) DrawTransparentBitmap(dc, glyph, b.left + (b.right - b.left - glyphSize.cx) / 2 + shift, top, glyphSize);
  SetBkMode(dc, TRANSPARENT);
  RECT caption{b.left + shift, top + glyphSize.cy + spacing, b.right + shift, top + contentHeight};
  const TextColors colors = TextColorsOn(captionColor_, captionBackground_);
  if (colors.fillBackground) {
    Brush fill(CreateSolidBrush(colors.background));
    FillRect(dc, &caption, fill.Get());
    SetTextColor(dc, enabled ? colors.text : GetSysColor(COLOR_GRAYTEXT));
  } else if (!enabled) {
    // The engraved look of a disabled caption, readable on a dark skin.
    SetTextColor(dc, RGB(90, 110, 120));
  } else {
    SetTextColor(dc, colors.text);
  }
  DrawTextW(dc, Caption().c_str(), static_cast<int>(Caption().size()), &caption, DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
}

void SpeedButton::MouseEnter() {
  hot_ = true;
  Invalidate();
}

void SpeedButton::MouseLeave() {
  hot_ = false;
  Invalidate();
}

void SpeedButton::MouseDown() {
  down_ = true;
  Invalidate();
  GraphicControl::MouseDown();
}

void SpeedButton::MouseUp(bool inside) {
  down_ = false;
  Invalidate();
  GraphicControl::MouseUp(inside);
}

}  // namespace krelmix
