#pragma once
// The 10-byte x87 extended float of stored forms (64-bit mantissa with its
// integer bit, 15-bit exponent, sign; little-endian) as decimal text, exact
// both ways with integers of any size, so that no platform's long double is
// needed: the shortest text that reads back to the same ten bytes, and
// text read with rounding to the nearest (ties to even).

#include <optional>
#include <string>
#include <string_view>

namespace tv {

// "3.14", "-0.0", "1.18973149535723176502e+4932": digits with a point, in
// scientific form for very large and very small values. Nothing for
// infinities, NaNs and the encodings that no text reads back as (a
// mantissa without its integer bit where the exponent says normal, or with
// it where the exponent says subnormal).
std::optional<std::string> ExtendedToText(std::string_view tenBytes);

// Text: an optional sign, digits with an optional point and an optional
// exponent ("e", optional sign, digits). Nothing for other text, for more
// than 1000 digits, and for a value beyond the largest extended float; a
// value below the smallest subnormal rounds to zero.
std::optional<std::string> TextToExtended(std::string_view text);

// The shortest "%g" text of a finite double that strtod reads back as it.
std::string ShortestDoubleText(double value);

// The extended float nearest to the shortest decimal of Value: what a form
// designer stores for a value typed in, so that it reads back as Value and
// shows as its short text.
std::string ExtendedOfDouble(double value);

}  // namespace tv
