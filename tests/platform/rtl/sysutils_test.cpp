#include "platform/rtl/sysutils.h"

#include <gtest/gtest.h>

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
}

}  // namespace
}  // namespace tv
