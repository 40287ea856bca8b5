#pragma once
// The row storage that callers use: its selection, insertion with its
// checks, loading and saving.

#include <memory>
#include <optional>
#include <vector>

#include "data/conditions/criteria.h"
#include "data/storage/abstract_row_storage.h"
#include "data/types/interruptable.h"

namespace tv {

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

}  // namespace tv
