#include "platform/system/text.h"

#include <gtest/gtest.h>

namespace tv::sys {
namespace {

TEST(Cp1252Upper, ConvertsLettersOfTheCodePageAndNothingElse) {
  EXPECT_EQ(Cp1252Upper('a'), 'A');
  EXPECT_EQ(Cp1252Upper('z'), 'Z');
  EXPECT_EQ(Cp1252Upper('A'), 'A');
  EXPECT_EQ(Cp1252Upper('0'), '0');
  EXPECT_EQ(Cp1252Upper('{'), '{');
  EXPECT_EQ(Cp1252Upper(0xE4), 0xC4);  // ä
  EXPECT_EQ(Cp1252Upper(0xF6), 0xD6);  // ö
  EXPECT_EQ(Cp1252Upper(0xFC), 0xDC);  // ü
  EXPECT_EQ(Cp1252Upper(0xFE), 0xDE);  // þ
  EXPECT_EQ(Cp1252Upper(0x9A), 0x8A);  // š
  EXPECT_EQ(Cp1252Upper(0x9C), 0x8C);  // œ
  EXPECT_EQ(Cp1252Upper(0x9E), 0x8E);  // ž
  EXPECT_EQ(Cp1252Upper(0xFF), 0x9F);  // ÿ
  EXPECT_EQ(Cp1252Upper(0xF7), 0xF7);  // ÷ is no letter
  EXPECT_EQ(Cp1252Upper(0xDF), 0xDF);  // ß has no capital in the code page
  EXPECT_EQ(Cp1252Upper(0xB5), 0xB5);  // µ neither
  EXPECT_EQ(Cp1252Upper(0x00), 0x00);
}

// On Windows this compares the system's conversion with the table that the
// POSIX build uses: both builds must match the same report lines.
TEST(AnsiUpperCase, AgreesWithTheCodePageTableForEveryByte) {
  std::string all(256, '\0');
  for (int i = 0; i < 256; ++i) all[static_cast<std::size_t>(i)] = static_cast<char>(i);
  std::string upper = AnsiUpperCase(all);
  ASSERT_EQ(upper.size(), 256u);
  TUpperTable table = AnsiUpperTable();
  for (int i = 0; i < 256; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(static_cast<unsigned char>(upper[static_cast<std::size_t>(i)]),
              Cp1252Upper(static_cast<unsigned char>(i)));
    EXPECT_EQ(table[static_cast<std::size_t>(i)], Cp1252Upper(static_cast<unsigned char>(i)));
  }
}

TEST(AnsiUpperCase, KeepsLengthAndEmbeddedNuls) {
  EXPECT_EQ(AnsiUpperCase(std::string("a\0b", 3)), std::string("A\0B", 3));
  EXPECT_EQ(AnsiUpperCase(""), "");
  EXPECT_EQ(AnsiUpperCase("Found the "), "FOUND THE ");
}

}  // namespace
}  // namespace tv::sys
