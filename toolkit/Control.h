#pragma once
// What every control has, whether it is a child window or painted by its host: a name, a kind, a
// hint, a place, and the one set of arguments it is made with.
#include <windows.h>

#include <string>

#include "platform/win32/Handles.h"

namespace krelmix {

// A control's place in its parent as a design table gives it: left, top, width, height.
struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  RECT Rect() const { return {left, top, left + width, top + height}; }
};

// What every control is made with. What a kind adds (a list's tick style, a panel's bevel, a
// button's default role) is set on the control before it is made, through its Look() or a setter.
struct CreateArgs {
  Bounds bounds{};
  std::wstring caption{};
  std::wstring hint{};
  BorrowedFont font{};  // the form keeps its fonts for as long as its controls
  bool enabled = true;
  bool visible = true;
};

// The arguments with their bounds at the scale of the form being made (toolkit/DisplayScale).
CreateArgs ScaledToDesign(CreateArgs args);

// The part of a control its form reads to describe it: the control description the end-to-end
// tests read today, and whatever else names a control, its role and its state to the outside.
class Control {
 public:
  explicit Control(std::wstring name) : name_(std::move(name)) {}
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  const std::wstring& Name() const { return name_; }
  // The control's role as the description names it ("button", "label", "checkbox", ...).
  virtual const wchar_t* Kind() const = 0;
  virtual bool Enabled() const = 0;
  virtual bool Visible() const = 0;
  // The text the control shows (a caption, a text box's text).
  virtual std::wstring Caption() const = 0;
  // Where the control lies in the window or panel that carries it.
  virtual RECT BoundsInParent() const = 0;
  // The font the caption is drawn in.
  virtual HFONT CaptionFont() const = 0;
  // The tooltip text; it may change at any time and is read when the tooltip shows.
  const std::wstring& Hint() const { return hint_; }
  void SetHint(std::wstring hint) { hint_ = std::move(hint); }
  // The role a screen reader is told (a ROLE_SYSTEM_ value; toolkit/Accessible). For a windowed
  // control 0 leaves it to the system's proxy or its own accessible object.
  virtual long AccessibleRole() const { return 0; }

 private:
  std::wstring name_;
  std::wstring hint_;
};

}  // namespace krelmix
