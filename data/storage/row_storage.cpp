#include "data/storage/row_storage.h"

#include <algorithm>

#include "data/elements/data_error.h"
#include "data/types/data_types.h"

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

// --- TRowSource

std::string TRowSource::Dump() {
  std::string text;
  for (TDataRow* row = First(); row; row = Next()) text.append(row->DisplayText()).append("\r\n");
  return text;
}

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

TPutResult TAbstractRowStorage::PutIntoNode(TSubTotalRow& node, std::unique_ptr<TDataRow>& row,
                                            TPutAction action) {
  const int level = node.Level();
  const TRowStorageTreeKey& key = *tree_[static_cast<std::size_t>(level)];
  bool numbered = false;
  TValue formerNumber;
  if (key.Field() && key.Field() == DataTable().RunningNumberField()) {
    // The next number among this node's children.
    std::vector<std::int32_t> existing;
    for (int i = 0; i < node.ChildCount(); ++i) existing.push_back(ValueAsInteger(node.ChildKey(i)));
    const auto* numberField = static_cast<const TRunningNumberField*>(key.Field());
    if (numberField->Generator().NeedsNumber(*row, *numberField)) {
      formerNumber = row->IndexValue(key.FieldIndex());
      const TValue next = IntegerValue(numberField->Generator().NextNumber(existing));
      row->WriteSlot(key.FieldIndex(), next);
      numbered = true;
    }
  }
  const TValue value = key.GetString(row.get());
  const int found = node.FindChild(value);
  // The running number is taken back whatever way the put ends unplaced.
  auto restoreNumber = [&] {
    if (numbered && row) row->WriteSlot(key.FieldIndex(), formerNumber);
  };
  TPutResult result = prInserted;
  if (level == KeyLevels() - 1) {
    if (found < 0) {
      TDataRow* placed = row.get();
      placed->SetStorage(this);
      node.AddChild(value, std::move(row));
      placed->SetVisible(tree_.back()->Visible());
    } else {
      auto* existing = static_cast<TDataRow*>(node.Child(found));
      switch (action) {
        case paRefuse:
        case paInternalRestore: result = prKeyExists; break;
        case paReplaceIfDifferent:
        case paReplace: {
          if (action == paReplaceIfDifferent) {
            bool differs = false;
            for (int i = DataTable().KeyCount(); i < DataTable().FieldCount() && !differs; ++i)
              differs = !existing->IndexEqual(row.get(), i);
            if (!differs) {
              result = prEqualRowKept;
              break;
            }
          }
          TakePlaceOf(node, value, row, *existing);
          result = prReplaced;
          break;
        }
        case paMergeAdd:
        case paMergeSubtract:
        case paMergeReplace:
        case paMergeKeep: {
          static constexpr TAddMode modes[] = {TAddMode::amAdd, TAddMode::amSubtract, TAddMode::amReplace,
                                               TAddMode::amKeep};
          const TRowState state = row->State();
          row->SetState(rsExternControlled);
          row->AddValues(existing, modes[CodeNumber(action) - CodeNumber(paMergeAdd)]);
          row->SetState(state);
          TakePlaceOf(node, value, row, *existing);
          result = prMerged;
          break;
        }
        default:
          restoreNumber();
          ReportDataError(desFatal, "PutRow",
                          "Unknown PutAction (" + std::to_string(CodeNumber(action)) + ")!");
      }
    }
  } else {
    int child = found;
    if (child < 0) {
      std::unique_ptr<TSubTotalRow> fresh = NewNode(level + 1);
      fresh->TakeKeysFrom(node, key.FieldIndex(), value);
      child = node.AddChild(value, std::move(fresh));
    }
    auto& next = *static_cast<TSubTotalRow*>(node.Child(child));
    try {
      result = PutIntoNode(next, row, action);
    } catch (...) {
      if (found < 0 && next.ChildCount() == 0) node.TakeChild(child);
      restoreNumber();
      throw;
    }
    if (found < 0 && next.ChildCount() == 0) node.TakeChild(child);
  }
  if (result == prRefused || result == prKeyExists || result == prNotAccepted || result == prNotAccepting)
    restoreNumber();
  return result;
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
  changedAt_ = Now();
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

// --- finding rows

void TAbstractRowStorage::GetRows(TStrings* results, const TCondition* criteria, bool) {
  RequireElements(results != nullptr, "TAbstractRowStorage.GetRows: Results <> nil");
  const TCriteria none;
  const TCondition& condition = criteria ? *criteria : static_cast<const TCondition&>(none);
  TGetRowsHandler handler(condition, KeyLevels() - 1);
  BeforeQuery();
  condition.Traverse(handler, *root_);
  for (TDataRow* row : handler.Rows()) results->AddObject("", row);
}

namespace {
void CollectTreeRows(const TSubTotalRow& node, std::vector<TDataRow*>& rows) {
  for (int i = 0; i < node.ChildCount(); ++i) {
    TAbstractRow* child = node.Child(i);
    if (const auto* inner = ClassCast<TSubTotalRow>(child))
      CollectTreeRows(*inner, rows);
    else if (auto* row = ClassCast<TDataRow>(child))
      rows.push_back(row);
  }
}
}  // namespace

std::vector<TDataRow*> TAbstractRowStorage::TreeRows() const {
  std::vector<TDataRow*> rows;
  CollectTreeRows(*root_, rows);
  return rows;
}

int TAbstractRowStorage::CountRows(const TCondition* criteria) {
  const TCriteria none;
  const TCondition& condition = criteria ? *criteria : static_cast<const TCondition&>(none);
  TGetRowsHandler handler(condition, KeyLevels() - 1, true);
  BeforeQuery();
  condition.Traverse(handler, *root_);
  return handler.Count();
}

void TAbstractRowStorage::GetRowsByText(TStrings* results, const TCriteria* criteria, const std::string& text,
                                        const TDataField* field, bool flag) {
  std::unique_ptr<TCriteria> condition = TCriteria::CreateCopy(criteria);
  TCriteriaField* term = condition->FindCriteriaField(field, true);
  const auto* type = dynamic_cast<const TStringType*>(field->DataType());
  if (type && (type->Size() <= 0 || static_cast<int>(text.size()) < type->Size())) {
    // Texts that begin with Text lie between it and it followed by the
    // highest character.
    std::string upper = text;
    upper.append(
        static_cast<std::size_t>(type->Size() > 0 ? type->Size() - static_cast<int>(text.size()) : 1),
        '\xFF');
    term->AddInterval(StringValue(text), StringValue(upper));
  } else {
    term->AddValue(text);
  }
  GetRows(results, condition.get(), flag);
}

TDataRow* TAbstractRowStorage::FindRow(const TCondition* criteria, bool takeFirst) {
  TStringList results;
  GetRows(&results, criteria);
  if (results.Count() == 0) return nullptr;
  if (results.Count() > 1 && !takeFirst) throw Exception("More than one match!");
  return static_cast<TDataRow*>(results.Objects(0));
}

TDataRow* TAbstractRowStorage::LocateRow(const std::vector<std::string>& values) {
  if (static_cast<int>(values.size()) < KeyLevels()) {
    ReportDataError(desWarning, "LocateRow", "LocateRow: Too few elements in array!");
    return nullptr;
  }
  BeforeLookup();
  TSubTotalRow* node = root_.get();
  for (int level = 0; level < KeyLevels(); ++level) {
    // The node converts the text to its key type.
    const int child = node->FindChild(StringValue(values[static_cast<std::size_t>(level)]));
    if (child < 0) return nullptr;
    TAbstractRow* found = node->Child(child);
    if (level == KeyLevels() - 1) return static_cast<TDataRow*>(found);
    node = static_cast<TSubTotalRow*>(found);
  }
  return nullptr;
}

TDataRow* TAbstractRowStorage::FirstDataRow() {
  for (int i = 0; i < RowCount(); ++i)
    if (TDataRow* row = GetDataRow(i)) return row;
  return nullptr;
}

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
  TStringList rows;
  const_cast<TRowStorage&>(src).GetRows(&rows, nullptr);
  for (int i = 0; i < rows.Count(); ++i) {
    const auto* source = static_cast<const TDataRow*>(rows.Objects(i));
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

// --- TDataRowList

TDataRow* TDataRowList::GetDataRow(int idx) const {
  RequireElements(idx >= 0 && idx < Count(),
                  "TDataRowList.GetDataRow: (idx >= 0) and (idx < Count), idx: ", idx);
  return static_cast<TDataRow*>(Objects(idx));
}

void TDataRowList::UpdateStrings(const TDataField* field, bool) {
  for (int i = 0; i < Count(); ++i) Put(i, GetDataRow(i)->GetFStringValue(field));
}

// --- caching storages

TCachingStorage::TCachingStorage(const TDataTable* dataTable, bool isVirtual)
    : TCustomRowStorage(dataTable, false, true), virtual_(isVirtual) {}

std::unique_ptr<TCachingStorage> TCachingStorage::Create(const TDataTable* dataTable) {
  RequireElements(dataTable != nullptr, "TCachingStorage.Create: DataTable <> nil");
  return std::unique_ptr<TCachingStorage>(new TCachingStorage(dataTable, false));
}

std::unique_ptr<TCachingStorage> TCachingStorage::CreateVirtual(const TDataTable* dataTable) {
  RequireElements(dataTable != nullptr, "TCachingStorage.CreateVirtual: DataTable <> nil");
  return std::unique_ptr<TCachingStorage>(new TCachingStorage(dataTable, true));
}

void TCachingStorage::Load() {
  if (virtual_)
    ReportDataError(desFatal, "Virtual AuxTable", "Tried to load Data from DB with virtual AuxTable");
  TDataBridge* bridge = DataTable().DataBridge();
  if (!bridge) throw Exception("DataBridge missing!");
  bridge->OpenReadConnection();
}

TPutResult TCachingStorage::PutCachedRow(std::unique_ptr<TDataRow>& row) {
  RequireElements(row != nullptr, "TCachingStorage.PutRow: Row <> nil");
  if (row->State() != rsExternControlled)
    ReportDataError(desWarning, "Internal",
                    "Trying to add a row to AuxTableCache that is already in the Storage!");
  TDataRow& placed = *row;
  const TPutResult result = PutIntoTree(row, paRefuse);
  if (result == prInserted) {
    placed.SetState(rsAccepted);
    Touch();
  }
  return result;
}

}  // namespace tv
