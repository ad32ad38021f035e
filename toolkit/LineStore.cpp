#include "toolkit/LineStore.h"

#include <algorithm>

namespace krelmix {

namespace {
constexpr size_t kBlockChars = 256 * 1024;  // 512 KB: small against the list, large against a line
}

void LineStore::Clear() {
  blocks_.clear();
  used_ = 0;
  lines_.clear();
  ticks_.clear();
}

LineStore::Line LineStore::Store(std::wstring_view text) {
  // A line longer than a block gets a block of its own.
  const size_t need = text.size();
  if (blocks_.empty() || used_ + need > kBlockChars) {
    blocks_.push_back(std::make_unique<wchar_t[]>(std::max(kBlockChars, need)));
    used_ = 0;
  }
  Line line{static_cast<uint32_t>(blocks_.size() - 1), static_cast<uint32_t>(used_), static_cast<uint32_t>(need)};
  std::copy(text.begin(), text.end(), blocks_.back().get() + used_);
  // An oversized block is full at once.
  used_ = need > kBlockChars ? need : used_ + need;
  return line;
}

size_t LineStore::Add(std::wstring_view text, bool ticked) {
  lines_.push_back(Store(text));
  ticks_.push_back(ticked ? 1 : 0);
  return lines_.size() - 1;
}

std::wstring_view LineStore::Text(size_t index) const {
  if (index >= lines_.size()) return {};
  const Line& line = lines_[index];
  return {blocks_[line.block].get() + line.offset, line.length};
}

void LineStore::SetText(size_t index, std::wstring_view text) {
  if (index >= lines_.size()) return;
  Line& line = lines_[index];
  if (text.size() <= line.length) {
    // A line that does not grow is rewritten where it is.
    std::copy(text.begin(), text.end(), blocks_[line.block].get() + line.offset);
    line.length = static_cast<uint32_t>(text.size());
    return;
  }
  line = Store(text);
}

void LineStore::SetTicked(size_t index, bool ticked) {
  if (index < ticks_.size()) ticks_[index] = ticked ? 1 : 0;
}

}  // namespace krelmix
