#include <windows.h>

#include "platform/rtl/convert.h"

namespace tv {

namespace {

std::string LocaleText(LCTYPE what, const char* fallback) {
  char buffer[128] = {};
  const int got = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, what, buffer, sizeof buffer);
  return got > 1 ? std::string(buffer, static_cast<std::size_t>(got - 1)) : std::string(fallback);
}

char LocaleChar(LCTYPE what, char fallback) {
  const std::string text = LocaleText(what, "");
  return text.empty() ? fallback : text[0];
}

// Windows date and time pictures in the letters of FormatDateTime: months are
// "M" there and minutes "m", the day-half marker is "tt"; quoted text stays.
std::string TranslatePicture(const std::string& picture, bool time) {
  std::string out;
  for (std::size_t i = 0; i < picture.size(); ++i) {
    const char c = picture[i];
    if (c == '\'') {
      const std::size_t close = picture.find('\'', i + 1);
      const std::size_t end = close == std::string::npos ? picture.size() : close;
      out.append(picture, i, end - i + 1);
      i = end;
      continue;
    }
    if (time) {
      if (c == 'H' || c == 'h')
        out += 'h';
      else if (c == 'm')
        out += 'n';
      else if (c == 't') {
        while (i + 1 < picture.size() && picture[i + 1] == 't') ++i;
        out += "AMPM";
      } else
        out += c;
    } else {
      if (c == 'M')
        out += 'm';
      else if (c == 'g')
        continue;  // era: not shown
      else
        out += c;
    }
  }
  return out;
}

}  // namespace

TFormatSettings UserFormatSettings() {
  TFormatSettings s;
  s.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, s.DecimalSeparator);
  s.ThousandSeparator = LocaleChar(LOCALE_STHOUSAND, s.ThousandSeparator);
  s.DateSeparator = LocaleChar(LOCALE_SDATE, s.DateSeparator);
  s.TimeSeparator = LocaleChar(LOCALE_STIME, s.TimeSeparator);
  s.ShortDateFormat = TranslatePicture(LocaleText(LOCALE_SSHORTDATE, "dd/MM/yyyy"), false);
  s.LongTimeFormat = TranslatePicture(LocaleText(LOCALE_STIMEFORMAT, "HH:mm:ss"), true);
  return s;
}

}  // namespace tv
