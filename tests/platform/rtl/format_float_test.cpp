#include <gtest/gtest.h>

#include "platform/rtl/convert.h"

namespace tv {
namespace {

TEST(FormatFloat, PatternTable) {
  struct Case {
    const char* format;
    double value;
    const char* text;
  } cases[] = {
      {"0", 1234.5, "1235"},  // half away from zero
      {"0", -1234.5, "-1235"},
      {"0.00", 1.005, "1.01"},  // decimal rounding of the 15-digit value
      {"0.00", 0.5, "0.50"},
      {"#.##", 0.5, ".5"},
      {"#.##", 12, "12"},
      {"0.0#", 3.14159, "3.14"},
      {"0.0#", 3.1, "3.1"},
      {"000", 7, "007"},
      {"#", 0, ""},
      {"#,##0.00", 1234567.891, "1,234,567.89"},
      {"#,##0", 999, "999"},
      {"#,##0", -1000, "-1,000"},
      {"0.00E+00", 1234, "1.23E+03"},
      {"0.00E+00", 0.000123, "1.23E-04"},
      {"0.0E-0", 1234, "1.2E3"},
      {"0.00e+0", 9.999, "1.00e+1"},
      {"00.0E+0", 1234, "12.3E+2"},
      {"00.0E+0", 9999, "10.0E+3"},
      {"'Total: '0.00' EUR'", 5, "Total: 5.00 EUR"},
      {"\"x\"0", 5, "x5"},
      {"0;(0);'zero'", 5, "5"},
      {"0;(0);'zero'", -5, "(5)"},
      {"0;(0);'zero'", 0, "zero"},
      {"0.0;(0.0)", -0.04, "0.0"},  // rounds to zero: no minus sign
      {"0.00;;'nil'", 0.001, "nil"},
      {"0;;", -3, "-3"},  // empty negative section: the positive one with a sign
      {"#,##0.00;'minus' #,##0.00", -1234.5, "minus 1,234.50"},
      {"0%", 50, "50%"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.format) + " / " + std::to_string(c.value));
    EXPECT_EQ(FormatFloat(c.format, c.value), c.text);
  }
}

TEST(FormatFloat, SeparatorsComeFromTheSettings) {
  TFormatSettings german;
  german.DecimalSeparator = ',';
  german.ThousandSeparator = '.';
  EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891, german), "1.234.567,89");
  EXPECT_EQ(FormatFloat("0.00E+00", 1234, german), "1,23E+03");
  EXPECT_EQ(FormatFloat("", 2.5, german), "2,5");
}

}  // namespace
}  // namespace tv
