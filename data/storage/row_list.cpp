#include <algorithm>

#include "data/elements/data_error.h"
#include "data/storage/abstract_row_storage.h"

namespace tv {

// --- the row list

void TAbstractRowStorage::SetCustomOrder(const TRowSortOrder* order) {
  customOrder_ = order;
  currentOrder_ = order ? *order : treeOrder_;
  InvalidateRowList();
}

void TAbstractRowStorage::SetPlaceSubTotalsAfter(bool after) {
  subTotalsAfter_ = after;
  InvalidateRowList();
}

void TAbstractRowStorage::SetAllLevelsVisible(bool visible) {
  for (const auto& key : tree_) key->SetVisible(visible);
}

int TAbstractRowStorage::RowCount() {
  if (!rowListValid_) RebuildRowList();
  return static_cast<int>(rowList_.size());
}

TDataRow* TAbstractRowStorage::GetDataRow(int idx) {
  TAbstractRow* row = GetRow(idx);
  return row->IsDataRow() ? static_cast<TDataRow*>(row) : nullptr;
}

TAbstractRow* TAbstractRowStorage::GetRow(int idx) {
  const int count = RowCount();
  if (idx < 0 || idx >= count)
    RequireElements(false, std::string("TRowStorage.GetRow: (idx >= 0) and (idx < FRowList.Count), idx: ")
                               .append(std::to_string(idx))
                               .append(", FRowList.Count: ")
                               .append(std::to_string(count)));
  return rowList_[static_cast<std::size_t>(idx)];
}

void TAbstractRowStorage::RebuildRowList() {
  rowList_.clear();
  for (const auto& row : pending_) rowList_.push_back(row.get());
  Collect(*root_, rowList_, customOrder_ == nullptr);
  if (customOrder_ && !rowList_.empty())
    SortRows(rowList_, static_cast<int>(pending_.size()), static_cast<int>(rowList_.size()) - 1);
  rowListValid_ = true;
}

void TAbstractRowStorage::Collect(TAbstractRow& row, std::vector<TAbstractRow*>& list, bool ordered) {
  if (row.IsDataRow()) {
    if (row.Visible()) list.push_back(&row);
    return;
  }
  auto& node = static_cast<TSubTotalRow&>(row);
  // A custom order sorts data rows only: nodes have no place in it.
  const bool listNode = node.Visible() && customOrder_ == nullptr;
  if (listNode && !subTotalsAfter_) list.push_back(&node);
  std::vector<TAbstractRow*> children;
  for (int i = 0; i < node.ChildCount(); ++i) children.push_back(node.Child(i));
  if (ordered && node.Level() < KeyLevels()) {
    const TRowStorageTreeKey& key = *tree_[static_cast<std::size_t>(node.Level())];
    if (key.SortField() && key.SortField() != key.Field()) {
      std::stable_sort(
          children.begin(), children.end(), [&key](const TAbstractRow* a, const TAbstractRow* b) {
            const TValue va = a->GetFieldValue(key.SortField()), vb = b->GetFieldValue(key.SortField());
            return key.SortField()->DataType()->Compare(va, vb) < 0;
          });
    }
    if (key.SortOrder() == TSortOrder::soDescending) std::reverse(children.begin(), children.end());
  }
  for (TAbstractRow* child : children) Collect(*child, list, ordered);
  if (listNode && subTotalsAfter_) list.push_back(&node);
}

void TAbstractRowStorage::SortRows(std::vector<TAbstractRow*>& rows, int lo, int hi) {
  // Three-way quicksort with a random pivot: equal rows gather beside the
  // pivot and take no further part.
  while (hi > lo) {
    if (hi - lo == 1) {
      if (rows[static_cast<std::size_t>(hi)]->Before(rows[static_cast<std::size_t>(lo)], &currentOrder_) < 0)
        std::swap(rows[static_cast<std::size_t>(lo)], rows[static_cast<std::size_t>(hi)]);
      return;
    }
    std::uniform_int_distribution<int> pick(lo, hi - 1);
    std::swap(rows[static_cast<std::size_t>(pick(random_))], rows[static_cast<std::size_t>(hi)]);
    TAbstractRow* pivot = rows[static_cast<std::size_t>(hi)];
    int less = lo, equalFrom = hi;
    for (int i = hi - 1; i >= less;) {
      const int c = rows[static_cast<std::size_t>(i)]->Before(pivot, &currentOrder_);
      if (c < 0) {
        std::swap(rows[static_cast<std::size_t>(i)], rows[static_cast<std::size_t>(less)]);
        ++less;
      } else if (c == 0) {
        std::swap(rows[static_cast<std::size_t>(i)], rows[static_cast<std::size_t>(--equalFrom)]);
        --i;
      } else {
        --i;
      }
    }
    // rows[lo, less) below, [less, equalFrom) above, [equalFrom, hi] equal:
    // the equal block moves into the middle.
    std::rotate(rows.begin() + less, rows.begin() + equalFrom, rows.begin() + hi + 1);
    const int equalEnd = less + (hi + 1 - equalFrom);
    SortRows(rows, lo, less - 1);
    lo = equalEnd;
  }
}

TDataRow* TAbstractRowStorage::First() {
  iteration_.clear();
  for (int i = 0; i < RowCount(); ++i)
    if (TDataRow* row = GetDataRow(i)) iteration_.push_back(row);
  cursor_ = 0;
  return Next();
}

TDataRow* TAbstractRowStorage::Next() {
  return cursor_ < iteration_.size() ? iteration_[cursor_++] : nullptr;
}

}  // namespace tv
