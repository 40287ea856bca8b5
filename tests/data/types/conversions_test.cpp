// What every kind answers for its own payload, conversion by conversion, and
// what each type builds from foreign values.

#include <gtest/gtest.h>

#include "data/types/data_types.h"
#include "tests/data/types/type_test_support.h"

namespace tv {
namespace {

using test::Outcome;
using test::Text;

class Conversions : public ::testing::Test {
 protected:
  test::TScopedFormatSettings settings_{TFormatSettings{}};
};

struct Row {
  const char* name;
  TValue value;
  // GetAsString, GetAsBoolean, GetAsDateTime, GetAsPointer, GetAsDouble,
  // GetAsInteger, GetAsCurrency, GetAsPercent
  std::vector<std::string> expected;
};

std::vector<std::string> Answers(const TValue& v) {
  return {Outcome([&] { return ValueAsString(v); }),
          Outcome([&] { return Text(ValueAsBoolean(v)); }),
          Outcome([&] { return Text(ValueAsDateTime(v)); }),
          Outcome([&] { return Text(ValueAsPointer(v)); }),
          Outcome([&] { return Text(ValueAsDouble(v)); }),
          Outcome([&] { return std::to_string(ValueAsInteger(v)); }),
          Outcome([&] { return Text(ValueAsCurrency(v)); }),
          Outcome([&] { return Text(ValueAsPercent(v)); })};
}

std::string Cannot(const char* from, const char* to) {
  return std::string("conversion error: Cannot convert ") + from + " to " + to + "!";
}

TEST_F(Conversions, EachKindAnswersForItsOwnPayload) {
  auto* address = reinterpret_cast<void*>(0x1234);
  const TValue dateTime = DateTimeValue(EncodeDate(2023, 3, 15) + 0.75);
  const Row rows[] = {
      {"text", StringValue("12"), {"12", "false", "0", "@0", "12", "12", "C120000", "12"}},
      {"text T",
       StringValue("T"),
       {"T", "true", "0", "@0", "error: 'T' is not a valid floating point value",
        "error: 'T' is not a valid integer value", "error: 'T' is not a valid floating point value",
        "error: 'T' is not a valid floating point value"}},
      {"memo",
       MemoType(false)->CreateValue("2.5%"),
       {"2.5%", "false", "0", "@0", "error: '2.5%' is not a valid floating point value",
        "error: '2.5%' is not a valid integer value", "error: '2.5%' is not a valid floating point value",
        "2.5"}},
      {"true",
       BooleanValue(true),
       {"T", "true", Cannot("Boolean", "DateTime"), Cannot("Boolean", "Pointer"), "1", "1", "C10000", "1"}},
      {"false",
       BooleanValue(false),
       {"F", "false", Cannot("Boolean", "DateTime"), Cannot("Boolean", "Pointer"), "0", "0", "C0", "0"}},
      {"integer", IntegerValue(-7), {"-7", "true", "-7", "@fffffffffffffff9", "-7", "-7", "C-70000", "-7"}},
      {"zero", IntegerValue(0), {"0", "false", "0", "@0", "0", "0", "C0", "0"}},
      {"double",
       DoubleValue(2.5),
       {"2.5", "true", "2.5", Cannot("Double", "Pointer"), "2.5", "3", "C25000", "2.5"}},
      {"double -2.5",
       DoubleValue(-2.5),
       {"-2.5", "true", "-2.5", Cannot("Double", "Pointer"), "-2.5", "-3", "C-25000", "-2.5"}},
      {"currency",
       CurrencyValue(TCurrency{123456}),
       {"12.3456", "true", Cannot("Currency", "DateTime"), Cannot("Currency", "Pointer"),
        "12.345599999999999", "12", "C123456", "12.345599999999999"}},
      {"percent",
       PercentValue(12.5),
       {"12.5", Cannot("Percent", "Boolean"), Cannot("Percent", "DateTime"), Cannot("Percent", "Pointer"),
        "12.5", Cannot("Percent", "Integer"), "C125000", "12.5"}},
      {"date-time",
       dateTime,
       {"15/03/2023 18:00:00", Cannot("DateTime", "Boolean"), "45000.75", Cannot("DateTime", "Pointer"),
        "45000.75", "45001", "C450007500", "45000.75"}},
      {"date",
       DateValue(45000.75),
       {"15/03/2023", Cannot("DateTime", "Boolean"), "45000", Cannot("DateTime", "Pointer"), "45000", "45000",
        "C450000000", "45000"}},
      {"time",
       TimeType()->CreateValue(0.5),
       {"12:00:00", Cannot("DateTime", "Boolean"), "0.5", Cannot("DateTime", "Pointer"), "0.5", "1", "C5000",
        "0.5"}},
      {"string date-time",
       StringDateTimeType()->CreateValue(45000.75),
       {"2023-03-15 18/00/00", Cannot("DateTime", "Boolean"), "45000.75", Cannot("DateTime", "Pointer"),
        "45000.75", "45001", "C450007500", "45000.75"}},
      {"pointer",
       PointerValue(address),
       {"Pointer($00001234)", Cannot("Pointer", "Boolean"), Cannot("Pointer", "DateTime"), "@1234",
        Cannot("Pointer", "Double"), "4660", Cannot("Pointer", "Double"), Cannot("Pointer", "Double")}},
      {"object",
       ObjectType()->CreateValue(address),
       {"TObject($00001234)", Cannot("Pointer", "Boolean"), Cannot("Pointer", "DateTime"), "@1234",
        Cannot("Pointer", "Double"), "4660", Cannot("Pointer", "Double"), Cannot("Pointer", "Double")}},
      {"picture",
       PictureType()->CreateValue(address),
       {"TObject($00001234)", Cannot("Pointer", "Boolean"), Cannot("Pointer", "DateTime"), "@1234",
        Cannot("Pointer", "Double"), "4660", Cannot("Pointer", "Double"), Cannot("Pointer", "Double")}},
      {"integer text",
       IntegerStringType()->CreateValue("$10"),
       {"$10", "false", "0", "@0", "error: '$10' is not a valid floating point value", "16",
        "error: '$10' is not a valid floating point value",
        "error: '$10' is not a valid floating point value"}},
  };
  for (const Row& row : rows) {
    std::vector<std::string> expected = row.expected;
    if (sizeof(void*) == 4 && expected[3] == "@fffffffffffffff9") expected[3] = "@fffffff9";
    EXPECT_EQ(Answers(row.value), expected) << row.name;
  }
}

TEST_F(Conversions, DatesAndTimesOfTextsUseTheirOwnParsers) {
  const TValue date = StringValue("15/03/2023"), time = StringValue("12:00"),
               both = StringValue("15/03/2023 06:00");
  EXPECT_EQ(ValueAsDate(date), 45000);
  EXPECT_EQ(ValueAsDateTime(date), 45000);
  EXPECT_EQ(ValueAsTime(time), 0.5);
  EXPECT_EQ(ValueAsDateTime(time), 0);  // no date: the date-time parser yields 0
  EXPECT_EQ(ValueAsDateTime(both), 45000.25);
  EXPECT_THROW(ValueAsDate(both), EConvertError);  // the date parser wants the date alone
  EXPECT_THROW(ValueAsDate(StringValue("")), EConvertError);
  EXPECT_EQ(ValueAsTime(StringValue("")), 0);
}

TEST_F(Conversions, ConvertValueBuildsAValueOfTheTargetType) {
  TObject object;
  const struct {
    const TDataType* target;
    TValue source;
    std::string expected;  // the result's own text, or the error
  } cases[] = {
      {StringType(3, true), StringValue("abcdef"), "abc"},
      {StringType(3, true), IntegerValue(123456), "123"},
      {MemoType(false), StringValue("abcdef"), "abcdef"},
      {IntegerStringType(), StringValue("12345678901234"), "1234567890"},
      {BooleanType(), StringValue("x"), "T"},
      {BooleanType(), IntegerValue(0), "F"},
      {BooleanType(), DateTimeValue(1), Cannot("DateTime", "Boolean")},
      {IntegerType(), DoubleValue(2.5), "3"},
      {IntegerType(), StringValue("$FF"), "255"},
      {IntegerType(), PercentValue(1), Cannot("Percent", "Integer")},
      {DoubleType(), CurrencyValue(TCurrency{5}), "0.0005"},
      {CurrencyType(), DoubleValue(1.23456), "1.2346"},
      {CurrencyType(), PercentValue(12.5), "12.5"},
      {PercentType(), StringValue("7%"), "7"},
      {DateTimeType(), IntegerValue(45000), "15/03/2023"},
      {DateType(), DateTimeValue(45000.75), "15/03/2023"},
      {TimeType(), StringValue("18:00"), "18:00:00"},
      {TimeType(), DateTimeValue(45000.75), "18:00:00"},
      {StringDateTimeType(), DateTimeValue(45000.75), "2023-03-15 18/00/00"},
      {StringDateTimeType(), StringValue("2023-03-15 18.00.00"), "2023-03-15 18/00/00"},
      {StringDateTimeType(), StringValue("15/03/2023 06:00"), "2023-03-15 06/00/00"},
      {StringDateTimeType(), StringValue("zzz"), "0"},
      {IntegerType(), DoubleValue(3e9), "error: Invalid floating point operation"},
      {IntegerType(), DoubleValue(-2147483648.0), "-2147483648"},
      {PointerType(), IntegerValue(16), "Pointer($00000010)"},
      {PointerType(), DoubleValue(1), Cannot("Double", "Pointer")},
      {ObjectType(), PointerValue(&object), test::Text(static_cast<const void*>(&object))},
  };
  for (const auto& c : cases) {
    const std::string outcome = Outcome([&] {
      const TValue result = c.target->ConvertValue(c.source);
      EXPECT_EQ(result.DataType, c.target);
      if (c.target == ObjectType()) return test::Text(static_cast<const void*>(ValueAsObject(result)));
      if (c.target == StringDateTimeType() && ValueAsDouble(result) == 0) return std::string("0");
      return ValueAsString(result);
    });
    EXPECT_EQ(outcome, c.expected) << c.target->GetTypeName() << " from " << test::Described(c.source);
  }
  const TValue same = StringValue("abc");
  EXPECT_EQ(same.DataType->ConvertValue(same).Text, "abc");
}

}  // namespace
}  // namespace tv
