#include "data/elements/data_field.h"

#include <algorithm>

#include "data/elements/data_error.h"
#include "data/elements/data_row.h"
#include "data/elements/data_table.h"
#include "data/elements/name_registry.h"
#include "platform/components/properties.h"

namespace tv {

// --- TLangFieldArray

TObject* TLangFieldArray::DefaultObject() const {
  return defaultField_ ? defaultField_() : nullptr;
}

TDataField* TLangFieldArray::Field(int index) const {
  return static_cast<TDataField*>(Object(index));
}

void TLangFieldArray::SetField(int index, TDataField* field) {
  SetObject(index, field);
}

// --- TDataField

void TDataField::PublishOwn() {
  using T = TDataField;
  RegisterProperties(
      StaticClassInfo(),
      {StringProperty("FieldName", &T::FieldName, &T::SetFieldName),
       IntegerProperty("DisplayWidth", &T::DisplayWidth, &T::SetDisplayWidth),
       BooleanProperty("DisableIntervals", &T::DisableIntervals, &T::DisableIntervals),
       BooleanProperty("IsAggregable", &T::IsAggregable, &T::IsAggregable),
       BooleanProperty("HasCombo", &T::HasCombo, &T::HasCombo),
       BooleanProperty("AllowSelections", &T::AllowSelections, &T::AllowSelections),
       BooleanProperty("IsReportable", &T::IsReportable, &T::IsReportable),
       EnumProperty("RefillType", &T::RefillType), EnumProperty("SortOrder", &T::SortOrder),
       BooleanProperty("CanGenerateCondSQL", &T::CanGenerateCondSQL, &T::CanGenerateCondSQL),
       BooleanProperty("CanGenerateValueSQL", &T::CanGenerateValueSQL, &T::CanGenerateValueSQL),
       BooleanProperty("DefaultReadOnly", &T::DefaultReadOnly, &T::DefaultReadOnly),
       EnumProperty("DisplayValues", &T::DisplayValues, &T::SetDisplayValues),
       BooleanProperty("IsRunningNumber", &T::IsRunningNumber)});
}

TDataField::TDataField(TComponent* owner)
    : TSingleton(owner),
      dataType_(StringType(30, false)),
      longTextFields_([this]() -> TDataField* { return textFields_.Field(LanguageIndexOf(Singletons())); }) {
  SetDisplayValues(TDisplayValues::dvDefault);
}

TDataField::~TDataField() {
  std::vector<TDataTable*> tables;
  for (TIndexContainerIterator it(tableList_); !it.AtEnd(); it.Next())
    tables.push_back(static_cast<TDataTable*>(it.Key()));
  for (TDataTable* table : tables) table->ForgetField(this);
  if (TNameRegistry* registry = FieldRegistry()) registry->Remove(fieldName_, this);
  for (TDataField* derived : derivedFields_) derived->derivedFrom_ = nullptr;
  if (derivedFrom_) std::erase(derivedFrom_->derivedFields_, this);
}

std::unique_ptr<TDataField> TDataField::CreateNamed(const std::string& fieldName, const TDataType* dataType) {
  auto field = std::make_unique<TDataField>(nullptr);
  field->InitNamed(fieldName, dataType);
  return field;
}

void TDataField::InitNamed(const std::string& fieldName, const TDataType* dataType) {
  descriptions_.SetDefaultText(fieldName);
  longDescriptions_.SetDefaultText(fieldName);
  dataType_ = dataType;
  IsAggregable = dataType && dataType->IsAggregable();
  displayWidth_ = dataType ? dataType->GetDisplayWidth() : -1;
  SetDisplayValues(TDisplayValues::dvDefault);
  SetFieldName(fieldName);
}

void TDataField::SetFieldName(const std::string& name) {
  TNameRegistry* registry = FieldRegistry();
  if (name == fieldName_ && (name.empty() || (registry && registry->Find(name) == this))) return;
  const std::string old = fieldName_;
  if (registry) registry->Remove(old, this);
  fieldName_ = name;
  for (TLangArray* array : {&descriptions_, &longDescriptions_})
    if (array->DefaultText() == old) array->SetDefaultText(name);
  if (registry && !name.empty()) registry->Enter(name, this);
}

void TDataField::SetName(const std::string& name) {
  const std::string old = Name();
  TSingleton::SetName(name);
  const std::string prefix = Singletons() ? Singletons()->FieldPrefix() : std::string();
  auto withoutPrefix = [&prefix](const std::string& text) {
    return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0 ? text.substr(prefix.size()) : text;
  };
  if (fieldName_ == old || (!prefix.empty() && fieldName_ == withoutPrefix(old)))
    SetFieldName(withoutPrefix(name));
}

void TDataField::SetDataType(const TDataType* dataType) {
  if (dataType == dataType_) return;
  dataType_ = dataType;
  MarkChanged();
}

void TDataField::SetDescriptions(const std::vector<std::string>& texts) {
  SetDescriptions(texts, texts);
}

void TDataField::SetDescriptions(const std::vector<std::string>& descriptions,
                                 const std::vector<std::string>& longDescriptions) {
  descriptions_.SetTexts(descriptions);
  longDescriptions_.SetTexts(longDescriptions);
}

void TDataField::SetLanguageFields(int languageIndex, TDataField* textField, TDataField* longTextField) {
  textFields_.SetField(languageIndex, textField);
  longTextFields_.SetField(languageIndex, longTextField);
}

void TDataField::SetDerivedFrom(TDataField* field) {
  if (field == this) field = nullptr;
  if (derivedFrom_) std::erase(derivedFrom_->derivedFields_, this);
  derivedFrom_ = field;
  if (field) field->derivedFields_.push_back(this);
}

void TDataField::SetDisplayValues(TDisplayValues values) {
  if (values == TDisplayValues::dvDefault)
    values = dynamic_cast<const TStringType*>(dataType_) ? TDisplayValues::dvKeyAndText
                                                         : TDisplayValues::dvKeyOnly;
  displayValues_ = values;
}

bool TDataField::IsRunningNumber() const {
  return ClassCast<TRunningNumberField>(this) != nullptr;
}

TValue TDataField::GetValue(const TAbstractRow& row, int idx) const {
  return row.ReadSlot(idx);
}

std::string TDataField::GetSQLExpression(bool aggregated) const {
  return aggregated ? std::string("SUM(").append(fieldName_).append(")") : fieldName_;
}

TValue TDataField::GetExternValue(const TAbstractRow&) const {
  return dataType_ ? dataType_->GetDefaultValue() : EmptyStringValue();
}

TSetResult TDataField::SetValue(TAbstractRow& row, const TValue& value, TSetAction) {
  throw Exception(std::string("Cannot set value ")
                      .append(ValueAsString(value))
                      .append(" to Row ")
                      .append(row.DisplayText())
                      .append(", Field ")
                      .append(fieldName_));
}

void TDataField::SetAuxTable(TDataTable* table) {
  if (table && !table->TableHasKey(this))
    ReportDataError(
        desFatal, "SetAuxTable",
        std::string(table->TableName()).append(" doesn't have ").append(fieldName_).append(" as a key!"));
  auxTable_ = table;
}

int TDataField::DependentFieldCount() const {
  return auxTable_ ? auxTable_->FieldCount() - auxTable_->KeyCount() : 0;
}

TDataField* TDataField::GetDependentField(int idx) const {
  RequireElements(idx >= 0, "TKeyField.GetDependentField: idx >= 0, idx: ", idx);
  if (!auxTable_ || idx >= DependentFieldCount()) return nullptr;
  return auxTable_->GetField(auxTable_->KeyCount() + idx);
}

void TDataField::AddDependentChild(TDataField* child) {
  if (std::find(dependentChildren_.begin(), dependentChildren_.end(), child) == dependentChildren_.end())
    dependentChildren_.push_back(child);
}

void TDataField::RemoveDependentChild(TDataField* child) {
  std::erase(dependentChildren_, child);
}

TDataField* TDataField::GetDependentChild(int idx) const {
  RequireElements(idx >= 0 && idx < DependentChildCount(),
                  "TKeyField.GetDependentChild: (idx >= 0) and (idx < FDependentChildren.Count), idx: ", idx);
  return dependentChildren_[static_cast<std::size_t>(idx)];
}

TDataField* TDataField::GetDerivedField(int idx) const {
  RequireElements(idx >= 0 && idx < DerivedFieldCount(),
                  "TKeyField.GetDerivedField: (idx >= 0) and (idx < FDerivedFields.Count), idx: ", idx);
  return derivedFields_[static_cast<std::size_t>(idx)];
}

TDataField* TDataField::ChainField(int) {
  return this;
}

void TDataField::AddToList(TList* list, bool) {
  RequireElements(list != nullptr, "TDataField.AddToList: AList <> nil");
  list->Add(this);
}

void TDataField::GetValues(TStrings&, const TDataTable*, const TAbstractRow*, const TRowCondition*) {}

void TDataField::GetRows(TList* results, const TObject*) const {
  RequireElements(results != nullptr, "TDataField.GetRows: Results <> nil");
}

// --- TKeyField

TKeyField::TKeyField(TComponent* owner) : TDataField(owner) {
  IsAggregable = false;
  HasCombo = true;
  AllowSelections = true;
  IsReportable = true;
  SetDisplayWidth(-1);
}

void TKeyField::InitKey(const std::string& fieldName, const TDataType* dataType) {
  InitNamed(fieldName, dataType);
  IsAggregable = false;
  SetDisplayValues(TDisplayValues::dvKeyOnly);
  HasCombo = false;
  AllowSelections = true;
  IsReportable = true;
  SetDisplayWidth(dataType ? dataType->GetDataSize() + 25 : -1);
}

std::unique_ptr<TKeyField> TKeyField::CreateNamed(const std::string& fieldName, const TDataType* dataType) {
  auto field = std::make_unique<TKeyField>(nullptr);
  field->InitKey(fieldName, dataType);
  return field;
}

std::unique_ptr<TKeyField> TKeyField::CreateNamed(const std::string& fieldName, const TDataType* dataType,
                                                  TDataTable* auxTable, int displayWidth,
                                                  TDisplayValues displayValues, bool hasCombo) {
  auto field = CreateNamed(fieldName, dataType);
  if (displayWidth != -1) field->SetDisplayWidth(displayWidth);
  field->SetDisplayValues(displayValues);
  field->HasCombo = hasCombo;
  field->SetAuxTable(auxTable);
  return field;
}

int TKeyField::LookupChainLength() const {
  return nextKey_ ? 1 + nextKey_->LookupChainLength() : 0;
}

TDataField* TKeyField::ChainField(int level) {
  if (level <= 0 || !nextKey_) return this;
  return nextKey_->ChainField(level - 1);
}

// --- running numbers

bool TDefaultRunningNumberGenerator::NeedsNumber(const TAbstractRow& row, const TDataField& field) const {
  return ValueAsInteger(row.GetFieldValue(&field)) < 1;
}

std::int32_t TDefaultRunningNumberGenerator::NextNumber(
    const std::vector<std::int32_t>& existingValues) const {
  std::int32_t smallest = 0;
  for (std::int32_t value : existingValues) smallest = std::min(smallest, value);
  return smallest - 1;
}

const TDefaultRunningNumberGenerator& DefaultRunningNumberGenerator() {
  static const TDefaultRunningNumberGenerator generator;
  return generator;
}

TRunningNumberField::TRunningNumberField(TComponent* owner)
    : TKeyField(owner), generator_(&DefaultRunningNumberGenerator()) {
  SetDataType(IntegerType());
}

std::unique_ptr<TRunningNumberField> TRunningNumberField::CreateNamed(const std::string& fieldName) {
  auto field = std::make_unique<TRunningNumberField>(nullptr);
  field->InitKey(fieldName, IntegerType());
  return field;
}

void TRunningNumberField::SetGenerator(const TRunningNumberGenerator* generator) {
  generator_ = generator ? generator : &DefaultRunningNumberGenerator();
}

// --- field sets

TDataFieldSet::TDataFieldSet(const TDataTable& table) {
  for (int i = 0; i < table.FieldCount(); ++i) Add(table.GetField(i));
}

void TDataFieldSet::Assign(const TDataFieldSet& source) {
  if (&source == this) return;
  fields_.Clear();
  UnionWith(source);
}

void TDataFieldSet::UnionWith(const TDataFieldSet& other) {
  for (TDataFieldSetIterator it(&other); !it.AtEnd(); it.Next()) Add(it.Current());
}

void TDataFieldSet::Add(TDataField* field) {
  if (!fields_.Contains(field)) fields_.Add(field);
}

bool TDataFieldSet::ContainsFieldAt(const TDataTable& table, int idx) const {
  return Contains(table.GetField(idx));
}

bool SetContains(const TDataFieldSet* set, const TDataField* field) {
  return !set || set->Contains(field);
}

bool SetContainsFieldAt(const TDataFieldSet* set, const TDataTable& table, int idx) {
  return !set || set->ContainsFieldAt(table, idx);
}

TDataFieldSetIterator::TDataFieldSetIterator(const TDataFieldSet* set) {
  if (set) iterator_ = std::make_unique<TIndexContainerIterator>(set->fields_);
}

TDataField* TDataFieldSetIterator::Current() const {
  return AtEnd() ? nullptr : static_cast<TDataField*>(iterator_->Key());
}

void TDataFieldSetIterator::Next() {
  if (iterator_) iterator_->Next();
}

TDataField* FindRegisteredField(const std::string& fieldName) {
  TNameRegistry* registry = FieldRegistry();
  return registry ? static_cast<TDataField*>(registry->Find(fieldName)) : nullptr;
}

}  // namespace tv
