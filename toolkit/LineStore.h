#pragma once
// The lines of a long list kept compactly: text in fixed-size blocks (a block is never moved or
// regrown, so an append costs the same at the millionth line as at the first and the memory never
// doubles on a reallocation), one small entry and one tick byte per line.
//
// A line that is rewritten as itself plus a short ending (a find marked as deleted, or as failed)
// keeps its text where it is and shares the ending with every other line that got the same one, so
// marking a million lines costs no second copy of their text.
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
  std::wstring Text(size_t index) const;
  size_t Length(size_t index) const;
  // Writes the line and a terminating zero to `out`, which holds at least Length(index) + 1.
  size_t CopyText(size_t index, wchar_t* out) const;
  void SetText(size_t index, std::wstring_view text);
  bool Ticked(size_t index) const { return index < ticks_.size() && ticks_[index] != 0; }
  void SetTicked(size_t index, bool ticked);

 private:
  struct Line {
    uint32_t block;
    uint32_t offset;
    uint32_t length;  // of the part in the block
    uint32_t ending;  // 0, or 1 + the index of the shared ending
  };
  Line Store(std::wstring_view text);
  std::wstring_view Head(const Line& line) const;
  std::wstring_view Ending(const Line& line) const;
  bool ShareEnding(Line& line, std::wstring_view text);
  std::vector<std::unique_ptr<wchar_t[]>> blocks_;
  size_t used_ = 0;         // characters used in the last block
  std::deque<Line> lines_;  // a deque grows without copying what it holds
  std::deque<uint8_t> ticks_;
  std::vector<std::wstring> endings_;
};

}  // namespace krelmix
