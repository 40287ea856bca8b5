#include "platform/components/stream_items.h"

#include <bit>
#include <cmath>
#include <limits>

#include "platform/rtl/code_page.h"
#include "platform/rtl/extended_float.h"

namespace tv {

namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;

}  // namespace

bool IsValueType(std::uint8_t byte) {
  return byte <= static_cast<std::uint8_t>(TValueType::vaDouble);
}

std::string DoubleToExtended(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const std::uint16_t sign = (bits >> 63) ? 0x8000 : 0;
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  std::uint64_t mantissa = 0;
  std::uint16_t extendedExponent = 0;
  if (exponent == 0x7FF) {  // infinity or NaN
    extendedExponent = 0x7FFF;
    mantissa = (std::uint64_t{1} << 63) | (fraction << 11);
  } else if (exponent != 0 || fraction != 0) {
    int unbiased = exponent - kDoubleBias;
    if (exponent == 0) {  // subnormal: the extended form has room to normalise it
      unbiased = 1 - kDoubleBias;
      while (!(fraction & (std::uint64_t{1} << 52))) {
        fraction <<= 1;
        --unbiased;
      }
      fraction &= (std::uint64_t{1} << 52) - 1;
    }
    extendedExponent = static_cast<std::uint16_t>(unbiased + kExtendedBias);
    mantissa = (std::uint64_t{1} << 63) | (fraction << 11);
  }
  std::string bytes(10, '\0');
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(mantissa >> (8 * i));
  const std::uint16_t top = sign | extendedExponent;
  bytes[8] = static_cast<char>(top & 0xFF);
  bytes[9] = static_cast<char>(top >> 8);
  return bytes;
}

double ExtendedToDouble(std::string_view tenBytes) {
  std::uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | static_cast<unsigned char>(tenBytes[i]);
  const std::uint16_t top = static_cast<std::uint16_t>(static_cast<unsigned char>(tenBytes[8]) |
                                                       (static_cast<unsigned char>(tenBytes[9]) << 8));
  const bool negative = (top & 0x8000) != 0;
  const int exponent = top & 0x7FFF;
  double magnitude;
  if (exponent == 0x7FFF) {
    magnitude = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::quiet_NaN();
  } else {
    // The conversion of the 64-bit mantissa rounds to the nearest double;
    // scaling by a power of two is exact but for underflow and overflow.
    magnitude = std::ldexp(static_cast<double>(mantissa), exponent - kExtendedBias - 63);
  }
  return negative ? -magnitude : magnitude;
}

// --- TItemWriter

void TItemWriter::WriteLittleEndian(std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) bytes_ += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void TItemWriter::WriteInteger(std::int64_t value) {
  const auto raw = static_cast<std::uint64_t>(value);
  if (value >= INT8_MIN && value <= INT8_MAX) {
    WriteValueType(TValueType::vaInt8);
    WriteLittleEndian(raw, 1);
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    WriteValueType(TValueType::vaInt16);
    WriteLittleEndian(raw, 2);
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    WriteValueType(TValueType::vaInt32);
    WriteLittleEndian(raw, 4);
  } else {
    WriteValueType(TValueType::vaInt64);
    WriteLittleEndian(raw, 8);
  }
}

void TItemWriter::WriteString(std::string_view text) {
  if (text.size() <= 255) {
    WriteValueType(TValueType::vaString);
    WriteShortString(text);
    return;
  }
  WriteValueType(TValueType::vaLString);
  WriteLittleEndian(text.size(), 4);
  bytes_.append(text);
}

void TItemWriter::WriteShortString(std::string_view text) {
  if (text.size() > 255) throw EWriteError("Short string of " + std::to_string(text.size()) + " characters");
  bytes_ += static_cast<char>(text.size());
  bytes_.append(text);
}

void TItemWriter::WriteIdent(std::string_view ident) {
  WriteValueType(TValueType::vaIdent);
  WriteShortString(ident);
}

// As a form designer stores a value typed in: the extended float nearest to
// the value's shortest text, which reads back as the value and shows as
// that text.
void TItemWriter::WriteFloat(double value) {
  WriteValueType(TValueType::vaExtended);
  bytes_.append(ExtendedOfDouble(value));
}

void TItemWriter::WriteExtended(std::string_view tenBytes) {
  if (tenBytes.size() != 10)
    throw EWriteError("An extended float has 10 bytes, not " + std::to_string(tenBytes.size()));
  WriteValueType(TValueType::vaExtended);
  bytes_.append(tenBytes);
}

void TItemWriter::WriteSingle(float value) {
  WriteValueType(TValueType::vaSingle);
  WriteLittleEndian(std::bit_cast<std::uint32_t>(value), 4);
}

void TItemWriter::WriteDouble(double value) {
  WriteValueType(TValueType::vaDouble);
  WriteLittleEndian(std::bit_cast<std::uint64_t>(value), 8);
}

void TItemWriter::WriteDate(double value) {
  WriteValueType(TValueType::vaDate);
  WriteLittleEndian(std::bit_cast<std::uint64_t>(value), 8);
}

void TItemWriter::WriteCurrency(std::int64_t tenThousandths) {
  WriteValueType(TValueType::vaCurrency);
  WriteLittleEndian(static_cast<std::uint64_t>(tenThousandths), 8);
}

void TItemWriter::WriteWideString(std::u16string_view text) {
  WriteValueType(TValueType::vaWString);
  WriteLittleEndian(text.size(), 4);
  for (const char16_t unit : text) WriteLittleEndian(unit, 2);
}

void TItemWriter::WriteObjectPrefix(const TObjectPrefix& prefix) {
  if (prefix.Flags == 0) return;
  bytes_ += static_cast<char>(0xF0 | (prefix.Flags & 0x0F));
  if (prefix.Flags & ffChildPos) WriteInteger(prefix.ChildPos);
}

void TItemWriter::WriteBinary(std::string_view data) {
  WriteValueType(TValueType::vaBinary);
  WriteLittleEndian(data.size(), 4);
  bytes_.append(data);
}

void TItemWriter::WriteSet(const std::vector<std::string>& members) {
  WriteValueType(TValueType::vaSet);
  for (const std::string& member : members) WriteShortString(member);
  WriteShortString("");
}

// --- TItemReader

void TItemReader::InvalidValue(std::size_t at) const {
  throw EReadError("Invalid property value at position " + std::to_string(at));
}

void TItemReader::ReadError(std::size_t at) const {
  throw EReadError("Stream read error at position " + std::to_string(at));
}

std::string_view TItemReader::Take(std::size_t count) {
  if (count > bytes_.size() - position_) ReadError(position_);
  std::string_view taken = bytes_.substr(position_, count);
  position_ += count;
  return taken;
}

std::uint64_t TItemReader::ReadLittleEndian(int bytes) {
  // Most are one byte (a name's or a short string's length).
  if (bytes == 1 && position_ < bytes_.size()) return static_cast<unsigned char>(bytes_[position_++]);
  const std::string_view raw = Take(static_cast<std::size_t>(bytes));
  std::uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(raw[i]);
  return value;
}

TValueType TItemReader::NextValue() const {
  if (AtEnd()) ReadError(position_);
  const auto byte = static_cast<std::uint8_t>(bytes_[position_]);
  if (!IsValueType(byte))
    throw EReadError("Unknown value type " + std::to_string(byte) + " at position " +
                     std::to_string(position_));
  return static_cast<TValueType>(byte);
}

bool TItemReader::EndOfList() const {
  if (AtEnd()) ReadError(position_);
  return bytes_[position_] == '\0';
}

TValueType TItemReader::ReadValueType() {
  const TValueType type = NextValue();
  ++position_;
  return type;
}

std::int64_t TItemReader::ReadInteger() {
  const std::size_t at = position_;
  switch (ReadValueType()) {
    case TValueType::vaInt8: return static_cast<std::int8_t>(ReadLittleEndian(1));
    case TValueType::vaInt16: return static_cast<std::int16_t>(ReadLittleEndian(2));
    case TValueType::vaInt32: return static_cast<std::int32_t>(ReadLittleEndian(4));
    case TValueType::vaInt64: return static_cast<std::int64_t>(ReadLittleEndian(8));
    default: InvalidValue(at);
  }
}

std::string_view TItemReader::ReadCountedView(int lengthBytes) {
  const std::size_t at = position_;
  const std::uint64_t length = ReadLittleEndian(lengthBytes);
  if (length > kMaxItemLength)
    throw EReadError("Item of " + std::to_string(length) + " bytes at position " + std::to_string(at) +
                     " is longer than 16 MB");
  return Take(static_cast<std::size_t>(length));
}

std::string TItemReader::ReadShortString() {
  return ReadCounted(1);
}

std::string TItemReader::ReadString() {
  const std::size_t at = position_;
  switch (ReadValueType()) {
    case TValueType::vaString: return ReadCounted(1);
    case TValueType::vaLString: return ReadCounted(4);
    default: InvalidValue(at);
  }
}

std::string TItemReader::ReadIdent() {
  const std::size_t at = position_;
  switch (ReadValueType()) {
    case TValueType::vaIdent: return ReadCounted(1);
    case TValueType::vaFalse: return "False";
    case TValueType::vaTrue: return "True";
    case TValueType::vaNil: return "nil";
    case TValueType::vaNull: return "Null";
    default: InvalidValue(at);
  }
}

bool TItemReader::ReadBoolean() {
  const std::size_t at = position_;
  switch (ReadValueType()) {
    case TValueType::vaFalse: return false;
    case TValueType::vaTrue: return true;
    default: InvalidValue(at);
  }
}

double TItemReader::ReadFloat() {
  const std::size_t at = position_;
  switch (NextValue()) {
    case TValueType::vaExtended: ++position_; return ExtendedToDouble(Take(10));
    case TValueType::vaSingle: return ReadSingle();
    case TValueType::vaDouble: return ReadDouble();
    case TValueType::vaDate: return ReadDate();
    case TValueType::vaCurrency: return static_cast<double>(ReadCurrency()) / 10000;
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64: return static_cast<double>(ReadInteger());
    default: InvalidValue(at);
  }
}

std::string TItemReader::ReadExtended() {
  const std::size_t at = position_;
  if (ReadValueType() != TValueType::vaExtended) InvalidValue(at);
  return std::string(Take(10));
}

float TItemReader::ReadSingle() {
  const std::size_t at = position_;
  if (ReadValueType() != TValueType::vaSingle) InvalidValue(at);
  return std::bit_cast<float>(static_cast<std::uint32_t>(ReadLittleEndian(4)));
}

double TItemReader::ReadDouble() {
  const std::size_t at = position_;
  if (ReadValueType() != TValueType::vaDouble) InvalidValue(at);
  return std::bit_cast<double>(ReadLittleEndian(8));
}

double TItemReader::ReadDate() {
  const std::size_t at = position_;
  if (ReadValueType() != TValueType::vaDate) InvalidValue(at);
  return std::bit_cast<double>(ReadLittleEndian(8));
}

std::int64_t TItemReader::ReadCurrency() {
  const std::size_t at = position_;
  if (ReadValueType() != TValueType::vaCurrency) InvalidValue(at);
  return static_cast<std::int64_t>(ReadLittleEndian(8));
}

std::u16string TItemReader::ReadWideString() {
  const std::size_t at = position_;
  const TValueType type = ReadValueType();
  if (type == TValueType::vaUTF8String) {
    std::u32string codePoints;
    if (!DecodeUtf8(ReadCounted(4), codePoints))
      throw EReadError("UTF-8 string that is no UTF-8 at position " + std::to_string(at));
    std::u16string units;
    for (const char32_t cp : codePoints) AppendUtf16(units, cp);
    return units;
  }
  if (type != TValueType::vaWString) InvalidValue(at);
  const std::uint64_t count = ReadLittleEndian(4);
  if (count > kMaxItemLength / 2)
    throw EReadError("Item of " + std::to_string(count) + " characters at position " + std::to_string(at) +
                     " is longer than 16 MB");
  const std::string_view raw = Take(static_cast<std::size_t>(count) * 2);
  std::u16string units(static_cast<std::size_t>(count), u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                     (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
  return units;
}

TObjectPrefix TItemReader::ReadObjectPrefix() {
  TObjectPrefix prefix;
  if (AtEnd() || (static_cast<std::uint8_t>(bytes_[position_]) & 0xF0) != 0xF0) return prefix;
  prefix.Flags = static_cast<std::uint8_t>(bytes_[position_++]) & 0x0F;
  if (prefix.Flags & ffChildPos) prefix.ChildPos = ReadInteger();
  return prefix;
}

std::string TItemReader::ReadBinary() {
  const std::size_t at = position_;
  if (ReadValueType() != TValueType::vaBinary) InvalidValue(at);
  return ReadCounted(4);
}

std::vector<std::string> TItemReader::ReadSet() {
  const std::size_t at = position_;
  if (ReadValueType() != TValueType::vaSet) InvalidValue(at);
  std::vector<std::string> members;
  for (std::string member = ReadShortString(); !member.empty(); member = ReadShortString())
    members.push_back(std::move(member));
  return members;
}

void TItemReader::ReadListBegin() {
  const std::size_t at = position_;
  if (ReadValueType() != TValueType::vaList) InvalidValue(at);
}

void TItemReader::ReadListEnd() {
  const std::size_t at = position_;
  if (ReadValueType() != TValueType::vaNull) InvalidValue(at);
}

void TItemReader::SkipValue() {
  SkipValue(0);
}

void TItemReader::SkipValue(int depth) {
  const std::size_t at = position_;
  if (depth > kMaxNesting)
    throw EReadError("Values nested deeper than " + std::to_string(kMaxNesting) + " levels at position " +
                     std::to_string(at));
  switch (ReadValueType()) {
    case TValueType::vaNull: InvalidValue(at);  // an end of list is no value
    case TValueType::vaList:
      while (!EndOfList()) SkipValue(depth + 1);
      ReadListEnd();
      break;
    case TValueType::vaCollection:
      // Items: an optional order number, then a list of properties (name
      // and value); the collection ends with an end of list.
      while (!EndOfList()) {
        const TValueType next = NextValue();
        if (next == TValueType::vaInt8 || next == TValueType::vaInt16 || next == TValueType::vaInt32)
          ReadInteger();
        ReadListBegin();
        while (!EndOfList()) {
          ReadShortString();
          SkipValue(depth + 1);
        }
        ReadListEnd();
      }
      ReadListEnd();
      break;
    case TValueType::vaInt8: Take(1); break;
    case TValueType::vaInt16: Take(2); break;
    case TValueType::vaInt32: Take(4); break;
    case TValueType::vaInt64: Take(8); break;
    case TValueType::vaExtended: Take(10); break;
    case TValueType::vaSingle: Take(4); break;
    case TValueType::vaCurrency:
    case TValueType::vaDate:
    case TValueType::vaDouble: Take(8); break;
    case TValueType::vaWString:
      position_ = at;
      ReadWideString();
      break;
    case TValueType::vaString:
    case TValueType::vaIdent: ReadCounted(1); break;
    case TValueType::vaLString:
    case TValueType::vaUTF8String:
    case TValueType::vaBinary: ReadCounted(4); break;
    case TValueType::vaSet:
      while (!ReadShortString().empty()) {
      }
      break;
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil: break;
  }
}

}  // namespace tv
