#pragma once
// Row storages: the rows of one table held in a key tree (one level per key
// field, sub-total rows as inner nodes), put in by key with a put action,
// found by key texts or by a condition, and listed by position.

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "data/conditions/criteria.h"
#include "data/elements/data_row.h"
#include "data/elements/data_table.h"
#include "data/types/interruptable.h"

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

// Rows to iterate: the minimal view of anything that yields rows of one table.
class TRowSource : public TObject {
  TV_CLASS(TRowSource, TObject)
 public:
  explicit TRowSource(const TDataTable& table) : dataTable_(&table) {}
  const TDataTable& DataTable() const { return *dataTable_; }
  virtual TDataRow* First() = 0;
  virtual TDataRow* Next() = 0;
  virtual void BeforeIteration() {}
  virtual const TRowSortOrder& SortOrder() const = 0;
  virtual bool IsStorage() const { return true; }
  virtual std::string GetName() const { return dataTable_->TableName(); }
  // The rows as text, one line each.
  virtual std::string Dump();

 private:
  const TDataTable* dataTable_;
};

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
  TDateTime ChangedAt() const { return changedAt_; }
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
  // Appends the rows that Criteria accepts (every row without one).
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
  TPutResult PutIntoNode(TSubTotalRow& node, std::unique_ptr<TDataRow>& row, TPutAction action);
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
  TDateTime changedAt_ = 0;
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

// The row storage that callers use: a selection, insertion with its checks, loading and saving.
class TRowStorage : public TCustomRowStorage {
  TV_CLASS(TRowStorage, TCustomRowStorage)
 public:
  // Accepting when the table has a running-number field or the condition
  // restricts none of its data fields; with Loaded, loads at once.
  TRowStorage(const TDataTable* dataTable, bool loaded, const TDataFieldSet* fieldSet = nullptr,
              TInterruptable* interruptable = nullptr, const TCriteria* criteria = nullptr);
  static std::unique_ptr<TRowStorage> CreateWithKeySortOrder(
      const TDataTable* dataTable, bool loaded,
      std::vector<std::unique_ptr<TRowStorageTreeKey>>* treeKeysAndOrder,
      TInterruptable* interruptable = nullptr, const TCriteria* criteria = nullptr);
  static std::unique_ptr<TRowStorage> CreateCopy(const TRowStorage* src);

  const TCriteria& Selection() const { return *selection_; }
  const TCriteria& KeyCondition() const { return *keyCondition_; }

  // Puts a row in with an action; on success the storage owns it (Row is
  // emptied), a refused row stays with its caller, unchanged.
  TPutResult InsertRow(std::unique_ptr<TDataRow>& row, TPutAction action = paRefuse);
  // A row whose key changed comes back through the same checks as a new one.
  TPutResult PutRow(TDataRow& row, TPutAction putAction) override;
  // Every row of Src (same contents, visibility and state), and its deleted rows.
  void Assign(const TRowStorage& src);

  void Load(const TCriteria* criteria, TInterruptable* interruptable, const TDataFieldSet* fieldSet);
  void Save();
  void Refresh(bool saveFirst);
  void SetReloadObject(std::unique_ptr<TCriteria> reload) { reload_ = std::move(reload); }
  const TCriteria* ReloadObject() const { return reload_.get(); }

 private:
  TRowStorage(const TDataTable* dataTable, std::vector<std::unique_ptr<TRowStorageTreeKey>> keys,
              const TCriteria* criteria);
  void SetCondition(const TCriteria* criteria);
  // The result that refuses Row before the tree sees it (not accepting,
  // outside the key condition), or -1.
  std::optional<TPutResult> Refusal(const TDataRow& row, TPutAction action) const;
  std::unique_ptr<TCriteria> selection_, keyCondition_, reload_;
};

// A string list whose objects are rows.
class TDataRowList : public TStringList {
  TV_CLASS(TDataRowList, TStringList)
 public:
  TDataRow* GetDataRow(int idx) const;
  // Every entry's text becomes the display text of Field in its row.
  void UpdateStrings(const TDataField* field, bool flag = false);
};

// The rows of an aux table, loaded from its bridge unless virtual.
class TCachingStorage : public TCustomRowStorage {
  TV_CLASS(TCachingStorage, TCustomRowStorage)
 public:
  static std::unique_ptr<TCachingStorage> Create(const TDataTable* dataTable);
  static std::unique_ptr<TCachingStorage> CreateVirtual(const TDataTable* dataTable);
  bool IsVirtual() const { return virtual_; }
  void Load();
  TPutResult PutCachedRow(std::unique_ptr<TDataRow>& row);

 private:
  TCachingStorage(const TDataTable* dataTable, bool isVirtual);
  bool virtual_;
};

// The cache of an aux table's rows.
class TAuxTableCache : public TCachingStorage {
  TV_CLASS(TAuxTableCache, TCachingStorage)
};

}  // namespace tv
