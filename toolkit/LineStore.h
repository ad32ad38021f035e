#pragma once
// The lines of a long list kept compactly: text in fixed-size blocks (a block is never moved or
// regrown, so an append costs the same at the millionth line as at the first and the memory never
// doubles on a reallocation), one small entry and one tick byte per line.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace krelmix {

class LineStore {
 public:
  size_t Count() const { return lines_.size(); }
  void Clear();
  // Returns the index of the new line.
  size_t Add(std::wstring_view text, bool ticked);
  std::wstring_view Text(size_t index) const;
  void SetText(size_t index, std::wstring_view text);
  bool Ticked(size_t index) const { return index < ticks_.size() && ticks_[index] != 0; }
  void SetTicked(size_t index, bool ticked);

 private:
  struct Line {
    uint32_t block;
    uint32_t offset;
    uint32_t length;
  };
  Line Store(std::wstring_view text);
  std::vector<std::unique_ptr<wchar_t[]>> blocks_;
  size_t used_ = 0;  // characters used in the last block
  std::deque<Line> lines_;  // a deque grows without copying what it holds
  std::deque<uint8_t> ticks_;
};

}  // namespace krelmix
