#pragma once
// A list with a tick per line. The lines live in a model (its own compact store, or data kept
// elsewhere) and the list box only holds their number (LBS_NODATA): adding a line to a list box
// with strings costs a third of a millisecond under Wine, far too much for a million finds. The
// list box still answers LB_GETTEXT, LB_GETTEXTLEN and LB_GETITEMDATA (the tick) from the model,
// so other programs (tests, accessibility tools) read lines and ticks as from any list box.
#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/Accessible.h"
#include "toolkit/CheckListModel.h"
#include "toolkit/WindowedControl.h"

namespace krelmix {

class CheckListBox;

// What a screen reader finds in a check list: the list, named by its hint, and one item per line
// with its text, its tick (checked) and whether it is the current line. The system's list proxy
// cannot give the ticks, which live in the list's own store, so the list answers for itself.
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

enum class TickStyle { Box, Mark };

struct CheckListLook {
  TickStyle tick = TickStyle::Box;
  int itemHeight = 13;
  bool integralHeight = false;
  // A line wider than the list is drawn condensed (for fixed texts such as option rows, where a
  // wider stand-in font would cut them), rather than cut with an ellipsis (for paths).
  bool condenseToFit = false;
};

class CheckListBox : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  const wchar_t* Kind() const override { return L"checklistbox"; }

  CheckListLook& Look() { return look_; }

  // The list's own lines; a list showing another model refuses these (std::logic_error).
  void Clear();
  size_t Add(const std::wstring& text, bool ticked = false);
  void SetText(size_t index, const std::wstring& text);
  // Shows `model` from now on (it outlives the list); the list's own lines are dropped.
  void ShowModel(CheckListModel& model);
  // What the owner of a shown model tells the list: lines were appended (shown by the next
  // message the list handles, or when a hold ends), one line changed, every line may have
  // changed, lines were removed.
  void LinesAdded();
  void LineChanged(size_t index);
  void LinesChanged();
  void LinesReset();

  size_t Count() const;
  std::wstring Text(size_t index) const;
  bool Ticked(size_t index) const;
  void SetTicked(size_t index, bool ticked);
  int ItemIndex() const;           // -1 when no line is current
  int ItemAt(POINT client) const;  // the line at a client point, -1 when none lies there
  void SetItemIndex(int index);
  // Suspends repainting while many lines are added; the list is redrawn once when it ends.
  void BeginUpdate();
  void EndUpdate();

  std::function<void()> onClick;
  std::function<void()> onDblClick;
  // The user flipped a tick (tick-box press or space bar).
  std::function<void(size_t)> onTickToggled;
  // The space bar flipped the current line's tick, after onTickToggled. A press on a tick is
  // followed by the list's click and a screen reader's flip makes one, the key alone does not:
  // a list whose clicks store its ticks stores them here too.
  std::function<void(size_t)> onKeyTick;
  // What a screen reader calls the list (it has no caption).
  const std::wstring& AccessibleName() const { return accessibleName_; }
  void SetAccessibleName(std::wstring name) { accessibleName_ = std::move(name); }
  // Flips a line's tick as the user does, onTickToggled included.
  void ToggleTick(int index);
  // Space ticks the current line.
  bool UsesKey(UINT key) const override { return key == VK_SPACE; }

 protected:
  WindowClass Class() const override;
  void OnCreated(const CreateArgs& args) override;
  void OnScaleChanged(const ScaleChange& change, RECT bounds) override;
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Draw(const DRAWITEMSTRUCT& item) const;
  void InvalidateLine(size_t index);
  bool AnswerFromStore(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  LineStore& OwnStore();
  void ForgetCount();
  void SyncCount();
  bool Held() const { return updates_ > 0; }  // between BeginUpdate and EndUpdate
  CheckListLook look_;
  BorrowedFont font_;
  OwnLines ownLines_;
  CheckListModel* model_ = &ownLines_;
  int updates_ = 0;
  // Telling the list box its new count costs tens of microseconds under Wine, so appends only
  // mark it as behind and post a reminder; it is brought up to date by the next message it
  // handles itself, at the latest when the program next reads its messages. A held list is
  // brought up to date when the hold ends.
  bool countBehind_ = false;
  int pendingSelection_ = kNoPendingSelection;  // a current line set while the count was behind
  static constexpr int kNoPendingSelection = -2;
  std::wstring accessibleName_;
  ListAccessible accessible_{*this};
};

}  // namespace krelmix
