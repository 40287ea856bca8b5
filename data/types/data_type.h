#pragma once
// TDataType: the shared, immutable descriptor that compares, converts,
// renders, parses, computes and stores the values of one kind.
//
// A type answers only for its own payloads. The conversions (GetAsString to
// GetAsPercent) hand a foreign value to the value's own type, so asking any
// type converts a value the way its own type reads it; the types supply the
// protected Read... hooks that read their own payload. ConvertValue,
// WriteToBuffer and the arithmetic read foreign operands through those
// conversions and build values of their own type.

#include <cstdint>
#include <string>
#include <string_view>

#include "data/types/param.h"
#include "data/types/value.h"
#include "platform/components/persistent.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/lists.h"

namespace tv {

// A conversion that a type does not offer for its own payload:
// "Cannot convert Boolean to DateTime!".
class ETypeConversionError : public Exception {
 public:
  using Exception::Exception;
};

// The engine's general type error; kept for callers that raise it.
class TypeException : public Exception {
 public:
  using Exception::Exception;
};

// A class of data types as the factory knows it: its class information and
// the class operation that yields the shared instance a description names.
struct TDataTypeClass {
  const TClassInfo* Info;
  const TDataType* (*CreateFromParams)(const TStrings& params);
  std::string Name() const { return Info->Name; }
};

// The shared descriptor that compares, converts, formats, parses and stores values of one kind.
class TDataType : public TPersistent {
  TV_CLASS(TDataType, TPersistent)
 public:
  TDataType(const TDataType&) = delete;
  TDataType& operator=(const TDataType&) = delete;
  ~TDataType() override;

  bool AlwaysParameter() const { return alwaysParameter_; }
  // A type of the string family: its values' text is what GetAsString says.
  bool HoldsText() const { return holdsText_; }

  // The conversions, answered by the value's own type.
  std::string GetAsString(const TValue& value) const { return TypeOf(value).ReadString(value); }
  bool GetAsBoolean(const TValue& value) const { return TypeOf(value).ReadBoolean(value); }
  TDateTime GetAsDateTime(const TValue& value) const { return TypeOf(value).ReadDateTime(value); }
  TDateTime GetAsDate(const TValue& value) const { return TypeOf(value).ReadDate(value); }
  TDateTime GetAsTime(const TValue& value) const { return TypeOf(value).ReadTime(value); }
  void* GetAsPointer(const TValue& value) const { return TypeOf(value).ReadPointer(value); }
  TObject* GetAsObject(const TValue& value) const { return TypeOf(value).ReadObject(value); }
  double GetAsDouble(const TValue& value) const { return TypeOf(value).ReadDouble(value); }
  std::int32_t GetAsInteger(const TValue& value) const { return TypeOf(value).ReadInteger(value); }
  TCurrency GetAsCurrency(const TValue& value) const { return TypeOf(value).ReadCurrency(value); }
  double GetAsPercent(const TValue& value) const { return TypeOf(value).ReadPercent(value); }

  // A copy when Value is of this type, else a value of this type built from
  // the matching conversion of Value.
  virtual TValue ConvertValue(const TValue& value) const = 0;
  virtual std::string GetSQLTypeName() const = 0;
  // Bytes of a row buffer that a value of this type takes.
  virtual int GetDataSize() const = 0;
  virtual int GetDisplayWidth() const = 0;
  virtual bool IsStorable() const { return true; }
  virtual bool IsNumeric() const { return false; }
  virtual bool IsNegative(const TValue& /*value*/) const { return false; }
  virtual int GetNumericKind() const { return 0; }
  virtual bool IsAggregable() const { return false; }
  virtual bool IsDigitText() const { return false; }
  virtual std::string GetTypeName() const = 0;
  virtual bool HasDynamicSize() const { return false; }
  // Lines name=value from which the class's CreateFromParams finds this type.
  virtual void WriteParams(TStrings& /*params*/) const {}
  // The class of this instance, whose CreateFromParams reads WriteParams.
  virtual const TDataTypeClass& TypeClass() const = 0;
  virtual TObject* GetExtension() const { return nullptr; }
  // Whether a query must pass the value as a parameter, not as a literal.
  virtual bool NeedsParameter(const TValue& /*value*/) const { return alwaysParameter_; }
  // Only the sign counts: negative when A sorts before B.
  virtual int Compare(const TValue& a, const TValue& b) const = 0;
  virtual bool Equals(const TValue& a, const TValue& b) const { return Compare(a, b) == 0; }
  virtual TValue Sum(const TValue& a, const TValue& b) const = 0;
  virtual TValue Difference(const TValue& a, const TValue& b) const = 0;
  virtual TValue Product(const TValue& a, const TValue& b) const = 0;
  virtual TValue Quota(const TValue& a, const TValue& b) const = 0;
  virtual TValue LogicalAnd(const TValue& /*a*/, const TValue& /*b*/) const { return GetDefaultValue(); }
  virtual TValue LogicalOr(const TValue& /*a*/, const TValue& /*b*/) const { return GetDefaultValue(); }
  virtual TValue Negate(const TValue& value) const = 0;
  virtual bool IsEmpty(const TValue& /*value*/) const { return false; }
  virtual TValue GetDefaultValue() const = 0;
  virtual std::string GetSQLLiteral(const TValue& value) const = 0;
  // Display texts of grid presentation. TextToValue answers false, with the
  // text itself as Result, when the text is not a value of this type.
  virtual TValue ValueToText(const TValue& value, const DisplayFormat& format) const = 0;
  virtual bool TextToValue(const std::string& text, const DisplayFormat& format, TValue& result) const = 0;
  // A row buffer slot of GetDataSize bytes.
  virtual void WriteToBuffer(unsigned char* buffer, const TValue& value,
                             const TOverflowCallback& overflow) const = 0;
  virtual TValue ReadFromBuffer(const unsigned char* buffer, const TOverflowCallback& overflow) const;
  virtual void AssignToParam(TParam& param, const TValue& value) const = 0;

  // The type that answers for Value: its own. A value without a type is a
  // programming error.
  static const TDataType& TypeOf(const TValue& value) {
    if (!value.DataType) [[unlikely]]
      NoDataType();
    return *value.DataType;
  }

 protected:
  // Enters the instance in the instance list; each concrete constructor then
  // enters its class in the factory with EnterClass.
  explicit TDataType(bool alwaysParameter);
  static void EnterClass(const TDataTypeClass& typeClass);
  template <class T>
  static const TDataTypeClass& ClassOf() {
    static const TDataTypeClass typeClass{&T::StaticClassInfo(), &T::CreateFromParams};
    return typeClass;
  }

  bool Owns(const TValue& value) const { return value.DataType == this; }
  bool holdsText_ = false;
  // A value of this type with an empty payload and no text.
  TValue NewValue() const {
    TValue value;
    value.DataType = this;
    return value;
  }
  template <class T>
  TValue NewValue(T payload) const {
    TValue value = NewValue();
    value.SetPayload(payload);
    return value;
  }

  // How this type reads its own payload; Value is always of this type.
  virtual std::string ReadString(const TValue& value) const = 0;
  virtual bool ReadBoolean(const TValue& value) const;
  virtual TDateTime ReadDateTime(const TValue& value) const = 0;
  virtual TDateTime ReadDate(const TValue& value) const;
  virtual TDateTime ReadTime(const TValue& value) const { return ReadDateTime(value); }
  virtual void* ReadPointer(const TValue& value) const = 0;
  virtual TObject* ReadObject(const TValue& value) const { return static_cast<TObject*>(ReadPointer(value)); }
  virtual double ReadDouble(const TValue& value) const = 0;
  virtual std::int32_t ReadInteger(const TValue& value) const;
  virtual TCurrency ReadCurrency(const TValue& value) const;
  virtual double ReadPercent(const TValue& value) const { return ReadDouble(value); }

  [[noreturn]] static void NoDataType();
  // "Cannot convert <From> to <To>!"
  [[noreturn]] static void CannotConvert(std::string_view from, std::string_view to);
  // "<ClassName>.<Operation>: Operation not supported!"
  [[noreturn]] static void NotSupported(std::string_view className, std::string_view operation);

 private:
  bool alwaysParameter_;
};

// Text between single quotes, inner quotes doubled: a query literal.
std::string QuotedText(std::string_view text);

// X + 0.5 cut toward zero for X >= 0, X - 0.5 cut toward zero below; raises
// EInvalidOp when the result has no 64-bit form.
std::int64_t RoundHalfAway(double x);
// RoundHalfAway for a 32-bit integer: EInvalidOp outside its range too,
// instead of wrapping around.
std::int32_t RoundHalfAway32(double x);
// X rounded to the nearest integer, ties to even; EInvalidOp as above.
std::int64_t RoundToEven(long double x);

}  // namespace tv
