#include "data/storage/row_storage.h"

#include "data/elements/data_error.h"

namespace tv {

// --- TRowStorage

namespace {
// The terms of a criteria on key fields only.
std::unique_ptr<TCriteria> KeyTermsOf(const TCriteria& criteria, const TDataTable& table) {
  auto keys = std::make_unique<TCriteria>();
  for (TCriteriaFieldIterator it(criteria); !it.AtEnd(); it.Next())
    if (table.TableHasKey(it.DataField()))
      keys->FindCriteriaField(it.DataField(), true)->CopyFrom(it.CriteriaField());
  return keys;
}

bool AcceptingFor(const TDataTable& table, const TCriteria& criteria) {
  if (table.RunningNumberField()) return true;
  for (int i = table.KeyCount(); i < table.FieldCount(); ++i)
    if (criteria.RestrictsField(table.GetField(i))) return false;
  return true;
}
}  // namespace

TRowStorage::TRowStorage(const TDataTable* dataTable, bool loaded, const TDataFieldSet* fieldSet,
                         TInterruptable* interruptable, const TCriteria* criteria)
    : TCustomRowStorage(
          (RequireElements(dataTable != nullptr, "TRowStorage.Create: DataTable <> nil"), dataTable), loaded,
          true) {
  SetCondition(criteria);
  if (loaded) Load(criteria, interruptable, fieldSet);
}

TRowStorage::TRowStorage(const TDataTable* dataTable, std::vector<std::unique_ptr<TRowStorageTreeKey>> keys,
                         const TCriteria* criteria)
    : TCustomRowStorage(dataTable, false, std::move(keys), true) {
  SetCondition(criteria);
}

void TRowStorage::SetCondition(const TCriteria* criteria) {
  selection_ = TCriteria::CreateCopy(criteria);
  keyCondition_ = KeyTermsOf(*selection_, DataTable());
  SetAccepting(AcceptingFor(DataTable(), *selection_));
}

std::unique_ptr<TRowStorage> TRowStorage::CreateWithKeySortOrder(
    const TDataTable* dataTable, bool loaded,
    std::vector<std::unique_ptr<TRowStorageTreeKey>>* treeKeysAndOrder, TInterruptable* interruptable,
    const TCriteria* criteria) {
  RequireElements(dataTable != nullptr, "TRowStorage.CreateWithKeySortOrder: DataTable <> nil");
  RequireElements(treeKeysAndOrder != nullptr, "TRowStorage.CreateWithKeySortOrder: TreeKeysAndOrder <> nil");
  std::unique_ptr<TRowStorage> storage(new TRowStorage(dataTable, std::move(*treeKeysAndOrder), criteria));
  treeKeysAndOrder->clear();
  if (loaded) storage->Load(criteria, interruptable, nullptr);
  return storage;
}

TPutResult TRowStorage::InsertRow(std::unique_ptr<TDataRow>& row, TPutAction action) {
  RequireElements(row != nullptr, "TRowStorage.InsertRow: Row <> nil");
  if (&row->DataTable() != &DataTable())
    ReportDataError(desFatal, "Different DataTables",
                    "Row and RowStorage types differ! (" + row->DataTable().TableName() + " <> " +
                        DataTable().TableName() + ")");
  if (action != paInternalRestore && row->State() != rsExternControlled)
    ReportDataError(desWarning, "Internal",
                    "Trying to add a row to RowStorage that is already in the Storage!");
  if (const std::optional<TPutResult> refused = Refusal(*row, action)) return *refused;
  // Placed, the row belongs to the tree; refused or failed, it stays in Row.
  TDataRow& placed = *row;
  const TPutResult result = PutIntoTree(row, action);
  if (result == prInserted || result == prReplaced || result == prMerged || result == prRestored) {
    if (action != paInternalRestore) placed.SetState(rsInserted);
    Touch();
  }
  return result;
}

std::optional<TPutResult> TRowStorage::Refusal(const TDataRow& row, TPutAction action) const {
  if (!Accepting()) return prNotAccepting;
  if (action != paInternalRestore && !keyCondition_->AcceptsRow(row)) return prNotAccepted;
  return std::nullopt;
}

TPutResult TRowStorage::PutRow(TDataRow& row, TPutAction putAction) {
  if (const std::optional<TPutResult> refused = Refusal(row, putAction)) return *refused;
  return TCustomRowStorage::PutRow(row, putAction);
}

void TRowStorage::Assign(const TRowStorage& src) {
  for (const TDataRow* source : const_cast<TRowStorage&>(src).Rows()) {
    std::unique_ptr<TDataRow> copy = NewRow();
    copy->CopyContents(source);
    copy->SetVisible(source->Visible());
    TDataRow* placed = copy.get();
    if (InsertRow(copy, paRefuse) == prInserted) placed->SetState(source->State());
  }
  for (const auto& gone : src.DeletedRows()) {
    std::unique_ptr<TDataRow> copy = NewRow();
    copy->CopyContents(gone.get());
    copy->SetStorage(this);
    copy->SetState(rsDeleted);
    KeepDeleted(std::move(copy));
  }
}

std::unique_ptr<TRowStorage> TRowStorage::CreateCopy(const TRowStorage* src) {
  RequireElements(src != nullptr, "TRowStorage.CreateCopy: Src <> nil");
  std::vector<std::unique_ptr<TRowStorageTreeKey>> keys;
  for (int i = 0; i < src->LevelCountOfTree() - 1; ++i)
    keys.push_back(std::make_unique<TRowStorageTreeKey>(src->GetTreeKey(i)->Field()));
  std::unique_ptr<TRowStorage> copy(
      new TRowStorage(&src->DataTable(), std::move(keys), src->selection_.get()));
  for (int i = 0; i < src->LevelCountOfTree(); ++i)
    copy->GetTreeKey(i)->SetVisible(src->GetTreeKey(i)->Visible());
  if (src->reload_) copy->reload_ = TCriteria::CreateCopy(src->reload_.get());
  copy->Assign(*src);
  return copy;
}

void TRowStorage::Load(const TCriteria* criteria, TInterruptable* interruptable, const TDataFieldSet*) {
  if (IsInterrupted(interruptable)) return;
  // A criteria that allows no value for one of the table's fields rules the
  // whole table out.
  if (criteria)
    for (int i = 0; i < DataTable().FieldCount(); ++i)
      if (const TCriteriaField* field = criteria->FindCriteriaField(DataTable().GetField(i));
          field && field->AcceptsNone())
        return;
  TDataBridge* bridge = DataTable().DataBridge();
  if (!bridge) throw Exception("DataBridge missing!");
  bridge->OpenReadConnection();
}

void TRowStorage::Save() {
  if (PendingCount() > 0)
    ReportDataError(desFatal, "Save",
                    "TRowStorage.Save: Cannot save RowStorage while there are unaccepted rows in it!");
  TDataBridge* bridge = DataTable().DataBridge();
  if (!bridge) throw Exception("DataBridge missing!");
  TList rows;
  for (int i = 0; i < RowCount(); ++i)
    if (TDataRow* row = GetDataRow(i)) rows.Add(row);
  bridge->UpdateData(DataTable(), &rows);
}

void TRowStorage::Refresh(bool saveFirst) {
  if (!loaded_) return;
  if (saveFirst) Save();
  if (!reload_) {
    ReportDataError(desWarning, "Refresh", "TRowStorage.Refresh: ReloadObject was lost. Refresh cancelled!");
    return;
  }
  ClearTree();
  Load(reload_.get(), nullptr, nullptr);
  RebuildRowList();
}

}  // namespace tv
