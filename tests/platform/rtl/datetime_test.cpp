#include "platform/rtl/datetime.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"

namespace tv {
namespace {

TFormatSettings German() {
  TFormatSettings s;
  s.DateSeparator = '.';
  s.ShortDateFormat = "dd.mm.yyyy";
  s.LongTimeFormat = "hh:nn:ss";
  return s;
}

TEST(DateTime, DaysCountFromTheThirtiethOfDecember1899) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2005, 3, 7), 38418);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  for (double day : {-693593.0, -1.0, 0.0, 59.0, 60.0, 38418.0, 2958465.0}) {
    const TDateParts d = DecodeDate(day);
    EXPECT_EQ(EncodeDate(d.Year, d.Month, d.Day), day);
  }
  const TDateParts leap = DecodeDate(EncodeDate(2000, 2, 29));
  EXPECT_EQ(leap.Year * 10000 + leap.Month * 100 + leap.Day, 20000229);
  const TTimeParts t = DecodeTime(EncodeDate(2005, 3, 7) + EncodeTime(9, 5, 3, 250));
  EXPECT_EQ(t.Hour * 10000000 + t.Minute * 100000 + t.Second * 1000 + t.MilliSecond, 90503250);
}

TEST(DateTime, ImpossibleDaysAndTimesAreRefused) {
  EXPECT_EQ(TryEncodeDate(1900, 2, 29), std::nullopt);
  EXPECT_EQ(TryEncodeDate(2023, 4, 31), std::nullopt);
  EXPECT_EQ(TryEncodeDate(0, 1, 1), std::nullopt);
  EXPECT_EQ(TryEncodeTime(24, 0, 0, 0), std::nullopt);
  EXPECT_EQ(TryEncodeTime(0, 60, 0, 0), std::nullopt);
  EXPECT_THROW(EncodeDate(2023, 13, 1), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
}

TEST(DateTime, FormatPatterns) {
  const TDateTime v = EncodeDate(2005, 3, 7) + EncodeTime(9, 5, 3, 42);
  const TFormatSettings g = German();
  struct Case {
    const char* format;
    const char* text;
  } cases[] = {{"dd.mm.yyyy hh:nn:ss", "07.03.2005 09:05:03"},
               {"d/m/yy", "7.3.05"},
               {"yyyy-mm-dd", "2005-03-07"},
               {"hh:mm", "09:05"},  // m after an hour is minutes
               {"h:n:s.zzz", "9:5:3.042"},
               {"hh:nn am/pm", "09:05 am"},
               {"h AMPM", "9 AM"},
               {"'day' d \"of\" m", "day 7 of 3"},
               {"dd 'hh' mm", "07 hh 03"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(FormatDateTime(c.format, v, g), c.text);
  }
  EXPECT_EQ(FormatDateTime("h:nn a/p", EncodeTime(0, 30, 0, 0), g), "12:30 a");
  EXPECT_EQ(FormatDateTime("h:nn A/P", EncodeTime(13, 30, 0, 0), g), "1:30 P");
}

TEST(DateTime, StandardTextsUseTheSettings) {
  const TFormatSettings g = German();
  const TDateTime day = EncodeDate(2026, 12, 8);
  EXPECT_EQ(DateToStr(day, g), "08.12.2026");
  EXPECT_EQ(DateTimeToStr(day, g), "08.12.2026");  // no time at midnight
  EXPECT_EQ(DateTimeToStr(day + EncodeTime(15, 2, 0, 0), g), "08.12.2026 15:02:00");
  EXPECT_EQ(TimeToStr(EncodeTime(7, 8, 9, 0), g), "07:08:09");
  EXPECT_EQ(DateToStr(day, TFormatSettings{}), "08/12/2026");
}

TEST(DateTime, ParsingFollowsTheDateOrderAndSeparators) {
  const TFormatSettings g = German();
  EXPECT_EQ(StrToDate("8.12.2026", g), EncodeDate(2026, 12, 8));
  EXPECT_EQ(StrToDate(" 08.12.2026 ", g), EncodeDate(2026, 12, 8));
  TFormatSettings us;
  us.ShortDateFormat = "m/d/yyyy";
  EXPECT_EQ(StrToDate("12/8/2026", us), EncodeDate(2026, 12, 8));
  TFormatSettings iso;
  iso.DateSeparator = '-';
  iso.ShortDateFormat = "yyyy-mm-dd";
  EXPECT_EQ(StrToDate("2026-12-08", iso), EncodeDate(2026, 12, 8));
  const int year = DecodeDate(Date()).Year;
  EXPECT_EQ(DecodeDate(StrToDate("1.2", g)).Year, year);  // no year: this one
  const int twoDigit = DecodeDate(StrToDate("1.2.05", g)).Year;
  EXPECT_EQ(twoDigit % 100, 5);
  EXPECT_LE(std::abs(twoDigit - year), 50);
  EXPECT_DOUBLE_EQ(StrToTime("9:05", g), EncodeTime(9, 5, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("09:05:03.5", g), EncodeTime(9, 5, 3, 5));
  EXPECT_DOUBLE_EQ(StrToTime("12:30 am", g), EncodeTime(0, 30, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("1:00 PM", g), EncodeTime(13, 0, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("08.12.2026 15:02:00", g),
                   EncodeDate(2026, 12, 8) + EncodeTime(15, 2, 0, 0));
  EXPECT_EQ(StrToDateTime("08.12.2026", g), EncodeDate(2026, 12, 8));
}

TEST(DateTime, RenderedTextsParseBack) {
  const TFormatSettings g = German();
  const TDateTime v = EncodeDate(1999, 1, 31) + EncodeTime(23, 59, 58, 0);
  EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(v, g), g), v);
  EXPECT_EQ(StrToDate(DateToStr(v, TFormatSettings{}), TFormatSettings{}), std::trunc(v));
}

// The user's settings (the locale's on Windows) render and parse alike.
TEST(DateTime, DefaultSettingsRoundTrip) {
  const TFormatSettings& user = DefaultFormatSettings();
  EXPECT_EQ(&user, &DefaultFormatSettings());
  for (char part : {'d', 'm', 'y'})
    EXPECT_NE(LowerCase(user.ShortDateFormat).find(part), std::string::npos) << user.ShortDateFormat;
  const TDateTime v = EncodeDate(2026, 1, 31) + EncodeTime(14, 5, 9, 0);
  EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(v)), v) << DateTimeToStr(v);
  EXPECT_EQ(StrToFloat(FloatToStr(-1234.5)), -1234.5);
  EXPECT_EQ(StrToCurr(CurrToStr(TCurrency{-12345})), TCurrency{-12345});
}

TEST(DateTime, BadTextsRaiseTheirMessages) {
  const TFormatSettings g = German();
  auto expect = [](auto f, const std::string& message) {
    try {
      f();
      ADD_FAILURE() << "accepted: " << message;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), message);
    }
  };
  expect([&] { StrToDate("31.02.2026", g); }, "'31.02.2026' is not a valid date");
  expect([&] { StrToDate("1.2.3.4", g); }, "'1.2.3.4' is not a valid date");
  expect([&] { StrToDate("", g); }, "'' is not a valid date");
  expect([&] { StrToDate("a.b.c", g); }, "'a.b.c' is not a valid date");
  expect([&] { StrToTime("25:00", g); }, "'25:00' is not a valid time");
  expect([&] { StrToTime("10", g); }, "'10' is not a valid time");
  expect([&] { StrToTime("13:00 PM", g); }, "'13:00 PM' is not a valid time");
  expect([&] { StrToDateTime("08.12.2026 x", g); }, "'08.12.2026 x' is not a valid date and time");
}

}  // namespace
}  // namespace tv
