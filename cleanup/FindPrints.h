#pragma once
// What each find was when the search listed it, kept in eight bytes per find: a keyed
// fingerprint of its identity (volume, file id, size, last-write time). A million finds cost
// 8 MB, where the identities themselves would cost 32 MB and, with the found list's text, more
// than the whole program may take.
//
// A deletion holds the file as it is then against the print. A different file, or the same file
// changed, matches a print only by a chance of one in 2^63 per file; the key is drawn afresh for
// every store and never leaves the process, so no file can be made to match on purpose.
#include <cstddef>
#include <cstdint>
#include <deque>

#include "platform/FileSystem.h"

namespace krelmix {

class FindPrints {
 public:
  FindPrints();
  size_t Count() const { return prints_.size(); }
  void Clear() { prints_.clear(); }
  void Add(const FileIdentity& identity);
  // True when `now` is the file that find `index` was: its id too when the listing gave one.
  bool Matches(size_t index, const FileIdentity& now) const;

 private:
  uint64_t Print(const FileIdentity& identity, bool withId) const;
  uint64_t key_;
  std::deque<uint64_t> prints_;  // grows without copying what it holds
};

}  // namespace krelmix
