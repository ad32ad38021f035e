#pragma once
// A bevelled panel: raised or lowered, an optional left-aligned caption (a status line), and
// graphic controls lying on it (labels). A windowed control, so a press on it never drags the
// window under it.
#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/GraphicControl.h"
#include "toolkit/WindowedControl.h"

namespace krelmix {

enum class Bevel { Raised, Lowered, RaisedInLoweredOut };

struct PanelStyle {
  Bevel bevel = Bevel::Raised;
  COLORREF color = GetSysColor(COLOR_BTNFACE);
  COLORREF textColor = RGB(0, 0, 0);
  HFONT font = nullptr;  // not owned
};

class Panel : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  const wchar_t* Kind() const override { return L"panel"; }
  void Create(HWND parent, RECT bounds, UINT id, const PanelStyle& style);
  // Labels on the panel, in the panel's coordinates. Not owned.
  void AddGraphic(GraphicControl& control);
  void SetCaption(const std::wstring& caption);
  std::wstring Caption() const { return Text(); }
  std::vector<const GraphicControl*> GraphicChildren() const override { return {children_.begin(), children_.end()}; }
  void Repaint() const;

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Draw(const DRAWITEMSTRUCT& item) const;
  PanelStyle style_;
  std::vector<GraphicControl*> children_;
};

}  // namespace krelmix
