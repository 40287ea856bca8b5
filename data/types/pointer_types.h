#pragma once
// Addresses: plain pointers, object references and pictures. They live only
// in memory: not storable, no query literal, no arithmetic.

#include <string>

#include "data/types/data_type.h"
#include "platform/graphics/graphics.h"

namespace tv {

// Addresses, never stored outside the process.
class TPointerType : public TDataType {
  TV_CLASS(TPointerType, TDataType)
 public:
  TPointerType();

  TValue ConvertValue(const TValue& value) const override;
  std::string GetSQLTypeName() const override { return "pointer"; }
  int GetDataSize() const override { return static_cast<int>(sizeof(void*)); }
  int GetDisplayWidth() const override { return 0; }
  bool IsStorable() const override { return false; }
  std::string GetTypeName() const override { return "Pointer"; }
  const TDataTypeClass& TypeClass() const override { return ClassOf<TPointerType>(); }
  // By numeric address.
  int Compare(const TValue& a, const TValue& b) const override;
  TValue Sum(const TValue& a, const TValue& b) const override;
  TValue Difference(const TValue& a, const TValue& b) const override;
  TValue Product(const TValue& a, const TValue& b) const override;
  TValue Quota(const TValue& a, const TValue& b) const override;
  TValue Negate(const TValue& value) const override { return value; }
  // The null address.
  bool IsEmpty(const TValue& value) const override;
  TValue GetDefaultValue() const override { return CreateValue(nullptr); }
  std::string GetSQLLiteral(const TValue& /*value*/) const override { return "''"; }
  TValue ValueToText(const TValue& value, const DisplayFormat& format) const override;
  bool TextToValue(const std::string& text, const DisplayFormat& format, TValue& result) const override;
  void WriteToBuffer(unsigned char* buffer, const TValue& value,
                     const TOverflowCallback& overflow) const override;
  // Addresses are never passed: the parameter stays unset.
  void AssignToParam(TParam& /*param*/, const TValue& /*value*/) const override {}

  TValue CreateValue(void* address) const { return NewValue(address); }

  static const TDataType* CreateFromParams(const TStrings& params);

 protected:
  // "Pointer($0012FF40)": at least eight upper-case hexadecimal digits.
  std::string ReadString(const TValue& value) const override;
  bool ReadBoolean(const TValue& value) const override;
  TDateTime ReadDateTime(const TValue& value) const override;
  void* ReadPointer(const TValue& value) const override { return value.Payload<void*>(); }
  double ReadDouble(const TValue& value) const override;
  std::int32_t ReadInteger(const TValue& value) const override;

  // The address in hexadecimal after Prefix: "Prefix($...)".
  static std::string AddressText(std::string_view prefix, const void* address);
};

// References to objects, shown with their class name.
class TObjectType : public TPointerType {
  TV_CLASS(TObjectType, TPointerType)
 public:
  TObjectType();

  std::string GetTypeName() const override { return "Object"; }
  const TDataTypeClass& TypeClass() const override { return ClassOf<TObjectType>(); }
  static const TDataType* CreateFromParams(const TStrings& params);

 protected:
  std::string ReadString(const TValue& value) const override;
};

// References to pictures of the graphics layer.
class TPictureType final : public TObjectType {
  TV_CLASS(TPictureType, TObjectType)
 public:
  TPictureType();

  const TDataTypeClass& TypeClass() const override { return ClassOf<TPictureType>(); }
  // Null for a null reference; an object that is not a picture raises.
  TPicture* GetAsPicture(const TValue& value) const;

  static const TDataType* CreateFromParams(const TStrings& params);
};

}  // namespace tv
