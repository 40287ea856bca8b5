#include "data/types/boolean_type.h"

#include "data/types/data_types.h"

namespace tv {

TBooleanType::TBooleanType() : TDataType(true) {
  EnterClass(ClassOf<TBooleanType>());
}

TValue TBooleanType::CreateValue(bool value) const {
  return NewValue<unsigned char>(value ? 1 : 0);
}

bool TBooleanType::ParseText(std::string_view text) const {
  for (std::string_view yes : {"T", "t", "true", "TRUE", "True", "X", "x"})
    if (text == yes) return true;
  return false;
}

TValue TBooleanType::ConvertValue(const TValue& value) const {
  return Owns(value) ? value : CreateValue(GetAsBoolean(value));
}

int TBooleanType::Compare(const TValue& a, const TValue& b) const {
  const bool x = GetAsBoolean(a), y = GetAsBoolean(b);
  if (x == y) return 0;
  return x ? 1 : -1;
}

TValue TBooleanType::Sum(const TValue&, const TValue&) const {
  NotSupported("TBooleanType", "Sum");
}

TValue TBooleanType::Difference(const TValue& a, const TValue& b) const {
  return CreateValue(GetAsBoolean(a) != GetAsBoolean(b));
}

TValue TBooleanType::Product(const TValue&, const TValue&) const {
  NotSupported("TBooleanType", "Product");
}
TValue TBooleanType::Quota(const TValue&, const TValue&) const {
  NotSupported("TBooleanType", "Quota");
}

TValue TBooleanType::LogicalAnd(const TValue& a, const TValue& b) const {
  return CreateValue(GetAsBoolean(a) && GetAsBoolean(b));
}

TValue TBooleanType::LogicalOr(const TValue& a, const TValue& b) const {
  return CreateValue(GetAsBoolean(a) || GetAsBoolean(b));
}

TValue TBooleanType::Negate(const TValue& value) const {
  return CreateValue(!GetAsBoolean(value));
}

std::string TBooleanType::GetSQLLiteral(const TValue& value) const {
  return GetAsBoolean(value) ? "'T'" : "'F'";
}

TValue TBooleanType::ValueToText(const TValue& value, const DisplayFormat&) const {
  return ConvertToType(AnyStringType(), value);
}

bool TBooleanType::TextToValue(const std::string& text, const DisplayFormat&, TValue& result) const {
  result = CreateValue(ParseText(text));
  return true;
}

void TBooleanType::WriteToBuffer(unsigned char* buffer, const TValue& value, const TOverflowCallback&) const {
  buffer[0] = GetAsBoolean(value) ? 1 : 0;
}

void TBooleanType::AssignToParam(TParam& param, const TValue& value) const {
  param.SetAsString(GetAsBoolean(value) ? "T" : "F");
}

TDateTime TBooleanType::ReadDateTime(const TValue&) const {
  CannotConvert("Boolean", "DateTime");
}
void* TBooleanType::ReadPointer(const TValue&) const {
  CannotConvert("Boolean", "Pointer");
}

const TDataType* TBooleanType::CreateFromParams(const TStrings&) {
  return BooleanType();
}

}  // namespace tv
