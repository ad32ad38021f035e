#include "toolkit/LineStore.h"

#include <algorithm>

namespace krelmix {

namespace {
constexpr size_t kBlockChars = 256 * 1024;  // 512 KB: small against the list, large against a line
// Shared endings are marks, not data: a few short ones. Anything else is stored as a new line.
constexpr size_t kMaxEndingChars = 64;
constexpr size_t kMaxEndings = 64;
}  // namespace

void LineStore::Clear() {
  blocks_.clear();
  used_ = 0;
  lines_.clear();
  ticks_.clear();
  endings_.clear();
}

LineStore::Line LineStore::Store(std::wstring_view text) {
  // A line longer than a block gets a block of its own.
  const size_t need = text.size();
  if (blocks_.empty() || used_ + need > kBlockChars) {
    blocks_.push_back(std::make_unique<wchar_t[]>(std::max(kBlockChars, need)));
    used_ = 0;
  }
  Line line{static_cast<uint32_t>(blocks_.size() - 1), static_cast<uint32_t>(used_), static_cast<uint32_t>(need), 0};
  std::copy(text.begin(), text.end(), blocks_.back().get() + used_);
  // An oversized block is full at once.
  used_ = need > kBlockChars ? need : used_ + need;
  return line;
}

std::wstring_view LineStore::Head(const Line& line) const {
  return {blocks_[line.block].get() + line.offset, line.length};
}

std::wstring_view LineStore::Ending(const Line& line) const {
  if (line.ending == 0) return {};
  return endings_[line.ending - 1];
}

size_t LineStore::Add(std::wstring_view text, bool ticked) {
  lines_.push_back(Store(text));
  ticks_.push_back(ticked ? 1 : 0);
  return lines_.size() - 1;
}

std::wstring LineStore::Text(size_t index) const {
  if (index >= lines_.size()) return {};
  std::wstring text(Head(lines_[index]));
  text += Ending(lines_[index]);
  return text;
}

size_t LineStore::Length(size_t index) const {
  if (index >= lines_.size()) return 0;
  return lines_[index].length + Ending(lines_[index]).size();
}

size_t LineStore::CopyText(size_t index, wchar_t* out) const {
  if (index >= lines_.size()) {
    out[0] = L'\0';
    return 0;
  }
  const std::wstring_view head = Head(lines_[index]), ending = Ending(lines_[index]);
  wchar_t* end = std::copy(ending.begin(), ending.end(), std::copy(head.begin(), head.end(), out));
  *end = L'\0';
  return head.size() + ending.size();
}

// The new text is the line's own text in the block plus a short ending: only the ending changes.
bool LineStore::ShareEnding(Line& line, std::wstring_view text) {
  const std::wstring_view head = Head(line);
  if (text.size() <= head.size() || text.size() - head.size() > kMaxEndingChars) return false;
  if (text.substr(0, head.size()) != head) return false;
  const std::wstring_view ending = text.substr(head.size());
  auto known = std::find(endings_.begin(), endings_.end(), ending);
  if (known == endings_.end()) {
    if (endings_.size() >= kMaxEndings) return false;
    known = endings_.insert(endings_.end(), std::wstring(ending));
  }
  line.ending = static_cast<uint32_t>(known - endings_.begin()) + 1;
  return true;
}

void LineStore::SetText(size_t index, std::wstring_view text) {
  if (index >= lines_.size()) return;
  Line& line = lines_[index];
  if (ShareEnding(line, text)) return;
  line.ending = 0;
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
