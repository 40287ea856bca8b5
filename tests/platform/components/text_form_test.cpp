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
