#include "platform/components/text_form.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/components/component_stream.h"
#include "platform/components/stream_items.h"

namespace tv {

namespace {

constexpr std::size_t kStringPieceLength = 64;  // characters per line of a long string
constexpr std::size_t kBinaryLineBytes = 32;

std::string Spaces(int count) {
  return std::string(static_cast<std::size_t>(count), ' ');
}

bool IsPrintable(unsigned char c) {
  return c >= 32 && c <= 126;
}

// 'text' with '' for a quote and #nnn for anything else outside printable
// ASCII; a long text goes on in the next line after " +".
std::string QuotedText(const std::string& text, int indent) {
  if (text.empty()) return "''";
  std::string out;
  for (std::size_t start = 0; start < text.size(); start += kStringPieceLength) {
    if (start > 0) out += " +\n" + Spaces(indent + 2);
    bool open = false;
    for (std::size_t i = start; i < text.size() && i < start + kStringPieceLength; ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (IsPrintable(c)) {
        if (!open) out += '\'';
        open = true;
        out += c == '\'' ? "''" : std::string(1, static_cast<char>(c));
      } else {
        if (open) out += '\'';
        open = false;
        out += '#' + std::to_string(c);
      }
    }
    if (open) out += '\'';
  }
  return out;
}

// The shortest decimal text that reads back as the same double, with a
// point so that it reads as a float.
std::string FloatText(double value) {
  if (!std::isfinite(value)) throw EReadError("A float that is not finite has no text form");
  char buffer[40];
  for (int digits = 15; digits <= 17; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    if (std::strtod(buffer, nullptr) == value) break;
  }
  std::string text(buffer);
  if (text.find_first_of(".eE") == std::string::npos) text += ".0";
  return text;
}

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char c : bytes) {
    text += digits[c >> 4];
    text += digits[c & 15];
  }
  return text;
}

// A name as the text form spells it: a letter or "_", then letters,
// digits, "_" and the dots of nested property names.
bool IsTextName(std::string_view name) {
  if (name.empty()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    const bool ok = std::isalpha(c) || c == '_' || (i > 0 && (std::isdigit(c) || c == '.'));
    if (!ok) return false;
  }
  return true;
}

// --- binary to text

class TTextWriter {
 public:
  explicit TTextWriter(std::string_view bytes) : items_(bytes) {}

  std::string Convert() {
    if (items_.ReadBytes(kStreamSignature.size()) != kStreamSignature)
      throw EReadError("Invalid stream format: no TPF0 signature");
    Object(0);
    if (!items_.AtEnd())
      throw EReadError("Bytes after the form at position " + std::to_string(items_.Position()));
    return std::move(out_);
  }

 private:
  void Object(int indent) {
    if (indent / 2 >= kMaxNesting)
      throw EReadError("Components nested deeper than " + std::to_string(kMaxNesting) + " levels");
    const std::string className = Name();
    const std::string name = Name(true);
    out_ += Spaces(indent) + "object " + (name.empty() ? "" : name + ": ") + className + "\n";
    Properties(indent + 2);
    while (!items_.EndOfList()) Object(indent + 2);
    items_.ReadListEnd();
    out_ += Spaces(indent) + "end\n";
  }

  void Properties(int indent) {
    while (!items_.EndOfList()) {
      out_ += Spaces(indent) + Name() + " = ";
      Value(indent, 0);
      out_ += '\n';
    }
    items_.ReadListEnd();
  }

  void Value(int indent, int depth) {
    if (depth > kMaxNesting)
      throw EReadError("Values nested deeper than " + std::to_string(kMaxNesting) + " levels");
    switch (items_.NextValue()) {
      case TValueType::vaList:
        items_.ReadListBegin();
        out_ += '(';
        while (!items_.EndOfList()) {
          out_ += '\n' + Spaces(indent + 2);
          Value(indent + 2, depth + 1);
        }
        items_.ReadListEnd();
        out_ += ')';
        return;
      case TValueType::vaInt8:
      case TValueType::vaInt16:
      case TValueType::vaInt32:
      case TValueType::vaInt64: out_ += std::to_string(items_.ReadInteger()); return;
      case TValueType::vaExtended: out_ += FloatText(items_.ReadFloat()); return;
      case TValueType::vaString:
      case TValueType::vaLString: out_ += QuotedText(items_.ReadString(), indent); return;
      case TValueType::vaBinary: {
        const std::string data = items_.ReadBinary();
        out_ += '{';
        for (std::size_t i = 0; i < data.size(); i += kBinaryLineBytes)
          out_ += '\n' + Spaces(indent + 2) + Hex(std::string_view(data).substr(i, kBinaryLineBytes));
        out_ += '}';
        return;
      }
      case TValueType::vaSet: {
        out_ += '[';
        bool first = true;
        const std::size_t at = items_.Position();
        for (const std::string& member : items_.ReadSet()) {
          if (!IsTextName(member)) NoName(at);
          if (!first) out_ += ", ";
          out_ += member;
          first = false;
        }
        out_ += ']';
        return;
      }
      case TValueType::vaCollection:
        items_.ReadValueType();
        out_ += '<';
        while (!items_.EndOfList()) {
          if (items_.NextValue() != TValueType::vaList)
            throw EReadError("Collection item without its list at position " +
                             std::to_string(items_.Position()));
          items_.ReadListBegin();
          out_ += '\n' + Spaces(indent + 2) + "item\n";
          Properties(indent + 4);
          out_ += Spaces(indent + 2) + "end";
        }
        items_.ReadListEnd();
        out_ += '>';
        return;
      case TValueType::vaNull:
      case TValueType::vaIdent:
      case TValueType::vaFalse:
      case TValueType::vaTrue:
      case TValueType::vaNil: {
        const std::size_t at = items_.Position();
        const std::string ident = items_.ReadIdent();
        if (!IsTextName(ident)) NoName(at);
        out_ += ident;
        return;
      }
    }
  }

  // A name the text form can spell, or nothing where Empty allows it.
  std::string Name(bool empty = false) {
    const std::size_t at = items_.Position();
    std::string name = items_.ReadShortString();
    if (!(IsTextName(name) || (empty && name.empty()))) NoName(at);
    return name;
  }

  [[noreturn]] static void NoName(std::size_t at) {
    throw EReadError("Name that is no identifier at position " + std::to_string(at));
  }

  TItemReader items_;
  std::string out_;
};

// --- text to binary

class TTextParser {
 public:
  explicit TTextParser(std::string_view text) : text_(text) {}

  std::string Convert() {
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

  static bool IsNameChar(char c, bool first) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalpha(u) || c == '_' || (!first && (std::isdigit(u) || c == '.'));
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
    if (!AtWord("object") && !AtWord("inherited") && !AtWord("inline")) Fail("'object' expected");
    Name();
    std::string name = Name(), className = name;
    if (Peek() == ':') {
      ++pos_;
      className = Name();
    } else {
      name.clear();
    }
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
      items_.WriteString(StringValue());
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
        items_.WriteListBegin();
        Properties();
        if (!AtWord("end")) Fail("'end' expected");
        Name();
      }
      ++pos_;
      items_.WriteListEnd();
    } else {
      Identifier(Name());
    }
  }

  void Identifier(const std::string& ident) {
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
    else
      items_.WriteIdent(ident);
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
    char* end = nullptr;
    if (isFloat) {
      const double value = std::strtod(number.c_str(), &end);
      if (end == number.c_str() || *end != '\0' || !std::isfinite(value)) Fail("invalid number " + number);
      items_.WriteFloat(value);
      return;
    }
    errno = 0;
    const long long value = std::strtoll(number.c_str(), &end, 10);
    if (end == number.c_str() || *end != '\0' || errno == ERANGE) Fail("invalid number " + number);
    items_.WriteInteger(value);
  }

  // Quoted pieces and #nnn codes written next to one another, joined; a
  // "+" joins the pieces of the next line. Pieces apart without "+" are two
  // strings (items of a list).
  std::string StringValue() {
    std::string value;
    SkipBlanks();
    for (;;) {
      StringPiece(value);
      if (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) continue;
      const std::size_t pos = pos_;
      const int line = line_;
      if (Peek() != '+') {
        pos_ = pos;
        line_ = line;
        return value;
      }
      ++pos_;
      const char next = Peek();
      if (next != '\'' && next != '#') Fail("string expected after '+'");
    }
  }

  // One quoted piece or one #nnn code at the current position.
  void StringPiece(std::string& value) {
    if (text_[pos_] == '#') {
      ++pos_;
      const std::size_t start = pos_;
      while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])) && pos_ - start < 4)
        ++pos_;
      const int code = pos_ > start ? std::atoi(std::string(text_.substr(start, pos_ - start)).c_str()) : -1;
      if (code < 0 || code > 255) Fail("character code 0 to 255 expected");
      value += static_cast<char>(code);
      return;
    }
    ++pos_;  // the opening quote
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') Fail("unterminated string");
      if (text_[pos_] == '\'') {
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
          value += '\'';
          pos_ += 2;
          continue;
        }
        ++pos_;
        return;
      }
      value += text_[pos_++];
    }
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
  TItemWriter items_;
};

}  // namespace

std::string ObjectTextToBinary(std::string_view text) {
  return TTextParser(text).Convert();
}

std::string ObjectBinaryToText(std::string_view bytes) {
  return TTextWriter(bytes).Convert();
}

}  // namespace tv
