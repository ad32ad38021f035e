#pragma once
// What a check list shows: its lines, each with a tick. A list keeps its own lines by default; a
// list that shows data kept elsewhere (the found list shows the engine's finds) reads it through
// this, and whoever changes that data tells the list (CheckListBox::LinesAdded, LineChanged,
// LinesReset).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/LineStore.h"

namespace krelmix {

class CheckListModel {
 public:
  virtual ~CheckListModel() = default;
  virtual size_t Count() const = 0;
  virtual size_t Length(size_t index) const = 0;
  // Writes the line and a terminating zero to `out`, which holds at least Length(index) + 1.
  virtual size_t CopyText(size_t index, wchar_t* out) const = 0;
  virtual bool Ticked(size_t index) const = 0;
  // The user ticked or unticked the line.
  virtual void SetTicked(size_t index, bool ticked) = 0;
};

// A list's own lines.
class OwnLines : public CheckListModel {
 public:
  size_t Count() const override { return lines_.Count(); }
  size_t Length(size_t index) const override { return lines_.Length(index); }
  size_t CopyText(size_t index, wchar_t* out) const override { return lines_.CopyText(index, out); }
  bool Ticked(size_t index) const override { return lines_.Ticked(index); }
  void SetTicked(size_t index, bool ticked) override { lines_.SetTicked(index, ticked); }
  LineStore& Store() { return lines_; }

 private:
  LineStore lines_;
};

}  // namespace krelmix
