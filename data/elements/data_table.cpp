#include "data/elements/data_table.h"

#include <algorithm>
#include <cstdint>

#include "data/elements/data_error.h"
#include "data/elements/name_registry.h"

namespace tv {

TDataTable::TDataTable(TComponent* owner) : TSingleton(owner) {
  UpdateLayout();
}

TDataTable::~TDataTable() {
  SetTableType(nullptr);
  if (TNameRegistry* registry = TableRegistry()) registry->Remove(tableName_, this);
  for (TDataField* field : fields_) field->TableList().Remove(this);
}

std::unique_ptr<TDataTable> TDataTable::CreateWithFields(const std::string& tableName,
                                                         const std::vector<TDataField*>& keys,
                                                         const std::vector<TDataField*>& fields,
                                                         TDataBridge* dataBridge, TDataTableType* tableType) {
  auto table = std::make_unique<TDataTable>(nullptr);
  table->dataBridge_ = dataBridge;
  for (TDataField* key : keys)
    if (key) table->fields_.push_back(key);
  table->keyCount_ = static_cast<int>(table->fields_.size());
  for (TDataField* field : fields)
    if (field) table->fields_.push_back(field);
  table->fieldCount_ = static_cast<int>(table->fields_.size());
  for (TDataField* field : table->fields_) {
    field->TableList().Add(table.get());
    table->NoteSpecialField(field);
  }
  table->SetTableType(tableType);
  table->SetTableName(tableName);
  table->UpdateLayout();
  table->CheckDoubleFields();
  return table;
}

// --- structure

int TDataTable::PositionInList(const TDataField* field) const {
  const auto at = std::find(fields_.begin(), fields_.end(), field);
  return at == fields_.end() ? -1 : static_cast<int>(at - fields_.begin());
}

void TDataTable::NoteSpecialField(TDataField* field) {
  if (auto* list = ClassCast<TDataFieldList>(field))
    if (std::find(fieldLists_.begin(), fieldLists_.end(), list) == fieldLists_.end())
      fieldLists_.push_back(list);
  if (!runningNumberField_ && field->IsRunningNumber() && PositionInList(field) < keyCount_)
    runningNumberField_ = field;
}

void TDataTable::Take(TDataField* field, int position) {
  position = std::clamp(position, 0, static_cast<int>(fields_.size()));
  fields_.insert(fields_.begin() + position, field);
  field->TableList().Add(this);
}

void TDataTable::Release(TDataField* field) {
  field->TableList().Remove(this);
  std::erase(fields_, field);
  std::erase(fieldLists_, field);
  if (runningNumberField_ == field) runningNumberField_ = nullptr;
}

void TDataTable::CheckLocked() const {
  if (locked_)
    ReportDataError(desFatal, "DynaTable",
                    "TDynaTable.CheckLocked: DynaTable's structure is locked! It cannot be changed!");
}

void TDataTable::AddKey(TDataField* field) {
  CheckLocked();
  const int position = PositionInList(field);
  if (position >= 0 && position < fieldCount_)
    ReportDataError(desFatal, "AddField",
                    std::string("TDynaTable.AddKey: Field ")
                        .append(field->FieldName())
                        .append(" already exists in table!"));
  if (position >= 0) fields_.erase(fields_.begin() + position);  // from the ignore area
  fields_.insert(fields_.begin() + keyCount_, field);
  if (position < 0) field->TableList().Add(this);
  ++keyCount_;
  ++fieldCount_;
  NoteSpecialField(field);
  UpdateLayout();
}

void TDataTable::AddField(TDataField* field) {
  CheckLocked();
  const int position = PositionInList(field);
  if (position >= 0 && position < fieldCount_)
    ReportDataError(desFatal, "AddField",
                    std::string("TDynaTable.AddField: Field ")
                        .append(field->FieldName())
                        .append(" already exists in table!"));
  if (position >= 0) fields_.erase(fields_.begin() + position);
  fields_.insert(fields_.begin() + fieldCount_, field);
  if (position < 0) field->TableList().Add(this);
  ++fieldCount_;
  NoteSpecialField(field);
  UpdateLayout();
}

void TDataTable::InsertFields(const std::vector<TDataField*>& fields, int index) {
  CheckLocked();
  if (index < keyCount_ || index > fieldCount_)
    ReportDataError(desFatal, "DynaTable", "TDynaTable.InsertFields: index outside the data fields");
  for (TDataField* field : fields)
    if (field == nullptr || PositionInList(field) >= 0)
      ReportDataError(desFatal, "AddField",
                      std::string("TDynaTable.InsertFields: Field ")
                          .append(field != nullptr ? field->FieldName() : "nil")
                          .append(" already exists in table!"));
  fields_.insert(fields_.begin() + index, fields.begin(), fields.end());
  fieldCount_ += static_cast<int>(fields.size());
  for (TDataField* field : fields) {
    field->TableList().Add(this);
    NoteSpecialField(field);
  }
  UpdateLayout();
}

void TDataTable::AddIgnore(TDataField* field) {
  CheckLocked();
  if (PositionInList(field) >= 0)
    ReportDataError(desFatal, "AddField",
                    std::string("TDynaTable.AddIgnore: Field ")
                        .append(field->FieldName())
                        .append(" already exists in table!"));
  Take(field, static_cast<int>(fields_.size()));
  UpdateLayout();
}

void TDataTable::RemoveDataField(TDataField* field) {
  RequireElements(field != nullptr, "TDynaTable.RemoveDataField: AField <> nil");
  CheckLocked();
  const int position = PositionInList(field);
  if (position < 0) return;
  Release(field);
  if (position < keyCount_) --keyCount_;
  if (position < fieldCount_) --fieldCount_;
  UpdateLayout();
}

void TDataTable::ForgetField(TDataField* field) {
  const int position = PositionInList(field);
  if (position < 0) return;
  std::erase(fields_, field);
  std::erase(fieldLists_, field);
  if (runningNumberField_ == field) runningNumberField_ = nullptr;
  if (position < keyCount_) --keyCount_;
  if (position < fieldCount_) --fieldCount_;
  UpdateLayout();
}

void TDataTable::MoveField(TDataField* field, int newIndex) {
  RequireElements(field != nullptr, "TDynaTable.MoveField: ADataField <> nil");
  CheckLocked();
  const int position = PositionInList(field);
  auto moveTo = [this, field, position](int index) {
    fields_.erase(fields_.begin() + position);
    fields_.insert(fields_.begin() + std::clamp(index, 0, static_cast<int>(fields_.size())), field);
  };
  if (position < 0) {
    if (newIndex < keyCount_)
      ReportDataError(desFatal, "DynaTable", "TDynaTable.MoveField: Cannot add field into key area");
    Take(field, newIndex);
    if (newIndex <= fieldCount_) ++fieldCount_;
    NoteSpecialField(field);
  } else if (position < keyCount_) {
    if (newIndex < keyCount_ - 1)
      ReportDataError(desFatal, "DynaTable", "TDynaTable.MoveField: Cannot move field into key area");
    moveTo(newIndex);
    --keyCount_;
    if (runningNumberField_ == field) runningNumberField_ = nullptr;
  } else {
    if (newIndex < keyCount_)
      ReportDataError(desFatal, "DynaTable", "TDynaTable.MoveKey: Cannot move key into field area");
    moveTo(newIndex);
    if (position >= fieldCount_) ++fieldCount_;
  }
  UpdateLayout();
}

// --- positions

bool TDataTable::TableHasField(const TDataField* field) const {
  RequireElements(field != nullptr, "TDataTable.TableHasField: Field <> nil");
  return IndexOfField(field) >= 0;
}

bool TDataTable::TableHasKey(const TDataField* field) const {
  RequireElements(field != nullptr, "TDataTable.TableHasKey: Field <> nil");
  const int position = IndexOfField(field);
  return position >= 0 && position < keyCount_;
}

bool TDataTable::TableHasNonKey(const TDataField* field) const {
  RequireElements(field != nullptr, "TDataTable.TableHasNonKey: Field <> nil");
  // Anything that is not a key, a field outside the table included.
  const int position = IndexOfField(field);
  return position < 0 || position >= keyCount_;
}

int TDataTable::IndexOfFieldOrLookup(TDataField* field) const {
  const int position = IndexOfField(field);
  if (position >= 0) return position;
  for (int i = 0; i < fieldCount_; ++i)
    if (fields_[static_cast<std::size_t>(i)]->LookupField() == field) return i;
  return -1;
}

void TDataTable::CheckDoubleFields() const {
  for (int i = 0; i < fieldCount_; ++i)
    for (int j = 0; j < i; ++j)
      if (fields_[static_cast<std::size_t>(i)] == fields_[static_cast<std::size_t>(j)]) {
        const TDataField* field = fields_[static_cast<std::size_t>(i)];
        throw Exception(std::string("Double field: ")
                            .append(field->FieldName())
                            .append(" ")
                            .append(field->LongDescription(LanguageIndexOf(Singletons())))
                            .append(" (index: ")
                            .append(std::to_string(i))
                            .append(")"));
      }
}

// --- layout

void TDataTable::UpdateLayout() {
  layout_.clear();
  positions_.Clear();
  for (int i = fieldCount_ - 1; i >= 0; --i) positions_.Set(fields_[static_cast<std::size_t>(i)], i);
  int offset = 0;
  for (int i = 0; i < fieldCount_; ++i) {
    TDataField* field = fields_[static_cast<std::size_t>(i)];
    layout_.push_back(TFieldDataObject{field, offset});
    if (field->DataType()) offset += field->DataType()->GetDataSize();
  }
  rowDataSize_ = offset;
  blankRow_.reset();
}

const TDataRow& TDataTable::BlankRow() const {
  if (!blankRow_) blankRow_ = std::make_unique<TDataRow>(*this, TDataRow::TBlank{});
  return *blankRow_;
}

// --- names, types, copies

void TDataTable::SetTableName(const std::string& name) {
  const std::string old = tableName_;
  TNameRegistry* registry = TableRegistry();
  if (registry) registry->Remove(old, this);
  tableName_ = name;
  if (descriptions_.DefaultText() == old) descriptions_.SetDefaultText(name);
  if (registry && !name.empty() && tableType_) registry->Enter(name, this);
}

void TDataTable::SetTableType(TDataTableType* type) {
  if (type == tableType_) return;
  if (tableType_) std::erase(tableType_->tables_, this);
  tableType_ = type;
  if (type) type->tables_.push_back(this);
  // Only a table with a name and a type is registered.
  TNameRegistry* registry = TableRegistry();
  if (!registry) return;
  registry->Remove(tableName_, this);
  if (!tableName_.empty() && tableType_) registry->Enter(tableName_, this);
}

bool TDataTable::HasFieldList(const TObject* object) const {
  return std::find(fieldLists_.begin(), fieldLists_.end(), object) != fieldLists_.end();
}

bool TDataTable::DeleteRows(const TObject* criteria) {
  return dataBridge_ && dataBridge_->DeleteData(*this, criteria);
}

// The keys, fields and ignored fields in their places, laid out once (one
// by one, a table of thousands of fields would be laid out for each).
std::unique_ptr<TDataTable> TDataTable::CreateCopy() const {
  auto copy = std::make_unique<TDataTable>(nullptr);
  copy->fields_ = fields_;
  copy->keyCount_ = keyCount_;
  copy->fieldCount_ = fieldCount_;
  for (TDataField* field : fields_) field->TableList().Add(copy.get());
  copy->UpdateLayout();
  copy->fieldLists_ = fieldLists_;
  copy->extraLists_[0] = extraLists_[0];
  copy->extraLists_[1] = extraLists_[1];
  copy->runningNumberField_ = runningNumberField_;
  return copy;
}

std::unique_ptr<TDataTable> TDataTable::CreateCopy(const TDataTable* table) {
  RequireElements(table != nullptr, "TDynaTable.CreateCopy: Table <> nil");
  return table->CreateCopy();
}

// --- TDataTableType

TDataTableType::TDataTableType(TComponent* owner) : TSingleton(owner) {}

TDataTableType::~TDataTableType() {
  for (TDataTable* table : std::vector<TDataTable*>(tables_)) table->SetTableType(nullptr);
}

void TDataTableType::CheckDestroy() const {
  if (tables_.empty()) return;
  throw Exception(std::string("TDataTableType.Destroy: TableList still contains ")
                      .append(std::to_string(tables_.size()))
                      .append(" table(s). The first one is ")
                      .append(tables_.front()->TableName()));
}

// --- TDataBridge

TDataBridge::TDataBridge(TComponent* owner) : TSingleton(owner) {}

void TDataBridge::Refuse(const char* operation, bool allowed, const char* refusal) const {
  std::string message = ClassName();
  message.append(".").append(operation).append(": ").append(allowed ? "Method not implemented" : refusal);
  throw Exception(message);
}

void TDataBridge::OpenReadConnection() {
  Refuse("OpenReadConnection", CanRead, "Read is not allowed from this type of DataBridge");
}

void TDataBridge::OpenWriteConnection() {
  Refuse("OpenWriteConnection", CanWrite, "Write is not allowed to this type of DataBridge");
}

void TDataBridge::UpdateData(const TDataTable&, const TList*) {
  Refuse("UpdateData", CanWrite, "Write is not allowed to this type of DataBridge");
}

bool TDataBridge::DeleteData(const TDataTable&, const TObject*) {
  Refuse("DeleteData", CanWrite, "Write is not allowed to this type of DataBridge");
}

std::string TDataBridge::GetSelectSQL(const TDataTable&, const TObject*) {
  throw Exception(ClassName() + ": SQL not supported!");
}

std::string TDataBridge::GetDeleteSQL(const TDataTable&, const TObject*) {
  throw Exception(ClassName() + ": SQL not supported!");
}

}  // namespace tv
