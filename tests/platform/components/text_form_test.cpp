// The text form format: both conversions, byte-identical round trips over
// every item type, and refusals that name the line.

#include "platform/components/text_form.h"

#include <gtest/gtest.h>

#include "platform/components/stream_items.h"

namespace tv {
namespace {

// Every kind of value the stream knows, in the layout the writer gives it.
const char* const kForm =
    "object wMain: TwMain\n"
    "  Caption = 'Info '#252'ber ''tevrinVexal'''\n"
    "  Left = -70000\n"
    "  Top = 8\n"
    "  Big = 1099511627776\n"
    "  Ratio = 1.5\n"
    "  Visible = False\n"
    "  Enabled = True\n"
    "  Align = alClient\n"
    "  Owner = nil\n"
    "  Font.Style = [fsBold, fsUnderline]\n"
    "  Empty = []\n"
    "  Hint = ''\n"
    "  Long = 'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx' +\n"
    "    'yy'#13#10\n"
    "  Lines.Strings = (\n"
    "    'one'\n"
    "    (\n"
    "      2\n"
    "      'three'))\n"
    "  Picture.Data = {\n"
    "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\n"
    "    FF}\n"
    "  Items = <\n"
    "    item\n"
    "      Caption = 'first'\n"
    "    end\n"
    "    item\n"
    "    end>\n"
    "  object btOk: TButton\n"
    "    Default = True\n"
    "  end\n"
    "  object TTimer\n"
    "  end\n"
    "end\n";

TEST(TextForm, TextToBinaryToTextIsByteIdentical) {
  const std::string binary = ObjectTextToBinary(kForm);
  EXPECT_EQ(binary.substr(0, 4), "TPF0");
  EXPECT_EQ(ObjectBinaryToText(binary), kForm);
  EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(binary)), binary);
}

TEST(TextForm, ItemsComeOutInTheirBinaryForms) {
  const std::string binary = ObjectTextToBinary("object a: TA\n  N = 300\n  S = 'x'#0\nend\n");
  EXPECT_EQ(binary, std::string("TPF0\x02TA\x01"
                                "a\x01N\x03\x2C\x01\x01S\x06\x02x\x00\x00\x00",
                                22));
  // A text longer than 255 characters takes the long string form.
  const std::string longText = "object a: TA\n  S = '" + std::string(300, 'z') + "'\nend\n";
  const std::string longBinary = ObjectTextToBinary(longText);
  TItemReader reader(longBinary);
  reader.ReadBytes(4);
  reader.ReadShortString();
  reader.ReadShortString();
  reader.ReadShortString();
  EXPECT_EQ(reader.NextValue(), TValueType::vaLString);
  EXPECT_EQ(reader.ReadString(), std::string(300, 'z'));
}

// Found by fuzzing: strings on lines of their own are items of their own,
// and a name whose length byte is no type byte still reads as a name.
TEST(TextForm, StringsApartAreTwoValuesAndLongNamesRead) {
  const std::string name(16, 'P');  // length 16: not a type byte
  const std::string form = "object a: TA\n  X = (\n    'a'\n    'b')\n  " + name + " = 1\nend\n";
  const std::string binary = ObjectTextToBinary(form);
  EXPECT_NE(binary.find(std::string("\x01\x06\x01"
                                    "a\x06\x01"
                                    "b\x00",
                                    8)),
            std::string::npos);
  EXPECT_EQ(ObjectBinaryToText(binary), form);
}

TEST(TextForm, BadTextIsRefusedWithItsLine) {
  const struct {
    std::string Text;
    std::string Message;
  } cases[] = {
      {"", "Line 1: 'object' expected"},
      {"object a: TA\n  X = 1\n", "Line 3: 'end' expected"},
      {"object a: TA\n  X = 'open\nend\n", "Line 2: unterminated string"},
      {"object a: TA\n  X = #1114112\nend\n", "Line 2: character code 0 to 1114111 expected"},
      {"object a: TA\n  X = {0G}\nend\n", "Line 2: hexadecimal digit or '}' expected"},
      {"object a: TA\n  X = {0}\nend\n", "Line 2: odd number of hexadecimal digits"},
      {"object a: TA\n  X = 99999999999999999999\nend\n", "Line 2: invalid number 99999999999999999999"},
      {"object a: TA\n  X 1\nend\n", "Line 2: '=' expected"},
      {"object a: TA\nend\nend\n", "Line 3: text after the last end"},
      {"object a: TA\n  X = (1\n", "Line 3: ')' expected"},
      {"object a: TA\n  X = 'a' +\n  Y = 1\nend\n", "Line 3: string expected after '+'"},
      {"object a: TA\n  " + std::string(256, 'N') + " = 1\nend\n", "Line 2: name longer than 255 characters"},
      {"object a: TA\n  X = 1e5000\nend\n", "Line 2: invalid number 1e5000"},
  };
  for (const auto& c : cases) {
    try {
      ObjectTextToBinary(c.Text);
      ADD_FAILURE() << c.Text;
    } catch (const EParserError& e) {
      EXPECT_EQ(std::string(e.what()), c.Message) << c.Text;
    }
  }
  std::string deep = "object a: TA\n  X = ";
  for (int i = 0; i < 100; ++i) deep += '(';
  EXPECT_THROW(ObjectTextToBinary(deep), EParserError);
}

TEST(TextForm, BadStreamsAreRefused) {
  EXPECT_THROW(ObjectBinaryToText("TPF1"), EReadError);
  EXPECT_THROW(ObjectBinaryToText(std::string("TPF0\x02TA\x01"
                                              "a\x01N\x03\x2C",
                                              13)),
               EReadError);
  EXPECT_THROW(ObjectBinaryToText(ObjectTextToBinary("object a: TA\nend\n") + "x"), EReadError);
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

// What real form files hold beyond the values above: each form reads to
// binary and back to the same text, and its binary converts back to the same
// bytes.
TEST(TextForm, FlagsFloatsAndWideStringsSurviveBothWays) {
  const struct {
    const char* What;
    std::string Text;
  } cases[] = {
      {"inherited", "inherited Form2: TForm2\nend\n"},
      {"inline", "inline Frame1: TFrame1\nend\n"},
      {"inherited and inline", "inherited inline Frame1: TFrame1\nend\n"},
      {"child positions, nested, every flag",
       "inherited Form2: TForm2\n"
       "  object Label1: TLabel [0]\n"
       "  end\n"
       "  inline Frame1: TFrame1 [2]\n"
       "    inherited Button1: TButton [-1]\n"
       "      Caption = 'x'\n"
       "    end\n"
       "    inherited inline Inner: TFrame2 [70000]\n"
       "    end\n"
       "  end\n"
       "end\n"},
      {"single, date, double, currency",
       "object a: TA\n"
       "  S = 1.5s\n"
       "  T = -0.0s\n"
       "  U = 3.4028235e+38s\n"
       "  D = 41488.4481893519d\n"
       "  F = 0.1f\n"
       "  G = -0.0f\n"
       "  C = 123400c\n"
       "  Cmin = -9223372036854775808c\n"
       "end\n"},
      {"collection items with order numbers",
       "object a: TA\n"
       "  Columns = <\n"
       "    item [3]\n"
       "      Width = 10\n"
       "    end\n"
       "    item\n"
       "    end>\n"
       "end\n"},
      {"a name in another alphabet (UTF-8)",
       "object \xD0\x9A\xD0\xBD\xD0\xBE\xD0\xBF\xD0\xBA\xD0\xB0"
       "1: TButton\n  Caption = 'x'\nend\n"},
      {"a null value, and Null as an identifier in a list",
       "object a: TA\n  V = Null\n  L = (\n    Null)\nend\n"},
      {"int64 at its ends", "object a: TA\n  Max = 9223372036854775807\n  Min = -9223372036854775808\nend\n"},
      {"extended at its edges",
       "object a: TA\n"
       "  Pi = 3.1415926535897932385\n"
       "  Largest = 1.189731495357231765e+4932\n"
       "  SmallestNormal = 3.3621031431120935063e-4932\n"
       "  SmallestSubnormal = 4e-4951\n"
       "  Zero = 0.0\n"
       "  NegativeZero = -0.0\n"
       "  Tenth = 0.1\n"
       "end\n"},
      {"wide strings",
       "object a: TA\n"
       "  Caption = #1041#1072'bc'\n"
       "  Euro = 'Preis: '#8364\n"
       "  Emoji = #55357#56832\n"
       "  Lone = #55296\n"
       "  Lines.Strings = (\n"
       "    #1041\n"
       "    'plain')\n"
       "end\n"},
  };
  for (const auto& c : cases) {
    const std::string binary = ObjectTextToBinary(c.Text);
    EXPECT_EQ(ObjectBinaryToText(binary), c.Text) << c.What;
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(binary)), binary) << c.What;
  }
}

// The binary side of the same: the flag byte and the items as a designer
// writes them.
TEST(TextForm, BinaryItemsReadAsTheyStand) {
  const std::string head = "TPF0";
  const struct {
    const char* What;
    std::string Binary;
    std::string Text;
  } cases[] = {
      {"inherited", head + Bytes({0xF1, 1, 'A', 1, 'a', 0, 0}), "inherited a: A\nend\n"},
      {"child position 300", head + Bytes({1, 'A', 1, 'a', 0, 0xF2, 3, 0x2C, 1, 1, 'B', 1, 'b', 0, 0, 0}),
       "object a: A\n  object b: B [300]\n  end\nend\n"},
      {"extended 1.0", head + Bytes({1, 'A', 1, 'a', 1, 'X', 5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F, 0, 0}),
       "object a: A\n  X = 1.0\nend\n"},
      {"single 1.5", head + Bytes({1, 'A', 1, 'a', 1, 'X', 0x0F, 0, 0, 0xC0, 0x3F, 0, 0}),
       "object a: A\n  X = 1.5s\nend\n"},
      {"currency 12.34", head + Bytes({1, 'A', 1, 'a', 1, 'X', 0x10, 0x08, 0xE2, 1, 0, 0, 0, 0, 0, 0, 0}),
       "object a: A\n  X = 123400c\nend\n"},
      {"wide string", head + Bytes({1, 'A', 1, 'a', 1, 'X', 0x12, 2, 0, 0, 0, 0x11, 0x04, 'b', 0, 0, 0}),
       "object a: A\n  X = #1041'b'\nend\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ObjectBinaryToText(c.Binary), c.Text) << c.What;
    EXPECT_EQ(ObjectTextToBinary(c.Text), c.Binary) << c.What;
  }
  // A text saved as UTF-8 with its mark: quoted characters are UTF-8, in
  // Windows-1252 where it has them.
  EXPECT_EQ(ObjectTextToBinary("\xEF\xBB\xBFobject a: A\n  X = '\xD0\x91"
                               "b'\n  Y = 'Gr\xC3\xB6\xC3\x9F"
                               "e \xE2\x82\xAC'\nend\n"),
            ObjectTextToBinary("object a: A\n  X = #1041'b'\n  Y = 'Gr'#246#223'e '#128\nend\n"));
  // A UTF-8 string reads as the same characters; text makes it wide.
  const std::string utf8 =
      head + Bytes({1, 'A', 1, 'a', 1, 'X', 0x14, 4, 0, 0, 0, 0xD0, 0x91, 0xC3, 0xA9, 0, 0});
  EXPECT_EQ(ObjectBinaryToText(utf8), "object a: A\n  X = #1041#233\nend\n");
  // What no text can carry is refused, never changed.
  for (const std::string& refused :
       {head + Bytes({0xF8, 1, 'A', 1, 'a', 0, 0}),  // a flag that has no word
        head +
            Bytes({1, 'A', 1, 'a', 1, 'X', 5, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x3F, 0, 0}),  // no integer bit
        head + Bytes({1, 'A', 1, 'a', 1, 'X', 5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F, 0, 0}),  // infinity
        head + Bytes({1, 'A', 1, 'a', 1, 'X', 0x14, 2, 0, 0, 0, 0xC3, 0x28, 0, 0})}) {           // no UTF-8
    EXPECT_THROW(ObjectBinaryToText(refused), EReadError);
  }
}

}  // namespace
}  // namespace tv
