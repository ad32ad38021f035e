#include "forms/FoundListAdapter.h"

namespace krelmix {

FoundListAdapter::FoundListAdapter(FoundList& finds, CheckListBox& list, std::function<void()> beforeChange)
    : finds_(finds), list_(list), beforeChange_(std::move(beforeChange)) {
  finds_.SetListener(this);
  list_.ShowModel(*this);
}

FoundListAdapter::~FoundListAdapter() { finds_.SetListener(nullptr); }

void FoundListAdapter::SetTicked(size_t index, bool ticked) {
  tickFromList_ = true;
  finds_.SetTicked(index, ticked);
  tickFromList_ = false;
}

void FoundListAdapter::FindsAdded() {
  beforeChange_();
  list_.LinesAdded();
}

void FoundListAdapter::FindChanged(size_t index) {
  if (tickFromList_) return;
  beforeChange_();
  list_.LineChanged(index);
}

void FoundListAdapter::AllFindsChanged() {
  beforeChange_();
  list_.LinesChanged();
}

void FoundListAdapter::FindsCleared() {
  beforeChange_();
  list_.LinesReset();
}

}  // namespace krelmix
