#include "data/types/index_container.h"

#include <cstdint>

#include "platform/rtl/exception.h"

namespace tv {

TIndexContainer::TIndexContainer(int bucketCount, bool withData)
    : bucketCount_(bucketCount < 1 ? 1 : bucketCount),
      withData_(withData),
      overflowPerBucket_(static_cast<std::size_t>(bucketCount_), 0) {}

std::size_t TIndexContainer::BucketOf(const TObject* key) const {
  return reinterpret_cast<std::uintptr_t>(key) % static_cast<std::uintptr_t>(bucketCount_);
}

const TIndexContainer::TSlot* TIndexContainer::Lookup(const TObject* key) const {
  if (!key) return nullptr;
  const std::size_t bucket = BucketOf(key);
  if (bucket < buckets_.size() && buckets_[bucket].Key == key) return &buckets_[bucket];
  if (overflowPerBucket_[bucket] == 0) return nullptr;
  const auto at = overflowIndex_.find(key);
  return at == overflowIndex_.end() ? nullptr : &overflow_[at->second];
}

bool TIndexContainer::Contains(const TObject* key) const { return Lookup(key) != nullptr; }

bool TIndexContainer::Find(const TObject* key, TObject*& data) const {
  const TSlot* slot = Lookup(key);
  data = slot ? slot->Data : nullptr;
  return slot != nullptr;
}

void TIndexContainer::AddWithData(TObject* key, TObject* data) {
  if (!key) throw Exception("TIndexContainer.Add: nil is not allowed as Index!");
  if (!withData_) data = nullptr;
  const std::size_t bucket = BucketOf(key);
  if (bucket >= buckets_.size()) buckets_.resize(bucket + 1);
  TSlot& slot = buckets_[bucket];
  if (!slot.Key) {
    slot = TSlot{key, data};
    ++bucketsLive_;
  } else if (slot.Key == key) {
    if (withData_) slot.Data = data;
  } else if (const auto at = overflowIndex_.find(key); at != overflowIndex_.end()) {
    if (withData_) overflow_[at->second].Data = data;
  } else {
    overflowIndex_.emplace(key, overflow_.size());
    overflow_.push_back(TSlot{key, data});
    ++overflowPerBucket_[bucket];
    ++overflowLive_;
  }
}

void TIndexContainer::EraseOverflow(std::size_t position) {
  TSlot& slot = overflow_[position];
  overflowIndex_.erase(slot.Key);
  --overflowPerBucket_[BucketOf(slot.Key)];
  --overflowLive_;
  slot = TSlot{};
  // Holes are squeezed out once they outnumber the keys, keeping the order.
  const std::size_t holes = overflow_.size() - static_cast<std::size_t>(overflowLive_);
  if (holes > 32 && holes > static_cast<std::size_t>(overflowLive_)) {
    std::erase_if(overflow_, [](const TSlot& s) { return !s.Key; });
    for (std::size_t i = 0; i < overflow_.size(); ++i) overflowIndex_[overflow_[i].Key] = i;
  }
}

bool TIndexContainer::Remove(TObject* key) {
  TObject* data = nullptr;
  return RemoveWithData(key, data);
}

bool TIndexContainer::RemoveWithData(TObject* key, TObject*& data) {
  data = nullptr;
  if (!key) return false;
  const std::size_t bucket = BucketOf(key);
  if (bucket < buckets_.size() && buckets_[bucket].Key == key) {
    data = buckets_[bucket].Data;
    buckets_[bucket] = TSlot{};
    --bucketsLive_;
    if (overflowPerBucket_[bucket] > 0) {
      for (std::size_t i = 0; i < overflow_.size(); ++i)
        if (overflow_[i].Key && BucketOf(overflow_[i].Key) == bucket) {
          buckets_[bucket] = overflow_[i];
          ++bucketsLive_;
          EraseOverflow(i);
          break;
        }
    }
    return true;
  }
  const auto at = overflowIndex_.find(key);
  if (at == overflowIndex_.end()) return false;
  data = overflow_[at->second].Data;
  EraseOverflow(at->second);
  return true;
}

void TIndexContainer::Clear() {
  buckets_.clear();
  overflow_.clear();
  overflowIndex_.clear();
  std::fill(overflowPerBucket_.begin(), overflowPerBucket_.end(), 0);
  bucketsLive_ = overflowLive_ = 0;
}

void TIndexContainer::ClearAndFreeData() {
  for (const TSlot& slot : buckets_) delete slot.Data;
  for (const TSlot& slot : overflow_) delete slot.Data;
  Clear();
}

// --- TIndexContainerIterator

TIndexContainerIterator::TIndexContainerIterator(const TIndexContainer& container) : container_(container) {
  Settle();
}

void TIndexContainerIterator::Settle() {
  const auto& slots = inOverflow_ ? container_.overflow_ : container_.buckets_;
  while (position_ < slots.size() && !slots[position_].Key) ++position_;
  if (position_ < slots.size()) {
    key_ = slots[position_].Key;
    data_ = slots[position_].Data;
    return;
  }
  if (!inOverflow_) {
    inOverflow_ = true;
    position_ = 0;
    Settle();
    return;
  }
  key_ = data_ = nullptr;
  atEnd_ = true;
}

void TIndexContainerIterator::Next() {
  if (atEnd_) return;
  ++position_;
  Settle();
}

}  // namespace tv
