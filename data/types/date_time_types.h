#pragma once
// Dates and times as days since 30 December 1899 with the time of day as the
// fraction: date-time, whole dates, times of day, and the date-time held in
// text columns as "yyyy-mm-dd hh/nn/ss".

#include <string>

#include "data/types/data_type.h"

namespace tv {

// Date and time as days since 30 December 1899, the time of day as the fraction.
class TDateTimeType : public TDataType {
  TV_CLASS(TDateTimeType, TDataType)
 public:
  TDateTimeType();

  // A text (a value of the string family) is parsed by this kind's own
  // parser, any other value read through NativeOf; either way the result is
  // CreateValue's, so a date holds whole days.
  TValue ConvertValue(const TValue& value) const override;
  std::string GetSQLTypeName() const override { return "datetime"; }
  int GetDataSize() const override { return 8; }
  int GetDisplayWidth() const override { return 20; }
  bool IsDigitText() const override { return true; }
  std::string GetTypeName() const override { return "DateTime"; }
  const TDataTypeClass& TypeClass() const override { return ClassOf<TDateTimeType>(); }
  int Compare(const TValue& a, const TValue& b) const override;
  TValue Sum(const TValue& a, const TValue& b) const override;
  TValue Difference(const TValue& a, const TValue& b) const override;
  TValue Product(const TValue& a, const TValue& b) const override;
  TValue Quota(const TValue& a, const TValue& b) const override;
  TValue Negate(const TValue& value) const override;
  // The moment 0.0, 30 December 1899 00:00.
  bool IsEmpty(const TValue& value) const override;
  // Now.
  TValue GetDefaultValue() const override;
  std::string GetSQLLiteral(const TValue& value) const override;
  // The text of GetAsString.
  TValue ValueToText(const TValue& value, const DisplayFormat& format) const override;
  // ParseStrictly; a text it refuses is returned as text, with false.
  bool TextToValue(const std::string& text, const DisplayFormat& format, TValue& result) const override;
  // A foreign value is stored as ConvertValue makes it.
  void WriteToBuffer(unsigned char* buffer, const TValue& value,
                     const TOverflowCallback& overflow) const override;
  void AssignToParam(TParam& param, const TValue& value) const override;

  virtual TValue CreateValue(TDateTime value) const;
  // Trimmed; "" is 0; otherwise the date-time parser; a text it refuses is
  // 0 too.
  virtual TDateTime ParseText(std::string_view text) const;

  static const TDataType* CreateFromParams(const TStrings& params);

 protected:
  // The native form of a foreign value that holds no text: GetAsDateTime
  // here, GetAsDate and GetAsTime in the date and time types.
  virtual TDateTime NativeOf(const TValue& value) const { return GetAsDateTime(value); }
  // A text converted to this kind: this kind's own parser.
  virtual TDateTime ConvertText(std::string_view text) const { return ParseText(text); }
  // ParseText, but a text that is no value of this kind raises even where
  // ParseText answers 0 for it: a display text must not be taken as 0.
  virtual TDateTime ParseStrictly(std::string_view text) const;
  // Value itself when it is of this type, else ConvertValue of it.
  TValue OwnValueOf(const TValue& value) const { return Owns(value) ? value : ConvertValue(value); }

  // The short date and the long time; no time at midnight.
  std::string ReadString(const TValue& value) const override;
  bool ReadBoolean(const TValue& value) const override;
  TDateTime ReadDateTime(const TValue& value) const override { return Own(value); }
  void* ReadPointer(const TValue& value) const override;
  double ReadDouble(const TValue& value) const override { return Own(value); }

  static TDateTime Own(const TValue& value) { return value.Payload<double>(); }
  TDateTime Operand(const TValue& value) const { return Owns(value) ? Own(value) : GetAsDateTime(value); }
};

// Whole days.
class TDateType final : public TDateTimeType {
  TV_CLASS(TDateType, TDateTimeType)
 public:
  TDateType();

  int GetDisplayWidth() const override { return 10; }
  std::string GetTypeName() const override { return "Date"; }
  const TDataTypeClass& TypeClass() const override { return ClassOf<TDateType>(); }
  // Today.
  TValue GetDefaultValue() const override;
  void AssignToParam(TParam& param, const TValue& value) const override;
  // The whole days of Value, cut toward zero.
  TValue CreateValue(TDateTime value) const override;
  // Trimmed, then the date parser: "" and other texts that are no date raise.
  TDateTime ParseText(std::string_view text) const override;

  static const TDataType* CreateFromParams(const TStrings& params);

 protected:
  std::string ReadString(const TValue& value) const override;
  TDateTime NativeOf(const TValue& value) const override { return GetAsDate(value); }
  TDateTime ParseStrictly(std::string_view text) const override { return ParseText(text); }
};

// The time of day.
class TTimeType final : public TDateTimeType {
  TV_CLASS(TTimeType, TDateTimeType)
 public:
  TTimeType();

  std::string GetSQLTypeName() const override { return "float"; }
  int GetDisplayWidth() const override { return 10; }
  bool IsNumeric() const override { return true; }
  bool IsAggregable() const override { return true; }
  std::string GetTypeName() const override { return "Time"; }
  const TDataTypeClass& TypeClass() const override { return ClassOf<TTimeType>(); }
  // Midnight.
  TValue GetDefaultValue() const override;
  void AssignToParam(TParam& param, const TValue& value) const override;
  // Trimmed; "" is 0; otherwise the time parser, whose error passes through.
  TDateTime ParseText(std::string_view text) const override;

  static const TDataType* CreateFromParams(const TStrings& params);

 protected:
  // The long time format.
  std::string ReadString(const TValue& value) const override;
  TDateTime NativeOf(const TValue& value) const override { return GetAsTime(value); }
  TDateTime ParseStrictly(std::string_view text) const override { return ParseText(text); }
};

// A date-time kept in text columns as "yyyy-mm-dd hh/nn/ss".
class TStringDateTimeType final : public TDateTimeType {
  TV_CLASS(TStringDateTimeType, TDateTimeType)
 public:
  TStringDateTimeType();

  std::string GetSQLTypeName() const override { return "char(19)"; }
  const TDataTypeClass& TypeClass() const override { return ClassOf<TStringDateTimeType>(); }
  // "" is 0; otherwise year, month, day, hour, minute and second from their
  // fixed places in a text of exactly 19 characters, whatever separates them.
  TDateTime ParseText(std::string_view text) const override;

  static const TDataType* CreateFromParams(const TStrings& params);

 protected:
  // "yyyy-mm-dd hh/nn/ss", "/" being the locale's date separator.
  std::string ReadString(const TValue& value) const override;
  // The fixed places first; a text they refuse, the date-time parser.
  TDateTime ConvertText(std::string_view text) const override;
  TDateTime ParseStrictly(std::string_view text) const override { return ParseText(text); }
};

}  // namespace tv
