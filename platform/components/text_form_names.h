#pragma once
// The names of the text form format, one rule for its writer and its parser.

#include <cctype>
#include <string_view>

namespace tv::text_form {

// A character of a name as the text form spells it: a letter or "_", then
// also digits and the dots of nested property names. Bytes beyond ASCII
// count as letters: names in other alphabets (UTF-8 in newer designers'
// files, the code page's letters in older ones) pass as they stand.
inline bool IsNameChar(char c, bool first) {
  const auto u = static_cast<unsigned char>(c);
  return std::isalpha(u) || c == '_' || u >= 0x80 || (!first && (std::isdigit(u) || c == '.'));
}

inline bool IsTextName(std::string_view name) {
  if (name.empty()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (!IsNameChar(name[i], i == 0)) return false;
  return true;
}

}  // namespace tv::text_form
