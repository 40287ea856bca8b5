#pragma once
// The numeric kinds: 32-bit integers, doubles, exact currency amounts and
// percentages (held unscaled: 12.5 % is the number 12.5).

#include <cstdint>
#include <optional>
#include <string>

#include "data/types/data_type.h"

namespace tv {

// The numbers: shared display texts through a DisplayFormat.
class TNumericType : public TDataType {
  TV_CLASS(TNumericType, TDataType)
 public:
  bool IsNumeric() const override { return true; }
  bool IsNegative(const TValue& value) const override;
  bool IsAggregable() const override { return true; }
  bool IsDigitText() const override { return true; }
  std::string GetSQLLiteral(const TValue& value) const override { return GetAsString(value); }
  // The display text without blanks and thousands separators, parsed as a
  // floating number and multiplied by the divisor; the text itself as an
  // AnyStringType value, and false, when it is no number.
  bool TextToValue(const std::string& text, const DisplayFormat& format, TValue& result) const override;

 protected:
  using TDataType::TDataType;
  // Number, divided by the divisor unless editing, rounded to multiples of
  // 1/M, rendered by the format's pattern (followed by Suffix), trimmed.
  static TValue NumberToText(long double number, const DisplayFormat& format, std::string_view suffix = {});
  // Text without blanks and thousands separators, as a floating number; none
  // when it is no number.
  static std::optional<long double> ParseDisplayText(std::string_view text);
  // The value of this type for a display text's number (already multiplied
  // by the divisor).
  virtual TValue DisplayNumberToValue(long double number, const DisplayFormat& format) const = 0;
};

// 32-bit signed integers.
class TIntegerType final : public TNumericType {
  TV_CLASS(TIntegerType, TNumericType)
 public:
  TIntegerType();

  TValue ConvertValue(const TValue& value) const override;
  std::string GetSQLTypeName() const override { return "int"; }
  int GetDataSize() const override { return 4; }
  int GetDisplayWidth() const override { return 12; }
  std::string GetTypeName() const override { return "Integer"; }
  const TDataTypeClass& TypeClass() const override { return ClassOf<TIntegerType>(); }
  int Compare(const TValue& a, const TValue& b) const override;
  // 32-bit arithmetic that wraps around.
  TValue Sum(const TValue& a, const TValue& b) const override;
  TValue Difference(const TValue& a, const TValue& b) const override;
  TValue Product(const TValue& a, const TValue& b) const override;
  // Cut toward zero; a zero divisor raises EDivByZero.
  TValue Quota(const TValue& a, const TValue& b) const override;
  TValue Negate(const TValue& value) const override;
  TValue GetDefaultValue() const override;
  // The number divided by the divisor, rounded half away; the pattern is not used.
  TValue ValueToText(const TValue& value, const DisplayFormat& format) const override;
  void WriteToBuffer(unsigned char* buffer, const TValue& value,
                     const TOverflowCallback& overflow) const override;
  void AssignToParam(TParam& param, const TValue& value) const override;

  // Trimmed; "" is 0; otherwise the strict integer parser (decimal or "$"
  // hexadecimal), whose EConvertError passes through.
  std::int32_t ParseText(std::string_view text) const;

  static const TDataType* CreateFromParams(const TStrings& params);

 protected:
  std::string ReadString(const TValue& value) const override;
  bool ReadBoolean(const TValue& value) const override { return Own(value) != 0; }
  TDateTime ReadDateTime(const TValue& value) const override { return Own(value); }
  void* ReadPointer(const TValue& value) const override;
  double ReadDouble(const TValue& value) const override { return Own(value); }
  std::int32_t ReadInteger(const TValue& value) const override { return Own(value); }
  TCurrency ReadCurrency(const TValue& value) const override;
  double ReadPercent(const TValue& value) const override { return Own(value); }
  TValue DisplayNumberToValue(long double number, const DisplayFormat& format) const override;

 private:
  static std::int32_t Own(const TValue& value) { return value.Payload<std::int32_t>(); }
  std::int32_t Operand(const TValue& value) const { return Owns(value) ? Own(value) : GetAsInteger(value); }
};

// IEEE double-precision numbers.
class TDoubleType final : public TNumericType {
  TV_CLASS(TDoubleType, TNumericType)
 public:
  TDoubleType();

  TValue ConvertValue(const TValue& value) const override;
  std::string GetSQLTypeName() const override { return "float"; }
  int GetDataSize() const override { return 8; }
  int GetDisplayWidth() const override { return 16; }
  int GetNumericKind() const override { return 1; }
  std::string GetTypeName() const override { return "Float"; }
  const TDataTypeClass& TypeClass() const override { return ClassOf<TDoubleType>(); }
  int Compare(const TValue& a, const TValue& b) const override;
  TValue Sum(const TValue& a, const TValue& b) const override;
  TValue Difference(const TValue& a, const TValue& b) const override;
  TValue Product(const TValue& a, const TValue& b) const override;
  // A zero divisor, or a quotient that is no finite number, yields 0.0.
  TValue Quota(const TValue& a, const TValue& b) const override;
  TValue Negate(const TValue& value) const override;
  TValue GetDefaultValue() const override;
  TValue ValueToText(const TValue& value, const DisplayFormat& format) const override;
  void WriteToBuffer(unsigned char* buffer, const TValue& value,
                     const TOverflowCallback& overflow) const override;
  void AssignToParam(TParam& param, const TValue& value) const override;

  // Trimmed; "" is 0; otherwise the floating parser with the locale's
  // decimal separator, whose EConvertError passes through.
  double ParseText(std::string_view text) const;

  static const TDataType* CreateFromParams(const TStrings& params);

 protected:
  std::string ReadString(const TValue& value) const override;
  bool ReadBoolean(const TValue& value) const override { return Own(value) != 0.0; }
  TDateTime ReadDateTime(const TValue& value) const override { return Own(value); }
  void* ReadPointer(const TValue& value) const override;
  double ReadDouble(const TValue& value) const override { return Own(value); }
  TValue DisplayNumberToValue(long double number, const DisplayFormat& format) const override;

 private:
  static double Own(const TValue& value) { return value.Payload<double>(); }
};

// Amounts as 64-bit counts of ten-thousandths.
class TCurrencyType final : public TNumericType {
  TV_CLASS(TCurrencyType, TNumericType)
 public:
  TCurrencyType();

  TValue ConvertValue(const TValue& value) const override;
  std::string GetSQLTypeName() const override { return "money"; }
  int GetDataSize() const override { return 8; }
  int GetDisplayWidth() const override { return 16; }
  int GetNumericKind() const override { return 2; }
  std::string GetTypeName() const override { return "Currency"; }
  const TDataTypeClass& TypeClass() const override { return ClassOf<TCurrencyType>(); }
  int Compare(const TValue& a, const TValue& b) const override;
  // Exact.
  TValue Sum(const TValue& a, const TValue& b) const override;
  TValue Difference(const TValue& a, const TValue& b) const override;
  // Rounded to four decimals (ties to even).
  TValue Product(const TValue& a, const TValue& b) const override;
  // Rounded to four decimals; a zero divisor or an overflow yields 0.
  TValue Quota(const TValue& a, const TValue& b) const override;
  TValue Negate(const TValue& value) const override;
  TValue GetDefaultValue() const override;
  TValue ValueToText(const TValue& value, const DisplayFormat& format) const override;
  void WriteToBuffer(unsigned char* buffer, const TValue& value,
                     const TOverflowCallback& overflow) const override;
  void AssignToParam(TParam& param, const TValue& value) const override;

  // Trimmed; "" is 0; otherwise the currency parser.
  TCurrency ParseText(std::string_view text) const;

  static const TDataType* CreateFromParams(const TStrings& params);

 protected:
  std::string ReadString(const TValue& value) const override;
  bool ReadBoolean(const TValue& value) const override { return Own(value).Value != 0; }
  TDateTime ReadDateTime(const TValue& value) const override;
  void* ReadPointer(const TValue& value) const override;
  double ReadDouble(const TValue& value) const override;
  TCurrency ReadCurrency(const TValue& value) const override { return Own(value); }
  double ReadPercent(const TValue& value) const override { return ReadDouble(value); }
  TValue DisplayNumberToValue(long double number, const DisplayFormat& format) const override;

 private:
  static TCurrency Own(const TValue& value) { return TCurrency{value.Payload<std::int64_t>()}; }
  TCurrency Operand(const TValue& value) const { return Owns(value) ? Own(value) : GetAsCurrency(value); }
};

// Percentages held as the number itself (12.5 for 12.5 %).
class TPercentType final : public TNumericType {
  TV_CLASS(TPercentType, TNumericType)
 public:
  TPercentType();

  TValue ConvertValue(const TValue& value) const override;
  std::string GetSQLTypeName() const override { return "float"; }
  int GetDataSize() const override { return 8; }
  int GetDisplayWidth() const override { return 10; }
  int GetNumericKind() const override { return 1; }
  bool IsAggregable() const override { return false; }
  std::string GetTypeName() const override { return "Percent"; }
  const TDataTypeClass& TypeClass() const override { return ClassOf<TPercentType>(); }
  int Compare(const TValue& a, const TValue& b) const override;
  TValue Sum(const TValue& a, const TValue& b) const override;
  TValue Difference(const TValue& a, const TValue& b) const override;
  TValue Product(const TValue& a, const TValue& b) const override;
  // A zero divisor raises EZeroDivide.
  TValue Quota(const TValue& a, const TValue& b) const override;
  TValue Negate(const TValue& value) const override;
  TValue GetDefaultValue() const override;
  // The number × 100 followed by " %"; a value of a kind that is not numeric
  // is shown as its text.
  TValue ValueToText(const TValue& value, const DisplayFormat& format) const override;
  // As for every number, the display's trailing "%" allowed; the result is
  // divided by 100 again.
  bool TextToValue(const std::string& text, const DisplayFormat& format, TValue& result) const override;
  void WriteToBuffer(unsigned char* buffer, const TValue& value,
                     const TOverflowCallback& overflow) const override;
  void AssignToParam(TParam& param, const TValue& value) const override;

  // One trailing "%" removed, then as the double parser: the number is not
  // scaled, "12.5%" and "12.5" are both 12.5.
  double ParseText(std::string_view text) const;

  static const TDataType* CreateFromParams(const TStrings& params);

 protected:
  std::string ReadString(const TValue& value) const override;
  bool ReadBoolean(const TValue& value) const override;
  TDateTime ReadDateTime(const TValue& value) const override;
  void* ReadPointer(const TValue& value) const override;
  double ReadDouble(const TValue& value) const override { return Own(value); }
  std::int32_t ReadInteger(const TValue& value) const override;
  TCurrency ReadCurrency(const TValue& value) const override;
  double ReadPercent(const TValue& value) const override { return Own(value); }
  TValue DisplayNumberToValue(long double number, const DisplayFormat& format) const override;

 private:
  static double Own(const TValue& value) { return value.Payload<double>(); }
};

}  // namespace tv
