#include <algorithm>
#include <optional>

#include "data/elements/data_error.h"
#include "data/storage/abstract_row_storage.h"
#include "data/types/data_types.h"
#include "platform/system/clock.h"

namespace tv {

// --- TAbstractRowStorage: building

TAbstractRowStorage::TAbstractRowStorage(const TDataTable* dataTable, bool loaded, bool accepting)
    : TRowSource((RequireElements(dataTable != nullptr, "TAbstractRowStorage.Create: DataTable <> nil"),
                  *dataTable)),
      loaded_(loaded),
      accepting_(accepting) {
  std::vector<std::unique_ptr<TRowStorageTreeKey>> keys;
  for (int i = 0; i < dataTable->KeyCount(); ++i)
    keys.push_back(std::make_unique<TRowStorageTreeKey>(dataTable->GetField(i)));
  BuildTree(std::move(keys));
}

TAbstractRowStorage::TAbstractRowStorage(const TDataTable* dataTable, bool loaded,
                                         std::vector<std::unique_ptr<TRowStorageTreeKey>> treeKeysAndOrder,
                                         bool accepting)
    : TRowSource(
          (RequireElements(dataTable != nullptr, "TAbstractRowStorage.CreateKeySortOrder: DataTable <> nil"),
           *dataTable)),
      loaded_(loaded),
      accepting_(accepting) {
  for (const auto& key : treeKeysAndOrder)
    if (!key)
      ReportDataError(desFatal, "CreateKeySortOrder",
                      "TList TreeKeysAndOrder doesn't contain objects of type TRowStorageTreeKey");
  BuildTree(std::move(treeKeysAndOrder));
}

void TAbstractRowStorage::BuildTree(std::vector<std::unique_ptr<TRowStorageTreeKey>> keys) {
  if (keys.empty() || keys.back()->Field()) keys.push_back(std::make_unique<TRowStorageTreeKey>(nullptr));
  tree_ = std::move(keys);
  for (std::size_t i = 0; i < tree_.size(); ++i) tree_[i]->SetTable(this, DataTable(), static_cast<int>(i));
  // The tree order: per level, its sort field first when it differs.
  for (const auto& key : tree_) {
    if (!key->Field()) continue;
    if (key->SortField() != key->Field()) treeOrder_.Add(key->SortField(), key->SortOrder());
    treeOrder_.Add(key->Field(), key->SortOrder());
  }
  currentOrder_ = treeOrder_;
  root_ = NewNode(0);
}

TAbstractRowStorage::~TAbstractRowStorage() = default;

std::unique_ptr<TSubTotalRow> TAbstractRowStorage::NewNode(int level) const {
  const TDataField* keyField =
      level < KeyLevels() ? tree_[static_cast<std::size_t>(level)]->Field() : nullptr;
  auto node = std::make_unique<TSubTotalRow>(DataTable(), level, keyField);
  node->SetStorage(const_cast<TAbstractRowStorage*>(this));
  node->SetVisible(tree_[static_cast<std::size_t>(level)]->Visible());
  return node;
}

TRowStorageTreeKey* TAbstractRowStorage::GetTreeKey(int idx) const {
  RequireElements(idx >= 0 && idx < static_cast<int>(tree_.size()),
                  "TAbstractRowStorage.GetTreeKey: (idx >= 0) and (idx < FTree.Count), idx: ", idx);
  return tree_[static_cast<std::size_t>(idx)].get();
}

void TAbstractRowStorage::ClearTree() {
  ++treeVersion_;
  root_ = NewNode(0);
  pending_.clear();
  InvalidateRowList();
}

// --- putting rows in

// The new row is placed before the old one goes, so that the node never
// empties on the way (an emptied node leaves the tree).
void TAbstractRowStorage::TakePlaceOf(TSubTotalRow& node, const TValue& key, std::unique_ptr<TDataRow>& row,
                                      TDataRow& existing) {
  row->SetStorage(this);
  node.AddChild(key, std::move(row));
  existing.DeleteRow();
}

TPutResult TAbstractRowStorage::PutIntoTree(std::unique_ptr<TDataRow>& row, TPutAction action) {
  ++treeVersion_;
  return PutIntoNode(*root_, row, action);
}

// A row put under a running-number key takes the next number among the
// node's children; its former number comes back when the put leaves the row
// with its caller (refused, or failed with an error).
class TAbstractRowStorage::TNumbering {
 public:
  TNumbering(const TDataTable& table, const TSubTotalRow& node, const TRowStorageTreeKey& key,
             std::unique_ptr<TDataRow>& row)
      : key_(key), row_(row) {
    if (key.Field() == nullptr || key.Field() != table.RunningNumberField()) return;
    const auto* numberField = static_cast<const TRunningNumberField*>(key.Field());
    if (!numberField->Generator().NeedsNumber(*row, *numberField)) return;
    std::vector<std::int32_t> existing;
    for (int i = 0; i < node.ChildCount(); ++i) existing.push_back(ValueAsInteger(node.ChildKey(i)));
    former_ = row->IndexValue(key.FieldIndex());
    row->WriteSlot(key.FieldIndex(), IntegerValue(numberField->Generator().NextNumber(existing)));
  }
  TNumbering(const TNumbering&) = delete;
  TNumbering& operator=(const TNumbering&) = delete;
  ~TNumbering() {
    if (former_ && row_) row_->WriteSlot(key_.FieldIndex(), *former_);
  }

 private:
  const TRowStorageTreeKey& key_;
  std::unique_ptr<TDataRow>& row_;
  std::optional<TValue> former_;
};

TPutResult TAbstractRowStorage::PutIntoNode(TSubTotalRow& node, std::unique_ptr<TDataRow>& row,
                                            TPutAction action) {
  const TRowStorageTreeKey& key = *tree_[static_cast<std::size_t>(node.Level())];
  const TNumbering numbering(DataTable(), node, key, row);
  const TValue value = key.GetString(row.get());
  if (node.Level() == KeyLevels() - 1) return PutIntoLeaf(node, value, row, action);
  return PutBelow(node, key, value, row, action);
}

// The last key level: the row goes beside its siblings, or meets the row of
// its key and the action decides.
TPutResult TAbstractRowStorage::PutIntoLeaf(TSubTotalRow& node, const TValue& value,
                                            std::unique_ptr<TDataRow>& row, TPutAction action) {
  const int found = node.FindChild(value);
  if (found < 0) {
    TDataRow* placed = row.get();
    placed->SetStorage(this);
    node.AddChild(value, std::move(row));
    placed->SetVisible(tree_.back()->Visible());
    return prInserted;
  }
  auto& existing = *static_cast<TDataRow*>(node.Child(found));
  switch (action) {
    case paRefuse:
    case paInternalRestore: return prKeyExists;
    case paReplaceIfDifferent:
      if (!DiffersInData(existing, *row)) return prEqualRowKept;
      [[fallthrough]];
    case paReplace: TakePlaceOf(node, value, row, existing); return prReplaced;
    case paMergeAdd:
    case paMergeSubtract:
    case paMergeReplace:
    case paMergeKeep: {
      static constexpr TAddMode modes[] = {TAddMode::amAdd, TAddMode::amSubtract, TAddMode::amReplace,
                                           TAddMode::amKeep};
      const TRowState state = row->State();
      row->SetState(rsExternControlled);
      row->AddValues(&existing, modes[CodeNumber(action) - CodeNumber(paMergeAdd)]);
      row->SetState(state);
      TakePlaceOf(node, value, row, existing);
      return prMerged;
    }
    default:
      ReportDataError(desFatal, "PutRow", "Unknown PutAction (" + std::to_string(CodeNumber(action)) + ")!");
      return prRefused;
  }
}

bool TAbstractRowStorage::DiffersInData(const TDataRow& existing, const TDataRow& row) const {
  for (int i = DataTable().KeyCount(); i < DataTable().FieldCount(); ++i)
    if (!existing.IndexEqual(&row, i)) return true;
  return false;
}

// An inner level: down into the node of the key, made for the row when
// missing and taken out again when the row does not stay in it.
TPutResult TAbstractRowStorage::PutBelow(TSubTotalRow& node, const TRowStorageTreeKey& key,
                                         const TValue& value, std::unique_ptr<TDataRow>& row,
                                         TPutAction action) {
  const int found = node.FindChild(value);
  int child = found;
  if (child < 0) {
    std::unique_ptr<TSubTotalRow> fresh = NewNode(node.Level() + 1);
    fresh->TakeKeysFrom(node, key.FieldIndex(), value);
    child = node.AddChild(value, std::move(fresh));
  }
  auto& next = *static_cast<TSubTotalRow*>(node.Child(child));
  struct TDropEmptied {
    TSubTotalRow& node;
    TSubTotalRow& next;
    int child;
    bool made;
    ~TDropEmptied() {
      if (made && next.ChildCount() == 0) node.TakeChild(child);
    }
  } drop{node, next, child, found < 0};
  return PutIntoNode(next, row, action);
}

// --- the link

std::unique_ptr<TDataRow> TAbstractRowStorage::NewRow() {
  auto row = std::make_unique<TDataRow>(&DataTable());
  row->SetVisible(tree_.back()->Visible());
  return row;
}

std::unique_ptr<TDataRow> TAbstractRowStorage::Detach(TDataRow& row) {
  for (auto it = detached_.begin(); it != detached_.end(); ++it)
    if (it->get() == &row) {
      std::unique_ptr<TDataRow> owned = std::move(*it);
      detached_.erase(it);
      return owned;
    }
  return nullptr;
}

void TAbstractRowStorage::TakeOut(TAbstractRow& row) {
  ++treeVersion_;
  for (auto it = pending_.begin(); it != pending_.end(); ++it)
    if (it->get() == &row) {
      detached_.push_back(std::move(*it));
      pending_.erase(it);
      return;
    }
  TSubTotalRow* parent = row.Parent();
  if (!parent) return;
  for (int i = 0; i < parent->ChildCount(); ++i)
    if (parent->Child(i) == &row) {
      std::unique_ptr<TAbstractRow> child = parent->TakeChild(i);
      detached_.emplace_back(static_cast<TDataRow*>(child.release()));
      break;
    }
  // A node left without rows would keep HasRows true; putting the row back
  // makes the node anew.
  Prune(parent);
  InvalidateRowList();
}

void TAbstractRowStorage::Prune(TSubTotalRow* node) {
  while (node && node != root_.get() && node->ChildCount() == 0) {
    TSubTotalRow* parent = node->Parent();
    if (!parent) return;
    for (int i = 0; i < parent->ChildCount(); ++i)
      if (parent->Child(i) == node) {
        parent->TakeChild(i);  // freed here
        break;
      }
    node = parent;
  }
}

TSetResult TAbstractRowStorage::ChangeKey(TDataRow& row, int idx, const TValue& value, TSetAction setAction) {
  if (setAction != saRefuse && setAction != saReplace)
    ReportDataError(desFatal, "KeyUpdate",
                    "Unknown TSetAction " + std::to_string(CodeNumber(setAction)) + ")!");
  // Locked while it is out of the tree, whatever way the change ends.
  struct TLocked {
    TDataRow& row;
    explicit TLocked(TDataRow& locked) : row(locked) { row.Lock(); }
    ~TLocked() { row.Unlock(); }
  } locked(row);
  const TRowState former = row.State();
  std::unique_ptr<TDataRow> copy = NewRow();
  copy->CopyContents(&row);
  TakeOut(row);
  const TValue old = row.IndexValue(idx);
  row.WriteSlot(idx, value);
  row.SetState(rsExternControlled);
  const TPutResult result = PutRow(row, setAction == saReplace ? paReplace : paRefuse);
  switch (result) {
    case prInserted:
    case prReplaced: {
      // The old key is remembered among the deleted rows.
      TDataRow& kept = *copy;
      TakeOver(std::move(copy));
      PutRow(kept, paInternalRestore);
      kept.SetState(former);
      kept.DeleteRow();
      row.SetState(rsInserted);
      Touch();
      return srSet;
    }
    case prRefused:
    case prKeyExists:
    case prNotAccepted:
    case prNotAccepting:
      row.WriteSlot(idx, old);
      PutRow(row, paInternalRestore);
      row.SetState(former);
      Touch();
      return srRefused;
    default: break;
  }
  ReportDataError(desFatal, "KeyUpdate", "Unknown TPutResult " + std::to_string(CodeNumber(result)) + ")!");
  return srRefused;
}

void TAbstractRowStorage::TakeOver(std::unique_ptr<TDataRow> row) {
  row->SetStorage(this);
  detached_.push_back(std::move(row));
}

TPutResult TAbstractRowStorage::PutRow(TDataRow& row, TPutAction putAction) {
  std::unique_ptr<TDataRow> owned = Detach(row);
  RequireElements(owned != nullptr, "TAbstractRowStorage.PutRow: the row is not taken out");
  // Refused, or failed with an error: the row stays taken out.
  struct TStayTakenOut {
    TAbstractRowStorage& storage;
    std::unique_ptr<TDataRow>& row;
    ~TStayTakenOut() {
      if (row) storage.detached_.push_back(std::move(row));
    }
  } stay{*this, owned};
  const TPutResult result = PutIntoTree(owned, putAction);
  InvalidateRowList();
  return result;
}

void TAbstractRowStorage::AddDeletedRow(TDataRow& row) {
  std::unique_ptr<TDataRow> owned = Detach(row);
  RequireElements(owned != nullptr, "TAbstractRowStorage.AddDeletedRow: the row is not taken out");
  KeepDeleted(std::move(owned));
}

void TAbstractRowStorage::KeepDeleted(std::unique_ptr<TDataRow> row) {
  deleted_.push_back(std::move(row));
  InvalidateRowList();
}

void TAbstractRowStorage::FreeRow(TDataRow& row) {
  ++treeVersion_;
  if (std::erase_if(deleted_, [&row](const auto& gone) { return gone.get() == &row; }) > 0) return;
  if (row.Parent()) TakeOut(row);
  Detach(row);  // freed here
  InvalidateRowList();
}

void TAbstractRowStorage::RowChanged(TAbstractRow&, TChangeKind) {
  InvalidateRowList();
}

void TAbstractRowStorage::Touch() {
  changedAt_ = sys::CoarseClockNow();
  InvalidateRowList();
}

std::unique_ptr<TDataRow> TAbstractRowStorage::RemoveRow(TDataRow* row) {
  if (!row || !OwnsRow(row)) return nullptr;
  TakeOut(*row);
  std::unique_ptr<TDataRow> owned = Detach(*row);
  if (owned) {
    owned->SetStorage(nullptr);
    owned->SetState(rsExternControlled);
  }
  Touch();
  return owned;
}

bool TAbstractRowStorage::OwnsRow(const TDataRow* row) const {
  if (!row || row->Storage() != this) return false;
  for (const TAbstractRow* up = row; up; up = up->Parent())
    if (up == root_.get()) return true;
  return std::any_of(pending_.begin(), pending_.end(), [row](const auto& p) { return p.get() == row; });
}

}  // namespace tv
