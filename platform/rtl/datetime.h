#pragma once
// Dates and times as days since 30 December 1899, the fraction being the time
// of day; rendering and parsing follow TFormatSettings.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "platform/rtl/convert.h"

namespace tv {

using TDateTime = double;

struct TDateParts {
  int Year = 0, Month = 0, Day = 0;
};
struct TTimeParts {
  int Hour = 0, Minute = 0, Second = 0, MilliSecond = 0;
};

std::optional<TDateTime> TryEncodeDate(int year, int month, int day);
std::optional<TDateTime> TryEncodeTime(int hour, int minute, int second, int milliSecond);
// Raise EConvertError for a day or time that does not exist.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int milliSecond);
TDateParts DecodeDate(TDateTime value);
TTimeParts DecodeTime(TDateTime value);
bool IsLeapYear(int year);

TDateTime Now();
// The local date and time of a moment of the system clock; 0 for the
// clock's epoch itself (a moment never taken).
TDateTime DateTimeOf(std::chrono::system_clock::time_point moment);
TDateTime Date();

// d dd m mm yy yyyy h hh n nn s ss z zzz, "m" after an hour meaning minutes,
// am/pm a/p ampm for a 12-hour clock, "/" and ":" for the separators, text in
// single or double quotes as it stands, any other character as it stands.
std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings = DefaultFormatSettings());
std::string DateToStr(TDateTime value, const TFormatSettings& settings = DefaultFormatSettings());
std::string TimeToStr(TDateTime value, const TFormatSettings& settings = DefaultFormatSettings());
// The time is left out at midnight.
std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings = DefaultFormatSettings());

// The date in the order of the short date format, parts separated by the
// date separator; a year of one or two digits falls in the 100 years around
// the present one; without a year, the present one.
TDateTime StrToDate(std::string_view text, const TFormatSettings& settings = DefaultFormatSettings());
// Hours, minutes and optionally seconds (and milliseconds after "."),
// separated by the time separator, optionally followed by AM or PM.
TDateTime StrToTime(std::string_view text, const TFormatSettings& settings = DefaultFormatSettings());
// A date, optionally followed by a blank and a time.
TDateTime StrToDateTime(std::string_view text, const TFormatSettings& settings = DefaultFormatSettings());

}  // namespace tv
