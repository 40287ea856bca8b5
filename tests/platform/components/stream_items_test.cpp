// Value items of the binary component stream: the forms the writer chooses,
// round trips through the reader, and every refusal with its position.

#include "platform/components/stream_items.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tv {
namespace {

using namespace std::string_literals;

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char c : bytes) {
    if (!text.empty()) text += ' ';
    text += digits[c >> 4];
    text += digits[c & 15];
  }
  return text;
}

TEST(StreamItems, WriterChoosesTheSmallestFormThatHoldsTheValue) {
  const struct {
    std::function<void(TItemWriter&)> Write;
    std::string Bytes;
  } cases[] = {
      {[](TItemWriter& w) { w.WriteInteger(5); }, "02 05"},
      {[](TItemWriter& w) { w.WriteInteger(-1); }, "02 FF"},
      {[](TItemWriter& w) { w.WriteInteger(-129); }, "03 7F FF"},
      {[](TItemWriter& w) { w.WriteInteger(300); }, "03 2C 01"},
      {[](TItemWriter& w) { w.WriteInteger(70000); }, "04 70 11 01 00"},
      {[](TItemWriter& w) { w.WriteInteger(std::int64_t{1} << 40); }, "13 00 00 00 00 00 01 00 00"},
      {[](TItemWriter& w) { w.WriteString("ab"); }, "06 02 61 62"},
      {[](TItemWriter& w) { w.WriteString(""); }, "06 00"},
      {[](TItemWriter& w) { w.WriteIdent("alTop"); }, "07 05 61 6C 54 6F 70"},
      {[](TItemWriter& w) { w.WriteBoolean(false); }, "08"},
      {[](TItemWriter& w) { w.WriteBoolean(true); }, "09"},
      {[](TItemWriter& w) { w.WriteFloat(1.0); }, "05 00 00 00 00 00 00 00 80 FF 3F"},
      {[](TItemWriter& w) { w.WriteFloat(-2.5); }, "05 00 00 00 00 00 00 00 A0 00 C0"},
      {[](TItemWriter& w) { w.WriteBinary("\x01\x02"s); }, "0A 02 00 00 00 01 02"},
      {[](TItemWriter& w) {
         w.WriteSet({"fsBold", "x"});
       },
       "0B 06 66 73 42 6F 6C 64 01 78 00"},
      {[](TItemWriter& w) { w.WriteListBegin(), w.WriteListEnd(); }, "01 00"},
  };
  for (const auto& c : cases) {
    TItemWriter writer;
    c.Write(writer);
    EXPECT_EQ(Hex(writer.Bytes()), c.Bytes);
  }
  TItemWriter writer;
  writer.WriteString(std::string(256, 'x'));
  EXPECT_EQ(Hex(writer.Bytes().substr(0, 5)), "0C 00 01 00 00");
  EXPECT_THROW(writer.WriteIdent(std::string(256, 'x')), EWriteError);
}

TEST(StreamItems, EveryItemReadsBackAsItWasWritten) {
  TItemWriter w;
  const std::string longText(70000, 'L');
  w.WriteListBegin();
  for (std::int64_t n : {std::int64_t{0}, std::int64_t{-128}, std::int64_t{32767},
                         std::int64_t{-2147483648LL}, std::int64_t{INT64_MIN}})
    w.WriteInteger(n);
  w.WriteString("\xFC"s);  // ü
  w.WriteString(longText);
  w.WriteIdent("poDesigned");
  w.WriteBoolean(true);
  w.WriteFloat(0.1);
  w.WriteBinary("\x00\xFF"s);
  w.WriteSet({});
  w.WriteValueType(TValueType::vaNil);
  w.WriteListEnd();

  TItemReader r(w.Bytes());
  r.ReadListBegin();
  for (std::int64_t n : {std::int64_t{0}, std::int64_t{-128}, std::int64_t{32767},
                         std::int64_t{-2147483648LL}, std::int64_t{INT64_MIN}})
    EXPECT_EQ(r.ReadInteger(), n);
  EXPECT_EQ(r.ReadString(), "\xFC"s);
  EXPECT_EQ(r.ReadString(), longText);
  EXPECT_EQ(r.ReadIdent(), "poDesigned");
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_EQ(r.ReadFloat(), 0.1);
  EXPECT_EQ(r.ReadBinary(), "\x00\xFF"s);
  EXPECT_TRUE(r.ReadSet().empty());
  EXPECT_EQ(r.ReadIdent(), "nil");
  EXPECT_TRUE(r.EndOfList());
  r.ReadListEnd();
  EXPECT_TRUE(r.AtEnd());

  // The whole list once more, skipped as one value.
  TItemReader skipper(w.Bytes());
  skipper.SkipValue();
  EXPECT_TRUE(skipper.AtEnd());
}

TEST(StreamItems, ExtendedFloatsKeepEveryDouble) {
  const double values[] = {0.0,
                           -0.0,
                           1.0,
                           -2.5,
                           0.1,
                           1e300,
                           -1e-300,
                           5e-324,
                           std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::infinity()};
  for (double v : values) {
    const double back = ExtendedToDouble(DoubleToExtended(v));
    EXPECT_EQ(back, v) << v;
    EXPECT_EQ(std::signbit(back), std::signbit(v)) << v;
  }
  EXPECT_TRUE(std::isnan(ExtendedToDouble(DoubleToExtended(std::numeric_limits<double>::quiet_NaN()))));
  // An extended value beyond the doubles' range becomes infinite.
  EXPECT_EQ(ExtendedToDouble("\x00\x00\x00\x00\x00\x00\x00\x80\xFE\x7F"s),
            std::numeric_limits<double>::infinity());
}

std::string Refusal(const std::string& bytes, const std::function<void(TItemReader&)>& read) {
  TItemReader reader(bytes);
  try {
    read(reader);
  } catch (const EReadError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(StreamItems, BadItemsAreRefusedWithTheirPosition) {
  const auto integer = [](TItemReader& r) { r.ReadInteger(); };
  const auto text = [](TItemReader& r) { r.ReadString(); };
  const auto skip = [](TItemReader& r) { r.SkipValue(); };
  const struct {
    std::string Bytes;
    std::function<void(TItemReader&)> Read;
    std::string Message;
  } cases[] = {
      {"\x06\x01x"s, integer, "Invalid property value at position 0"},
      {"\x02\x05"s, text, "Invalid property value at position 0"},
      {"\x09"s, [](TItemReader& r) { r.ReadListBegin(); }, "Invalid property value at position 0"},
      {"\x03\x01"s, integer, "Stream read error at position 1"},
      {""s, integer, "Stream read error at position 0"},
      {"\x06\x05"
       "abc"s,
       text, "Stream read error at position 2"},
      {"\x0C\xFF\xFF\x00\x00"s, text, "Stream read error at position 5"},
      {"\x0A\x00\x00\x00\x02"s, [](TItemReader& r) { r.ReadBinary(); },
       "Item of 33554432 bytes at position 1 is longer than 16 MB"},
      {"\x16"s, integer, "Unknown value type 22 at position 0"},
      {"\x0B\x01x"s, [](TItemReader& r) { r.ReadSet(); }, "Stream read error at position 3"},
      {"\x00"s, skip, "Invalid property value at position 0"},
      {std::string(100, '\x01'), skip, "Values nested deeper than 64 levels at position 65"},
      {"\x0E\x02\x05"s, skip, "Stream read error at position 3"},
      {"\x0E\x02\x00\x01\x01"
       "A\x06\x01"
       "x\x00\x00"s,
       skip, "accepted"},  // one item, order 0, A = 'x'
  };
  for (const auto& c : cases) EXPECT_EQ(Refusal(c.Bytes, c.Read), c.Message) << Hex(c.Bytes);
}

}  // namespace
}  // namespace tv
