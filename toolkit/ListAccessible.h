#pragma once
// What a screen reader finds in a check list: the list, named by its hint, and one item per line
// with its text, its tick (checked) and whether it is the current line. The system's list proxy
// cannot give the ticks, which live in the list's own store, so the list answers for itself.
#include <windows.h>

#include "toolkit/Accessible.h"

namespace krelmix {

class CheckListBox;

class ListAccessible : public AccessibleSource {
 public:
  explicit ListAccessible(CheckListBox& list) : list_(list) {}

  HWND Window() const override;
  long ChildCount() const override;
  AccessibleFacts Facts(long child) const override;
  // Does what a click on the line's tick does: the line becomes current, its tick flips.
  void DoDefaultAction(long child) override;
  long FocusedChild() const override;
  long ChildAt(POINT screen) const override;

 private:
  CheckListBox& list_;
};

}  // namespace krelmix
