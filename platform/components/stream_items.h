#pragma once
// The value items of the binary component stream (signature "TPF0"): a type
// byte, then the value. TItemWriter appends items to a byte string;
// TItemReader reads them back from a byte range, never past its end, and
// names the position of whatever it refuses.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/exception.h"

namespace tv {

// How deep components in components, and lists and collections in one
// another, may nest in either form of a stored form: deeper nesting is
// refused before it could exhaust the call stack.
inline constexpr int kMaxNesting = 64;

enum class TValueType : std::uint8_t {
  vaNull = 0x00,  // end of a list
  vaList = 0x01,
  vaInt8 = 0x02,
  vaInt16 = 0x03,
  vaInt32 = 0x04,
  vaExtended = 0x05,  // 10-byte x87 extended float
  vaString = 0x06,    // length byte
  vaIdent = 0x07,
  vaFalse = 0x08,
  vaTrue = 0x09,
  vaBinary = 0x0A,   // 4-byte length
  vaSet = 0x0B,      // identifiers ended by an empty one
  vaLString = 0x0C,  // 4-byte length
  vaNil = 0x0D,
  vaCollection = 0x0E,
  vaSingle = 0x0F,    // 4-byte float
  vaCurrency = 0x10,  // 8-byte integer, ten thousandths
  vaDate = 0x11,      // 8-byte float, days since 30.12.1899
  vaWString = 0x12,   // 4-byte count of UTF-16 code units
  vaInt64 = 0x13,
  vaUTF8String = 0x14,  // 4-byte length
  vaDouble = 0x15,      // 8-byte float
};

// Whether Byte is a type byte that the stream knows.
bool IsValueType(std::uint8_t byte);

// What may stand before an object's class name: a byte 0xF0 + flags, and
// with ffChildPos an integer item, the object's place among its parent's
// children. Objects without flags have no prefix.
enum TFilerFlag : std::uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };
struct TObjectPrefix {
  std::uint8_t Flags = 0;  // TFilerFlag bits
  std::int64_t ChildPos = 0;
};

// The 10 bytes of the x87 extended form of Value, and back (rounded to the
// nearest double).
std::string DoubleToExtended(double value);
double ExtendedToDouble(std::string_view tenBytes);

class TItemWriter {
 public:
  const std::string& Bytes() const { return bytes_; }
  std::string& Bytes() { return bytes_; }

  void WriteValueType(TValueType type) { bytes_ += static_cast<char>(type); }
  // The smallest of the 8-, 16-, 32- and 64-bit forms that holds Value.
  void WriteInteger(std::int64_t value);
  // The short form up to 255 characters, the long form beyond.
  void WriteString(std::string_view text);
  void WriteIdent(std::string_view ident);
  void WriteBoolean(bool value) { WriteValueType(value ? TValueType::vaTrue : TValueType::vaFalse); }
  void WriteFloat(double value);
  // The 10 bytes of an extended float as they stand.
  void WriteExtended(std::string_view tenBytes);
  void WriteSingle(float value);
  void WriteDouble(double value);
  void WriteDate(double value);
  // Currency in ten thousandths: 12.34 is 123400.
  void WriteCurrency(std::int64_t tenThousandths);
  void WriteWideString(std::u16string_view text);
  void WriteObjectPrefix(const TObjectPrefix& prefix);
  void WriteBinary(std::string_view data);
  void WriteSet(const std::vector<std::string>& members);
  void WriteListBegin() { WriteValueType(TValueType::vaList); }
  void WriteListEnd() { WriteValueType(TValueType::vaNull); }
  // A length byte and the characters, without type byte: class, object and
  // property names.
  void WriteShortString(std::string_view text);

 private:
  void WriteLittleEndian(std::uint64_t value, int bytes);
  std::string bytes_;
};

class TItemReader {
 public:
  explicit TItemReader(std::string_view bytes) : bytes_(bytes) {}

  std::size_t Position() const { return position_; }
  bool AtEnd() const { return position_ >= bytes_.size(); }

  // The type of the next item, not consumed; an unknown type byte raises.
  TValueType NextValue() const;
  // Whether the next byte ends a list. It may be the length of a name (a
  // property's, a class's), so it is not taken for a type byte.
  bool EndOfList() const;
  TValueType ReadValueType();

  // Each raises EReadError "Invalid property value at position N" for an
  // item of another type, and "Stream read error at position N" for an item
  // cut off by the end of the bytes.
  std::int64_t ReadInteger();  // any of the integer forms
  std::string ReadString();    // the short or the long form
  std::string ReadIdent();     // an identifier, or False, True, nil, Null
  bool ReadBoolean();
  // Any float item (extended, double, single, date, currency) or an integer.
  double ReadFloat();
  // Each float item as it stands, of its own type only.
  std::string ReadExtended();  // the 10 bytes
  float ReadSingle();
  double ReadDouble();
  double ReadDate();
  std::int64_t ReadCurrency();  // ten thousandths
  // A wide string's code units as they stand, or a UTF-8 string's code
  // points as UTF-16; refuses a UTF-8 string that is no UTF-8.
  std::u16string ReadWideString();
  // The prefix before an object's class name; none when the next byte is
  // no flag byte.
  TObjectPrefix ReadObjectPrefix();
  std::string ReadBinary();
  std::vector<std::string> ReadSet();
  void ReadListBegin();
  void ReadListEnd();
  std::string ReadShortString();
  // The same, as a view into the stream's bytes (valid while they are).
  std::string_view ReadShortStringView() { return ReadCountedView(1); }
  // Count bytes as they stand (a signature).
  std::string_view ReadBytes(std::size_t count) { return Take(count); }
  // Skips one item whatever its type, lists and collections with their contents.
  void SkipValue();

  // The longest string or binary item accepted, in bytes.
  static constexpr std::uint32_t kMaxItemLength = 16u << 20;

 private:
  [[noreturn]] void InvalidValue(std::size_t at) const;
  [[noreturn]] void ReadError(std::size_t at) const;
  std::string_view Take(std::size_t count);
  std::uint64_t ReadLittleEndian(int bytes);
  std::string ReadCounted(int lengthBytes) { return std::string(ReadCountedView(lengthBytes)); }
  std::string_view ReadCountedView(int lengthBytes);
  void SkipValue(int depth);

  std::string_view bytes_;
  std::size_t position_ = 0;
};

}  // namespace tv
