#pragma once
// Non-windowed controls: painted by their parent and hit-tested in the parent's mouse messages.
// A press on one of them without click or mouse-down handlers counts as a press on the window
// itself (the skin's drag rule relies on this).
#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/ColorScheme.h"
#include "toolkit/Control.h"
#include "toolkit/DisplayScale.h"
#include "toolkit/Gdi.h"

namespace krelmix {

class GraphicControl : public Control {
 public:
  using Control::Control;

  // Places the control and gives it what every control is made with; its host paints it once
  // it is added there.
  void Create(const CreateArgs& args);
  RECT Bounds() const { return bounds_; }
  RECT BoundsInParent() const override { return bounds_; }
  HFONT CaptionFont() const override { return TextFont(); }
  void SetBounds(RECT bounds);
  // Its window moved to a monitor of another scale: its place and font follow.
  virtual void ChangeScale(const ScaleChange& change);
  bool Visible() const override { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled);
  std::wstring Caption() const override { return caption_; }
  void SetCaption(std::wstring caption);
  BorrowedCursor Cursor() const { return cursor_; }
  void SetCursor(BorrowedCursor cursor) { cursor_ = cursor; }

  std::function<void()> onClick;
  std::function<void()> onMouseDown;
  std::function<void()> onDblClick;
  // What the skin's drag rule asks: does a press here belong to this control?
  virtual bool HandlesPress() const { return onClick != nullptr || onMouseDown != nullptr; }
  // Besides what every control tells a screen reader (toolkit/Accessible), a painted control has a
  // role by default (static text) and a default action, which does what a click does.
  long AccessibleRole() const override;
  virtual bool HasDefaultAction() const { return onClick != nullptr; }
  virtual void DoDefaultAction() {
    if (onClick) onClick();
  }

  // Set by the host that paints the control.
  void AttachTo(HWND host) { host_ = host; }
  void Invalidate() const;

  virtual void Paint(HDC dc) = 0;
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  virtual void MouseDown() {
    if (onMouseDown) onMouseDown();
  }
  // inside: the release lies on the control.
  virtual void MouseUp(bool inside) {
    if (inside && onClick) onClick();
  }

 protected:
  // The caption's font: the one it was made with (borrowed), or the system's default.
  HFONT TextFont() const { return font_ ? font_.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }
  // The scale of the form the control was made on: its pictures are shown at it.
  DisplayScale scale_;

 private:
  RECT bounds_{};
  bool visible_ = true;
  bool enabled_ = true;
  std::wstring caption_;
  BorrowedFont font_;
  BorrowedCursor cursor_;
  HWND host_ = nullptr;
};

class Label : public GraphicControl {
 public:
  using GraphicControl::GraphicControl;
  const wchar_t* Kind() const override { return L"label"; }
  void SetColor(Shade color) { color_ = color; }
  // What the label lies on (its host's colour or skin), which decides the colours it is drawn in.
  void SetBackground(Shade background) { background_ = background; }
  void SetAlignment(UINT drawTextAlignment) { alignment_ = drawTextAlignment; }
  void Paint(HDC dc) override;

 protected:
  TextColors Colors() const { return TextColorsOn(color_, background_); }
  // In high contrast over a fixed background, the label's own system background under its text.
  void FillIfAsked(HDC dc, const TextColors& colors) const;

 private:
  Shade color_ = Shade::System(COLOR_BTNTEXT);
  Shade background_ = Shade::System(COLOR_BTNFACE);
  UINT alignment_ = DT_LEFT;
};

// A thin etched rule along the top or the left edge of its bounds, or a sunken frame round them.
class BevelLine : public GraphicControl {
 public:
  enum class Shape { Top, Left, SunkenFrame };
  explicit BevelLine(std::wstring name, Shape shape = Shape::Top) : GraphicControl(std::move(name)), shape_(shape) {}
  const wchar_t* Kind() const override { return L"bevel"; }
  long AccessibleRole() const override;
  void Paint(HDC dc) override {
    RECT b = Bounds();
    if (shape_ == Shape::SunkenFrame)
      DrawEdge(dc, &b, BDR_SUNKENOUTER, BF_RECT);
    else
      DrawEdge(dc, &b, EDGE_ETCHED, shape_ == Shape::Top ? BF_TOP : BF_LEFT);
  }

 private:
  Shape shape_;
};

class Image : public GraphicControl {
 public:
  using GraphicControl::GraphicControl;
  const wchar_t* Kind() const override { return L"image"; }
  long AccessibleRole() const override;
  // The picture as painted for `artDpi`: shown pixel for pixel at that scale, stretched at another.
  void SetPicture(BorrowedBitmap picture, int artDpi = kDesignDpi) {
    picture_ = picture;
    artDpi_ = artDpi;
  }
  // Centred in the bounds rather than at their top-left; drawn without its key colour.
  void SetCenter(bool center) { center_ = center; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  void Paint(HDC dc) override;

 private:
  BorrowedBitmap picture_;
  int artDpi_ = kDesignDpi;
  bool center_ = false;
  bool transparent_ = false;
};

// A flat button: glyph above caption, a raised edge while the mouse is over it, sunken while
// pressed; the disabled glyph replaces the enabled one while disabled.
class SpeedButton : public GraphicControl {
 public:
  using GraphicControl::GraphicControl;
  const wchar_t* Kind() const override { return L"speedbutton"; }
  long AccessibleRole() const override;
  bool HasDefaultAction() const override { return true; }
  // Both painted for `artDpi` (see Image::SetPicture).
  void SetGlyphs(BorrowedBitmap enabled, BorrowedBitmap disabled, int artDpi = kDesignDpi) {
    glyph_ = enabled;
    disabledGlyph_ = disabled;
    artDpi_ = artDpi;
  }
  void SetCaptionColor(COLORREF color) { captionColor_ = color; }
  // What the caption lies on: a skin, so a fixed colour, unless told otherwise.
  void SetCaptionBackground(Shade background) { captionBackground_ = background; }
  // A speed button never lets a press through to the window, handler or not.
  bool HandlesPress() const override { return true; }
  void Paint(HDC dc) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown() override;
  void MouseUp(bool inside) override;

 private:
  BorrowedBitmap glyph_;
  BorrowedBitmap disabledGlyph_;
  int artDpi_ = kDesignDpi;
  COLORREF captionColor_ = RGB(0, 255, 255);
  Shade captionBackground_ = RGB(0, 0, 0);
  bool hot_ = false;
  bool down_ = false;
};

}  // namespace krelmix
