#pragma once
// A bevelled panel: raised or lowered, an optional left-aligned caption (a status line), and
// graphic controls lying on it (labels). A windowed control, so a press on it never drags the
// window under it.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/GraphicControl.h"
#include "toolkit/WindowedControl.h"

namespace krelmix {

enum class Bevel { Raised, Lowered, RaisedInLoweredOut };

struct PanelLook {
  Bevel bevel = Bevel::Raised;
  Shade color = Shade::System(COLOR_BTNFACE);
  Shade textColor = Shade::System(COLOR_BTNTEXT);
};

class Panel : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  const wchar_t* Kind() const override { return L"panel"; }
  PanelLook& Look() { return look_; }
  // Labels on the panel, in the panel's coordinates. Not owned.
  void AddGraphic(GraphicControl& control);
  // Makes a label on the panel and adds it.
  void AddGraphic(GraphicControl& control, const CreateArgs& args);
  void SetCaption(const std::wstring& caption);
  // A click on the panel.
  std::function<void()> onClick;
  std::vector<const GraphicControl*> GraphicChildren() const override { return {children_.begin(), children_.end()}; }
  void Repaint() const;

 protected:
  WindowClass Class() const override { return {L"STATIC", SS_OWNERDRAW | SS_NOTIFY}; }
  void OnCreated(const CreateArgs& args) override;
  void OnScaleChanged(const ScaleChange& change, RECT bounds) override;
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Draw(const DRAWITEMSTRUCT& item) const;
  PanelLook look_;
  BorrowedFont font_;
  std::vector<GraphicControl*> children_;
};

}  // namespace krelmix
