#include "cleanup/FindPrints.h"

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
}  // namespace

FindPrints::FindPrints() {
  std::random_device source;
  key_ = (static_cast<uint64_t>(source()) << 32) ^ source();
}

uint64_t FindPrints::Print(const FileIdentity& identity, bool withId) const {
  uint64_t h = Mix(key_ ^ identity.size);
  h = Mix(h ^ identity.lastWrite);
  if (withId) h = Mix(Mix(h ^ identity.id.volume) ^ identity.id.index);
  return (h & ~kWithId) | (withId ? kWithId : 0);
}

void FindPrints::Add(const FileIdentity& identity) { prints_.push_back(Print(identity, identity.id.Known())); }

bool FindPrints::Matches(size_t index, const FileIdentity& now) const {
  if (index >= prints_.size()) return false;
  const uint64_t print = prints_[index];
  return Print(now, (print & kWithId) != 0) == print;
}

}  // namespace krelmix
