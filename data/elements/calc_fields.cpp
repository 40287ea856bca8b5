#include "data/elements/calc_fields.h"

#include "platform/components/class_registry.h"
#include "platform/components/properties.h"

namespace tv {

// --- TCalcField

void TCalcField::PublishOwn() {
  using T = TCalcField;
  RegisterProperties(
      StaticClassInfo(),
      {BooleanProperty("LegalForSubTotals", &T::LegalForSubTotals, &T::LegalForSubTotals),
       BooleanProperty("CalcInTable", &T::CalcInTable, &T::CalcInTable),
       BooleanProperty("CalcbeforeAggregating", &T::CalcbeforeAggregating, &T::CalcbeforeAggregating),
       EventProperty("OnCalcValue", &T::OnCalcValue),
       EventProperty("OnDistributeValue", &T::OnDistributeValue),
       EventProperty("OnGetValues", &T::OnGetValues)});
}

TCalcField::TCalcField(TComponent* owner) : TDataField(owner) {
  CanGenerateValueSQL = false;
  CanGenerateCondSQL = false;
  DefaultReadOnly = false;
}

void TCalcField::InitCalc(const std::string& fieldName, bool calcBeforeAggregating, bool readOnly,
                          const TDataType* dataType) {
  InitNamed(fieldName, dataType);
  CalcInTable = false;
  DefaultReadOnly = readOnly;
  CalcbeforeAggregating = calcBeforeAggregating;
  LegalForSubTotals = true;
  CanGenerateValueSQL = false;
  CanGenerateCondSQL = false;
}

std::unique_ptr<TCalcField> TCalcField::CreateNamed(const std::string& fieldName, bool calcBeforeAggregating,
                                                    bool readOnly, const TDataType* dataType) {
  auto field = std::make_unique<TCalcField>(nullptr);
  field->InitCalc(fieldName, calcBeforeAggregating, readOnly, dataType);
  return field;
}

TValue TCalcField::GetValue(const TAbstractRow& row, int idx) const {
  return CalcInTable ? GetExternValue(row) : TDataField::GetValue(row, idx);
}

TValue TCalcField::GetExternValue(const TAbstractRow& row) const {
  const auto* subTotal = dynamic_cast<const TSubTotalRow*>(&row);
  if (!subTotal) return CalcValue(row);
  if (row.DataTable().TableHasKey(this)) return CalcValue(row);
  if (IsAggregable) return CalcbeforeAggregating ? subTotal->Aggregate(this) : CalcValue(row);
  if (LegalForSubTotals) return CalcValue(row);
  return DataType()->GetDefaultValue();
}

TSetResult TCalcField::SetValue(TAbstractRow& row, const TValue& value, TSetAction) {
  if (DefaultReadOnly) return srReadOnly;
  return DistributeValue(row, value);
}

void TCalcField::AddToList(TList* list, bool includeCalculated) {
  if (includeCalculated) TDataField::AddToList(list, includeCalculated);
}

void TCalcField::GetValues(TStrings& results, const TDataTable* table, const TAbstractRow* row,
                           const TRowCondition* condition) {
  if (OnGetValues)
    OnGetValues(*this, results, table, row, condition);
  else
    TDataField::GetValues(results, table, row, condition);
}

TValue TCalcField::CalcValue(const TAbstractRow& row) const {
  if (!OnCalcValue) throw Exception(ClassName() + ".CalcValue: Method not implemented!");
  return OnCalcValue(const_cast<TCalcField&>(*this), row);
}

TSetResult TCalcField::DistributeValue(TAbstractRow& row, const TValue& value) {
  if (!OnDistributeValue) throw Exception(ClassName() + ".DistributeValue: Method not implemented!");
  return OnDistributeValue(*this, row, value);
}

const TCalcField& DefaultCalcField() {
  static const std::unique_ptr<TCalcField> field = TCalcField::CreateNamed("", true, true, BooleanType());
  return *field;
}

// --- TFictiveField

TFictiveField::TFictiveField(TComponent* owner) : TKeyField(owner) {
  DefaultReadOnly = true;
}

// --- ready-made fields

TConstantField::TConstantField(TComponent* owner) : TCalcField(owner), constant_(ZeroValue()) {
  IsAggregable = true;
}

void TConstantField::InitConstant(const std::string& fieldName, const TValue& value) {
  InitCalc(fieldName, false, true, value.DataType);
  constant_ = value;
  IsAggregable = true;
}

std::unique_ptr<TConstantField> TConstantField::Create(const std::string& fieldName, const TValue& value) {
  auto field = std::make_unique<TConstantField>(nullptr);
  field->InitConstant(fieldName, value);
  return field;
}

TValue TConstantField::CalcValue(const TAbstractRow&) const {
  return constant_;
}

TSetResult TConstantField::DistributeValue(TAbstractRow&, const TValue&) {
  return srReadOnly;
}

std::unique_ptr<THeaderField> THeaderField::Create(const std::string& fieldName, const TValue& value,
                                                   int tag) {
  auto field = std::make_unique<THeaderField>(nullptr);
  field->InitConstant(fieldName, value);
  field->HeaderTag = tag;
  return field;
}

std::unique_ptr<TRowModifiedField> TRowModifiedField::Create(const std::string& fieldName) {
  auto field = std::make_unique<TRowModifiedField>(nullptr);
  field->InitCalc(fieldName, false, true, BooleanType());
  return field;
}

TValue TRowModifiedField::CalcValue(const TAbstractRow& row) const {
  return BooleanValue(row.IsUnaccepted());
}

std::unique_ptr<TBooleanTextField> TBooleanTextField::Create(const std::string& fieldName,
                                                             TDataField* booleanField) {
  auto field = std::make_unique<TBooleanTextField>(nullptr);
  field->InitCalc(fieldName, true, true, StringType(5, false));
  field->booleanField_ = booleanField;
  if (booleanField) {
    booleanField->AddDependentChild(field.get());
    field->SetDerivedFrom(booleanField);
    booleanField->SetDisplayValues(TDisplayValues::dvTextOnly);
  }
  return field;
}

TBooleanTextField::~TBooleanTextField() {
  if (booleanField_) booleanField_->RemoveDependentChild(this);
}

TValue TBooleanTextField::CalcValue(const TAbstractRow& row) const {
  return StringValue(row.GetFBooleanValue(booleanField_) ? "True" : "False");
}

void RegisterCalcFieldClasses() {
  RegisterComponentClass<TCalcField>();
  RegisterComponentClass<TFictiveField>();
  RegisterComponentClass(TClosedField::StaticClassInfo(),
                         [](TComponent*) -> TComponent* { throw EAbstractError(); });
}

}  // namespace tv
