#include "platform/LineStore.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace krelmix {

namespace {
constexpr size_t kBlockBytes = 512 * 1024;  // small against the list, large against a line
constexpr uint64_t kMaxBlocks = (uint64_t{1} << 32) / kBlockBytes;
constexpr size_t kChunkLines = 4096;
constexpr size_t kMaxRest = 0xFFFF;  // characters kept after the shared start

bool IsNarrow(std::wstring_view text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return static_cast<uint32_t>(c) < 0x100; });
}
size_t BytesOf(size_t length, bool narrow) { return narrow ? length : length * sizeof(wchar_t); }
}  // namespace

void LineStore::Clear() {
  blocks_.clear();
  used_ = 0;
  chunks_.clear();
  count_ = 0;
  heads_.clear();
}

LineStore::Line& LineStore::At(size_t index) { return chunks_[index / kChunkLines][index % kChunkLines]; }
const LineStore::Line& LineStore::At(size_t index) const { return chunks_[index / kChunkLines][index % kChunkLines]; }

LineStore::Piece LineStore::Store(std::wstring_view text) {
  Piece piece{0, static_cast<uint32_t>(text.size()), IsNarrow(text)};
  const size_t bytes = BytesOf(text.size(), piece.narrow);
  if (bytes == 0) return piece;
  // A piece longer than a block gets a block of its own, full at once.
  if (blocks_.empty() || used_ + bytes > kBlockBytes) {
    if (blocks_.size() >= kMaxBlocks) throw std::length_error("Too much text for a list");
    blocks_.push_back(std::make_unique_for_overwrite<uint8_t[]>(std::max(kBlockBytes, bytes)));
    used_ = 0;
  }
  piece.at = static_cast<Position>((blocks_.size() - 1) * kBlockBytes + used_);
  uint8_t* out = blocks_.back().get() + used_;
  if (piece.narrow)
    std::transform(text.begin(), text.end(), out, [](wchar_t c) { return static_cast<uint8_t>(c); });
  else
    std::memcpy(out, text.data(), bytes);
  used_ = std::min(kBlockBytes, used_ + bytes);
  return piece;
}

// The length of the shared start: up to the last backslash, and at least so much that the rest
// fits its count.
std::wstring_view::size_type LineStore::Split(std::wstring_view text) const {
  const size_t slash = text.rfind(L'\\');
  const size_t head = slash == std::wstring_view::npos ? 0 : slash + 1;
  return std::max(head, text.size() > kMaxRest ? text.size() - kMaxRest : size_t{0});
}

// The line's own start or the last one stored when either reads the same, else a new one: the
// finds of a folder come one after another.
uint32_t LineStore::HeadFor(std::wstring_view head, uint32_t current) {
  if (head.empty()) return 0;
  if (current != 0 && Equals(heads_[current - 1], head)) return current;
  if (!heads_.empty() && Equals(heads_.back(), head)) return static_cast<uint32_t>(heads_.size());
  heads_.push_back(Store(head));
  return static_cast<uint32_t>(heads_.size());
}

// Sets a line's text. A line being rewritten keeps the place of its rest when the new rest fits
// there (a new line has no place yet).
void LineStore::Place(Line& line, std::wstring_view text) {
  const size_t split = Split(text);
  line.head = HeadFor(text.substr(0, split), line.head);
  const std::wstring_view rest = text.substr(split);
  const bool narrow = IsNarrow(rest);
  if (!rest.empty() && BytesOf(rest.size(), narrow) <= BytesOf(line.length, (line.flags & kNarrow) != 0)) {
    uint8_t* out = blocks_[line.rest / kBlockBytes].get() + line.rest % kBlockBytes;
    if (narrow)
      std::transform(rest.begin(), rest.end(), out, [](wchar_t c) { return static_cast<uint8_t>(c); });
    else
      std::memcpy(out, rest.data(), BytesOf(rest.size(), false));
  } else {
    line.rest = Store(rest).at;
  }
  line.length = static_cast<uint16_t>(rest.size());
  line.flags = static_cast<uint8_t>((line.flags & kTicked) | (narrow ? kNarrow : 0));
}

bool LineStore::Equals(const Piece& piece, std::wstring_view text) const {
  if (piece.length != text.size()) return false;
  if (text.empty()) return true;
  const uint8_t* at = blocks_[piece.at / kBlockBytes].get() + piece.at % kBlockBytes;
  if (!piece.narrow) return std::memcmp(at, text.data(), BytesOf(text.size(), false)) == 0;
  return std::equal(text.begin(), text.end(), at, [](wchar_t c, uint8_t b) { return c == b; });
}

wchar_t* LineStore::Copy(const Piece& piece, wchar_t* out) const {
  if (piece.length == 0) return out;
  const uint8_t* at = blocks_[piece.at / kBlockBytes].get() + piece.at % kBlockBytes;
  if (piece.narrow) return std::copy(at, at + piece.length, out);
  std::memcpy(out, at, BytesOf(piece.length, false));
  return out + piece.length;
}

LineStore::Piece LineStore::Head(const Line& line) const { return line.head ? heads_[line.head - 1] : Piece{}; }
LineStore::Piece LineStore::Rest(const Line& line) const {
  return {line.rest, line.length, (line.flags & kNarrow) != 0};
}

size_t LineStore::Add(std::wstring_view text, bool ticked) {
  if (count_ == chunks_.size() * kChunkLines) chunks_.push_back(std::make_unique<Line[]>(kChunkLines));
  Line& line = At(count_);
  line = Line{0, 0, 0, 0, static_cast<uint8_t>(ticked ? kTicked : 0)};
  Place(line, text);
  return count_++;
}

std::wstring LineStore::Text(size_t index) const {
  std::wstring text(Length(index), L'\0');
  if (!text.empty()) CopyText(index, text.data());
  return text;
}

size_t LineStore::Length(size_t index) const {
  if (index >= count_) return 0;
  const Line& line = At(index);
  return Head(line).length + line.length;
}

size_t LineStore::CopyText(size_t index, wchar_t* out) const {
  wchar_t* end = out;
  if (index < count_) {
    const Line& line = At(index);
    end = Copy(Rest(line), Copy(Head(line), out));
  }
  *end = L'\0';
  return static_cast<size_t>(end - out);
}

void LineStore::SetText(size_t index, std::wstring_view text) {
  if (index >= count_) return;
  Place(At(index), text);
}

bool LineStore::Ticked(size_t index) const { return index < count_ && (At(index).flags & kTicked) != 0; }

void LineStore::SetTicked(size_t index, bool ticked) {
  if (index >= count_) return;
  Line& line = At(index);
  line.flags = static_cast<uint8_t>(ticked ? line.flags | kTicked : line.flags & ~kTicked);
}

uint8_t LineStore::Tag(size_t index) const { return index < count_ ? At(index).tag : 0; }

void LineStore::SetTag(size_t index, uint8_t tag) {
  if (index < count_) At(index).tag = tag;
}

}  // namespace krelmix
