#pragma once
// A list with a tick per line: an owner-drawn list box with LBS_HASSTRINGS and the tick in the
// item data, so other programs (tests, accessibility tools) read lines and ticks with LB_GETTEXT
// and LB_GETITEMDATA.
#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/WindowedControl.h"

namespace krelmix {

enum class TickStyle { Box, Mark };

struct CheckListStyle {
  TickStyle tick = TickStyle::Box;
  int itemHeight = 13;
  HFONT font = nullptr;  // not owned
  bool integralHeight = false;
};

class CheckListBox : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  const wchar_t* Kind() const override { return L"checklistbox"; }

  void Create(HWND parent, RECT bounds, UINT id, const CheckListStyle& style);

  void Clear();
  size_t Add(const std::wstring& text, bool ticked = false);
  size_t Count() const;
  std::wstring Text(size_t index) const;
  void SetText(size_t index, const std::wstring& text);
  bool Ticked(size_t index) const;
  void SetTicked(size_t index, bool ticked);
  int ItemIndex() const;  // -1 when no line is current
  void SetItemIndex(int index);
  // Suspends repainting while many lines are added; the list is redrawn once when it ends.
  void BeginUpdate();
  void EndUpdate();

  std::function<void()> onClick;
  std::function<void()> onDblClick;
  // The user flipped a tick (tick-box press or space bar).
  std::function<void(size_t)> onTickToggled;

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Draw(const DRAWITEMSTRUCT& item) const;
  void ToggleTick(int index);
  CheckListStyle style_;
  int updates_ = 0;
};

}  // namespace krelmix
