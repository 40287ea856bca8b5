#include "platform/rtl/sysutils.h"

#include <cstdint>

namespace tv {

namespace {

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
bool UpToBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

template <typename Fold>
int Compare(std::string_view a, std::string_view b, Fold fold) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(fold(a[i]));
    const auto y = static_cast<unsigned char>(fold(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = Upper(c);
  return r;
}

std::string LowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = Lower(c);
  return r;
}

int CompareText(std::string_view a, std::string_view b) {
  return Compare(a, b, Upper);
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

std::size_t TTextHash::operator()(std::string_view text) const {
  // FNV-1a over the upper-case letters
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(Upper(c))) * 1099511628211ull;
  return static_cast<std::size_t>(hash);
}

int CompareStr(std::string_view a, std::string_view b) {
  return Compare(a, b, [](char c) { return c; });
}

std::string TrimLeft(std::string_view s) {
  while (!s.empty() && UpToBlank(s.front())) s.remove_prefix(1);
  return std::string(s);
}

std::string TrimRight(std::string_view s) {
  while (!s.empty() && UpToBlank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

std::string Trim(std::string_view s) {
  return TrimLeft(TrimRight(s));
}

}  // namespace tv
