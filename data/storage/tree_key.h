#pragma once
// One level of a row storage's key tree.

#include "data/elements/data_row.h"
#include "data/elements/data_table.h"

namespace tv {

class TAbstractRowStorage;

// One level of the key tree: the key field of the level, or none for the
// level of the data rows.
class TRowStorageTreeKey : public TObject {
  TV_CLASS(TRowStorageTreeKey, TObject)
 public:
  explicit TRowStorageTreeKey(const TDataField* field);

  const TDataField* Field() const { return field_; }
  const TDataField* SortField() const { return sortField_; }
  TSortOrder SortOrder() const { return sortOrder_; }
  int LevelIndex() const { return levelIndex_; }
  int FieldIndex() const { return fieldIndex_; }
  bool Visible() const { return visible_; }
  // Sets the Visible flag of every row of this level.
  void SetVisible(bool visible);
  void SetTable(TAbstractRowStorage* storage, const TDataTable& table, int levelIndex);
  // The row's key value for this level.
  TValue GetString(const TAbstractRow* row) const;

 private:
  TAbstractRowStorage* storage_ = nullptr;
  const TDataField* field_;
  const TDataField* sortField_;
  TSortOrder sortOrder_;
  int levelIndex_ = -1;
  int fieldIndex_ = -1;
  bool visible_;
};

}  // namespace tv
