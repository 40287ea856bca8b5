#include "platform/system/text.h"

namespace tv::sys {

unsigned char Cp1252Upper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;  // š -> Š
    case 0x9C: return 0x8C;  // œ -> Œ
    case 0x9E: return 0x8E;  // ž -> Ž
    case 0xFF: return 0x9F;  // ÿ -> Ÿ
    default: break;
  }
  // à..þ map 0x20 down, except the division sign ÷; ß and µ have no
  // upper-case form in the code page and stay.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  return c;
}

TUpperTable AnsiUpperTable() {
  std::string all(256, '\0');
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<char>(i);
  std::string upper = AnsiUpperCase(all);
  TUpperTable table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<unsigned char>(upper[i]);
  return table;
}

}  // namespace tv::sys
