#pragma once
// The string family: texts of a maximum length (TStringType), of any length
// (TMemoType) and the text of a 32-bit integer (TIntegerStringType). A string
// value is the pivot of conversions: other kinds parse it with their own
// parsers, and any value becomes text through its own GetAsString.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "data/types/data_type.h"
#include "platform/rtl/sysutils.h"

namespace tv {

// Texts of at most Size characters, compared with or without case.
// Texts in the order of the string types: bytes, letters a to z folded to
// upper case unless CaseSensitive, a shorter text before its extensions.
// Equal stretches are passed eight bytes at a time: keys of a storage share
// long prefixes and are compared at every step of a search.
inline int CompareTexts(std::string_view a, std::string_view b, bool caseSensitive) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  std::size_t i = 0;
  while (i < common) {
    if (i + 8 <= common) {
      std::uint64_t x, y;
      std::memcpy(&x, a.data() + i, 8);
      std::memcpy(&y, b.data() + i, 8);
      if (x == y) {
        i += 8;
        continue;
      }
      if constexpr (std::endian::native == std::endian::little)
        i += static_cast<std::size_t>(std::countr_zero(x ^ y)) / 8;
    }
    unsigned x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    ++i;
    if (x == y) continue;
    if (!caseSensitive) {
      x = static_cast<unsigned char>(UpCase(static_cast<char>(x)));
      y = static_cast<unsigned char>(UpCase(static_cast<char>(y)));
      if (x == y) continue;
    }
    return static_cast<int>(x) - static_cast<int>(y);
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

class TStringType : public TDataType {
  TV_CLASS(TStringType, TDataType)
 public:
  // Only the registries construct string types (through StringType), so
  // that equal sizes share one object.
  TStringType(int size, bool caseSensitive);

  // The largest number of characters a value keeps; 0 or below: any.
  int Size() const { return size_; }
  bool CaseSensitive() const { return caseSensitive_; }

  TValue ConvertValue(const TValue& value) const override;
  std::string GetSQLTypeName() const override;
  int GetDataSize() const override;
  int GetDisplayWidth() const override { return size_; }
  std::string GetTypeName() const override;
  void WriteParams(TStrings& params) const override;
  const TDataTypeClass& TypeClass() const override { return ClassOf<TStringType>(); }
  bool NeedsParameter(const TValue& value) const override;
  // Byte by byte; without case sensitivity the ASCII letters fold to one case.
  int Compare(const TValue& a, const TValue& b) const override;
  // Always the exact bytes, whatever CaseSensitive says.
  bool Equals(const TValue& a, const TValue& b) const override;
  TValue Sum(const TValue& a, const TValue& b) const override;
  TValue Difference(const TValue& a, const TValue& b) const override;
  TValue Product(const TValue& a, const TValue& b) const override;
  TValue Quota(const TValue& a, const TValue& b) const override;
  TValue Negate(const TValue& value) const override { return value; }
  bool IsEmpty(const TValue& value) const override;
  TValue GetDefaultValue() const override { return CreateValue(""); }
  std::string GetSQLLiteral(const TValue& value) const override;
  TValue ValueToText(const TValue& value, const DisplayFormat& format) const override;
  bool TextToValue(const std::string& text, const DisplayFormat& format, TValue& result) const override;
  void WriteToBuffer(unsigned char* buffer, const TValue& value,
                     const TOverflowCallback& overflow) const override;
  TValue ReadFromBuffer(const unsigned char* buffer, const TOverflowCallback& overflow) const override;
  void AssignToParam(TParam& param, const TValue& value) const override;

  virtual std::int64_t GetMaxSize() const { return 65535; }
  // Text cut to its first Size characters when Size > 0.
  virtual TValue CreateValue(std::string text) const;
  // Text as this type keeps and compares it, added to Key: its first Size
  // characters, letters folded as Compare folds them unless the type tells
  // case apart. Texts that Compare calls equal add the same bytes, so such
  // keys can be hashed.
  void AppendComparable(std::string& key, std::string_view text) const;

  // A size line of at least 1 yields StringType(size, CS); anything else is
  // read as a memo description.
  static const TDataType* CreateFromParams(const TStrings& params);

 protected:
  TStringType(int size, bool caseSensitive, bool alwaysParameter);
  // Text as this type keeps it.
  std::string Shortened(std::string text) const;

  std::string ReadString(const TValue& value) const override { return value.Text; }
  bool ReadBoolean(const TValue& value) const override;
  TDateTime ReadDateTime(const TValue& value) const override;
  TDateTime ReadDate(const TValue& value) const override;
  TDateTime ReadTime(const TValue& value) const override;
  void* ReadPointer(const TValue& /*value*/) const override { return nullptr; }
  double ReadDouble(const TValue& value) const override;
  std::int32_t ReadInteger(const TValue& value) const override;
  TCurrency ReadCurrency(const TValue& value) const override;
  double ReadPercent(const TValue& value) const override;

 private:
  int size_;
  bool caseSensitive_;
};

// Texts of any length; long ones kept outside the row buffer.
class TMemoType : public TStringType {
  TV_CLASS(TMemoType, TStringType)
 public:
  explicit TMemoType(bool caseSensitive);

  std::string GetSQLTypeName() const override { return "text"; }
  int GetDataSize() const override { return 255; }
  int GetDisplayWidth() const override { return 80; }
  std::string GetTypeName() const override { return "Memo"; }
  bool HasDynamicSize() const override { return true; }
  void WriteParams(TStrings& params) const override;
  const TDataTypeClass& TypeClass() const override { return ClassOf<TMemoType>(); }
  bool NeedsParameter(const TValue& /*value*/) const override { return AlwaysParameter(); }
  std::string GetSQLLiteral(const TValue& value) const override;
  // Up to 254 characters inline after a byte L + 1; longer texts leave 0 and
  // go to the overflow callback.
  void WriteToBuffer(unsigned char* buffer, const TValue& value,
                     const TOverflowCallback& overflow) const override;
  TValue ReadFromBuffer(const unsigned char* buffer, const TOverflowCallback& overflow) const override;
  void AssignToParam(TParam& param, const TValue& value) const override;
  std::int64_t GetMaxSize() const override { return 4294967295; }
  TValue CreateValue(std::string text) const override;

  // The standard memo of the case sensitivity that a "CS" line gives
  // (case-sensitive unless it reads as false).
  static const TDataType* CreateFromParams(const TStrings& params);
};

// Texts of up to ten characters, the length of the largest 32-bit integer.
class TIntegerStringType : public TStringType {
  TV_CLASS(TIntegerStringType, TStringType)
 public:
  TIntegerStringType();

  int GetDataSize() const override { return 11; }
  bool IsDigitText() const override { return true; }
  const TDataTypeClass& TypeClass() const override { return ClassOf<TIntegerStringType>(); }
  static const TDataType* CreateFromParams(const TStrings& params);
};

}  // namespace tv
