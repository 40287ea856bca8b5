#include "platform/components/text_form.h"

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

// Binary component streams to the text form.

namespace tv {

namespace {

using text_form::IsTextName;

constexpr std::size_t kStringPieceLength = 64;  // characters per line of a long string
constexpr std::size_t kBinaryLineBytes = 32;

std::string Spaces(int count) {
  return std::string(static_cast<std::size_t>(count), ' ');
}

bool IsPrintable(unsigned char c) {
  return c >= 32 && c <= 126;
}

// 'text' with '' for a quote and #nnn for anything else outside printable
// ASCII; a long text goes on in the next line after " +". Codes are the
// bytes of an 8-bit string or the UTF-16 code units of a wide one.
template <class Codes>
std::string QuotedCodes(const Codes& text, int indent) {
  if (text.empty()) return "''";
  std::string out;
  for (std::size_t start = 0; start < text.size(); start += kStringPieceLength) {
    if (start > 0) out += " +\n" + Spaces(indent + 2);
    bool open = false;
    for (std::size_t i = start; i < text.size() && i < start + kStringPieceLength; ++i) {
      const auto c = static_cast<std::uint32_t>(text[i]);
      if (c < 128 && IsPrintable(static_cast<unsigned char>(c))) {
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

std::string QuotedText(const std::string& text, int indent) {
  std::basic_string<unsigned char> codes(text.begin(), text.end());
  return QuotedCodes(codes, indent);
}

// The shortest decimal text that reads back as the same double, with a
// point so that it reads as a float.
std::string FloatText(double value) {
  if (!std::isfinite(value)) throw EReadError("A float that is not finite has no text form");
  std::string text = ShortestDoubleText(value);
  if (text.find_first_of(".eE") == std::string::npos) text += ".0";
  return text;
}

// The same for a single float, which reads back through strtof.
std::string SingleText(float value) {
  if (!std::isfinite(value)) throw EReadError("A float that is not finite has no text form");
  char buffer[40];
  for (int digits = 6; digits <= 9; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
    if (std::strtof(buffer, nullptr) == value) break;
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
    const std::size_t at = items_.Position();
    const TObjectPrefix prefix = items_.ReadObjectPrefix();
    if (prefix.Flags & ~(ffInherited | ffChildPos | ffInline))
      throw EReadError("Unknown object flags at position " + std::to_string(at));
    const std::string className = Name();
    const std::string name = Name(true);
    out_ += Spaces(indent) + ObjectWord(prefix.Flags) + " " + (name.empty() ? "" : name + ": ") + className;
    if (prefix.Flags & ffChildPos) out_ += " [" + std::to_string(prefix.ChildPos) + "]";
    out_ += "\n";
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
      case TValueType::vaExtended: {
        const std::size_t at = items_.Position();
        const std::optional<std::string> text = ExtendedToText(items_.ReadExtended());
        if (!text) throw EReadError("Extended float without a text form at position " + std::to_string(at));
        out_ += *text;
        return;
      }
      // The other floats carry their kind in a letter after the number;
      // currency as its count of ten thousandths, exactly.
      case TValueType::vaSingle: out_ += SingleText(items_.ReadSingle()) + "s"; return;
      case TValueType::vaDouble: out_ += FloatText(items_.ReadDouble()) + "f"; return;
      case TValueType::vaDate: out_ += FloatText(items_.ReadDate()) + "d"; return;
      case TValueType::vaCurrency: out_ += std::to_string(items_.ReadCurrency()) + "c"; return;
      case TValueType::vaString:
      case TValueType::vaLString: out_ += QuotedText(items_.ReadString(), indent); return;
      case TValueType::vaWString:
      case TValueType::vaUTF8String: out_ += QuotedCodes(items_.ReadWideString(), indent); return;
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
      case TValueType::vaCollection: Collection(indent); return;
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

  // "<", each item with its properties as "item ... end", ">".
  void Collection(int indent) {
    items_.ReadValueType();
    out_ += '<';
    while (!items_.EndOfList()) {
      // An item may carry its order number before its list: "item [N]".
      std::string order;
      const TValueType next = items_.NextValue();
      if (next == TValueType::vaInt8 || next == TValueType::vaInt16 || next == TValueType::vaInt32)
        order = " [" + std::to_string(items_.ReadInteger()) + "]";
      if (items_.NextValue() != TValueType::vaList)
        throw EReadError("Collection item without its list at position " + std::to_string(items_.Position()));
      items_.ReadListBegin();
      out_ += '\n' + Spaces(indent + 2) + "item" + order + "\n";
      Properties(indent + 4);
      out_ += Spaces(indent + 2) + "end";
    }
    items_.ReadListEnd();
    out_ += '>';
  }

  // An inherited object that is also inline keeps both words.
  static std::string ObjectWord(std::uint8_t flags) {
    if ((flags & ffInherited) && (flags & ffInline)) return "inherited inline";
    if (flags & ffInherited) return "inherited";
    if (flags & ffInline) return "inline";
    return "object";
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

}  // namespace

std::string ObjectBinaryToText(std::string_view bytes) {
  return TTextWriter(bytes).Convert();
}

}  // namespace tv
