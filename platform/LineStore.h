#pragma once
// The lines of a long list kept compactly: text in fixed-size blocks (a block is never moved or
// regrown, so an append costs the same at the millionth line as at the first and the memory never
// doubles on a reallocation), twelve bytes per line besides its text.
//
// A line is kept in three parts. Its start up to its last backslash (the folder of a path) is
// shared with the line before it when both start alike, so a folder's text is kept once for all
// of its finds. The rest (a file's name) is kept in one byte per character when every character
// is below U+0100, else in two. Each line also keeps a tick and a small tag its owner gives it
// (the found list keeps what became of a find there), in the twelve bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace krelmix {

class LineStore {
 public:
  size_t Count() const { return count_; }
  void Clear();
  // Returns the index of the new line.
  size_t Add(std::wstring_view text, bool ticked);
  std::wstring Text(size_t index) const;
  size_t Length(size_t index) const;
  // Writes the line and a terminating zero to `out`, which holds at least Length(index) + 1.
  size_t CopyText(size_t index, wchar_t* out) const;
  void SetText(size_t index, std::wstring_view text);
  bool Ticked(size_t index) const;
  void SetTicked(size_t index, bool ticked);
  uint8_t Tag(size_t index) const;
  void SetTag(size_t index, uint8_t tag);

 private:
  // Where a piece of text lies: block * kBlockBytes + offset in the block.
  using Position = uint32_t;
  struct Piece {
    Position at = 0;
    uint32_t length = 0;  // characters
    bool narrow = false;  // one byte per character
  };
  struct Line {
    uint32_t head;    // 0, or 1 + the index of the shared start
    Position rest;    // the rest of the text
    uint16_t length;  // characters in the rest
    uint8_t tag;      // the owner's
    uint8_t flags;    // kTicked, kNarrow
  };
  static constexpr uint8_t kTicked = 1, kNarrow = 2;

  Line& At(size_t index);
  const Line& At(size_t index) const;
  Piece Store(std::wstring_view text);
  std::wstring_view::size_type Split(std::wstring_view text) const;
  uint32_t HeadFor(std::wstring_view head, uint32_t current);
  void Place(Line& line, std::wstring_view text);
  bool Equals(const Piece& piece, std::wstring_view text) const;
  wchar_t* Copy(const Piece& piece, wchar_t* out) const;
  Piece Head(const Line& line) const;
  Piece Rest(const Line& line) const;

  std::vector<std::unique_ptr<uint8_t[]>> blocks_;
  size_t used_ = 0;  // bytes used in the last block
  // The lines in chunks of a fixed size: growing never copies them.
  std::vector<std::unique_ptr<Line[]>> chunks_;
  size_t count_ = 0;
  std::vector<Piece> heads_;
};

}  // namespace krelmix
