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
  const int* place = key ? places_.Find(key) : nullptr;
  if (!place) return nullptr;
  return *place >= 0 ? &buckets_[static_cast<std::size_t>(*place)]
                     : &overflow_[static_cast<std::size_t>(-1 - *place)];
}

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
  if (const int* place = places_.Find(key)) {
    TSlot& held = *place >= 0 ? buckets_[static_cast<std::size_t>(*place)]
                              : overflow_[static_cast<std::size_t>(-1 - *place)];
    if (withData_) held.Data = data;
  } else if (!buckets_[bucket].Key) {
    buckets_[bucket] = TSlot{key, data};
    places_.Set(key, static_cast<int>(bucket));
    ++bucketsLive_;
  } else {
    places_.Set(key, OverflowPlace(overflow_.size()));
    overflow_.push_back(TSlot{key, data});
    ++overflowPerBucket_[bucket];
    ++overflowLive_;
  }
}

void TIndexContainer::EraseOverflow(std::size_t position) {
  TSlot& slot = overflow_[position];
  places_.Erase(slot.Key);
  --overflowPerBucket_[BucketOf(slot.Key)];
  --overflowLive_;
  slot = TSlot{};
  // Holes are squeezed out once they outnumber the keys, keeping the order.
  const std::size_t holes = overflow_.size() - static_cast<std::size_t>(overflowLive_);
  if (holes > 32 && holes > static_cast<std::size_t>(overflowLive_)) {
    std::erase_if(overflow_, [](const TSlot& s) { return !s.Key; });
    for (std::size_t i = 0; i < overflow_.size(); ++i) places_.Set(overflow_[i].Key, OverflowPlace(i));
  }
}

bool TIndexContainer::Remove(TObject* key) {
  TObject* data = nullptr;
  return RemoveWithData(key, data);
}

bool TIndexContainer::RemoveWithData(TObject* key, TObject*& data) {
  data = nullptr;
  const int* place = key ? places_.Find(key) : nullptr;
  if (!place) return false;
  if (*place < 0) {
    const auto position = static_cast<std::size_t>(-1 - *place);
    data = overflow_[position].Data;
    EraseOverflow(position);
    return true;
  }
  const auto bucket = static_cast<std::size_t>(*place);
  data = buckets_[bucket].Data;
  buckets_[bucket] = TSlot{};
  places_.Erase(key);
  --bucketsLive_;
  if (overflowPerBucket_[bucket] > 0) {
    for (std::size_t i = 0; i < overflow_.size(); ++i)
      if (overflow_[i].Key && BucketOf(overflow_[i].Key) == bucket) {
        const TSlot moved = overflow_[i];
        EraseOverflow(i);
        buckets_[bucket] = moved;
        places_.Set(moved.Key, static_cast<int>(bucket));
        ++bucketsLive_;
        break;
      }
  }
  return true;
}

void TIndexContainer::Clear() {
  buckets_.clear();
  overflow_.clear();
  places_.Clear();
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
