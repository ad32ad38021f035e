#include "cleanup/FoundList.h"

#include <random>

namespace krelmix {

namespace {
// The finaliser of MurmurHash3: every input bit reaches every output bit.
uint64_t Mix(uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ull;
  h ^= h >> 33;
  return h;
}
constexpr uint64_t kWithId = 1;  // the lowest bit of a print says whether the id is in it

std::wstring_view MarkText(FindMark mark) {
  switch (mark) {
    case FindMark::Deleted:
      return L" (Убит!)";
    case FindMark::Failed:
      return L" (Ошибка удаления)";
    case FindMark::None:
      break;
  }
  return {};
}
}  // namespace

FoundList::FoundList() {
  std::random_device source;
  key_ = (static_cast<uint64_t>(source()) << 32) ^ source();
}

void FoundList::Clear() {
  lines_.Clear();
  prints_.clear();
  if (listener_) listener_->FindsCleared();
}

void FoundList::Add(std::wstring_view path, const FileIdentity& identity) {
  lines_.Add(path, false);
  prints_.push_back(Print(identity, identity.id.Known()));
  if (listener_) listener_->FindsAdded();
}

std::wstring FoundList::Text(size_t index) const {
  std::wstring text(TextLength(index), L'\0');
  text.resize(CopyText(index, text.data()));
  return text;
}

size_t FoundList::TextLength(size_t index) const { return lines_.Length(index) + MarkText(Mark(index)).size(); }

size_t FoundList::CopyText(size_t index, wchar_t* out) const {
  size_t length = lines_.CopyText(index, out);
  const std::wstring_view mark = MarkText(Mark(index));
  mark.copy(out + length, mark.size());
  length += mark.size();
  out[length] = L'\0';
  return length;
}

void FoundList::SetTicked(size_t index, bool ticked) {
  if (index >= Count() || Ticked(index) == ticked) return;
  lines_.SetTicked(index, ticked);
  if (listener_) listener_->FindChanged(index);
}

void FoundList::TickAll() {
  for (size_t i = 0; i < Count(); ++i) lines_.SetTicked(i, true);
  if (listener_) listener_->AllFindsChanged();
}

void FoundList::SetMark(size_t index, FindMark mark) {
  if (index >= Count()) return;
  lines_.SetTag(index, static_cast<uint8_t>(mark));
  lines_.SetTicked(index, false);
  if (listener_) listener_->FindChanged(index);
}

uint64_t FoundList::Print(const FileIdentity& identity, bool withId) const {
  uint64_t h = Mix(key_ ^ identity.size);
  h = Mix(h ^ identity.lastWrite);
  if (withId) h = Mix(Mix(h ^ identity.id.volume) ^ identity.id.index);
  return (h & ~kWithId) | (withId ? kWithId : 0);
}

bool FoundList::Matches(size_t index, const FileIdentity& now) const {
  if (index >= prints_.size()) return false;
  const uint64_t print = prints_[index];
  return Print(now, (print & kWithId) != 0) == print;
}

}  // namespace krelmix
