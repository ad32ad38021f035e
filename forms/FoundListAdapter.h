#pragma once
// The main window's found list showing the engine's finds: the list reads them as its model and
// writes the user's ticks into them, and every change the engine makes reaches the list.
#include <functional>

#include "cleanup/FoundList.h"
#include "toolkit/CheckListBox.h"

namespace krelmix {

class FoundListAdapter : public CheckListModel, private FoundListListener {
 public:
  // `beforeChange` runs before the engine's change reaches the list: the window holds the list
  // until its next display update.
  FoundListAdapter(FoundList& finds, CheckListBox& list, std::function<void()> beforeChange);
  ~FoundListAdapter() override;
  FoundListAdapter(const FoundListAdapter&) = delete;
  FoundListAdapter& operator=(const FoundListAdapter&) = delete;

  size_t Count() const override { return finds_.Count(); }
  size_t Length(size_t index) const override { return finds_.TextLength(index); }
  size_t CopyText(size_t index, wchar_t* out) const override { return finds_.CopyText(index, out); }
  bool Ticked(size_t index) const override { return finds_.Ticked(index); }
  void SetTicked(size_t index, bool ticked) override;

 private:
  void FindsAdded() override;
  void FindChanged(size_t index) override;
  void AllFindsChanged() override;
  void FindsCleared() override;

  FoundList& finds_;
  CheckListBox& list_;
  std::function<void()> beforeChange_;
  bool tickFromList_ = false;  // the list shows the user's own tick already
};

}  // namespace krelmix
