#include "platform/system/command_line.h"

#include <gtest/gtest.h>

namespace tv::sys {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, SplitsAtBlanksAndTabsOutsideQuotes) {
  EXPECT_EQ(SplitCommandLine("scan.exe C:\\IN\\X.TXT /MIME /UNZIP /REPORT C:\\IN\\X.~tv"),
            (Args{"scan.exe", "C:\\IN\\X.TXT", "/MIME", "/UNZIP", "/REPORT", "C:\\IN\\X.~tv"}));
  EXPECT_EQ(SplitCommandLine("p\ta  \t b   "), (Args{"p", "a", "b"}));
  EXPECT_EQ(SplitCommandLine("p"), (Args{"p"}));
}

TEST(SplitCommandLine, QuotedPathsStayWhole) {
  EXPECT_EQ(SplitCommandLine(
                "\"C:\\Program Files\\McAfee\\scan.exe\" \"C:\\a b\\x y.txt\" /REPORT \"C:\\a b\\x y.~tv\""),
            (Args{"C:\\Program Files\\McAfee\\scan.exe", "C:\\a b\\x y.txt", "/REPORT", "C:\\a b\\x y.~tv"}));
  EXPECT_EQ(SplitCommandLine("p \"\" x"), (Args{"p", "", "x"}));
  EXPECT_EQ(SplitCommandLine("p ab\"c d\"ef"), (Args{"p", "abc def"}));
}

TEST(SplitCommandLine, ProgramNameTakesBackslashesLiterally) {
  EXPECT_EQ(SplitCommandLine("\"C:\\dir\\\"x y"), (Args{"C:\\dir\\x", "y"}));
  EXPECT_EQ(SplitCommandLine("C:\\a\"b c\"d e"), (Args{"C:\\ab cd", "e"}));
}

TEST(SplitCommandLine, BackslashesBeforeQuotesFollowTheRuntimeRules) {
  EXPECT_EQ(SplitCommandLine("p a\\\\b"), (Args{"p", "a\\\\b"}));        // no quote: literal
  EXPECT_EQ(SplitCommandLine("p a\\\"b"), (Args{"p", "a\"b"}));          // 1 + quote
  EXPECT_EQ(SplitCommandLine("p a\\\\\"b c\""), (Args{"p", "a\\b c"}));  // 2 + quote
  EXPECT_EQ(SplitCommandLine("p a\\\\\\\"b"), (Args{"p", "a\\\"b"}));    // 3 + quote
  EXPECT_EQ(SplitCommandLine("p \"C:\\dir\\\\\" x"), (Args{"p", "C:\\dir\\", "x"}));
}

TEST(SplitCommandLine, DoubledQuoteInsideQuotesIsALiteralQuote) {
  EXPECT_EQ(SplitCommandLine("p \"a\"\"b\" c"), (Args{"p", "a\"b", "c"}));
  EXPECT_EQ(SplitCommandLine("p \"a\"\"b c\""), (Args{"p", "a\"b c"}));
}

}  // namespace
}  // namespace tv::sys
