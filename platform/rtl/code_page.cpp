#include "platform/rtl/code_page.h"

#include <array>

namespace tv {

namespace {

// Code points of 0x80 to 0x9F; 0 where the code page has none.
constexpr std::array<std::uint16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::uint32_t Cp1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] != 0) return kHigh[byte - 0x80];
  return byte;
}

int UnicodeToCp1252(std::uint32_t codePoint) {
  if (codePoint <= 0xFF && Cp1252ToUnicode(static_cast<unsigned char>(codePoint)) == codePoint)
    return static_cast<int>(codePoint);
  for (std::size_t k = 0; k < kHigh.size(); ++k)
    if (kHigh[k] != 0 && kHigh[k] == codePoint) return static_cast<int>(0x80 + k);
  return -1;
}

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, std::uint32_t codePoint) {
  if (codePoint < 0x10000) {
    out += static_cast<char16_t>(codePoint);
    return;
  }
  out += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
  out += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
}

bool DecodeUtf8(std::string_view utf8, std::u32string& codePoints) {
  codePoints.clear();
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80         ? 1
                       : (lead >> 5) == 6  ? 2
                       : (lead >> 4) == 14 ? 3
                       : (lead >> 3) == 30 ? 4
                                           : 0;
    if (length == 0 || i + static_cast<std::size_t>(length) > utf8.size()) return false;
    std::uint32_t cp = length == 1 ? lead : lead & (0x7Fu >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
      if ((next >> 6) != 2) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    codePoints += cp;
    i += static_cast<std::size_t>(length);
  }
  return true;
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  for (char c : ansi) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

bool Utf8ToAnsi(std::string_view utf8, std::string& ansi) {
  ansi.clear();
  std::u32string codePoints;
  if (!DecodeUtf8(utf8, codePoints)) return false;
  for (const char32_t cp : codePoints) {
    const int byte = UnicodeToCp1252(cp);
    if (byte < 0) return false;
    ansi += static_cast<char>(byte);
  }
  return true;
}

}  // namespace tv
