#pragma once
// The entries of a value list, in order. They are held in blocks of at most
// kMaxBlock entries: an insertion or deletion moves the entries of one block
// only, and a search bisects a compact copy of the blocks' first values
// before it enters a single block. A plain array of entries would move half
// the list on every insertion and touch a scattered entry on every step of a
// search.

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "data/types/value.h"
#include "platform/rtl/object.h"

namespace tv {

// One entry of a value list: its text, value and object.
struct TValueItem {
  TValue Value;
  std::string String;
  TObject* Object = nullptr;
};

// The entries of a value list, kept in blocks so that inserting moves little.
class TValueItems {
 public:
  int Count() const { return count_; }
  // Index must lie in 0 ... Count - 1; the caller checks.
  TValueItem& At(int index);
  const TValueItem& At(int index) const;
  // Index in 0 ... Count.
  void Insert(int index, TValueItem item);
  void Erase(int index);
  void Clear();
  // Call after the value of entry Index changed: first values are copied.
  void ValueChanged(int index);

  // The first position whose value Below does not accept, for a Below that
  // accepts a leading run of the entries (a sorted list's "sorts before"),
  // and the entry there (null at the end).
  template <class Below>
  int PartitionPoint(Below below, const TValueItem*& item) const {
    item = nullptr;
    if (heads_.empty()) {  // one block at most
      if (blocks_.empty()) return 0;
      const auto& items = blocks_.front();
      const auto inside = std::partition_point(
          items.begin(), items.end(), [&below](const TValueItem& entry) { return below(entry.Value); });
      if (inside != items.end()) item = &*inside;
      return static_cast<int>(inside - items.begin());
    }
    auto block = static_cast<std::size_t>(
        std::partition_point(heads_.begin(), heads_.end(),
                             [&below](const THead& head) { return below(head.First); }) -
        heads_.begin());
    if (block == 0) {
      if (count_ > 0) item = &blocks_[0].front();
      return 0;
    }
    const auto& items = blocks_[--block];
    const auto inside = std::partition_point(
        items.begin(), items.end(), [&below](const TValueItem& entry) { return below(entry.Value); });
    if (inside != items.end())
      item = &*inside;
    else if (block + 1 < blocks_.size())
      item = &blocks_[block + 1].front();
    return heads_[block].Start + static_cast<int>(inside - items.begin());
  }

  // Every entry in order, moved out; the storage is left empty.
  std::vector<TValueItem> TakeAll();
  void Assign(std::vector<TValueItem> items);

 private:
  static constexpr std::size_t kMaxBlock = 64;
  static constexpr std::size_t kFirstBlock = 4;
  struct TPlace {
    std::size_t block, offset;
  };
  TPlace Locate(int index) const;
  void Refresh(std::size_t block);
  void ShiftStarts(std::size_t afterBlock, int delta);

  // Where each block starts and its first value, side by side: a search
  // bisects these before it enters one block. None while there is one block
  // (most lists are a key tree's few children); one per block after.
  struct THead {
    int Start;
    TValue First;
  };

  std::vector<std::vector<TValueItem>> blocks_;
  std::vector<THead> heads_;
  int count_ = 0;
};

}  // namespace tv
