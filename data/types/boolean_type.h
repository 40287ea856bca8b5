#pragma once
// Booleans: one payload byte, 1 or 0; false sorts before true.

#include <string>

#include "data/types/data_type.h"

namespace tv {

// True and false, stored in one byte.
class TBooleanType final : public TDataType {
  TV_CLASS(TBooleanType, TDataType)
 public:
  TBooleanType();

  TValue ConvertValue(const TValue& value) const override;
  std::string GetSQLTypeName() const override { return "char(1)"; }
  int GetDataSize() const override { return 1; }
  int GetDisplayWidth() const override { return 5; }
  std::string GetTypeName() const override { return "Boolean"; }
  const TDataTypeClass& TypeClass() const override { return ClassOf<TBooleanType>(); }
  int Compare(const TValue& a, const TValue& b) const override;
  TValue Sum(const TValue& a, const TValue& b) const override;
  // Exclusive or.
  TValue Difference(const TValue& a, const TValue& b) const override;
  TValue Product(const TValue& a, const TValue& b) const override;
  TValue Quota(const TValue& a, const TValue& b) const override;
  // B is read only when A does not decide.
  TValue LogicalAnd(const TValue& a, const TValue& b) const override;
  TValue LogicalOr(const TValue& a, const TValue& b) const override;
  TValue Negate(const TValue& value) const override;
  TValue GetDefaultValue() const override { return CreateValue(false); }
  std::string GetSQLLiteral(const TValue& value) const override;
  TValue ValueToText(const TValue& value, const DisplayFormat& format) const override;
  bool TextToValue(const std::string& text, const DisplayFormat& format, TValue& result) const override;
  void WriteToBuffer(unsigned char* buffer, const TValue& value,
                     const TOverflowCallback& overflow) const override;
  void AssignToParam(TParam& param, const TValue& value) const override;

  TValue CreateValue(bool value) const;
  // True for exactly "T", "t", "true", "TRUE", "True", "X" and "x"; any other
  // text is false, without trimming and without error.
  bool ParseText(std::string_view text) const;

  static const TDataType* CreateFromParams(const TStrings& params);

 protected:
  std::string ReadString(const TValue& value) const override { return Own(value) ? "T" : "F"; }
  bool ReadBoolean(const TValue& value) const override { return Own(value); }
  TDateTime ReadDateTime(const TValue& value) const override;
  void* ReadPointer(const TValue& value) const override;
  double ReadDouble(const TValue& value) const override { return Own(value) ? 1.0 : 0.0; }

 private:
  static bool Own(const TValue& value) { return value.Payload<unsigned char>() != 0; }
};

}  // namespace tv
