#include "data/elements/data_row.h"

#include <algorithm>

#include "data/elements/data_error.h"
#include "data/elements/data_table.h"
#include "data/types/data_types.h"

namespace tv {

// --- TAbstractRow

TAbstractRow::TAbstractRow(const TDataTable& table)
    : dataTable_(&table), buffer_(static_cast<std::size_t>(table.RowDataSize()), 0) {}

void TAbstractRow::OverflowRoutine(void* context, std::intptr_t argument, std::string& text,
                                   TOverflowAction action) {
  auto& texts = static_cast<TAbstractRow*>(context)->overflowTexts_;
  const auto at = static_cast<std::size_t>(argument);
  if (action == TOverflowAction::oaStore) {
    if (!texts) texts = std::make_unique<std::vector<std::string>>();
    if (texts->size() <= at) texts->resize(at + 1);
    (*texts)[at] = text;
  } else {
    text = texts && at < texts->size() ? (*texts)[at] : std::string();
  }
}

TOverflowCallback TAbstractRow::Overflow(int idx) const {
  return {&OverflowRoutine, const_cast<TAbstractRow*>(this), idx};
}

TStringList& TAbstractRow::Strings() {
  if (!strings_) strings_ = std::make_unique<TStringList>();
  return *strings_;
}

void TAbstractRow::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (storage_) storage_->RowChanged(*this, ckVisibility);
}

void TAbstractRow::SetValueByField(const TDataField* field, const TValue& value) {
  if (auto* row = dynamic_cast<TDataRow*>(this))
    row->SetFieldValue(field, value, saRefuse);
  else
    SetIndexValue(IndexOfField(field), value, saRefuse);
}

void TAbstractRow::SetValueByIndex(int idx, const TValue& value) {
  SetIndexValue(idx, value, saRefuse);
}

int TAbstractRow::LevelCount() const {
  return storage_ ? storage_->LastLevel() : dataTable_->KeyCount();
}

int TAbstractRow::IndexOfField(const TDataField* field) const {
  RequireElements(field != nullptr, "TAbstractRow.IndexOfField: Field <> nil");
  return dataTable_->IndexOfField(field);
}

int IndexOfField(const TAbstractRow* row, const TDataField* field) {
  return row ? row->IndexOfField(field) : -1;
}

TValue TAbstractRow::IndexValue(int idx) const {
  return dataTable_->GetField(idx)->GetValue(*this, idx);
}

TValue TAbstractRow::GetFieldValue(const TDataField* field) const {
  RequireElements(field != nullptr, "TAbstractRow.GetFieldValue: Field <> nil");
  field = field->StandsFor();
  const int idx = dataTable_->IndexOfField(field);
  if (idx < 0) return field->GetExternValue(*this);
  BeforeRead();
  return field->GetValue(*this, idx);
}

std::string TAbstractRow::GetFStringValue(const TDataField* field) const {
  TValue value = GetFieldValue(field);
  if (TDataType::TypeOf(value).HoldsText()) return std::move(value.Text);
  return ValueAsString(value);
}
std::int32_t TAbstractRow::GetFIntegerValue(const TDataField* field) const {
  return ValueAsInteger(GetFieldValue(field));
}
bool TAbstractRow::GetFBooleanValue(const TDataField* field) const {
  return ValueAsBoolean(GetFieldValue(field));
}

bool TAbstractRow::IndexEqual(const TAbstractRow* cmpRow, int idx) const {
  RequireElements(cmpRow != nullptr, "TAbstractRow.IndexEqual: CmpRow <> nil");
  RequireElements(idx >= 0 && idx < dataTable_->FieldCount(),
                  "TAbstractRow.IndexEqual: (idx >= 0) and (idx < DataTable.FieldCount), idx: ", idx);
  const TDataType* type = dataTable_->GetField(idx)->DataType();
  return type->Equals(IndexValue(idx), cmpRow->IndexValue(idx));
}

int TAbstractRow::Before(const TAbstractRow* aRow, TRowSortOrder* sortOrder) const {
  RequireElements(aRow != nullptr, "TAbstractRow.Before: ARow <> nil");
  auto sign = [](const TDataField* field, const TValue& a, const TValue& b, TSortOrder direction) {
    const int c = field->DataType()->Compare(a, b);
    const int s = (c > 0) - (c < 0);
    return direction == TSortOrder::soDescending ? -s : s;
  };
  if (sortOrder) {
    sortOrder->SetTable(dataTable_);
    for (const TRowSortOrderRule& rule : sortOrder->Rules())
      if (const int c = sign(rule.Field, sortOrder->RuleValue(rule, *this), sortOrder->RuleValue(rule, *aRow),
                             rule.Direction))
        return c;
    return 0;
  }
  for (int i = 0; i < dataTable_->KeyCount(); ++i)
    if (const int c =
            sign(dataTable_->GetField(i), IndexValue(i), aRow->IndexValue(i), TSortOrder::soAscending))
      return c;
  return 0;
}

void TRowSortOrder::Add(const TDataField* field, TSortOrder direction) {
  rules_.push_back({field, direction, table_ ? table_->IndexOfField(field) : -1});
}

void TRowSortOrder::SetTable(const TDataTable* table) {
  if (table == table_) return;
  table_ = table;
  for (TRowSortOrderRule& rule : rules_) rule.Position = table ? table->IndexOfField(rule.Field) : -1;
}

TValue TRowSortOrder::RuleValue(const TRowSortOrderRule& rule, const TAbstractRow& row) const {
  if (rule.Position >= 0 && &row.DataTable() == table_) return row.IndexValue(rule.Position);
  return row.GetFieldValue(rule.Field);
}

std::string TAbstractRow::DisplayText() const {
  std::string text = "[";
  for (int i = 0; i < dataTable_->FieldCount(); ++i) {
    if (i > 0) text += "; ";
    if (dataTable_->GetField(i)->DataType()) text += ValueAsString(IndexValue(i));
  }
  return text + "]";
}

TValue TAbstractRow::ReadSlot(int idx) const {
  const TDataType* type = dataTable_->GetField(idx)->DataType();
  return type->ReadFromBuffer(Buffer() + dataTable_->FieldDataOffset(idx), Overflow(idx));
}

void TAbstractRow::WriteSlot(int idx, const TValue& value) {
  const TDataType* type = dataTable_->GetField(idx)->DataType();
  if (type) type->WriteToBuffer(Buffer() + dataTable_->FieldDataOffset(idx), value, Overflow(idx));
}

TAbstractRow::TAbstractRow(const TDataTable& table, const TAbstractRow& pattern)
    : dataTable_(&table), buffer_(pattern.buffer_) {
  CopyTextsFrom(pattern);
}

void TAbstractRow::CopyBufferFrom(const TAbstractRow& source) {
  buffer_ = source.buffer_;
  CopyTextsFrom(source);
}

// What the buffer does not hold: long texts and the attached string list.
void TAbstractRow::CopyTextsFrom(const TAbstractRow& source) {
  overflowTexts_ =
      source.overflowTexts_ ? std::make_unique<std::vector<std::string>>(*source.overflowTexts_) : nullptr;
  if (source.strings_)
    Strings().Assign(*source.strings_);
  else
    strings_.reset();
}

// --- TDataRow

namespace {
const TDataTable& RequireTable(const TDataTable* table) {
  RequireElements(table != nullptr, "TDataRow.Create: DataTable <> nil");
  return *table;
}
}  // namespace

// Made from the blank row's buffer at once: no zeroed buffer written over.
TDataRow::TDataRow(const TDataTable* table)
    : TAbstractRow(RequireTable(table), RequireTable(table).BlankRow()) {}

TDataRow::TDataRow(const TDataTable& table, TBlank) : TAbstractRow(table) {
  for (int i = 0; i < table.FieldCount(); ++i)
    if (const TDataType* type = table.GetField(i)->DataType()) WriteSlot(i, type->GetDefaultValue());
}

TSetResult TDataRow::SetIndexValue(int idx, const TValue& value, TSetAction setAction) {
  const TDataTable& table = DataTable();
  RequireElements(idx >= 0 && idx < table.FieldCount(),
                  "TDataRow.SetIndexValue: (idx >= 0) and (idx < DataTable.FieldCount), idx: ", idx);
  const TDataField* field = table.GetField(idx);
  if (field->IsFictive())
    ReportDataError(desFatal, "FictiveField", "Assignment to fictive fields are not allowed");
  // Running numbers come from the generator only.
  if (field == table.RunningNumberField()) return srRefused;
  const bool inStorage = Storage() && state_ != rsOutside && state_ != rsExternControlled;
  if (idx < table.KeyCount() && inStorage) {
    if (HoldsAlready(idx, value)) return srSet;
    return Storage()->ChangeKey(*this, idx, value, setAction);
  }
  if (field->IsAggregable && Storage()) Storage()->InvalidateSubTotals(*this);
  WriteSlot(idx, value);
  if (state_ == rsAccepted) state_ = rsModified;
  if (Storage()) Storage()->Touch();
  return srSet;
}

// An equal value is no change: no new state, no work for the storage. Equal
// means equal for the type and the same text, so that a new spelling of a
// case-insensitive key is still written.
bool TDataRow::HoldsAlready(int idx, const TValue& value) const {
  const TDataType* type = DataTable().GetField(idx)->DataType();
  if (!type) return false;
  const TValue converted = type->ConvertValue(value);
  const TValue current = IndexValue(idx);
  return type->Equals(current, converted) && ValueAsString(current) == ValueAsString(converted);
}

TSetResult TDataRow::SetFieldValue(const TDataField* field, const TValue& value, TSetAction setAction) {
  RequireElements(field != nullptr, "TDataRow.SetFieldValue: Field <> nil");
  const int idx = DataTable().IndexOfField(field);
  if (idx >= 0) return SetIndexValue(idx, value, setAction);
  return const_cast<TDataField*>(field)->SetValue(*this, value, setAction);
}

void TDataRow::SetFStringValue(const TDataField* field, std::string_view text) {
  RequireElements(field != nullptr, "TDataRow.SetFStringValue: Field <> nil");
  // Texts are written one after another: one value whose text keeps its
  // capacity saves an allocation per cell. A write that reaches this again
  // (a calculated field distributing its value) uses a value of its own.
  static thread_local TValue scratch;
  static thread_local bool inUse = false;
  if (inUse) {
    SetFieldValue(field, AnyStringType()->CreateValue(std::string(text)), saRefuse);
    return;
  }
  inUse = true;
  try {
    scratch.DataType = AnyStringType();
    scratch.Text.assign(text);
    SetFieldValue(field, scratch, saRefuse);
  } catch (...) {
    inUse = false;
    throw;
  }
  inUse = false;
}

void TDataRow::SetFBooleanValue(const TDataField* field, bool flag) {
  RequireElements(field != nullptr, "TDataRow.SetFBooleanValue: Field <> nil");
  SetFieldValue(field, BooleanValue(flag), saRefuse);
}

void TDataRow::SetFPointerValue(const TDataField* field, void* pointer) {
  RequireElements(field != nullptr, "TDataRow.SetFPointerValue: Field <> nil");
  SetFieldValue(field, PointerValue(pointer), saRefuse);
}

void TDataRow::CollectRows(std::vector<TAbstractRow*>& list, const TRowCondition* condition, bool) {
  if (Visible() && (!condition || condition->AcceptsRow(*this))) list.push_back(this);
}

bool TDataRow::AcceptRow(TRowAcceptor& acceptor, const std::function<void(void*, TAbstractRow&)>& callback,
                         void* data) {
  if (IsInterrupted(acceptor.Interruptable())) return false;
  if (!acceptor.Accepts(*this)) return false;
  const TRowState before = state_;
  state_ = rsAccepted;
  if (before != rsAccepted && callback) callback(data, *this);
  return true;
}

void TDataRow::CollectByState(std::vector<TAbstractRow*>& list, TRowState state) {
  if (state_ == state) list.push_back(this);
}

bool TDataRow::FieldHasValue(const TDataField* field) const {
  GetFieldValue(field);
  return true;
}

void TDataRow::DeleteRow(bool) {
  TRowStorageLink* storage = Storage();
  const bool inStorage = storage && state_ != rsOutside && state_ != rsExternControlled;
  if (storage) storage->RowChanged(*this, ckDeleted);
  if (inStorage) storage->TakeOut(*this);
  const bool keep = inStorage && (state_ == rsAccepted || state_ == rsModified);
  state_ = rsDeleted;
  if (keep)
    storage->AddDeletedRow(*this);
  else if (inStorage)
    storage->FreeRow(*this);
  else
    delete this;
}

void TDataRow::CopyContents(const TDataRow* srcRow) {
  RequireElements(srcRow != nullptr, "TDataRow.CopyContents: SrcRow <> nil");
  if (state_ != rsExternControlled)
    ReportDataError(desFatal, "CopyRow", "Row must be rsExternControlled in order to perform CopyContents!");
  if (&srcRow->DataTable() != &DataTable())
    ReportDataError(desFatal, "CopyRow", "Tried to copy rows of different type!");
  CopyBufferFrom(*srcRow);
}

std::unique_ptr<TDataRow> TDataRow::Clone() const {
  auto clone = std::make_unique<TDataRow>(&DataTable());
  clone->CopyContents(this);
  return clone;
}

void TDataRow::SetDefaultsFrom(const TDataRow* defaultRow) {
  RequireElements(defaultRow != nullptr, "TDataRow.SetDefaultsFrom: DefaultRow <> nil");
  if (state_ != rsOutside && state_ != rsExternControlled)
    ReportDataError(desWarning, "SetDefaultsFrom",
                    "SetDefaultsFrom called with nonExternControlled DataRow!");
  const TDataTable& table = DataTable();
  for (int i = 0; i < table.FieldCount(); ++i) {
    const TDataField* field = table.GetField(i);
    if (field->IsFictive()) continue;
    const int source = defaultRow->DataTable().IndexOfField(field);
    if (source >= 0) SetValueByIndex(i, defaultRow->IndexValue(source));
  }
}

void TDataRow::AddValues(const TDataRow* sourceRow, TAddMode mode) {
  RequireElements(sourceRow != nullptr, "TDataRow.AddValues: SourceRow <> nil");
  const TDataTable& table = DataTable();
  // Every check comes before the first change.
  for (int i = 0; i < table.FieldCount(); ++i) {
    const TDataField* field = table.GetField(i);
    if (!field->IsAggregable && field->DataType() && !IndexEqual(sourceRow, i))
      ReportDataError(desFatal, "AddValues", "AddValues: Different nonaggregable values in rows");
  }
  for (int i = table.KeyCount(); i < table.FieldCount(); ++i) {
    const TDataField* field = table.GetField(i);
    if (!field->IsAggregable || !field->DataType()) continue;
    const TDataType& type = *field->DataType();
    const TValue mine = IndexValue(i), theirs = sourceRow->IndexValue(i);
    switch (mode) {
      case TAddMode::amAdd: SetIndexValue(i, type.Sum(mine, theirs), saRefuse); break;
      case TAddMode::amSubtract: SetIndexValue(i, type.Difference(mine, theirs), saRefuse); break;
      case TAddMode::amReplace: SetIndexValue(i, theirs, saRefuse); break;
      case TAddMode::amKeep: break;
    }
  }
}

std::pair<TValue, std::string> TDataRow::GetKeyAndDescription(const TDataField* aField) const {
  RequireElements(aField != nullptr, "TDataRow.GetKeyAndDescription: AField <> nil");
  auto* field = const_cast<TDataField*>(aField);
  TDataField* textField = field->TextFields().Field(LanguageIndexOf(field->Singletons()));
  const TValue key = GetFieldValue(field);
  if (!textField || (IndexOfField(field) < 0 && DataTable().IndexOfField(textField) < 0))
    ReportDataError(desFatal, "Lookup",
                    "Not enough info on field to perform lookup! Row: " + DisplayText() +
                        " Row, Field: " + field->FieldName());
  return {key, ValueAsString(GetFieldValue(textField))};
}

// --- sub-totals

TSetResult TDefaultSubTotalHandler::SetValue(TSubTotalRow&, const TDataField*, const TValue&) {
  throw Exception("Subtotals are by default read-only. Subclass TSubTotalHandler for writable subtotals!");
}

namespace {
TDefaultSubTotalHandler& DefaultSubTotalHandler() {
  static TDefaultSubTotalHandler handler;
  return handler;
}
}  // namespace

TSubTotalRow::TSubTotalRow(const TDataTable& table, int level, const TDataField* keyField)
    : TAbstractRow(table),
      level_(level),
      keyField_(keyField),
      children_(keyField ? keyField->DataType() : nullptr) {
  if (keyField && keyField->DataType()) {
    children_.SetSorted(true);
    children_.SetDuplicates(TDuplicates::dupAccept);
  }
}

TSubTotalRow::~TSubTotalRow() {
  for (int i = children_.Count() - 1; i >= 0; --i) delete children_.Objects(i);
}

int TSubTotalRow::ChildCount() const {
  return children_.Count();
}

TAbstractRow* TSubTotalRow::Child(int index) const {
  return static_cast<TAbstractRow*>(children_.Objects(index));
}

TValue TSubTotalRow::ChildKey(int index) const {
  return children_.GetValueAt(index);
}

int TSubTotalRow::FindChild(const TValue& key) const {
  if (!children_.Sorted()) return children_.IndexOfValue(key);
  int index = -1;
  const TDataType* type = children_.DataType();
  // A key mostly comes in the children's type already: searched without a copy.
  const bool found =
      type == key.DataType ? children_.Find(key, index) : children_.Find(type->ConvertValue(key), index);
  return found ? index : -1;
}

int TSubTotalRow::AddChild(const TValue& key, std::unique_ptr<TAbstractRow> child) {
  const int index = children_.AddValueObject("", key, child.get());
  child->SetParent(this);
  child.release();
  return index;
}

std::unique_ptr<TAbstractRow> TSubTotalRow::TakeChild(int index) {
  std::unique_ptr<TAbstractRow> child(Child(index));
  children_.Delete(index);
  child->SetParent(nullptr);
  return child;
}

TValue TSubTotalRow::Aggregate(const TDataField* field) const {
  const TDataType& type = *field->DataType();
  TValue total = type.GetDefaultValue();
  for (int i = 0; i < ChildCount(); ++i) {
    const TAbstractRow* child = Child(i);
    if (auto* sub = dynamic_cast<const TSubTotalRow*>(child))
      total = type.Sum(total, sub->Aggregate(field));
    else if (child->IsDataRow())
      total = type.Sum(total, child->GetFieldValue(field));
  }
  return total;
}

TSetResult TSubTotalRow::SetIndexValue(int idx, const TValue& value, TSetAction) {
  if (!Storage()) ReportDataError(desFatal, "Subtotals", "Subtotal isn't in a storage!");
  TSubTotalHandler& handler = handler_ ? *handler_ : DefaultSubTotalHandler();
  return handler.SetValue(*this, DataTable().GetField(idx), value);
}

void TSubTotalRow::CollectRows(std::vector<TAbstractRow*>& list, const TRowCondition* condition,
                               bool ordered) {
  if (Visible() && (!condition || condition->AcceptsRow(*this))) list.push_back(this);
  for (int i = 0; i < ChildCount(); ++i) Child(i)->CollectRows(list, condition, ordered);
}

bool TSubTotalRow::AcceptRow(TRowAcceptor& acceptor,
                             const std::function<void(void*, TAbstractRow&)>& callback, void* data) {
  bool all = true;
  for (int i = 0; i < ChildCount(); ++i) all = Child(i)->AcceptRow(acceptor, callback, data) && all;
  return all;
}

void TSubTotalRow::CollectByState(std::vector<TAbstractRow*>& list, TRowState state) {
  for (int i = 0; i < ChildCount(); ++i) Child(i)->CollectByState(list, state);
}

void TSubTotalRow::CountDataRows(int& counter) const {
  for (int i = 0; i < ChildCount(); ++i) Child(i)->CountDataRows(counter);
}

void TSubTotalRow::TakeKeysFrom(const TSubTotalRow& parent, int fieldIndex, const TValue& key) {
  for (const TSubTotalRow* above = &parent; above != nullptr; above = above->Parent())
    if (above->keyIndex_ >= 0) WriteSlot(above->keyIndex_, parent.IndexValue(above->keyIndex_));
  if (fieldIndex < 0) return;
  WriteSlot(fieldIndex, key);
  keyIndex_ = fieldIndex;
}

bool TSubTotalRow::FieldHasValue(const TDataField* field) const {
  RequireElements(field != nullptr, "TSubTotalRow.FieldHasValue: Field <> nil");
  const int idx = DataTable().IndexOfField(field);
  if (idx >= 0)
    for (const TSubTotalRow* node = this; node != nullptr; node = node->Parent())
      if (node->keyIndex_ == idx) return true;
  return field->IsAggregable;
}

}  // namespace tv
