#include <array>
#include <cstdint>

#include "tools/tvform/tvform.h"

namespace tv::tvform {

namespace {

// Code points of 0x80 to 0x9F in Windows-1252; 0 where the code page has none.
constexpr std::array<std::uint16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::uint32_t CodePointOf(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F) return kHigh[c - 0x80] != 0 ? kHigh[c - 0x80] : c;
  return c;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string AnsiToUtf8(const std::string& ansi) {
  std::string out;
  for (char c : ansi) AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
  return out;
}

bool Utf8ToAnsi(const std::string& utf8, std::string& ansi) {
  ansi.clear();
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80         ? 1
                       : (lead >> 5) == 6  ? 2
                       : (lead >> 4) == 14 ? 3
                       : (lead >> 3) == 30 ? 4
                                           : 0;
    if (length == 0 || i + static_cast<std::size_t>(length) > utf8.size()) return false;
    std::uint32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
      if ((next >> 6) != 2) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(length);
    int byte = -1;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF) ||
        (cp >= 0x80 && cp <= 0x9F && CodePointOf(static_cast<unsigned char>(cp)) == cp))
      byte = static_cast<int>(cp);
    for (std::size_t k = 0; k < kHigh.size() && byte < 0; ++k)
      if (kHigh[k] == cp) byte = static_cast<int>(0x80 + k);
    if (byte < 0) return false;
    ansi += static_cast<char>(byte);
  }
  return true;
}

}  // namespace tv::tvform
