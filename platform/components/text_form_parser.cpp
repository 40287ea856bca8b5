#include "platform/components/text_form.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/components/component_stream.h"
#include "platform/components/stream_items.h"
#include "platform/components/text_form_names.h"
#include "platform/rtl/code_page.h"
#include "platform/rtl/extended_float.h"

// The text form to binary component streams.

namespace tv {

namespace {

using text_form::IsNameChar;

class TTextParser {
 public:
  explicit TTextParser(std::string_view text) : text_(text) {}

  std::string Convert() {
    // Newer designers save a form as UTF-8 with a byte order mark; its
    // quoted characters are then UTF-8 sequences.
    if (text_.starts_with("\xEF\xBB\xBF")) {
      pos_ = 3;
      utf8_ = true;
    }
    items_.Bytes().append(kStreamSignature);
    Object(0);
    SkipBlanks();
    if (pos_ < text_.size()) Fail("text after the last end");
    return std::move(items_.Bytes());
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EParserError("Line " + std::to_string(line_) + ": " + what);
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
      if (text_[pos_] == '\n') ++line_;
      ++pos_;
    }
  }

  char Peek() {
    SkipBlanks();
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }

  void Expect(char c) {
    if (Peek() != c) Fail(std::string("'") + c + "' expected");
    ++pos_;
  }

  std::string Name() {
    SkipBlanks();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_], pos_ == start)) ++pos_;
    if (pos_ == start) Fail("identifier expected");
    // Names are short strings in the stream.
    if (pos_ - start > 255) Fail("name longer than 255 characters");
    return std::string(text_.substr(start, pos_ - start));
  }

  bool AtWord(std::string_view word) {
    SkipBlanks();
    if (text_.substr(pos_, word.size()).size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(text_[pos_ + i])) != word[i]) return false;
    const std::size_t after = pos_ + word.size();
    return after >= text_.size() || !IsNameChar(text_[after], false);
  }

  void Object(int depth) {
    if (depth > kMaxNesting) Fail("objects nested deeper than " + std::to_string(kMaxNesting) + " levels");
    TObjectPrefix prefix;
    if (AtWord("inherited")) {
      Name();
      prefix.Flags |= ffInherited;
      if (AtWord("inline")) {
        Name();
        prefix.Flags |= ffInline;
      }
    } else if (AtWord("inline")) {
      Name();
      prefix.Flags |= ffInline;
    } else if (AtWord("object")) {
      Name();
    } else {
      Fail("'object' expected");
    }
    std::string name = Name(), className = name;
    if (Peek() == ':') {
      ++pos_;
      className = Name();
    } else {
      name.clear();
    }
    // "[N]": the object's place among its parent's children.
    if (Peek() == '[') {
      ++pos_;
      prefix.Flags |= ffChildPos;
      prefix.ChildPos = Integer();
      Expect(']');
    }
    items_.WriteObjectPrefix(prefix);
    items_.WriteShortString(className);
    items_.WriteShortString(name);
    Properties();
    while (!AtWord("end")) {
      if (pos_ >= text_.size()) Fail("'end' expected");
      Object(depth + 1);
    }
    Name();  // end
    items_.WriteListEnd();
  }

  // Properties up to the first object or end, then the end of their list.
  void Properties() {
    while (!AtWord("object") && !AtWord("inherited") && !AtWord("inline") && !AtWord("end")) {
      if (pos_ >= text_.size()) Fail("'end' expected");
      items_.WriteShortString(Name());
      Expect('=');
      Value(0);
    }
    items_.WriteListEnd();
  }

  void Value(int depth) {
    if (depth > kMaxNesting) Fail("values nested deeper than " + std::to_string(kMaxNesting) + " levels");
    const char c = Peek();
    if (c == '\'' || c == '#') {
      StringValue();
    } else if (c == '-' || c == '+' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
      Number();
    } else if (c == '(') {
      ++pos_;
      items_.WriteListBegin();
      while (Peek() != ')') {
        if (pos_ >= text_.size()) Fail("')' expected");
        Value(depth + 1);
      }
      ++pos_;
      items_.WriteListEnd();
    } else if (c == '{') {
      ++pos_;
      items_.WriteBinary(BinaryValue());
    } else if (c == '[') {
      ++pos_;
      std::vector<std::string> members;
      while (Peek() != ']') {
        if (!members.empty()) Expect(',');
        members.push_back(Name());
      }
      ++pos_;
      items_.WriteSet(members);
    } else if (c == '<') {
      ++pos_;
      items_.WriteValueType(TValueType::vaCollection);
      while (Peek() != '>') {
        if (!AtWord("item")) Fail("'item' expected");
        Name();
        if (Peek() == '[') {
          ++pos_;
          const std::int64_t order = Integer();
          if (order < INT32_MIN || order > INT32_MAX) Fail("order number beyond 32 bits");
          items_.WriteInteger(order);
          Expect(']');
        }
        items_.WriteListBegin();
        Properties();
        if (!AtWord("end")) Fail("'end' expected");
        Name();
      }
      ++pos_;
      items_.WriteListEnd();
    } else {
      Identifier(Name(), depth);
    }
  }

  // Null stands for the null item only as a property's value: in a list the
  // null item ends the list.
  void Identifier(const std::string& ident, int depth) {
    auto same = [&](std::string_view word) {
      if (ident.size() != word.size()) return false;
      for (std::size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(ident[i])) !=
            std::tolower(static_cast<unsigned char>(word[i])))
          return false;
      return true;
    };
    if (same("True"))
      items_.WriteBoolean(true);
    else if (same("False"))
      items_.WriteBoolean(false);
    else if (same("nil"))
      items_.WriteValueType(TValueType::vaNil);
    else if (same("Null") && depth == 0)
      items_.WriteValueType(TValueType::vaNull);
    else
      items_.WriteIdent(ident);
  }

  // A decimal integer, signed, for a child position.
  std::int64_t Integer() {
    SkipBlanks();
    const std::size_t start = pos_;
    if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+')) ++pos_;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    const std::string number(text_.substr(start, pos_ - start));
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(number.c_str(), &end, 10);
    if (number.empty() || end == number.c_str() || *end != '\0' || errno == ERANGE) Fail("integer expected");
    return value;
  }

  void Number() {
    const std::size_t start = pos_;
    if (text_[pos_] == '-' || text_[pos_] == '+') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '$') {
      ++pos_;
      const std::size_t digits = pos_;
      while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
      if (pos_ == digits || pos_ - digits > 16) Fail("hexadecimal number expected");
      const std::uint64_t value =
          std::strtoull(std::string(text_.substr(digits, pos_ - digits)).c_str(), nullptr, 16);
      items_.WriteInteger(text_[start] == '-' ? -static_cast<std::int64_t>(value)
                                              : static_cast<std::int64_t>(value));
      return;
    }
    bool isFloat = false;
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (std::isdigit(static_cast<unsigned char>(c))) {
        ++pos_;
      } else if (c == '.' || c == 'e' || c == 'E') {
        isFloat = true;
        ++pos_;
        if ((c == 'e' || c == 'E') && pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+'))
          ++pos_;
      } else {
        break;
      }
    }
    const std::string number(text_.substr(start, pos_ - start));
    // A letter right after the number names the kind of float: s single,
    // d date, c currency (in ten thousandths), f double.
    char kind = '\0';
    if (pos_ < text_.size() && std::strchr("sSdDcCfF", text_[pos_]) != nullptr &&
        (pos_ + 1 >= text_.size() || !IsNameChar(text_[pos_ + 1], false)))
      kind = static_cast<char>(std::tolower(static_cast<unsigned char>(text_[pos_++])));
    char* end = nullptr;
    errno = 0;
    if (kind == 's') {
      const float value = std::strtof(number.c_str(), &end);
      if (end == number.c_str() || *end != '\0' || !std::isfinite(value))
        Fail("invalid number " + number + "s");
      items_.WriteSingle(value);
      return;
    }
    if (kind == 'c') {
      items_.WriteCurrency(CurrencyOf(number, isFloat));
      return;
    }
    if (isFloat && kind == '\0') {
      // Read exactly, not through a double: extended floats hold more.
      const std::optional<std::string> extended = TextToExtended(number);
      if (!extended) Fail("invalid number " + number);
      items_.WriteExtended(*extended);
      return;
    }
    if (kind != '\0') {
      const double value = std::strtod(number.c_str(), &end);
      if (end == number.c_str() || *end != '\0' || !std::isfinite(value))
        Fail("invalid number " + number + (kind ? std::string(1, kind) : ""));
      if (kind == 'd')
        items_.WriteDate(value);
      else
        items_.WriteDouble(value);
      return;
    }
    const long long value = std::strtoll(number.c_str(), &end, 10);
    if (end == number.c_str() || *end != '\0' || errno == ERANGE) Fail("invalid number " + number);
    items_.WriteInteger(value);
  }

  // A currency's ten thousandths: exact for an integer, the nearest for a
  // float.
  std::int64_t CurrencyOf(const std::string& number, bool isFloat) {
    char* end = nullptr;
    errno = 0;
    if (!isFloat) {
      const long long value = std::strtoll(number.c_str(), &end, 10);
      if (end == number.c_str() || *end != '\0' || errno == ERANGE) Fail("invalid number " + number + "c");
      return value;
    }
    const double value = std::strtod(number.c_str(), &end);
    // 2^63 as a double: the first value beyond the range.
    if (end == number.c_str() || *end != '\0' || !(std::fabs(value) < 9223372036854775808.0))
      Fail("invalid number " + number + "c");
    return std::llround(value);
  }

  // Quoted pieces and #nnn codes written next to one another, joined; a
  // "+" joins the pieces of the next line. Pieces apart without "+" are two
  // strings (items of a list). A code beyond 255 makes the string wide.
  void StringValue() {
    TStringCodes value;
    SkipBlanks();
    for (;;) {
      StringPiece(value);
      if (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) continue;
      const std::size_t pos = pos_;
      const int line = line_;
      if (Peek() != '+') {
        pos_ = pos;
        line_ = line;
        break;
      }
      ++pos_;
      const char next = Peek();
      if (next != '\'' && next != '#') Fail("string expected after '+'");
    }
    if (value.Wide)
      items_.WriteWideString(value.Units);
    else
      items_.WriteString(value.Bytes);
  }

  // A string both ways while it is read: as 8-bit bytes, good while every
  // code is at most 255, and as UTF-16, where a quoted byte stands for its
  // Windows-1252 character and a code for itself.
  struct TStringCodes {
    std::string Bytes;
    std::u16string Units;
    bool Wide = false;
  };

  // One quoted piece or one #nnn code at the current position.
  void StringPiece(TStringCodes& value) {
    if (text_[pos_] == '#') {
      ++pos_;
      const std::size_t start = pos_;
      while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])) && pos_ - start < 8)
        ++pos_;
      const long code = pos_ > start ? std::atol(std::string(text_.substr(start, pos_ - start)).c_str()) : -1;
      if (code < 0 || code > 0x10FFFF) Fail("character code 0 to 1114111 expected");
      if (code > 255) value.Wide = true;
      value.Bytes += static_cast<char>(code & 0xFF);
      AppendUtf16(value.Units, static_cast<std::uint32_t>(code));
      return;
    }
    ++pos_;  // the opening quote
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') Fail("unterminated string");
      char c = text_[pos_];
      if (c == '\'') {
        if (pos_ + 1 >= text_.size() || text_[pos_ + 1] != '\'') {
          ++pos_;
          return;
        }
        ++pos_;  // a doubled quote stands for one
      }
      if (utf8_ && static_cast<unsigned char>(c) >= 0x80) {
        QuotedUtf8(value);
        continue;
      }
      ++pos_;
      value.Bytes += c;
      value.Units += static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(c)));
    }
  }

  // One UTF-8 sequence inside quotes: its Windows-1252 byte, or a wide
  // string where the code page has none.
  void QuotedUtf8(TStringCodes& value) {
    const auto lead = static_cast<unsigned char>(text_[pos_]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    std::u32string decoded;
    if (!DecodeUtf8(text_.substr(pos_, length), decoded) || decoded.size() != 1)
      Fail("text that is no UTF-8");
    pos_ += length;
    const char32_t cp = decoded[0];
    const int byte = UnicodeToCp1252(cp);
    if (byte < 0) value.Wide = true;
    value.Bytes += static_cast<char>(byte & 0xFF);
    AppendUtf16(value.Units, cp);
  }

  std::string BinaryValue() {
    std::string data;
    int high = -1;
    for (;;) {
      const char c = Peek();
      if (c == '}') {
        ++pos_;
        break;
      }
      if (!std::isxdigit(static_cast<unsigned char>(c))) Fail("hexadecimal digit or '}' expected");
      ++pos_;
      const int nibble = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::toupper(c) - 'A' + 10;
      if (high < 0) {
        high = nibble;
      } else {
        data += static_cast<char>(high * 16 + nibble);
        high = -1;
      }
    }
    if (high >= 0) Fail("odd number of hexadecimal digits");
    return data;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  bool utf8_ = false;
  TItemWriter items_;
};

}  // namespace

std::string ObjectTextToBinary(std::string_view text) {
  return TTextParser(text).Convert();
}

}  // namespace tv
