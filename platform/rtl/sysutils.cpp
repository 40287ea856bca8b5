#include "platform/rtl/sysutils.h"

#include <cstdint>
#include <cstring>

namespace tv {

namespace {

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
  for (char& c : r) c = UpCase(c);
  return r;
}

std::string LowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = Lower(c);
  return r;
}

int CompareText(std::string_view a, std::string_view b) {
  return Compare(a, b, UpCase);
}

bool SameText(std::string_view a, std::string_view b) {
  // Names mostly meet in the same case: one block comparison decides those.
  return a.size() == b.size() && (a == b || CompareText(a, b) == 0);
}

bool StartsText(std::string_view subText, std::string_view text) {
  return text.size() >= subText.size() && SameText(text.substr(0, subText.size()), subText);
}

std::size_t TTextHash::operator()(std::string_view text) const {
  // Eight bytes at a time, every byte with bit 5 cleared: a letter's two
  // cases hash alike, so names equal without case always meet (a few other
  // characters share a hash too, which the comparison tells apart).
  constexpr std::uint64_t kFold = 0xDFDFDFDFDFDFDFDFull;
  const auto mix = [](std::uint64_t x) {
    x *= 0xBF58476D1CE4E5B9ull;
    return x ^ (x >> 31);
  };
  std::uint64_t hash = text.size() * 0x9E3779B97F4A7C15ull;
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + at, 8);
    hash = mix(hash ^ (word & kFold));
  }
  if (at < text.size()) {
    // The last bytes, gathered one by one: a copy of a varying length would
    // be a library call for a few bytes.
    std::uint64_t tail = 0;
    for (std::size_t i = at; i < text.size(); ++i)
      tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(text[i])) << (8 * (i - at));
    hash = mix(hash ^ (tail & kFold));
  }
  return static_cast<std::size_t>(hash ^ (hash >> 32));
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
