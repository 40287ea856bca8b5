#include "data/types/data_types.h"

#include <algorithm>

#include "data/types/registry.h"
#include "platform/rtl/sysutils.h"

namespace tv {

// --- the registries

namespace detail {
TDataTypeRegistryData* registry = nullptr;

namespace {
// Destroys the registries at process end. It is made on first use, after
// anything constructed before, so it is destroyed before those.
struct TRegistryOwner {
  std::unique_ptr<TDataTypeRegistryData> data;
  ~TRegistryOwner() {
    stringTypeLists = nullptr;
    data.reset();
    registry = nullptr;
  }
};
}  // namespace

TDataTypeRegistryData& CreateRegistry() {
  static TRegistryOwner owner;
  owner.data = std::make_unique<TDataTypeRegistryData>();
  registry = owner.data.get();
  stringTypeLists = registry->StringTypes;
  registry->CreateStandardTypes();
  return *registry;
}
}  // namespace detail

void TDataTypeRegistryData::CreateStandardTypes() {
  Factory = std::make_unique<TDataTypeFactory>();
  Object = std::make_unique<TObjectType>();
  Integer = std::make_unique<TIntegerType>();
  Boolean = std::make_unique<TBooleanType>();
  DateTime = std::make_unique<TDateTimeType>();
  Date = std::make_unique<TDateType>();
  Time = std::make_unique<TTimeType>();
  Pointer = std::make_unique<TPointerType>();
  Double = std::make_unique<TDoubleType>();
  Currency = std::make_unique<TCurrencyType>();
  Percent = std::make_unique<TPercentType>();
  Memo = std::make_unique<TMemoType>(false);
  CaseSensitiveMemo = std::make_unique<TMemoType>(true);
  IntegerString = std::make_unique<TIntegerStringType>();
  Picture = std::make_unique<TPictureType>();
  StringDateTime = std::make_unique<TStringDateTimeType>();

  EmptyString = std::make_unique<TValue>(StringValue(""));
  True = std::make_unique<TValue>(BooleanValue(true));
  False = std::make_unique<TValue>(BooleanValue(false));
  Zero = std::make_unique<TValue>(IntegerValue(0));
  One = std::make_unique<TValue>(IntegerValue(1));
  Nil = std::make_unique<TValue>(PointerValue(nullptr));
}

TDataTypeRegistryData::~TDataTypeRegistryData() {
  Object.reset();
  Integer.reset();
  Boolean.reset();
  DateTime.reset();
  Date.reset();
  Time.reset();
  Pointer.reset();
  Double.reset();
  Currency.reset();
  Percent.reset();
  Memo.reset();
  CaseSensitiveMemo.reset();
  IntegerString.reset();
  Picture.reset();
  StringDateTime.reset();
  for (auto& list : StringTypes) {
    for (const TStringType* type : list) delete type;
    list.clear();
  }
  Instances.clear();
  Factory.reset();
  EmptyString.reset();
  True.reset();
  False.reset();
  Zero.reset();
  One.reset();
  Nil.reset();
}

void TDataTypeRegistryData::AddInstance(const TDataType* type) {
  if (std::find(Instances.begin(), Instances.end(), type) == Instances.end()) Instances.push_back(type);
}

void TDataTypeRegistryData::RemoveInstance(const TDataType* type) {
  std::erase(Instances, type);
}

namespace {
// Sizes up to this one sit at their own index; larger ones follow in order
// of creation.
constexpr int kDirectSizes = 1024;
}  // namespace

const TStringType* TDataTypeRegistryData::FindOrCreateStringType(int size, bool caseSensitive) {
  if (size < 0) throw EListError(ListIndexErrorText(size));
  auto& list = StringTypes[caseSensitive ? 1 : 0];
  const auto index = static_cast<std::size_t>(size);
  if (size <= kDirectSizes) {
    if (index < list.size() && list[index]) return list[index];
    if (index >= list.size()) list.resize(index + 1, nullptr);
    list[index] = new TStringType(size, caseSensitive);
    return list[index];
  }
  for (std::size_t i = kDirectSizes + 1; i < list.size(); ++i)
    if (list[i]->Size() == size) return list[i];
  if (list.size() < kDirectSizes + 1) list.resize(kDirectSizes + 1, nullptr);
  list.push_back(new TStringType(size, caseSensitive));
  return list.back();
}

// --- the factory

void TDataTypeFactory::Enter(const TDataTypeClass& typeClass) {
  const std::string name = typeClass.Name();
  auto place = std::lower_bound(
      classes_.begin(), classes_.end(), name,
      [](const TDataTypeClass* c, const std::string& n) { return CompareText(c->Name(), n) < 0; });
  if (place != classes_.end() && SameText((*place)->Name(), name)) return;
  classes_.insert(place, &typeClass);
}

const TDataTypeClass* TDataTypeFactory::Find(std::string_view className) const {
  auto place = std::lower_bound(
      classes_.begin(), classes_.end(), className,
      [](const TDataTypeClass* c, std::string_view n) { return CompareText(c->Name(), n) < 0; });
  return place != classes_.end() && SameText((*place)->Name(), className) ? *place : nullptr;
}

std::vector<std::string> TDataTypeFactory::ClassNames() const {
  std::vector<std::string> names;
  for (const TDataTypeClass* c : classes_) names.push_back(c->Name());
  return names;
}

TDataTypeFactory& DataTypeFactory() {
  return *DataTypeRegistry().Factory;
}
const std::vector<const TDataType*>& DataTypeInstances() {
  return DataTypeRegistry().Instances;
}

// --- standard instances

const TObjectType* ObjectType() {
  return DataTypeRegistry().Object.get();
}
const TIntegerType* IntegerType() {
  return DataTypeRegistry().Integer.get();
}
const TBooleanType* BooleanType() {
  return DataTypeRegistry().Boolean.get();
}
const TDateTimeType* DateTimeType() {
  return DataTypeRegistry().DateTime.get();
}
const TDateType* DateType() {
  return DataTypeRegistry().Date.get();
}
const TTimeType* TimeType() {
  return DataTypeRegistry().Time.get();
}
const TPointerType* PointerType() {
  return DataTypeRegistry().Pointer.get();
}
const TDoubleType* DoubleType() {
  return DataTypeRegistry().Double.get();
}
const TCurrencyType* CurrencyType() {
  return DataTypeRegistry().Currency.get();
}
const TPercentType* PercentType() {
  return DataTypeRegistry().Percent.get();
}
const TMemoType* MemoType(bool caseSensitive) {
  auto& registry = DataTypeRegistry();
  return caseSensitive ? registry.CaseSensitiveMemo.get() : registry.Memo.get();
}
const TMemoType* AnyStringType() {
  return DataTypeRegistry().Memo.get();
}
const TIntegerStringType* IntegerStringType() {
  return DataTypeRegistry().IntegerString.get();
}
const TPictureType* PictureType() {
  return DataTypeRegistry().Picture.get();
}
const TStringDateTimeType* StringDateTimeType() {
  return DataTypeRegistry().StringDateTime.get();
}

namespace detail {
std::vector<const TStringType*>* stringTypeLists = nullptr;

const TStringType* FindOrCreateStringType(int size, bool caseSensitive) {
  return DataTypeRegistry().FindOrCreateStringType(size, caseSensitive);
}
}  // namespace detail

const std::vector<const TStringType*>& StringTypeList(bool caseSensitive) {
  return DataTypeRegistry().StringTypes[caseSensitive ? 1 : 0];
}

const TValue& EmptyStringValue() {
  return *DataTypeRegistry().EmptyString;
}
const TValue& TrueValue() {
  return *DataTypeRegistry().True;
}
const TValue& FalseValue() {
  return *DataTypeRegistry().False;
}
const TValue& ZeroValue() {
  return *DataTypeRegistry().Zero;
}
const TValue& OneValue() {
  return *DataTypeRegistry().One;
}
const TValue& NilValue() {
  return *DataTypeRegistry().Nil;
}

// --- value constructors

namespace {
template <class T>
TValue MakeValue(const TDataType* type, T payload) {
  TValue value;
  value.DataType = type;
  value.SetPayload(payload);
  return value;
}
}  // namespace

TValue BooleanValue(bool value) {
  return MakeValue<unsigned char>(BooleanType(), value ? 1 : 0);
}
TValue IntegerValue(std::int32_t value) {
  return MakeValue(IntegerType(), value);
}
TValue DoubleValue(double value) {
  return MakeValue(DoubleType(), value);
}
TValue CurrencyValue(TCurrency value) {
  return MakeValue(CurrencyType(), value.Value);
}
TValue PercentValue(double value) {
  return MakeValue(PercentType(), value);
}
TValue DateTimeValue(TDateTime value) {
  return MakeValue(DateTimeType(), value);
}
TValue DateValue(TDateTime value) {
  return DateType()->CreateValue(value);
}
TValue PointerValue(void* value) {
  return MakeValue(PointerType(), value);
}
TValue ObjectValue(TObject* value) {
  return MakeValue<void*>(ObjectType(), value);
}

// --- accessors

std::string ValueAsString(const TValue& value) {
  return TDataType::TypeOf(value).GetAsString(value);
}
bool ValueAsBoolean(const TValue& value) {
  return TDataType::TypeOf(value).GetAsBoolean(value);
}
TDateTime ValueAsDateTime(const TValue& value) {
  return TDataType::TypeOf(value).GetAsDateTime(value);
}
TDateTime ValueAsDate(const TValue& value) {
  return TDataType::TypeOf(value).GetAsDate(value);
}
TDateTime ValueAsTime(const TValue& value) {
  return TDataType::TypeOf(value).GetAsTime(value);
}
void* ValueAsPointer(const TValue& value) {
  return TDataType::TypeOf(value).GetAsPointer(value);
}
TObject* ValueAsObject(const TValue& value) {
  return TDataType::TypeOf(value).GetAsObject(value);
}
double ValueAsDouble(const TValue& value) {
  return TDataType::TypeOf(value).GetAsDouble(value);
}
std::int32_t ValueAsInteger(const TValue& value) {
  return TDataType::TypeOf(value).GetAsInteger(value);
}
TCurrency ValueAsCurrency(const TValue& value) {
  return TDataType::TypeOf(value).GetAsCurrency(value);
}
double ValueAsPercent(const TValue& value) {
  return TDataType::TypeOf(value).GetAsPercent(value);
}
TPicture* ValueAsPicture(const TValue& value) {
  return PictureType()->GetAsPicture(value);
}

TValue ConvertToType(const TDataType* type, const TValue& value) {
  if (!type || type == value.DataType) return value;
  return type->ConvertValue(value);
}

bool ValuesEqual(const TDataType& type, const TValue& a, const TValue& b) {
  return type.Compare(a, b) == 0;
}

TValue MaxValue(const TDataType& type, const TValue& a, const TValue& b) {
  return type.Compare(a, b) >= 0 ? a : b;
}

TValue MinValue(const TDataType& type, const TValue& a, const TValue& b) {
  return type.Compare(a, b) >= 0 ? b : a;
}

}  // namespace tv
