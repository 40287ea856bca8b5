#pragma once
// Text helpers of the runtime library. Case rules here are ASCII only: the
// locale's conversion belongs to the system services.

#include <cstddef>
#include <string>
#include <string_view>

namespace tv {

// ASCII a to z as A to Z, every other byte as it stands.
constexpr char UpCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// -1, 0 or 1; ASCII letters compared without case.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Text begins with SubText, ASCII letters compared without case.
bool StartsText(std::string_view subText, std::string_view text);
// Hash and equality of names without case, for maps looked up by a name as
// it stands (no upper-case copy per lookup).
struct TTextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const;
};
struct TTextEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return SameText(a, b); }
};
// -1, 0 or 1, byte by byte.
int CompareStr(std::string_view a, std::string_view b);

// Removes characters up to the blank (control characters included).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

}  // namespace tv
