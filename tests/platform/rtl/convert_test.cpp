#include "platform/rtl/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/exception.h"

namespace tv {
namespace {

TEST(IntegerText, AcceptsDecimalAndDollarHexadecimal) {
  struct Case {
    const char* text;
    std::int32_t value;
  } cases[] = {{"0", 0},
               {"42", 42},
               {"-42", -42},
               {"+7", 7},
               {"  12", 12},
               {"$ff", 255},
               {"$FFFFFFFF", -1},
               {"-$10", -16},
               {"2147483647", 2147483647},
               {"-2147483648", INT32_MIN},
               {"007", 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StrToInt(c.text), c.value);
  }
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
}

TEST(IntegerText, RefusesEverythingElseWithTheMessage) {
  for (const char* bad : {"", " ", "-", "$", "12 ", "1a", "0x10", "x10", "1.0", "2147483648", "-2147483649",
                          "$100000000", "\t1", "1e3", "++1"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(TryStrToInt(bad), std::nullopt);
    try {
      StrToInt(bad);
      ADD_FAILURE() << "accepted";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid integer value");
    }
  }
  EXPECT_EQ(TryStrToInt64("9223372036854775808"), std::nullopt);
  EXPECT_EQ(StrToIntDef("no", -5), -5);
  EXPECT_EQ(StrToIntDef("$10", -5), 16);
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
}

TEST(FloatText, GeneralFormatWithFifteenDigits) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {{0, "0"},
               {1, "1"},
               {-2.5, "-2.5"},
               {0.1, "0.1"},
               {1.0 / 3, "0.333333333333333"},
               {2.0 / 3, "0.666666666666667"},
               {123456789012345.0, "123456789012345"},
               {1e15, "1E15"},
               {1.5e20, "1.5E20"},
               {0.00001, "0.00001"},
               {0.000001, "1E-6"},
               {-1.25e-7, "-1.25E-7"},
               {100, "100"},
               {0.1 + 0.2, "0.3"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FloatToStr(c.value), c.text);
  }
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  EXPECT_EQ(FloatToStr(1234.5, comma), "1234,5");
  EXPECT_EQ(FloatToStr(2.5e-9, comma), "2,5E-9");
}

TEST(FloatText, ParsesWithBlanksSeparatorAndExponent) {
  EXPECT_EQ(StrToFloat("1.5"), 1.5);
  EXPECT_EQ(StrToFloat("  -1.5  "), -1.5);
  EXPECT_EQ(StrToFloat(".5"), 0.5);
  EXPECT_EQ(StrToFloat("5."), 5.0);
  EXPECT_EQ(StrToFloat("1E3"), 1000.0);
  EXPECT_EQ(StrToFloat("2.5e-3"), 0.0025);
  EXPECT_EQ(StrToFloat("+0.1"), 0.1);
  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  EXPECT_EQ(StrToFloat("1,25", comma), 1.25);
  EXPECT_EQ(TryStrToFloat("1.25", comma), std::nullopt);
  for (const char* bad : {"", " ", ".", "-", "1e", "1e+", "1.2.3", "1,5", "e5", "1x", "1 2", "1e999"}) {
    SCOPED_TRACE(bad);
    try {
      StrToFloat(bad);
      ADD_FAILURE() << "accepted";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid floating point value");
    }
  }
}

TEST(FloatText, RenderedValuesParseBack) {
  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  for (double v : {0.1, -123.456, 1e-7, 6.02214076e23, 1.0 / 7, 42.0}) {
    SCOPED_TRACE(v);
    const double back = StrToFloat(FloatToStr(v, comma), comma);
    EXPECT_NEAR(back, v, std::fabs(v) * 1e-14);
  }
}

TEST(CurrencyText, ExactToFourDecimals) {
  EXPECT_EQ(StrToCurr("1.5"), TCurrency{15000});
  EXPECT_EQ(StrToCurr("-0.0001"), TCurrency{-1});
  EXPECT_EQ(StrToCurr("12.34565"), TCurrency{123456});   // half to even: 6 stays
  EXPECT_EQ(StrToCurr("12.34575"), TCurrency{123458});   // half to even: 7 goes up
  EXPECT_EQ(StrToCurr("12.345651"), TCurrency{123457});  // above half
  EXPECT_EQ(StrToCurr("1e2"), TCurrency{1000000});
  EXPECT_EQ(StrToCurr("922337203685477.5807"), TCurrency{INT64_MAX});
  EXPECT_EQ(StrToCurr("-922337203685477.5808"), TCurrency{INT64_MIN});
  EXPECT_THROW(StrToCurr("922337203685477.5808"), EConvertError);
  EXPECT_THROW(StrToCurr("1e30"), EConvertError);
  EXPECT_THROW(StrToCurr("abc"), EConvertError);
  EXPECT_EQ(CurrToStr(TCurrency{15000}), "1.5");
  EXPECT_EQ(CurrToStr(TCurrency{-1}), "-0.0001");
  EXPECT_EQ(CurrToStr(TCurrency{0}), "0");
  EXPECT_EQ(CurrToStr(TCurrency{INT64_MIN}), "-922337203685477.5808");
  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  EXPECT_EQ(CurrToStr(StrToCurr("3,25", comma), comma), "3,25");
}

}  // namespace
}  // namespace tv
