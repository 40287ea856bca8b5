#include "platform/rtl/code_page.h"
#include "tools/tvform/tvform.h"

namespace tv::tvform {

std::string AnsiToUtf8(const std::string& ansi) {
  std::string out;
  for (char c : ansi) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

bool Utf8ToAnsi(const std::string& utf8, std::string& ansi) {
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

}  // namespace tv::tvform
