#pragma once
// The rows of one table held in a key tree (one level per key field,
// sub-total rows as inner nodes), put in by key with a put action, found by
// key texts or by a condition, and listed by position. The key tree lives in
// key_tree.cpp, the queries in storage_queries.cpp, the row list by position
// in row_list.cpp.

#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/conditions/criteria.h"
#include "data/elements/data_row.h"
#include "data/elements/data_table.h"
#include "data/storage/row_source.h"
#include "data/storage/tree_key.h"
#include "platform/rtl/datetime.h"

namespace tv {

// The rows of one table in a key tree, found by key or condition and listed by position.
class TAbstractRowStorage : public TRowSource, public TRowStorageLink {
  TV_CLASS(TAbstractRowStorage, TRowSource)
 public:
  // One level per key field in key order, then the level of the data rows.
  TAbstractRowStorage(const TDataTable* dataTable, bool loaded, bool accepting);
  // The given levels (taken over); a level without field is added unless
  // the last one has none.
  TAbstractRowStorage(const TDataTable* dataTable, bool loaded,
                      std::vector<std::unique_ptr<TRowStorageTreeKey>> treeKeysAndOrder, bool accepting);
  ~TAbstractRowStorage() override;

  TDataRow* First() override;
  TDataRow* Next() override;
  const TRowSortOrder& SortOrder() const override { return currentOrder_; }
  void SetCustomOrder(const TRowSortOrder* order);

  int LevelCountOfTree() const { return static_cast<int>(tree_.size()); }
  TRowStorageTreeKey* GetTreeKey(int idx) const;
  TSubTotalRow& Root() { return *root_; }
  bool Accepting() const { return accepting_; }
  TDateTime ChangedAt() const { return DateTimeOf(changedAt_); }
  // Counts every change to which rows the tree holds and under which keys
  // (rows put in or taken out, keys changed, the tree cleared), so that an
  // index over the rows can tell that it is out of date.
  std::uint64_t TreeVersion() const { return treeVersion_; }
  const std::vector<std::unique_ptr<TDataRow>>& DeletedRows() const { return deleted_; }
  int PendingCount() const { return static_cast<int>(pending_.size()); }
  void SetPlaceSubTotalsAfter(bool after);
  void SetAllLevelsVisible(bool visible);

  // The put into the tree from the root: inserted, refused because the key
  // is present, replaced, merged, or an equal row kept.
  // Row is the tree's when placed; refused or failed, it stays in Row.
  virtual TPutResult PutIntoTree(std::unique_ptr<TDataRow>& row, TPutAction action);
  // Takes a row out of the storage; it goes back to its caller, outside any
  // storage (rsExternControlled).
  virtual std::unique_ptr<TDataRow> RemoveRow(TDataRow* row);
  virtual void BeforeQuery() {}
  virtual void BeforeLookup() {}
  // The rows that Criteria accepts (every row without one), in key order.
  std::vector<TDataRow*> Rows(const TCondition* criteria = nullptr);
  // Appends the same rows to a list, each as an entry's object.
  virtual void GetRows(TStrings* results, const TCondition* criteria, bool flag = false);
  virtual void GetRowsByText(TStrings* results, const TCriteria* criteria, const std::string& text,
                             const TDataField* field, bool flag = false);
  virtual int CountRows(const TCondition* criteria);
  // Every data row of the tree in key order, hidden ones too, without a
  // condition to ask: what an index over all rows is built from.
  std::vector<TDataRow*> TreeRows() const;
  // One text per key level in key order; fewer texts are reported and
  // yield no row.
  virtual TDataRow* LocateRow(const std::vector<std::string>& values);
  virtual bool HasRows() const { return root_->ChildCount() > 0 || !pending_.empty(); }
  virtual bool OwnsRow(const TDataRow* row) const;
  virtual TDataRow* FirstDataRow();
  // Several matches are refused with "More than one match!" unless
  // TakeFirst; none yields null.
  TDataRow* FindRow(const TCondition* criteria, bool takeFirst);

  // The row list by position: pending rows first, then the tree in order,
  // visible sub-total rows among them (before their rows, or after them
  // with SetPlaceSubTotalsAfter).
  int RowCount();
  TAbstractRow* GetRow(int idx);
  // The row at a position when it is a data row, else null.
  TDataRow* GetDataRow(int idx);
  void InvalidateRowList() { rowListValid_ = false; }
  virtual void RebuildRowList();

  // The link rows use.
  std::unique_ptr<TDataRow> NewRow() override;
  void TakeOut(TAbstractRow& row) override;
  TSetResult ChangeKey(TDataRow& row, int idx, const TValue& value, TSetAction setAction) override;
  void TakeOver(std::unique_ptr<TDataRow> row) override;
  TPutResult PutRow(TDataRow& row, TPutAction putAction) override;
  void AddDeletedRow(TDataRow& row) override;
  void FreeRow(TDataRow& row) override;
  void RowChanged(TAbstractRow& row, TChangeKind changeKind) override;
  int LastLevel() const override { return static_cast<int>(tree_.size()) - 1; }
  void InvalidateSubTotals(TAbstractRow&) override {}
  void Touch() override;

 protected:
  int KeyLevels() const { return static_cast<int>(tree_.size()) - 1; }
  std::unique_ptr<TSubTotalRow> NewNode(int level) const;
  void ClearTree();
  void KeepDeleted(std::unique_ptr<TDataRow> row);
  void SetAccepting(bool accepting) { accepting_ = accepting; }
  std::unique_ptr<TDataRow> Detach(TDataRow& row);
  bool loaded_;

 private:
  void BuildTree(std::vector<std::unique_ptr<TRowStorageTreeKey>> keys);
  // The put, level by level: a running number given at each level, the
  // last key level placing the row, the levels above descending.
  class TNumbering;
  TPutResult PutIntoNode(TSubTotalRow& node, std::unique_ptr<TDataRow>& row, TPutAction action);
  TPutResult PutIntoLeaf(TSubTotalRow& node, const TValue& value, std::unique_ptr<TDataRow>& row,
                         TPutAction action);
  TPutResult PutBelow(TSubTotalRow& node, const TRowStorageTreeKey& key, const TValue& value,
                      std::unique_ptr<TDataRow>& row, TPutAction action);
  bool DiffersInData(const TDataRow& existing, const TDataRow& row) const;
  void TakePlaceOf(TSubTotalRow& node, const TValue& key, std::unique_ptr<TDataRow>& row, TDataRow& existing);
  // Takes the emptied nodes from Node upwards out of the tree.
  void Prune(TSubTotalRow* node);
  void Collect(TAbstractRow& row, std::vector<TAbstractRow*>& list, bool ordered);
  void SortRows(std::vector<TAbstractRow*>& rows, int lo, int hi);

  std::vector<TDataRow*> iteration_;
  std::size_t cursor_ = 0;
  TRowSortOrder treeOrder_, currentOrder_;
  const TRowSortOrder* customOrder_ = nullptr;
  std::vector<std::unique_ptr<TRowStorageTreeKey>> tree_;
  // A row lives in one of four places, and is owned there:
  // - outside any storage (rsExternControlled): by its creator;
  // - in the key tree: by its parent node (the root by the storage);
  // - taken out for a moment (a key change, a deletion under way): by
  //   detached_, until it goes back into the tree, to deleted_ or is freed;
  // - deleted after it was accepted: by deleted_, until the storage is saved;
  // pending rows (not yet accepted by a load) belong to pending_.
  std::vector<std::unique_ptr<TDataRow>> deleted_;
  std::vector<std::unique_ptr<TDataRow>> pending_;
  std::vector<std::unique_ptr<TDataRow>> detached_;
  bool accepting_;
  // The clock's own moment, read coarsely: a storage is touched on every
  // row it takes, and the local time is worked out only when someone asks.
  std::chrono::system_clock::time_point changedAt_{};
  std::uint64_t treeVersion_ = 0;
  std::unique_ptr<TSubTotalRow> root_;
  std::vector<TAbstractRow*> rowList_;
  bool rowListValid_ = false;
  bool subTotalsAfter_ = false;
  // Pivots only: a small generator, as every storage (a translator makes
  // several per dialog) seeds its own.
  std::minstd_rand random_{20261208};
};

// A row storage that may rebuild its row list after a change instead of patching it.
class TCustomRowStorage : public TAbstractRowStorage {
  TV_CLASS(TCustomRowStorage, TAbstractRowStorage)
 public:
  using TAbstractRowStorage::TAbstractRowStorage;
};

}  // namespace tv
