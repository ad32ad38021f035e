#pragma once
// The found list: one record per find, kept by the engine. The search appends to it, the
// deletion walks it and marks what became of each find, and the main window's list shows it and
// writes the user's ticks into it. A record is the find's path and tick (in a LineStore, twelve
// bytes besides the text, a folder's text kept once for all its finds), its mark (the store's
// tag) and an eight-byte print of what the file was when it was found.
//
// The print is a keyed fingerprint of the file's identity (volume, file id, size, last-write
// time): a million finds cost 8 MB, where the identities themselves would cost 32 MB. A
// deletion holds the file as it is then against it. A different file, or the same file changed,
// matches a print only by a chance of one in 2^63 per file; the key is drawn afresh for every list
// and never leaves the process, so no file can be made to match on purpose.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/LineStore.h"

namespace krelmix {

// What became of a find's file; the list shows it after the path.
enum class FindMark : uint8_t { None, Deleted, Failed };

// Who shows the list is told of every change, whoever made it.
class FoundListListener {
 public:
  virtual void FindsAdded() = 0;  // finds were appended
  virtual void FindChanged(size_t index) = 0;
  virtual void AllFindsChanged() = 0;  // the same finds, every tick set
  virtual void FindsCleared() = 0;

 protected:
  ~FoundListListener() = default;
};

class FoundList {
 public:
  FoundList();
  FoundList(const FoundList&) = delete;
  FoundList& operator=(const FoundList&) = delete;

  void SetListener(FoundListListener* listener) { listener_ = listener; }

  size_t Count() const { return lines_.Count(); }
  void Clear();
  // Appends an unticked, unmarked find.
  void Add(std::wstring_view path, const FileIdentity& identity);

  std::wstring Path(size_t index) const { return lines_.Text(index); }
  // The line shown: the path and its mark.
  std::wstring Text(size_t index) const;
  size_t TextLength(size_t index) const;
  // Writes Text(index) and a terminating zero to `out`, which holds TextLength(index) + 1.
  size_t CopyText(size_t index, wchar_t* out) const;

  bool Ticked(size_t index) const { return lines_.Ticked(index); }
  void SetTicked(size_t index, bool ticked);
  void TickAll();
  FindMark Mark(size_t index) const { return static_cast<FindMark>(lines_.Tag(index)); }
  // Marks the find; a marked find is unticked, as there is nothing more to do with it.
  void SetMark(size_t index, FindMark mark);

  // True when `now` is the file that find `index` was: its id too when the listing gave one.
  bool Matches(size_t index, const FileIdentity& now) const;

 private:
  uint64_t Print(const FileIdentity& identity, bool withId) const;
  LineStore lines_;
  uint64_t key_;
  std::deque<uint64_t> prints_;  // grows without copying what it holds
  FoundListListener* listener_ = nullptr;
};

}  // namespace krelmix
