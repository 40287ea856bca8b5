#include "data/types/pointer_index.h"

namespace tv {

void TPointerIndex::Grow() {
  std::vector<TEntry> old = std::move(entries_);
  const std::size_t capacity = old.empty() ? 16 : old.size() * 2;
  entries_.assign(capacity, TEntry{});
  mask_ = capacity - 1;
  shift_ = 64;
  for (std::size_t c = capacity; c > 1; c >>= 1) --shift_;
  size_ = 0;
  for (const TEntry& entry : old)
    if (entry.Key) Set(entry.Key, entry.Value);
}

void TPointerIndex::Set(const void* key, int value) {
  // At most three quarters full, so that probe runs stay short.
  if (static_cast<std::size_t>(size_ + 1) * 4 > entries_.size() * 3) Grow();
  for (std::size_t i = Home(key);; i = (i + 1) & mask_) {
    TEntry& entry = entries_[i];
    if (entry.Key == key) {
      entry.Value = value;
      return;
    }
    if (!entry.Key) {
      entry = TEntry{key, value};
      ++size_;
      return;
    }
  }
}

void TPointerIndex::Erase(const void* key) {
  if (entries_.empty()) return;
  std::size_t hole = Home(key);
  while (entries_[hole].Key != key) {
    if (!entries_[hole].Key) return;
    hole = (hole + 1) & mask_;
  }
  // Moves later entries of the run back into the hole, so that no probe
  // run is broken by it.
  for (std::size_t next = (hole + 1) & mask_; entries_[next].Key; next = (next + 1) & mask_) {
    const std::size_t home = Home(entries_[next].Key);
    const bool reachable = hole <= next ? (home <= hole || home > next) : (home <= hole && home > next);
    if (reachable) {
      entries_[hole] = entries_[next];
      hole = next;
    }
  }
  entries_[hole] = TEntry{};
  --size_;
}

void TPointerIndex::Clear() {
  entries_.clear();
  mask_ = 0;
  shift_ = 64;
  size_ = 0;
}

}  // namespace tv
