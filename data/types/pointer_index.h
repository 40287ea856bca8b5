#pragma once
// A hash map from object references to small integers: open addressing with
// linear probing over a power-of-two table, hashed by multiplication. It
// needs no division and no node per entry, which is what a lookup that runs
// for every key of a container must avoid.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tv {

// Open-addressing set of addresses, the index behind TIndexContainer.
class TPointerIndex {
 public:
  // Null when Key is not there.
  const int* Find(const void* key) const {
    if (entries_.empty()) return nullptr;
    for (std::size_t i = Home(key);; i = (i + 1) & mask_) {
      const TEntry& entry = entries_[i];
      if (entry.Key == key) return &entry.Value;
      if (!entry.Key) return nullptr;
    }
  }
  // Adds Key or replaces its value. Key must not be null.
  void Set(const void* key, int value);
  void Erase(const void* key);
  void Clear();
  int Size() const { return size_; }

 private:
  struct TEntry {
    const void* Key = nullptr;
    int Value = 0;
  };
  std::size_t Home(const void* key) const {
    const std::uint64_t hash =
        static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key)) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(hash >> shift_);
  }
  void Grow();

  std::vector<TEntry> entries_;
  std::size_t mask_ = 0;
  unsigned shift_ = 64;
  int size_ = 0;
};

}  // namespace tv
