#include "toolkit/LinkLabel.h"

#include <oleacc.h>
#include <shellapi.h>

#include <map>
#include <optional>

#include "toolkit/Window.h"

namespace krelmix {

namespace {

std::map<int, BorrowedCursor>& CursorTable() {
  static std::map<int, BorrowedCursor> table;
  return table;
}

void DrawCaption(HDC dc, const std::wstring& text, RECT rect, UINT format, COLORREF color) {
  SetTextColor(dc, color);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

void DrawBevel(HDC dc, RECT r, LabelBevel bevel, int width) {
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  auto frame = [dc](RECT f, COLORREF topLeft, COLORREF bottomRight) {
    Brush tl(CreateSolidBrush(topLeft)), br(CreateSolidBrush(bottomRight));
    RECT top{f.left, f.top, f.right, f.top + 1}, left{f.left, f.top, f.left + 1, f.bottom};
    RECT bottom{f.left, f.bottom - 1, f.right, f.bottom}, right{f.right - 1, f.top, f.right, f.bottom};
    FillRect(dc, &bottom, br.Get());
    FillRect(dc, &right, br.Get());
    FillRect(dc, &top, tl.Get());
    FillRect(dc, &left, tl.Get());
  };
  for (int i = 0; i < width; ++i) {
    switch (bevel) {
      case LabelBevel::Raised:
        frame(r, light, dark);
        break;
      case LabelBevel::Lowered:
        frame(r, dark, light);
        break;
      case LabelBevel::Frame: {  // an etched line: lowered outside, raised inside
        frame(r, dark, light);
        RECT inner = r;
        InflateRect(&inner, -1, -1);
        frame(inner, light, dark);
        break;
      }
      case LabelBevel::Single:
        frame(r, GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME));
        break;
      case LabelBevel::None:
        return;
    }
    InflateRect(&r, -1, -1);
  }
}

}  // namespace

void RegisterScreenCursor(int index, BorrowedCursor cursor) { CursorTable()[index] = cursor; }

BorrowedCursor ScreenCursor(int index) {
  const auto found = CursorTable().find(index);
  return found == CursorTable().end() ? BorrowedCursor() : found->second;
}

// The link cursor painted for `scale` (CRSRLINKPOINT150 for 150%) at its own size; the registered
// one at the design's scale or when the resources have none.
BorrowedCursor LinkCursorAt(DisplayScale scale) {
  if (scale.ArtStep() > 0) {
    const std::wstring name = L"CRSRLINKPOINT" + std::to_wstring(scale.ArtDpi() * 100 / kDesignDpi);
    // Shared: loaded once, never freed.
    if (HANDLE cursor = LoadImageW(ModuleInstance(), name.c_str(), IMAGE_CURSOR, 0, 0, LR_SHARED))
      return BorrowedCursor(static_cast<HCURSOR>(cursor));
  }
  return ScreenCursor(kLinkCursor);
}

std::optional<std::wstring> LinkTarget(LinkType type, const std::wstring& address) {
  if (address.empty()) return std::nullopt;
  switch (type) {
    case LinkType::EMail:
      return L"mailto:" + address;
    case LinkType::News:
      return L"news:" + address;
    case LinkType::WWW:
      return address;
    case LinkType::None:
      break;
  }
  return std::nullopt;
}

LinkLabel::LinkLabel(std::wstring name) : GraphicControl(std::move(name)) {
  // Cursors from resources are shared and never destroyed, so loading again is harmless.
  // A cursor loaded from resources is shared and never freed.
  if (const BorrowedCursor link(LoadCursorW(ModuleInstance(), L"CRSRLINKPOINT")); link)
    RegisterScreenCursor(kLinkCursor, link);
  openInShell = [](const std::wstring& target) {
    ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  };
}

void LinkLabel::Paint(HDC dc) {
  if (!Visible()) return;
  const LinkLabelLook& l = look_;
  const RECT bounds = Bounds();
  const bool hoverFill = hovering_ && !(l.hoverColor == l.color);
  const bool filled = !l.transparent || hoverFill;
  const bool hot = hovering_ && l.linkActive && Enabled();
  const TextColors colors = TextColorsOn(hot ? l.hoverFontColor.value_or(l.fontColor) : l.fontColor,
                                         filled ? (hoverFill ? l.hoverColor : l.color) : l.behind);
  // 1. The background.
  if (filled || colors.fillBackground) {
    Brush fill(CreateSolidBrush(colors.background));
    FillRect(dc, &bounds, fill.Get());
  }
  // In high contrast the scheme's text alone: a highlight or shadow copy would blur it.
  const bool effects = !HighContrast();
  // 2. The text rectangle, placed by alignment and layout inside the margins.
  Font underlined;
  HFONT font = TextFont();
  if (hot && l.underlineOnEnter) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    underlined = Font(CreateFontIndirectW(&lf));
    font = underlined.Get();
  }
  SelectGuard selected(dc, font);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const std::wstring text = Caption();
  RECT area = bounds;
  InflateRect(&area, -l.borderWidth, -l.borderWidth);
  const Font condensed = l.wordWrap ? Font() : CondensedToFit(dc, text, area.right - area.left);
  std::optional<SelectGuard> selectedCondensed;
  if (condensed) selectedCondensed.emplace(dc, condensed.Get());
  UINT format = l.alignment | DT_NOPREFIX | (l.wordWrap ? DT_WORDBREAK : DT_SINGLELINE);
  RECT measured = area;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
  const int textHeight = measured.bottom - measured.top, spare = (area.bottom - area.top) - textHeight;
  RECT rect = area;
  if (l.layout == TextLayout::Center) rect.top += spare / 2;
  if (l.layout == TextLayout::Bottom) rect.top += spare;
  rect.bottom = rect.top + textHeight;
  if (l.bevel != LabelBevel::None) OffsetRect(&rect, l.bevelWidth, l.layout == TextLayout::Center ? 0 : l.bevelWidth);
  // 3. With a top-left highlight the text moves right by the offset.
  const bool topLeft = l.highlightPos == HighlightPos::TopLeft;
  if (l.showHighlight && topLeft) OffsetRect(&rect, l.highlightOffset, 0);
  auto at = [&](int dx, int dy) {
    RECT moved = rect;
    OffsetRect(&moved, dx, dy);
    return moved;
  };
  if (Enabled()) {
    // 4-6. Highlight, shadow, then the text in its colour (or the hover colour).
    if (l.showHighlight && effects)
      DrawCaption(dc, text, at(topLeft ? -l.highlightOffset : l.highlightOffset, -l.highlightOffset), format,
                  l.highlightColor.Get());
    if (l.showShadow && effects)
      DrawCaption(dc, text, at(topLeft ? l.shadowOffset : -l.shadowOffset, l.shadowOffset), format,
                  l.shadowColor.Get());
    DrawCaption(dc, text, rect, format, colors.text);
  } else {
    // 7. Disabled: a highlight copy down and right, then the text in the shadow colour.
    DrawCaption(dc, text, at(1, 1), format, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawCaption(dc, text, rect, format, GetSysColor(COLOR_BTNSHADOW));
  }
  SetBkMode(dc, oldMode);
  // 8. The bevel last.
  DrawBevel(dc, bounds, l.bevel, l.bevelWidth);
}

void LinkLabel::MouseEnter() {
  if (!hovering_ && look_.linkActive && Enabled()) {
    hovering_ = true;
    cursorBeforeHover_ = Cursor();
    if (const BorrowedCursor link = LinkCursorAt(scale_)) SetCursor(link);
    Invalidate();
  }
  if (onMouseEnter) onMouseEnter();
}

void LinkLabel::MouseLeave() {
  if (hovering_) {
    hovering_ = false;
    SetCursor(cursorBeforeHover_);
    Invalidate();
  }
  if (onMouseLeave) onMouseLeave();
}

void LinkLabel::MouseUp(bool inside) {
  if (inside) Click();
}

long LinkLabel::AccessibleRole() const { return look_.linkActive ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_STATICTEXT; }

void LinkLabel::Click() {
  if (onClick) onClick();
  if (!Enabled() || !look_.linkActive) return;
  const std::optional<std::wstring> target = LinkTarget(look_.linkType, look_.linkedAddress);
  if (!target) return;
  if (onLink) onLink();
  if (openInShell) openInShell(*target);
}

}  // namespace krelmix
