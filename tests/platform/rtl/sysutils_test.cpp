#include "platform/rtl/sysutils.h"

#include <gtest/gtest.h>

#include <string>

namespace tv {
namespace {

TEST(SysUtils, TrimRemovesEverythingUpToTheBlank) {
  EXPECT_EQ(Trim(" \t\r\n x y \x01\x1f"), "x y");
  EXPECT_EQ(TrimLeft("  x  "), "x  ");
  EXPECT_EQ(TrimRight("  x  "), "  x");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // no-break space is no control character
}

TEST(SysUtils, CaseRulesAreAscii) {
  EXPECT_EQ(UpperCase("abc\xE4z"), "ABC\xE4Z");
  EXPECT_EQ(LowerCase("ABC\xC4Z"), "abc\xC4z");
  EXPECT_EQ(CompareText("abc", "ABD"), -1);
  EXPECT_EQ(CompareText("ABC", "abc"), 0);
  EXPECT_EQ(CompareText("ab", "abc"), -1);
  EXPECT_EQ(CompareStr("B", "a"), -1);
  EXPECT_EQ(CompareStr("\xE4", "z"), 1);  // bytes compare unsigned
  EXPECT_TRUE(SameText("Found", "fOUND"));
  EXPECT_FALSE(SameText("Found", "Found "));
  // Every byte: only a to z change, and UpperCase is UpCase on each.
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    EXPECT_EQ(UpCase(c), b >= 'a' && b <= 'z' ? static_cast<char>(b - 32) : c) << b;
    EXPECT_EQ(UpperCase(std::string(1, c)), std::string(1, UpCase(c))) << b;
  }
  const struct {
    const char *SubText, *Text;
    bool Starts;
  } starts[] = {{"clamd://", "CLAMD://a:1", true}, {"clamd://", "clamd://", true},   {"", "x", true},
                {"clamd://", "clamd:/", false},    {"clamd://", " clamd://", false}, {"\xe4", "\xc4", false}};
  for (const auto& c : starts)
    EXPECT_EQ(StartsText(c.SubText, c.Text), c.Starts) << c.SubText << " " << c.Text;
}

// Maps keyed by names without case hash the name in blocks: every length
// around a block's end, letters in either case, must meet its twin, and
// names that differ in one byte anywhere must not share a bucket by rule.
TEST(SysUtils, TextHashMeetsNamesEqualWithoutCase) {
  const std::string letters = "aBcDeFgHiJkLmNoPqRsTuVwXyZ";
  for (std::size_t length = 0; length <= letters.size(); ++length) {
    const std::string name = letters.substr(0, length);
    SCOPED_TRACE(name);
    EXPECT_EQ(TTextHash()(name), TTextHash()(UpperCase(name)));
    EXPECT_EQ(TTextHash()(name), TTextHash()(LowerCase(name)));
    EXPECT_TRUE(TTextEqual()(name, UpperCase(name)));
    for (std::size_t at = 0; at < length; ++at) {
      std::string other = name;
      other[at] = '1';
      EXPECT_NE(TTextHash()(name), TTextHash()(other)) << at;
      EXPECT_FALSE(TTextEqual()(name, other));
    }
  }
  // A block is padded with zeros: the length tells a name from one with a zero after it.
  EXPECT_NE(TTextHash()("Caption"), TTextHash()(std::string("Caption\0", 8)));
  EXPECT_FALSE(SameText("[x]", "{x}"));  // folded alike for the hash, yet different
}

}  // namespace
}  // namespace tv
