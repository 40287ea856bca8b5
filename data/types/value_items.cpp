#include "data/types/value_items.h"

namespace tv {

TValueItems::TPlace TValueItems::Locate(int index) const {
  if (heads_.empty()) return {0, static_cast<std::size_t>(index)};
  const auto after = std::upper_bound(heads_.begin(), heads_.end(), index,
                                      [](int wanted, const THead& head) { return wanted < head.Start; });
  const auto block = static_cast<std::size_t>(after - heads_.begin() - 1);
  return {block, static_cast<std::size_t>(index - heads_[block].Start)};
}

TValueItem& TValueItems::At(int index) {
  const TPlace place = Locate(index);
  return blocks_[place.block][place.offset];
}

const TValueItem& TValueItems::At(int index) const {
  const TPlace place = Locate(index);
  return blocks_[place.block][place.offset];
}

void TValueItems::Refresh(std::size_t block) {
  if (!heads_.empty()) heads_[block].First = blocks_[block].front().Value;
}

void TValueItems::ShiftStarts(std::size_t afterBlock, int delta) {
  for (std::size_t b = afterBlock + 1; b < heads_.size(); ++b) heads_[b].Start += delta;
}

void TValueItems::Insert(int index, TValueItem item) {
  if (blocks_.empty()) {
    // Most lists are a key tree's few children: room for them at once
    // instead of growing one by one.
    blocks_.emplace_back().reserve(kFirstBlock);
  }
  TPlace place = index == count_ ? TPlace{blocks_.size() - 1, blocks_.back().size()} : Locate(index);
  auto& items = blocks_[place.block];
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(place.offset), std::move(item));
  ++count_;
  ShiftStarts(place.block, 1);
  if (items.size() > kMaxBlock) {
    // Split in halves: the new block follows this one. The first block's
    // head is made now: a single block needs none.
    if (heads_.empty()) heads_.push_back(THead{0, items.front().Value});
    std::vector<TValueItem> upper(std::make_move_iterator(items.begin() + kMaxBlock / 2),
                                  std::make_move_iterator(items.end()));
    items.resize(kMaxBlock / 2);
    const auto next = static_cast<std::ptrdiff_t>(place.block + 1);
    blocks_.insert(blocks_.begin() + next, std::move(upper));
    heads_.insert(heads_.begin() + next,
                  THead{heads_[place.block].Start + static_cast<int>(kMaxBlock / 2), TValue{}});
    Refresh(place.block + 1);
  }
  if (place.offset == 0) Refresh(place.block);
}

void TValueItems::Erase(int index) {
  const TPlace place = Locate(index);
  auto& items = blocks_[place.block];
  items.erase(items.begin() + static_cast<std::ptrdiff_t>(place.offset));
  --count_;
  ShiftStarts(place.block, -1);
  if (items.empty()) {
    const auto at = static_cast<std::ptrdiff_t>(place.block);
    blocks_.erase(blocks_.begin() + at);
    if (!heads_.empty()) heads_.erase(heads_.begin() + at);
  } else if (place.offset == 0) {
    Refresh(place.block);
  }
}

void TValueItems::Clear() {
  blocks_.clear();
  heads_.clear();
  count_ = 0;
}

void TValueItems::ValueChanged(int index) {
  const TPlace place = Locate(index);
  if (place.offset == 0) Refresh(place.block);
}

std::vector<TValueItem> TValueItems::TakeAll() {
  std::vector<TValueItem> all;
  all.reserve(static_cast<std::size_t>(count_));
  for (auto& block : blocks_)
    for (auto& item : block) all.push_back(std::move(item));
  Clear();
  return all;
}

void TValueItems::Assign(std::vector<TValueItem> items) {
  Clear();
  // Blocks half full, so that the next insertions do not split at once.
  for (std::size_t first = 0; first < items.size(); first += kMaxBlock / 2) {
    const std::size_t last = std::min(items.size(), first + kMaxBlock / 2);
    blocks_.emplace_back(std::make_move_iterator(items.begin() + static_cast<std::ptrdiff_t>(first)),
                         std::make_move_iterator(items.begin() + static_cast<std::ptrdiff_t>(last)));
    heads_.push_back(THead{static_cast<int>(first), blocks_.back().front().Value});
  }
  count_ = static_cast<int>(items.size());
}

}  // namespace tv
