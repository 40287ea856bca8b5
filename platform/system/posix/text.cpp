#include "platform/system/text.h"

namespace tv::sys {

std::string AnsiUpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(Cp1252Upper(static_cast<unsigned char>(c)));
  return result;
}

}  // namespace tv::sys
