// Parsers, row buffers with the memo overflow, display texts and the
// string date-time text.

#include <gtest/gtest.h>

#include <map>

#include "data/types/data_types.h"
#include "tests/data/types/type_test_support.h"

namespace tv {
namespace {

using test::Described;
using test::Outcome;

class TextsAndBuffers : public ::testing::Test {
 protected:
  test::TScopedFormatSettings settings_{TFormatSettings{}};
};

TEST_F(TextsAndBuffers, NativeParsers) {
  const struct {
    std::function<std::string(std::string_view)> parse;
    std::string text, expected;
  } cases[] = {
      {[](auto t) { return test::Text(BooleanType()->ParseText(t)); }, "T", "true"},
      {[](auto t) { return test::Text(BooleanType()->ParseText(t)); }, "x", "true"},
      {[](auto t) { return test::Text(BooleanType()->ParseText(t)); }, "True", "true"},
      {[](auto t) { return test::Text(BooleanType()->ParseText(t)); }, " T", "false"},
      {[](auto t) { return test::Text(BooleanType()->ParseText(t)); }, "1", "false"},
      {[](auto t) { return test::Text(BooleanType()->ParseText(t)); }, "tRUE", "false"},
      {[](auto t) { return IntToStr(IntegerType()->ParseText(t)); }, "  -42 ", "-42"},
      {[](auto t) { return IntToStr(IntegerType()->ParseText(t)); }, "$7FFFFFFF", "2147483647"},
      {[](auto t) { return IntToStr(IntegerType()->ParseText(t)); }, "   ", "0"},
      {[](auto t) { return IntToStr(IntegerType()->ParseText(t)); }, "2147483648",
       "error: '2147483648' is not a valid integer value"},
      {[](auto t) { return IntToStr(IntegerType()->ParseText(t)); }, "1.5",
       "error: '1.5' is not a valid integer value"},
      {[](auto t) { return test::Text(DoubleType()->ParseText(t)); }, " 1.5e3 ", "1500"},
      {[](auto t) { return test::Text(DoubleType()->ParseText(t)); }, "", "0"},
      {[](auto t) { return test::Text(DoubleType()->ParseText(t)); }, "1,5",
       "error: '1,5' is not a valid floating point value"},
      {[](auto t) { return test::Text(CurrencyType()->ParseText(t)); }, "12.34567", "C123457"},
      {[](auto t) { return test::Text(CurrencyType()->ParseText(t)); }, "", "C0"},
      {[](auto t) { return test::Text(PercentType()->ParseText(t)); }, "12.5%", "12.5"},
      {[](auto t) { return test::Text(PercentType()->ParseText(t)); }, " 12.5 %", "12.5"},
      {[](auto t) { return test::Text(PercentType()->ParseText(t)); }, "%", "0"},
      {[](auto t) { return test::Text(PercentType()->ParseText(t)); }, "12.5%%",
       "error: '12.5%' is not a valid floating point value"},
      {[](auto t) { return test::Text(DateTimeType()->ParseText(t)); }, "not a date", "0"},
      {[](auto t) { return test::Text(DateTimeType()->ParseText(t)); }, " 15/03/2023 18:00 ", "45000.75"},
      {[](auto t) { return test::Text(DateType()->ParseText(t)); }, " 15/03/2023 ", "45000"},
      {[](auto t) { return test::Text(DateType()->ParseText(t)); }, "", "error: '' is not a valid date"},
      {[](auto t) { return test::Text(TimeType()->ParseText(t)); }, "06:00", "0.25"},
      {[](auto t) { return test::Text(TimeType()->ParseText(t)); }, "", "0"},
      {[](auto t) { return test::Text(TimeType()->ParseText(t)); }, "soon",
       "error: 'soon' is not a valid time"},
  };
  for (const auto& c : cases) EXPECT_EQ(Outcome([&] { return c.parse(c.text); }), c.expected) << c.text;
}

TEST_F(TextsAndBuffers, RenderedTextsParseBackInAnotherLocale) {
  test::TScopedFormatSettings german(test::GermanSettings());
  const TValue values[] = {DoubleValue(-1234.5678), CurrencyValue(TCurrency{-12345678}),
                           PercentValue(0.125),     DateTimeValue(45000.75),
                           DateValue(45000),        TimeType()->CreateValue(0.75),
                           IntegerValue(-99),       BooleanValue(true)};
  for (const TValue& v : values) {
    const std::string text = ValueAsString(v);
    EXPECT_EQ(v.DataType->Compare(v.DataType->ConvertValue(StringValue(text)), v), 0) << text;
  }
  // Texts convert through the date-time parser; the fixed-place text has its own.
  const std::string fixed = ValueAsString(StringDateTimeType()->CreateValue(45000.75));
  EXPECT_EQ(StringDateTimeType()->ParseText(fixed), 45000.75);
  EXPECT_EQ(ValueAsString(DoubleValue(-1234.5678)), "-1234,5678");
  EXPECT_EQ(ValueAsString(DateTimeValue(45000.75)), "15.03.2023 18:00:00");
}

TEST_F(TextsAndBuffers, StringDateTimeTextHasFixedPlaces) {
  const TDateTime when = EncodeDate(2024, 5, 5) + EncodeTime(14, 3, 9, 0);
  {
    test::TScopedFormatSettings german(test::GermanSettings());
    EXPECT_EQ(ValueAsString(StringDateTimeType()->CreateValue(when)), "2024-05-05 14.03.09");
  }
  EXPECT_EQ(ValueAsString(StringDateTimeType()->CreateValue(when)), "2024-05-05 14/03/09");
  EXPECT_EQ(StringDateTimeType()->ParseText("2024-05-05 14.03.09"), when);
  EXPECT_EQ(StringDateTimeType()->ParseText("2024x05x05x14x03x09"), when);
  EXPECT_EQ(StringDateTimeType()->ParseText(""), 0);
  EXPECT_EQ(
      Outcome([] { return test::Text(StringDateTimeType()->ParseText("2024-05-05")); }),
      "error: ExtractDate: The length of the length of the date/time value '2024-05-05' doesn't equal the "
      "length of the format string 'yyyy-mm-dd hh/nn/ss'!");
  EXPECT_EQ(Outcome([] { return test::Text(StringDateTimeType()->ParseText("2024-13-05 14.03.09")); }),
            "error: Invalid argument to date encode");
  EXPECT_EQ(Outcome([] { return test::Text(StringDateTimeType()->ParseText("2024-05-05 14.0x.09")); }),
            "error: '0x' is not a valid integer value");
}

TEST_F(TextsAndBuffers, ValuesCreatedByTheirTypes) {
  const TStringType* five = StringType(5, false);
  EXPECT_EQ(five->CreateValue("abcdefg").Text, "abcde");
  EXPECT_EQ(StringType(0, true)->CreateValue(std::string(3000, 'x')).Text.size(), 3000u);
  EXPECT_EQ(MemoType(false)->CreateValue(std::string(70000, 'x')).Text.size(), 70000u);
  EXPECT_EQ(ValueAsDouble(DateType()->CreateValue(45000.75)), 45000.0);
  EXPECT_EQ(ValueAsDouble(DateType()->CreateValue(-1.5)), -1.0);
  EXPECT_EQ(ValueAsString(DateType()->CreateValue(45000.75)), "15/03/2023");
  EXPECT_EQ(ValueAsString(DateTimeValue(45000)), "15/03/2023");  // no time at midnight
}

// Writes Value through Type into a slot surrounded by guard bytes, checks the
// guards and reads it back.
struct TSlot {
  std::vector<unsigned char> bytes;
  const TDataType* type;
  explicit TSlot(const TDataType* t)
      : bytes(static_cast<std::size_t>(t->GetDataSize()) + 16, 0xCC), type(t) {}
  unsigned char* Data() { return bytes.data() + 8; }
  bool GuardsIntact() const {
    for (std::size_t i = 0; i < 8; ++i)
      if (bytes[i] != 0xCC || bytes[bytes.size() - 1 - i] != 0xCC) return false;
    return true;
  }
};

struct TOverflowStore {
  std::map<std::intptr_t, std::string> texts;
  int stores = 0, fetches = 0;
  TOverflowCallback Callback(std::intptr_t argument) {
    return {[](void* context, std::intptr_t arg, std::string& text, TOverflowAction action) {
              auto* self = static_cast<TOverflowStore*>(context);
              if (action == TOverflowAction::oaStore) {
                ++self->stores;
                self->texts[arg] = text;
              } else {
                ++self->fetches;
                text = self->texts[arg];
              }
            },
            this, argument};
  }
};

TEST_F(TextsAndBuffers, EveryKindRoundTripsThroughItsBufferSlot) {
  TObject object;
  const struct {
    const TDataType* type;
    TValue value;
    std::string expected;  // after the round trip, with the type's name
  } cases[] = {
      {StringType(5, false), StringValue("abcdefg"), "Text(5):abcde"},
      {StringType(300, true), StringValue(std::string(299, 'y') + "z"),
       "String(300):" + std::string(299, 'y') + "z"},
      {StringType(0, true), StringValue("gone"), "String(0):"},
      {MemoType(false), StringValue(std::string(254, 'm')), "Memo:" + std::string(254, 'm')},
      {BooleanType(), StringValue("x"), "Boolean:T"},
      {IntegerType(), IntegerValue(-123456789), "Integer:-123456789"},
      {IntegerType(), DoubleValue(2.5), "Integer:3"},
      {DoubleType(), DoubleValue(-0.1), "Float:-0.1"},
      {CurrencyType(), CurrencyValue(TCurrency{-922337203685477580}), "Currency:-92233720368547.758"},
      {PercentType(), PercentValue(12.5), "Percent:12.5"},
      {DateTimeType(), DateTimeValue(45000.75), "DateTime:15/03/2023 18:00:00"},
      {DateType(), DateValue(45000), "Date:15/03/2023"},
      {PointerType(), PointerValue(reinterpret_cast<void*>(0xBEEF)), "Pointer:Pointer($0000BEEF)"},
      {ObjectType(), ObjectValue(nullptr), "Object:TObject($00000000)"},
  };
  for (const auto& c : cases) {
    TSlot slot(c.type);
    c.type->WriteToBuffer(slot.Data(), c.value, {});
    EXPECT_TRUE(slot.GuardsIntact()) << c.expected;
    EXPECT_EQ(Described(c.type->ReadFromBuffer(slot.Data(), {})), c.expected);
  }
}

// A value of another kind written into a cell is stored as the cell type's
// ConvertValue makes it: a text parsed by the cell type's own parser, a date
// cut to whole days.
TEST_F(TextsAndBuffers, ForeignValuesAreStoredAsConvertValueMakesThem) {
  const TDataType* targets[] = {StringType(8, true), MemoType(false), BooleanType(),        IntegerType(),
                                DoubleType(),        CurrencyType(),  PercentType(),        DateTimeType(),
                                DateType(),          TimeType(),      StringDateTimeType(), PointerType()};
  const TValue sources[] = {StringValue("18:00"),
                            StringValue("15/03/2023"),
                            StringValue("2023-03-15 18/00/00"),
                            StringValue("15/03/2023 06:00"),
                            StringValue("12"),
                            StringValue("x"),
                            IntegerValue(45000),
                            DoubleValue(45000.75),
                            DateTimeValue(45000.75),
                            DateValue(45000),
                            TimeType()->CreateValue(0.75),
                            BooleanValue(true),
                            CurrencyValue(TCurrency{25000})};
  // The text and the number: a date's text hides a time of day that its
  // number shows.
  auto shown = [](const TValue& value) {
    return Described(value) + " " + Outcome([&] { return test::Text(ValueAsDouble(value)); });
  };
  for (const TDataType* target : targets) {
    for (const TValue& source : sources) {
      const std::string converted = Outcome([&] { return shown(target->ConvertValue(source)); });
      const std::string stored = Outcome([&] {
        TSlot slot(target);
        target->WriteToBuffer(slot.Data(), source, {});
        return shown(target->ReadFromBuffer(slot.Data(), {}));
      });
      EXPECT_EQ(stored, converted) << target->GetTypeName() << " from " << Described(source);
    }
  }
  EXPECT_EQ(ValueAsDouble(TimeType()->ConvertValue(StringValue("18:00"))), 0.75);
  EXPECT_EQ(ValueAsDouble(DateType()->ConvertValue(DateTimeValue(45000.75))), 45000);
}

TEST_F(TextsAndBuffers, StringSlotsCarryALengthPrefix) {
  TSlot shortSlot(StringType(5, false));
  StringType(5, false)->WriteToBuffer(shortSlot.Data(), StringValue("abc"), {});
  EXPECT_EQ(shortSlot.Data()[0], 3);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(shortSlot.Data() + 1), 3), "abc");
  EXPECT_EQ(shortSlot.Data()[4], 0xCC);  // the rest of the slot is left alone

  TSlot longSlot(StringType(300, true));
  StringType(300, true)->WriteToBuffer(longSlot.Data(), StringValue(std::string(290, 'q')), {});
  EXPECT_EQ(longSlot.Data()[0], 290 & 0xFF);
  EXPECT_EQ(longSlot.Data()[1], 290 >> 8);

  // A damaged prefix is cut at the slot's size.
  shortSlot.Data()[0] = 200;
  EXPECT_EQ(StringType(5, false)->ReadFromBuffer(shortSlot.Data(), {}).Text.size(), 5u);
}

TEST_F(TextsAndBuffers, LongMemoTextsGoToTheOverflowStore) {
  const TMemoType* memo = MemoType(true);
  TOverflowStore store;
  TSlot slot(memo);

  memo->WriteToBuffer(slot.Data(), StringValue(std::string(254, 'a')), store.Callback(7));
  EXPECT_EQ(slot.Data()[0], 255);
  EXPECT_EQ(store.stores, 0);

  const std::string text255(255, 'b');
  memo->WriteToBuffer(slot.Data(), StringValue(text255), store.Callback(7));
  EXPECT_EQ(slot.Data()[0], 0);
  EXPECT_EQ(store.stores, 1);
  EXPECT_EQ(store.texts[7], text255);
  EXPECT_EQ(memo->ReadFromBuffer(slot.Data(), store.Callback(7)).Text, text255);
  EXPECT_EQ(store.fetches, 1);
  EXPECT_TRUE(slot.GuardsIntact());

  // Without a store a long text is lost rather than overrunning the slot.
  memo->WriteToBuffer(slot.Data(), StringValue(std::string(1000, 'c')), {});
  EXPECT_EQ(memo->ReadFromBuffer(slot.Data(), {}).Text, "");
  EXPECT_TRUE(slot.GuardsIntact());

  memo->WriteToBuffer(slot.Data(), StringValue(""), store.Callback(7));
  EXPECT_EQ(slot.Data()[0], 1);
  EXPECT_EQ(memo->ReadFromBuffer(slot.Data(), store.Callback(7)).Text, "");
  EXPECT_EQ(store.fetches, 1);
}

TEST_F(TextsAndBuffers, NumericDisplayTexts) {
  DisplayFormat thousands;
  thousands.NumberFormat = "#,##0.00";
  DisplayFormat kilo = thousands;
  kilo.Divisor = 1000;
  DisplayFormat edit = kilo;
  edit.Edit = true;
  DisplayFormat quarter;
  quarter.NumberFormat = "0.00";
  quarter.Rounding = 4;

  const struct {
    const TDataType* type;
    TValue value;
    DisplayFormat format;
    std::string expected;
  } cases[] = {
      {DoubleType(), DoubleValue(1234567.891), thousands, "String(12):1,234,567.89"},
      {DoubleType(), DoubleValue(1234567.891), kilo, "String(8):1,234.57"},
      {DoubleType(), DoubleValue(1234567.891), edit, "String(10):1234567.89"},
      {DoubleType(), DoubleValue(1.1), quarter, "String(4):1.00"},
      {DoubleType(), DoubleValue(1.13), quarter, "String(4):1.25"},
      {DoubleType(), DoubleValue(-1.125), quarter, "String(5):-1.25"},
      {CurrencyType(), CurrencyValue(TCurrency{12345000}), kilo, "String(4):1.23"},
      {PercentType(), PercentValue(0.125), quarter, "String(7):12.50 %"},
      {PercentType(), IntegerValue(2), thousands, "String(8):200.00 %"},
      {PercentType(), StringValue("n/a"), thousands, "Memo:n/a"},
      {IntegerType(), IntegerValue(2500), kilo, "String(1):3"},
      {IntegerType(), IntegerValue(-2500), kilo, "String(2):-3"},
      {StringType(10, true), StringValue("  padded  "), thousands, "String(6):padded"},
      {BooleanType(), TrueValue(), thousands, "Memo:T"},
      {DateType(), DateValue(45000), thousands, "String(10):15/03/2023"},
      {PointerType(), NilValue(), thousands, "Pointer:Pointer($00000000)"},
  };
  for (const auto& c : cases) EXPECT_EQ(Described(c.type->ValueToText(c.value, c.format)), c.expected);
}

TEST_F(TextsAndBuffers, DisplayTextsReadBack) {
  DisplayFormat kilo;
  kilo.Divisor = 1000;
  const DisplayFormat plain;
  DisplayFormat percent;
  percent.Decimals = 2;
  percent.Rounding = 100;
  const struct {
    const TDataType* type;
    std::string text;
    DisplayFormat format;
    bool accepted;
    std::string expected;
  } cases[] = {
      {DoubleType(), " 1,234.5 ", kilo, true, "Float:1234500"},
      {IntegerType(), "2.5", plain, true, "Integer:3"},
      {IntegerType(), "1e30", plain, false, "Memo:1e30"},
      {IntegerType(), "3000000000", plain, false, "Memo:3000000000"},
      {IntegerType(), "-2147483648", plain, true, "Integer:-2147483648"},
      {CurrencyType(), "1.23456", plain, true, "Currency:1.2346"},
      {DoubleType(), "abc", plain, false, "Memo:abc"},
      {PercentType(), "12.345 %", percent, true, "Percent:0.1235"},
      {PercentType(), "12.345", plain, true, "Percent:0.12345"},
      {PercentType(), "%%", plain, false, "Memo:%%"},
      {StringType(3, true), "abcdef", plain, true, "String(3):abc"},
      {BooleanType(), "x", plain, true, "Boolean:T"},
      {DateType(), "15/03/2023", plain, true, "Date:15/03/2023"},
      {DateType(), "someday", plain, false, "Memo:someday"},
      {DateTimeType(), "zzz", plain, false, "Memo:zzz"},
      {DateTimeType(), "", plain, true, "DateTime:30/12/1899"},
      {DateTimeType(), "15/03/2023 18:00", plain, true, "DateTime:15/03/2023 18:00:00"},
      {TimeType(), "25:99", plain, false, "Memo:25:99"},
      {StringDateTimeType(), "short", plain, false, "Memo:short"},
  };
  for (const auto& c : cases) {
    TValue result;
    EXPECT_EQ(c.type->TextToValue(c.text, c.format, result), c.accepted) << c.text;
    EXPECT_EQ(Described(result), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace tv
