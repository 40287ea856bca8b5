#include "platform/system/text.h"

#include <cstdlib>

namespace tv::sys {

std::string AnsiUpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(Cp1252Upper(static_cast<unsigned char>(c)));
  return result;
}

bool OutputTakesUtf8() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    const std::string locale(value);
    const std::size_t dot = locale.find('.');
    if (dot == std::string::npos) return false;
    const std::string codeSet = locale.substr(dot + 1, locale.find('@', dot) - dot - 1);
    // The spellings the C library accepts for it.
    return codeSet == "UTF-8" || codeSet == "utf-8" || codeSet == "UTF8" || codeSet == "utf8";
  }
  return false;  // the C locale
}

}  // namespace tv::sys
