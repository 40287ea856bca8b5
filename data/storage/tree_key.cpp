#include "data/storage/tree_key.h"

#include "data/elements/data_error.h"
#include "data/storage/abstract_row_storage.h"

namespace tv {

// --- TRowStorageTreeKey

TRowStorageTreeKey::TRowStorageTreeKey(const TDataField* field)
    : field_(field),
      sortField_(field ? const_cast<TDataField*>(field)->SortField() : nullptr),
      sortOrder_(field ? field->SortOrder : TSortOrder::soAscending),
      visible_(field == nullptr) {}

void TRowStorageTreeKey::SetTable(TAbstractRowStorage* storage, const TDataTable& table, int levelIndex) {
  storage_ = storage;
  levelIndex_ = levelIndex;
  fieldIndex_ = field_ ? table.IndexOfField(field_) : -1;
}

void TRowStorageTreeKey::SetVisible(bool visible) {
  visible_ = visible;
  if (!storage_) return;
  // The rows of this level: its nodes, or the data rows for the last level.
  std::vector<TAbstractRow*> rows;
  std::vector<TAbstractRow*> nodes{&storage_->Root()};
  while (!nodes.empty()) {
    auto* node = static_cast<TSubTotalRow*>(nodes.back());
    nodes.pop_back();
    if (node->Level() == levelIndex_) rows.push_back(node);
    for (int i = 0; i < node->ChildCount(); ++i) {
      TAbstractRow* child = node->Child(i);
      if (child->IsDataRow()) {
        if (!field_) rows.push_back(child);
      } else {
        nodes.push_back(child);
      }
    }
  }
  for (TAbstractRow* row : rows) row->SetVisible(visible);
  storage_->Touch();
}

TValue TRowStorageTreeKey::GetString(const TAbstractRow* row) const {
  RequireElements(row != nullptr, "TRowStorageTreeKey.GetString: ARow <> nil");
  if (fieldIndex_ >= 0) return row->IndexValue(fieldIndex_);
  if (row->IsDataRow()) return row->GetFieldValue(field_);
  if (dynamic_cast<const TSubTotalRow*>(row))
    ReportDataError(desFatal, "RowStorageTree", "Fatal error: RowStorageTree has become corrupt!");
  ReportDataError(desFatal, "Row", "Invalid RowType: " + row->ClassName());
  return {};
}

}  // namespace tv
