#include "data/types/index_container.h"

#include <cstdint>

#include "platform/rtl/exception.h"

namespace tv {

TIndexContainer::TIndexContainer(int bucketCount, bool withData)
    : bucketCount_(bucketCount < 1 ? 1 : bucketCount), withData_(withData) {}

std::size_t TIndexContainer::BucketOf(const TObject* key) const {
  return reinterpret_cast<std::uintptr_t>(key) % static_cast<std::uintptr_t>(bucketCount_);
}

bool TIndexContainer::Find(const TObject* key, TObject*& data) const {
  const int* place = key ? places_.Find(key) : nullptr;
  data = place == nullptr ? nullptr
         : *place >= 0    ? BucketData(static_cast<std::size_t>(*place))
                          : overflow_[static_cast<std::size_t>(-1 - *place)].Data;
  return place != nullptr;
}

void TIndexContainer::AddWithData(TObject* key, TObject* data) {
  if (!key) throw Exception("TIndexContainer.Add: nil is not allowed as Index!");
  if (!withData_) data = nullptr;
  const std::size_t bucket = BucketOf(key);
  if (bucket >= bucketKeys_.size()) {
    bucketKeys_.resize(bucket + 1);
    if (withData_) bucketData_.resize(bucket + 1);
  }
  if (const int* place = places_.Find(key)) {
    if (!withData_) return;
    if (*place >= 0)
      bucketData_[static_cast<std::size_t>(*place)] = data;
    else
      overflow_[static_cast<std::size_t>(-1 - *place)].Data = data;
  } else if (!bucketKeys_[bucket]) {
    bucketKeys_[bucket] = key;
    if (withData_) bucketData_[bucket] = data;
    places_.Set(key, static_cast<int>(bucket));
    ++bucketsLive_;
  } else {
    places_.Set(key, OverflowPlace(overflow_.size()));
    overflow_.push_back(TSlot{key, data});
    // Counted from the first key that overflows: most containers never have one.
    if (overflowPerBucket_.empty()) overflowPerBucket_.assign(static_cast<std::size_t>(bucketCount_), 0);
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
  data = BucketData(bucket);
  bucketKeys_[bucket] = nullptr;
  if (withData_) bucketData_[bucket] = nullptr;
  places_.Erase(key);
  --bucketsLive_;
  if (overflowLive_ > 0 && overflowPerBucket_[bucket] > 0) {
    for (std::size_t i = 0; i < overflow_.size(); ++i)
      if (overflow_[i].Key && BucketOf(overflow_[i].Key) == bucket) {
        const TSlot moved = overflow_[i];
        EraseOverflow(i);
        bucketKeys_[bucket] = moved.Key;
        if (withData_) bucketData_[bucket] = moved.Data;
        places_.Set(moved.Key, static_cast<int>(bucket));
        ++bucketsLive_;
        break;
      }
  }
  return true;
}

void TIndexContainer::Clear() {
  bucketKeys_.clear();
  bucketData_.clear();
  overflow_.clear();
  places_.Clear();
  std::fill(overflowPerBucket_.begin(), overflowPerBucket_.end(), 0);
  bucketsLive_ = overflowLive_ = 0;
}

void TIndexContainer::ClearAndFreeData() {
  for (TObject* data : bucketData_) delete data;
  for (const TSlot& slot : overflow_) delete slot.Data;
  Clear();
}

// --- TIndexContainerIterator

TIndexContainerIterator::TIndexContainerIterator(const TIndexContainer& container) : container_(container) {
  Settle();
}

void TIndexContainerIterator::Settle() {
  if (!inOverflow_) {
    const auto& keys = container_.bucketKeys_;
    while (position_ < keys.size() && !keys[position_]) ++position_;
    if (position_ < keys.size()) {
      key_ = keys[position_];
      data_ = container_.BucketData(position_);
      return;
    }
  } else {
    const auto& slots = container_.overflow_;
    while (position_ < slots.size() && !slots[position_].Key) ++position_;
    if (position_ < slots.size()) {
      key_ = slots[position_].Key;
      data_ = slots[position_].Data;
      return;
    }
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
