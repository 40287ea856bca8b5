// Extended floats as text: the shortest text, read back to the same ten
// bytes over random bit patterns of every exponent, and read as the
// platform's own long double reads it where that is the same format.

#include "platform/rtl/extended_float.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace tv {
namespace {

std::string TenBytes(std::uint64_t mantissa, unsigned signAndExponent) {
  std::string bytes(10, '\0');
  for (int i = 0; i < 8; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>(mantissa >> (8 * i));
  bytes[8] = static_cast<char>(signAndExponent & 0xFF);
  bytes[9] = static_cast<char>(signAndExponent >> 8);
  return bytes;
}

TEST(ExtendedFloat, ShortestTextAndBack) {
  const struct {
    std::string Bytes;
    const char* Text;
  } cases[] = {
      {TenBytes(0x8000000000000000, 0x3FFF), "1.0"},
      {TenBytes(0xC000000000000000, 0xBFFF), "-1.5"},
      {TenBytes(0, 0x8000), "-0.0"},
      {TenBytes(0xCCCCCCCCCCCCCCCD, 0x3FFB), "0.1"},
      {TenBytes(0xC90FDAA22168C235, 0x4000), "3.1415926535897932385"},
      {TenBytes(0xFFFFFFFFFFFFFFFF, 0x7FFE), "1.189731495357231765e+4932"},
      {TenBytes(1, 0), "4e-4951"},
      {TenBytes(0x8000000000000000, 0x4042), "147573952589676412930.0"},
      {TenBytes(0xA7C5AC471B478423, 0x3FEE), "0.00001"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtendedToText(c.Bytes).value_or("none"), c.Text);
    EXPECT_EQ(TextToExtended(c.Text).value_or("none"), c.Bytes) << c.Text;
  }
  // Rounding to even on a tie: 2^64 + 1 lies halfway between two mantissas.
  EXPECT_EQ(TextToExtended("18446744073709551617"), TenBytes(0x8000000000000000, 0x403F));
  EXPECT_EQ(TextToExtended("18446744073709551619"), TenBytes(0x8000000000000002, 0x403F));
  EXPECT_EQ(TextToExtended("1e-5000"), TenBytes(0, 0));
  for (const std::string& refused :
       {std::string(), std::string("-"), std::string("."), std::string("1e"), std::string("1e+"),
        std::string("1x"), std::string("2e4932"), std::string(1001, '1')})
    EXPECT_FALSE(TextToExtended(refused).has_value()) << refused;
  for (const std::string& noText : {TenBytes(0x8000000000000000, 0x7FFF),     // infinity
                                    TenBytes(0x4000000000000000, 0x3FFF),     // no integer bit
                                    TenBytes(0x8000000000000000, 0x0000)}) {  // integer bit, subnormal
    EXPECT_FALSE(ExtendedToText(noText).has_value());
  }
}

TEST(ExtendedFloat, EveryPatternComesBackBitForBit) {
  std::mt19937_64 random(4711);
  for (int i = 0; i < 3000; ++i) {
    const bool subnormal = i % 10 == 0;
    const std::uint64_t mantissa =
        subnormal ? random() >> (1 + random() % 63) : random() | 0x8000000000000000;
    unsigned exponent = subnormal ? 0 : 1 + static_cast<unsigned>(random() % 0x7FFE);
    if (!subnormal && i % 3 == 1)
      exponent = 0x3FFF - 70 + static_cast<unsigned>(random() % 140);  // everyday sizes
    const std::string bytes = TenBytes(mantissa, exponent | ((random() & 1) ? 0x8000u : 0u));
    const std::optional<std::string> text = ExtendedToText(bytes);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(TextToExtended(*text), bytes) << *text;
#if (defined(__x86_64__) || defined(__i386__)) && LDBL_MANT_DIG == 64 && !defined(_WIN32)
    const long double platform = std::strtold(text->c_str(), nullptr);
    EXPECT_EQ(std::memcmp(&platform, bytes.data(), 10), 0) << *text;
#endif
  }
}

TEST(ExtendedFloat, ADoubleBecomesTheExtendedOfItsShortestText) {
  for (const double value : {0.1, 1.5, -2.5e-300, 1e308, 123456.789}) {
    char text[40];
    for (int digits = 1; digits <= 17; ++digits) {
      std::snprintf(text, sizeof text, "%.*g", digits, value);
      if (std::strtod(text, nullptr) == value) break;
    }
    EXPECT_EQ(ExtendedOfDouble(value), TextToExtended(text)) << text;
  }
  EXPECT_EQ(ExtendedToText(ExtendedOfDouble(0.1)), "0.1");
}

}  // namespace
}  // namespace tv
