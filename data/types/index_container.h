#pragma once
// TIndexContainer: a set of object references, optionally each with a data
// object, kept in a fixed number of hash buckets by reference. A reference
// whose bucket is taken goes to the overflow list, which keeps insertion
// order. Every reference is also indexed by where it sits, so that a
// container holding many more references than buckets still answers in
// constant time.

#include <cstddef>
#include <vector>

#include "data/types/pointer_index.h"
#include "platform/rtl/object.h"

namespace tv {

// A set of object references kept by hash for quick membership tests.
class TIndexContainer : public TObject {
  TV_CLASS(TIndexContainer, TObject)
 public:
  // The engine uses 101 buckets. Only a container made WithData keeps the
  // data objects handed to it.
  TIndexContainer(int bucketCount, bool withData);

  // A null key raises "TIndexContainer.Add: nil is not allowed as Index!".
  // A key already held stays once; with data, its data is replaced.
  virtual void Add(TObject* key) { AddWithData(key, nullptr); }
  virtual void AddWithData(TObject* key, TObject* data);
  // Whether the key was held. A key leaving its bucket makes room for the
  // first overflow key of that bucket.
  virtual bool Remove(TObject* key);
  virtual bool RemoveWithData(TObject* key, TObject*& data);
  virtual void Clear();
  // Frees every data object, then clears.
  virtual void ClearAndFreeData();

  bool Contains(const TObject* key) const { return key && places_.Find(key); }
  bool Find(const TObject* key, TObject*& data) const;
  bool IsEmpty() const { return overflowLive_ == 0 && bucketsLive_ == 0; }
  int Count() const { return bucketsLive_ + overflowLive_; }
  int BucketCount() const { return bucketCount_; }
  bool WithData() const { return withData_; }

 private:
  friend class TIndexContainerIterator;
  struct TSlot {
    TObject* Key = nullptr;  // null: empty bucket, or an overflow entry removed
    TObject* Data = nullptr;
  };
  std::size_t BucketOf(const TObject* key) const;
  // A bucket's data; null for a container without data.
  TObject* BucketData(std::size_t bucket) const { return withData_ ? bucketData_[bucket] : nullptr; }
  void EraseOverflow(std::size_t position);
  // The index's value for a place: a bucket number, or -1 - an overflow position.
  static int OverflowPlace(std::size_t position) { return -1 - static_cast<int>(position); }

  int bucketCount_;
  bool withData_;
  // The buckets' keys and, with data, their data, grown on demand up to the
  // bucket in use: apart, so that a container of a few keys (a field's
  // tables) stays below the size at which an allocator searches its larger
  // blocks.
  std::vector<TObject*> bucketKeys_;
  std::vector<TObject*> bucketData_;
  std::vector<TSlot> overflow_;  // insertion order, with holes until compacted
  TPointerIndex places_;
  std::vector<int> overflowPerBucket_;  // overflow keys waiting for each bucket
  int bucketsLive_ = 0;
  int overflowLive_ = 0;
};

// Visits the occupied buckets in bucket order, then the overflow list in
// order. The container must not change while an iterator is in use.
class TIndexContainerIterator : public TObject {
  TV_CLASS(TIndexContainerIterator, TObject)
 public:
  explicit TIndexContainerIterator(const TIndexContainer& container);
  bool AtEnd() const { return atEnd_; }
  TObject* Key() const { return key_; }
  // Null for a container without data.
  TObject* Data() const { return data_; }
  void Next();

 private:
  void Settle();
  const TIndexContainer& container_;
  bool inOverflow_ = false;
  std::size_t position_ = 0;
  TObject* key_ = nullptr;
  TObject* data_ = nullptr;
  bool atEnd_ = false;
};

}  // namespace tv
