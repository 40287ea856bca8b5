#include "data/types/value_items.h"

namespace tv {

TValueItems::TPlace TValueItems::Locate(int index) const {
  const auto block =
      static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), index) - starts_.begin() - 1);
  return {block, static_cast<std::size_t>(index - starts_[block])};
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
  firsts_[block] = blocks_[block].front().Value;
}

void TValueItems::ShiftStarts(std::size_t afterBlock, int delta) {
  for (std::size_t b = afterBlock + 1; b < starts_.size(); ++b) starts_[b] += delta;
}

void TValueItems::Insert(int index, TValueItem item) {
  if (blocks_.empty()) {
    // Most lists are a key tree's few children: room for them at once
    // instead of growing one by one.
    blocks_.emplace_back().reserve(kFirstBlock);
    starts_.push_back(0);
    firsts_.emplace_back();
  }
  TPlace place = index == count_ ? TPlace{blocks_.size() - 1, blocks_.back().size()} : Locate(index);
  auto& items = blocks_[place.block];
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(place.offset), std::move(item));
  ++count_;
  ShiftStarts(place.block, 1);
  if (items.size() > kMaxBlock) {
    // Split in halves: the new block follows this one.
    std::vector<TValueItem> upper(std::make_move_iterator(items.begin() + kMaxBlock / 2),
                                  std::make_move_iterator(items.end()));
    items.resize(kMaxBlock / 2);
    const auto next = static_cast<std::ptrdiff_t>(place.block + 1);
    blocks_.insert(blocks_.begin() + next, std::move(upper));
    starts_.insert(starts_.begin() + next, starts_[place.block] + static_cast<int>(kMaxBlock / 2));
    firsts_.insert(firsts_.begin() + next, TValue{});
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
    starts_.erase(starts_.begin() + at);
    firsts_.erase(firsts_.begin() + at);
  } else if (place.offset == 0) {
    Refresh(place.block);
  }
}

void TValueItems::Clear() {
  blocks_.clear();
  starts_.clear();
  firsts_.clear();
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
    starts_.push_back(static_cast<int>(first));
    firsts_.push_back(blocks_.back().front().Value);
  }
  count_ = static_cast<int>(items.size());
}

}  // namespace tv
