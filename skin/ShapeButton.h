#pragma once
// A push button with a rounded face, its window clipped to that face. It takes the keyboard focus,
// clicks at the key-down of the space bar, answers Enter (default button) and Esc (cancel button)
// only with none of Shift, Ctrl and Alt held, and sets its form's modal result before its click
// handler runs.
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>

#include "toolkit/Form.h"
#include "toolkit/Gdi.h"
#include "toolkit/WindowedControl.h"

namespace krelmix {

// How a caption is drawn: plain, engraved, embossed, or outlined.
enum class TextStyle { Default, Lowered, Raised, Outline };
// How a face is shaded.
enum class FaceShading { Normal, Raised, Highlight, Flat };

// Draws text in one of the styles inside a rectangle (single line, centred both ways), in the
// given colour; disabled text is drawn in the button-shadow colour over a highlight copy.
void DrawStyledText(HDC dc, const std::wstring& text, RECT rect, TextStyle style, COLORREF color, bool enabled);

struct ShapeButtonLook {
  int roundRectBias = 25;
  TextStyle textStyle = TextStyle::Default;
  FaceShading shading = FaceShading::Highlight;
  bool isDefault = false;
  bool isCancel = false;
  int modalResult = 0;  // handed to the form before onClick runs; 0 leaves it alone
  BorrowedCursor cursor;
  // Two images side by side, the normal one left and the disabled one right; drawn left of the
  // caption with 6 pixels between.
  BorrowedBitmap glyph;
};

class ShapeButton : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  const wchar_t* Kind() const override { return L"button"; }
  long AccessibleRole() const override { return ROLE_SYSTEM_PUSHBUTTON; }
  ShapeButtonLook& Look() { return look_; }
  void Click();
  std::function<void()> onClick;
  // Every key message the button receives (WM_KEYDOWN, WM_KEYUP and their WM_SYS forms), before
  // the button acts on it: how its window sees the keys pressed while the button has the focus.
  std::function<void(UINT message, WPARAM key)> onKey;

  // The face's outline in the button's own coordinates: the pixels of the rounded rectangle from
  // (0, 0) to (width - 1, height - 1) with corner ellipses of bias x bias pixels, as drawn.
  static Region FaceRegion(int width, int height, int bias);
  // Space clicks; so do Enter on the default button and Esc on the cancel button, without a
  // modifier (with one they belong to a shortcut).
  bool UsesKey(UINT key) const override;

 protected:
  WindowClass Class() const override { return {L"BUTTON", WS_TABSTOP | BS_OWNERDRAW}; }
  void OnCreated(const CreateArgs& args) override;
  void OnScaleChanged(const ScaleChange& change, RECT bounds) override;
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Draw(const DRAWITEMSTRUCT& item);
  ShapeButtonLook look_;
  BorrowedFont font_;
};

}  // namespace krelmix
