// What each type says about itself: sizes, names, flags, query literals and
// parameters, and the descriptions from which the factory finds a type again.

#include <gtest/gtest.h>

#include "data/types/data_types.h"
#include "tests/data/types/type_test_support.h"

namespace tv {
namespace {

using test::Described;
using test::Outcome;

class Descriptions : public ::testing::Test {
 protected:
  test::TScopedFormatSettings settings_{TFormatSettings{}};
};

std::string Describe(const TDataType& t) {
  return IntToStr(t.GetDataSize()) + " " + IntToStr(t.GetDisplayWidth()) + " " + t.GetTypeName() + " " +
         t.GetSQLTypeName();
}

// Storable, numeric, numeric kind, aggregable, digit text, dynamic size.
std::string Flags(const TDataType& t) {
  std::string f;
  for (bool b : {t.IsStorable(), t.IsNumeric()}) f += b ? 'y' : 'n';
  f += IntToStr(t.GetNumericKind());
  for (bool b : {t.IsAggregable(), t.IsDigitText(), t.HasDynamicSize()}) f += b ? 'y' : 'n';
  return f;
}

TEST_F(Descriptions, SizesNamesAndFlagsOfEveryKind) {
  const std::string address = IntToStr(sizeof(void*));
  const struct {
    const TDataType* type;
    std::string description, flags;
    bool alwaysParameter;
  } cases[] = {
      {StringType(5, false), "6 5 Text(5) char(5)", "yn0nnn", false},
      {StringType(5, true), "6 5 String(5) char(5)", "yn0nnn", false},
      {StringType(255, true), "256 255 String(255) char(255)", "yn0nnn", false},
      {StringType(300, true), "302 300 String(300) char(300)", "yn0nnn", false},
      {StringType(0, true), "1 0 String(0) char(0)", "yn0nnn", false},
      {MemoType(false), "255 80 Memo text", "yn0nny", true},
      {BooleanType(), "1 5 Boolean char(1)", "yn0nnn", true},
      {IntegerType(), "4 12 Integer int", "yy0yyn", false},
      {DoubleType(), "8 16 Float float", "yy1yyn", true},
      {CurrencyType(), "8 16 Currency money", "yy2yyn", true},
      {PercentType(), "8 10 Percent float", "yy1nyn", true},
      {DateTimeType(), "8 20 DateTime datetime", "yn0nyn", true},
      {DateType(), "8 10 Date datetime", "yn0nyn", true},
      {TimeType(), "8 10 Time float", "yy0yyn", true},
      {PointerType(), address + " 0 Pointer pointer", "nn0nnn", true},
      {ObjectType(), address + " 0 Object pointer", "nn0nnn", true},
      {IntegerStringType(), "11 10 Text(10) char(10)", "yn0nyn", false},
      {PictureType(), address + " 0 Object pointer", "nn0nnn", true},
      {StringDateTimeType(), "8 20 DateTime char(19)", "yn0nyn", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Describe(*c.type), c.description) << c.type->ClassName();
    EXPECT_EQ(Flags(*c.type), c.flags) << c.type->ClassName();
    EXPECT_EQ(c.type->AlwaysParameter(), c.alwaysParameter) << c.type->ClassName();
    EXPECT_EQ(c.type->GetExtension(), nullptr);
  }
  EXPECT_EQ(MemoType(true)->Size(), -1);
  EXPECT_EQ(MemoType(true)->GetMaxSize(), 4294967295);
  EXPECT_EQ(StringType(5, true)->GetMaxSize(), 65535);
  EXPECT_EQ(IntegerStringType()->Size(), 10);
  EXPECT_FALSE(IntegerStringType()->CaseSensitive());
  EXPECT_NE(static_cast<const TDataType*>(IntegerStringType()), StringType(10, false));
}

TEST_F(Descriptions, WhichValuesAQueryMustPassAsParameters) {
  EXPECT_FALSE(StringType(9, true)->NeedsParameter(StringValue("plain")));
  EXPECT_TRUE(StringType(9, true)->NeedsParameter(StringValue("O'Brien")));
  EXPECT_TRUE(IntegerStringType()->NeedsParameter(StringValue("'")));
  EXPECT_TRUE(MemoType(false)->NeedsParameter(StringValue("plain")));
  EXPECT_FALSE(IntegerType()->NeedsParameter(OneValue()));
  EXPECT_TRUE(DoubleType()->NeedsParameter(DoubleValue(1)));
  EXPECT_TRUE(PointerType()->NeedsParameter(NilValue()));
}

TEST_F(Descriptions, QueryLiterals) {
  const struct {
    const TDataType* type;
    TValue value;
    std::string literal;
  } cases[] = {
      {StringType(5, true), StringValue("it's long"), "'it''s '"},
      {StringType(0, true), StringValue("it's long"), "'it''s long'"},
      {MemoType(false), StringValue("it's long"), "'it''s long'"},
      {BooleanType(), TrueValue(), "'T'"},
      {BooleanType(), StringValue("nope"), "'F'"},
      {IntegerType(), IntegerValue(-12), "-12"},
      {DoubleType(), DoubleValue(0.125), "0.125"},
      {CurrencyType(), CurrencyValue(TCurrency{-15000}), "-1.5"},
      {PercentType(), PercentValue(12.5), "12.5"},
      {DateType(), DateValue(45000), "'15/03/2023'"},
      {DateTimeType(), DateTimeValue(45000.5), "'15/03/2023 12:00:00'"},
      {PointerType(), NilValue(), "''"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.type->GetSQLLiteral(c.value), c.literal) << c.type->GetTypeName();
  test::TScopedFormatSettings german(test::GermanSettings());
  EXPECT_EQ(DoubleType()->GetSQLLiteral(DoubleValue(0.125)), "0,125");
  EXPECT_EQ(CurrencyType()->GetSQLLiteral(CurrencyValue(TCurrency{-15000})), "-1,5");
}

TEST_F(Descriptions, QueryParameters) {
  TParam p;
  EXPECT_TRUE(p.IsNull());
  StringType(3, true)->AssignToParam(p, StringValue("abcdef"));
  EXPECT_EQ(p.DataType(), TFieldType::ftString);
  EXPECT_EQ(p.AsString(), "abc");
  MemoType(true)->AssignToParam(p, StringValue("abcdef"));
  EXPECT_EQ(p.DataType(), TFieldType::ftMemo);
  EXPECT_EQ(p.AsString(), "abcdef");
  BooleanType()->AssignToParam(p, TrueValue());
  EXPECT_EQ(p.DataType(), TFieldType::ftString);
  EXPECT_EQ(p.AsString(), "T");
  IntegerType()->AssignToParam(p, StringValue("42"));
  EXPECT_EQ(p.DataType(), TFieldType::ftInteger);
  EXPECT_EQ(p.AsInteger(), 42);
  DoubleType()->AssignToParam(p, DoubleValue(0.5));
  EXPECT_EQ(p.DataType(), TFieldType::ftFloat);
  EXPECT_EQ(p.AsFloat(), 0.5);
  PercentType()->AssignToParam(p, PercentValue(12.5));
  EXPECT_EQ(p.AsFloat(), 12.5);
  CurrencyType()->AssignToParam(p, CurrencyValue(TCurrency{7}));
  EXPECT_EQ(p.DataType(), TFieldType::ftCurrency);
  EXPECT_EQ(p.AsCurrency(), TCurrency{7});
  DateTimeType()->AssignToParam(p, DateTimeValue(1.25));
  EXPECT_EQ(p.DataType(), TFieldType::ftDateTime);
  EXPECT_EQ(p.AsDateTime(), 1.25);
  DateType()->AssignToParam(p, DateTimeValue(1.25));
  EXPECT_EQ(p.AsDateTime(), 1.0);
  StringDateTimeType()->AssignToParam(p, DateTimeValue(1.25));
  EXPECT_EQ(p.DataType(), TFieldType::ftDateTime);
  TimeType()->AssignToParam(p, DateTimeValue(1.25));
  EXPECT_EQ(p.DataType(), TFieldType::ftFloat);
  EXPECT_EQ(p.AsFloat(), 1.25);
  TParam untouched;
  PointerType()->AssignToParam(untouched, NilValue());
  ObjectType()->AssignToParam(untouched, NilValue());
  EXPECT_TRUE(untouched.IsNull());
}

std::vector<std::string> Params(const TDataType& type) {
  TStringList list;
  type.WriteParams(list);
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

const TDataType* FromLines(const TDataTypeClass& typeClass, const std::string& text) {
  TStringList list;
  list.SetText(text);
  return typeClass.CreateFromParams(list);
}

TEST_F(Descriptions, DescriptionsLeadBackToTheSharedInstance) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(Params(*StringType(30, false)), (Lines{"SIZE=30", "CS=F"}));
  EXPECT_EQ(Params(*MemoType(false)), (Lines{"SIZE=-1", "CS=F", "DYNSIZE=T"}));
  EXPECT_EQ(Params(*MemoType(true)), (Lines{"SIZE=-1", "CS=T", "DYNSIZE=T"}));
  EXPECT_EQ(Params(*IntegerType()), Lines{});
  EXPECT_EQ(Params(*DateType()), Lines{});

  // Every type's description, read by its own class, is the type itself.
  const std::vector<const TDataType*> types = {
      StringType(30, false), StringType(2000, true), StringType(1, true), MemoType(false), MemoType(true),
      IntegerType(),         BooleanType(),          CurrencyType(),      DateType(),      TimeType(),
      PictureType(),         StringDateTimeType(),   IntegerStringType()};
  for (const TDataType* type : types) {
    TStringList lines;
    type->WriteParams(lines);
    EXPECT_EQ(type->TypeClass().CreateFromParams(lines), type) << type->GetTypeName();
    EXPECT_EQ(DataTypeFactory().Find(type->ClassName()), &type->TypeClass());
  }

  const TDataTypeClass& strings = StringType(1, true)->TypeClass();
  EXPECT_EQ(FromLines(strings, "SIZE=12\n"), StringType(12, true));  // CS missing: case-sensitive
  EXPECT_EQ(FromLines(strings, "SIZE=12\nCS=x\n"), StringType(12, true));
  EXPECT_EQ(FromLines(strings, "SIZE=12\nCS=no\n"), StringType(12, false));
  EXPECT_EQ(FromLines(strings, "SIZE=-1\nCS=F\nDYNSIZE=T\n"), MemoType(false));
  EXPECT_EQ(FromLines(strings, "SIZE=0\n"), MemoType(true));
  EXPECT_EQ(FromLines(strings, "SIZE=twelve\nCS=F\n"), MemoType(false));
  EXPECT_EQ(FromLines(strings, ""), MemoType(true));
  EXPECT_EQ(FromLines(MemoType(false)->TypeClass(), "SIZE=40\nCS=T\n"), MemoType(true));
  EXPECT_EQ(FromLines(IntegerType()->TypeClass(), "SIZE=40\n"), IntegerType());
  EXPECT_EQ(FromLines(IntegerStringType()->TypeClass(), "SIZE=40\n"), IntegerStringType());
}

TEST_F(Descriptions, PicturesAreTakenOnlyFromPictureObjects) {
  TPicture picture;
  TBitmap notAPicture;
  EXPECT_EQ(ValueAsPicture(ObjectValue(&picture)), &picture);
  EXPECT_EQ(ValueAsPicture(PictureType()->CreateValue(&picture)), &picture);
  EXPECT_EQ(ValueAsPicture(NilValue()), nullptr);
  EXPECT_EQ(Outcome([&] {
              return test::Text(static_cast<const void*>(ValueAsPicture(ObjectValue(&notAPicture))));
            }),
            "error: TPictureType.GetAsPicture: You can not get Pictures from this DataType!");
  EXPECT_EQ(Outcome([&] { return test::Text(static_cast<const void*>(ValueAsPicture(BooleanValue(true)))); }),
            "conversion error: Cannot convert Boolean to Pointer!");
  EXPECT_EQ(Described(PictureType()->ConvertValue(ObjectValue(&picture))).substr(0, 15), "Object:TObject(");
}

}  // namespace
}  // namespace tv
