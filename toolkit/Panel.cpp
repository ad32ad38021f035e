#include "toolkit/Panel.h"

#include "toolkit/Gdi.h"

namespace krelmix {

void Panel::OnCreated(const CreateArgs& args) {
  font_ = args.font;
  for (auto* child : children_) child->AttachTo(Handle());
}

void Panel::AddGraphic(GraphicControl& control) {
  children_.push_back(&control);
  if (Handle()) control.AttachTo(Handle());
}

void Panel::AddGraphic(GraphicControl& control, const CreateArgs& args) {
  control.Create(ScaledToDesign(args));
  AddGraphic(control);
}

void Panel::SetCaption(const std::wstring& caption) {
  SetWindowTextW(Handle(), caption.c_str());
  Repaint();
}

void Panel::Repaint() const { InvalidateRect(Handle(), nullptr, FALSE); }

bool Panel::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED && onClick) {
    onClick();
    result = 0;
    return true;
  }
  if (message != WM_DRAWITEM) return false;
  Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  result = TRUE;
  return true;
}

void Panel::OnScaleChanged(const ScaleChange& change, RECT) {
  if (font_) font_ = change.font(font_);
  for (GraphicControl* child : children_) child->ChangeScale(change);
}

void Panel::Draw(const DRAWITEMSTRUCT& item) const {
  RECT area = item.rcItem;
  const TextColors colors = TextColorsOn(look_.textColor, look_.color);
  Brush background(CreateSolidBrush(colors.background));
  FillRect(item.hDC, &area, background.Get());
  const UINT edge = look_.bevel == Bevel::Raised    ? BDR_RAISEDINNER
                    : look_.bevel == Bevel::Lowered ? BDR_SUNKENOUTER
                                                    : BDR_RAISEDINNER | BDR_SUNKENOUTER;
  DrawEdge(item.hDC, &area, edge, BF_RECT);
  SelectGuard select(item.hDC, font_ ? font_.Get() : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, colors.text);
  const std::wstring caption = Caption();
  RECT text{area.left + scale_(4), area.top + scale_(1), area.right - scale_(2), area.bottom - scale_(1)};
  DrawTextW(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  for (auto* child : children_)
    if (child->Visible()) child->Paint(item.hDC);
}

}  // namespace krelmix
