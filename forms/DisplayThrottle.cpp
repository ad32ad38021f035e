#include "forms/DisplayThrottle.h"

namespace krelmix {

void DisplayThrottle::HoldList() {
  if (holdingList_ || !controls_) return;
  controls_->foundList.BeginUpdate();
  holdingList_ = true;
}

void DisplayThrottle::FlushIfDue() {
  if (GetTickCount64() - lastFlush_ >= kIntervalMs) Flush();
}

void DisplayThrottle::Flush() {
  lastFlush_ = GetTickCount64();
  if (!controls_) return;
  if (folders_ || files_) {
    if (folders_) controls_->folders.SetCaption(*folders_);
    if (files_) controls_->files.SetCaption(*files_);
    controls_->counters.Repaint();
  }
  folders_.reset();
  files_.reset();
  if (status_) controls_->status.SetCaption(*status_);
  status_.reset();
  CheckListBox& list = controls_->foundList;
  if (current_ && *current_ < list.Count()) {
    list.SetItemIndex(static_cast<int>(*current_));
    if (IsWindowVisible(GetAncestor(list.Handle(), GA_ROOT))) SetFocus(list.Handle());
  }
  current_.reset();
  if (!holdingList_) return;
  holdingList_ = false;
  list.EndUpdate();
}

}  // namespace krelmix
