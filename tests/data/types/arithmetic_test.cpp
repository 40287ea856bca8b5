// Comparison, arithmetic, logic, negation, sign, emptiness and defaults.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "data/types/data_types.h"
#include "tests/data/types/type_test_support.h"

namespace tv {
namespace {

using test::Described;
using test::Outcome;

class Arithmetic : public ::testing::Test {
 protected:
  test::TScopedFormatSettings settings_{TFormatSettings{}};
};

int Sign(int x) {
  return x < 0 ? -1 : x > 0 ? 1 : 0;
}

TEST_F(Arithmetic, CompareGivesTheOrderOfEachKind) {
  const TStringType* folding = StringType(10, false);
  const TStringType* exact = StringType(10, true);
  const struct {
    const TDataType* type;
    TValue a, b;
    int sign;
  } cases[] = {
      {folding, StringValue("ABC"), StringValue("abc"), 0},
      {exact, StringValue("ABC"), StringValue("abc"), -1},
      {folding, StringValue("abc"), StringValue("abcd"), -1},
      {folding, StringValue("a_"), StringValue("A"), 1},
      {folding, StringValue("["), StringValue("a"), 1},        // letters fold to upper case: 'A' < '['
      {folding, StringValue("\xE4"), StringValue("\xC4"), 1},  // ä and Ä: only ASCII letters fold
      {exact, StringValue("\xE4"), StringValue("z"), 1},       // bytes compare unsigned
      {folding, IntegerValue(10), StringValue("9"), -1},       // texts, not numbers
      {BooleanType(), BooleanValue(false), BooleanValue(true), -1},
      {BooleanType(), BooleanValue(true), BooleanValue(false), 1},
      {BooleanType(), BooleanValue(true), StringValue("x"), 0},
      {IntegerType(), IntegerValue(INT_MIN), IntegerValue(INT_MAX), -1},
      {IntegerType(), IntegerValue(INT_MAX), IntegerValue(INT_MIN), 1},
      {IntegerType(), IntegerValue(3), DoubleValue(2.6), 0},
      {DoubleType(), DoubleValue(-0.5), DoubleValue(0.25), -1},
      {CurrencyType(), CurrencyValue(TCurrency{1}), CurrencyValue(TCurrency{0}), 1},
      {PercentType(), PercentValue(3), IntegerValue(3), 0},
      {DateTimeType(), DateTimeValue(1.5), DateValue(1.9), 1},
      {DateType(), DateTimeValue(1.5), DateValue(1.9), 1},  // inherited: the whole date-time counts
      {PointerType(), PointerValue(reinterpret_cast<void*>(8)), PointerValue(reinterpret_cast<void*>(16)),
       -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Sign(c.type->Compare(c.a, c.b)), c.sign)
        << c.type->GetTypeName() << ": " << Described(c.a) << " vs " << Described(c.b);
}

TEST_F(Arithmetic, StringEqualityIsExactWhateverTheCaseRule) {
  const TStringType* folding = StringType(5, false);
  EXPECT_FALSE(folding->Equals(StringValue("ABC"), StringValue("abc")));
  EXPECT_TRUE(folding->Equals(StringValue("abc"), StringValue("abc")));
  EXPECT_EQ(folding->Compare(StringValue("ABC"), StringValue("abc")), 0);
  EXPECT_TRUE(IntegerType()->Equals(IntegerValue(2), StringValue("2")));
  EXPECT_TRUE(folding->IsEmpty(StringValue("")));
  EXPECT_FALSE(folding->IsEmpty(StringValue(" ")));
}

// A key made of a type's comparable text meets exactly the texts that the
// type's comparison calls equal, for every kind of string type: an index
// keyed by such texts finds what the storage's tree finds.
TEST_F(Arithmetic, ComparableTextsAreEqualExactlyWhenTheTypeComparesThemEqual) {
  const std::vector<const TStringType*> types = {StringType(5, false), StringType(5, true),
                                                 StringType(40, false), MemoType(false), MemoType(true)};
  const std::vector<std::string> texts = {"",     "abc",  "ABC", "aBc", "abcde", "ABCDEfgh", "abcdexy",
                                          "\xe4", "\xc4", "[x]", "{x}", "abcd",  "ABCD ",    "z@`{Z"};
  for (const TStringType* type : types) {
    for (const std::string& a : texts) {
      for (const std::string& b : texts) {
        std::string keyA, keyB;
        type->AppendComparable(keyA, a);
        type->AppendComparable(keyB, b);
        EXPECT_EQ(keyA == keyB, type->Compare(type->CreateValue(a), type->CreateValue(b)) == 0)
            << type->GetTypeName() << ": " << a << " vs " << b;
      }
    }
  }
}

std::string Computed(const std::function<TValue()>& operation) {
  return Outcome([&] { return Described(operation()); });
}

TEST_F(Arithmetic, SumDifferenceProductAndQuotaPerKind) {
  const TStringType* three = StringType(3, true);
  const TValue i7 = IntegerValue(7), i2 = IntegerValue(2), i0 = IntegerValue(0);
  const TValue c1 = CurrencyValue(TCurrency{10000}), c3 = CurrencyValue(TCurrency{30000}),
               c0 = CurrencyValue(TCurrency{0});
  const TValue d1 = DoubleValue(1), d0 = DoubleValue(0);
  const TValue p50 = PercentValue(50), p4 = PercentValue(4), p0 = PercentValue(0);
  const TValue t = BooleanValue(true), f = BooleanValue(false);
  const TValue when = DateTimeValue(45000.75), span = DoubleValue(1.5);
  const TValue address = PointerValue(nullptr);
  const struct {
    std::function<TValue()> operation;
    std::string expected;
  } cases[] = {
      {[&] { return three->Sum(StringValue("ab"), StringValue("cd")); }, "String(3):abc"},
      {[&] { return MemoType(true)->Sum(StringValue("ab"), IntegerValue(12)); }, "Memo:ab12"},
      {[&] { return three->Difference(i7, i2); }, "error: TStringType.Difference: Operation not supported!"},
      {[&] { return MemoType(false)->Product(i7, i2); },
       "error: TStringType.Product: Operation not supported!"},
      {[&] { return MemoType(false)->Quota(i7, i2); }, "error: TMemoType.Quota: Operation not supported!"},
      {[&] { return three->Quota(i7, i2); }, "error: TStringType.Quota: Operation not supported!"},
      {[&] { return BooleanType()->Sum(t, f); }, "error: TBooleanType.Sum: Operation not supported!"},
      {[&] { return BooleanType()->Difference(t, f); }, "Boolean:T"},
      {[&] { return BooleanType()->Difference(t, t); }, "Boolean:F"},
      {[&] { return BooleanType()->Product(t, f); }, "error: TBooleanType.Product: Operation not supported!"},
      {[&] { return BooleanType()->Quota(t, f); }, "error: TBooleanType.Quota: Operation not supported!"},
      {[&] { return IntegerType()->Sum(i7, StringValue("3")); }, "Integer:10"},
      {[&] { return IntegerType()->Difference(i2, i7); }, "Integer:-5"},
      {[&] { return IntegerType()->Product(i7, i2); }, "Integer:14"},
      {[&] { return IntegerType()->Quota(i7, i2); }, "Integer:3"},
      {[&] { return IntegerType()->Quota(IntegerValue(-7), i2); }, "Integer:-3"},
      {[&] { return IntegerType()->Quota(i7, i0); }, "error: Division by zero"},
      {[&] { return IntegerType()->Sum(IntegerValue(INT_MAX), OneValue()); }, "Integer:-2147483648"},
      {[&] { return IntegerType()->Product(IntegerValue(65536), IntegerValue(65536)); }, "Integer:0"},
      {[&] { return IntegerType()->Quota(IntegerValue(INT_MIN), IntegerValue(-1)); }, "Integer:-2147483648"},
      {[&] { return DoubleType()->Sum(d1, span); }, "Float:2.5"},
      {[&] { return DoubleType()->Quota(d1, DoubleValue(4)); }, "Float:0.25"},
      {[&] { return DoubleType()->Quota(d1, d0); }, "Float:0"},
      {[&] { return DoubleType()->Quota(DoubleValue(1e300), DoubleValue(1e-300)); }, "Float:0"},
      {[&] { return CurrencyType()->Sum(c1, c3); }, "Currency:4"},
      {[&] { return CurrencyType()->Difference(c1, c3); }, "Currency:-2"},
      {[&] { return CurrencyType()->Product(CurrencyValue(TCurrency{15}), CurrencyValue(TCurrency{5000})); },
       "Currency:0.0008"},  // 0.00075 rounds to even
      {[&] { return CurrencyType()->Quota(c1, c3); }, "Currency:0.3333"},
      {[&] { return CurrencyType()->Quota(c1, c0); }, "Currency:0"},
      {[&] {
         return CurrencyType()->Quota(CurrencyValue(TCurrency{INT64_MAX}), CurrencyValue(TCurrency{1}));
       },
       "Currency:0"},
      {[&] { return PercentType()->Sum(p50, p4); }, "Percent:54"},
      {[&] { return PercentType()->Product(p50, p4); }, "Percent:200"},
      {[&] { return PercentType()->Quota(p50, p4); }, "Percent:12.5"},
      {[&] { return PercentType()->Quota(p50, p0); }, "error: Floating point division by zero"},
      {[&] { return DateTimeType()->Sum(when, span); }, "DateTime:17/03/2023 06:00:00"},
      {[&] { return DateTimeType()->Difference(when, span); }, "DateTime:14/03/2023 06:00:00"},
      {[&] { return DateType()->Sum(when, span); }, "Date:17/03/2023"},
      {[&] { return DateTimeType()->Product(when, span); },
       "error: TDateTimeType.Product: Operation not supported!"},
      {[&] { return DateType()->Quota(when, span); }, "error: TDateTimeType.Quota: Operation not supported!"},
      {[&] { return ObjectType()->Sum(address, address); },
       "error: TPointerType.Sum: Operation not supported!"},
      {[&] { return PointerType()->Difference(address, address); },
       "error: TPointerType.Difference: Operation not supported!"},
      {[&] { return PictureType()->Product(address, address); },
       "error: TPointerType.Product: Operation not supported!"},
      {[&] { return PointerType()->Quota(address, address); },
       "error: TPointerType.Quota: Operation not supported!"},
  };
  for (const auto& c : cases) EXPECT_EQ(Computed(c.operation), c.expected);
}

TEST_F(Arithmetic, NotSupportedIsAPlainErrorNotAConversionError) {
  try {
    BooleanType()->Sum(TrueValue(), TrueValue());
    FAIL();
  } catch (const ETypeConversionError&) {
    FAIL() << "must not be a conversion error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "TBooleanType.Sum: Operation not supported!");
  }
}

TEST_F(Arithmetic, LogicReadsTheSecondOperandOnlyWhenNeeded) {
  const TValue unreadable = DateTimeValue(1);  // raises when read as a boolean
  EXPECT_EQ(ValueAsString(BooleanType()->LogicalAnd(FalseValue(), unreadable)), "F");
  EXPECT_EQ(ValueAsString(BooleanType()->LogicalOr(TrueValue(), unreadable)), "T");
  EXPECT_THROW(BooleanType()->LogicalAnd(TrueValue(), unreadable), ETypeConversionError);
  EXPECT_EQ(ValueAsString(BooleanType()->LogicalAnd(TrueValue(), StringValue("x"))), "T");
  EXPECT_EQ(ValueAsString(BooleanType()->LogicalOr(FalseValue(), FalseValue())), "F");
  // Other kinds answer their default.
  EXPECT_EQ(ValueAsString(IntegerType()->LogicalAnd(OneValue(), OneValue())), "0");
  EXPECT_EQ(ValueAsString(StringType(4, true)->LogicalOr(StringValue("a"), StringValue("b"))), "");
}

TEST_F(Arithmetic, NegationSignEmptinessAndDefaults) {
  EXPECT_EQ(Described(BooleanType()->Negate(TrueValue())), "Boolean:F");
  EXPECT_EQ(Described(IntegerType()->Negate(IntegerValue(INT_MIN))), "Integer:-2147483648");
  EXPECT_EQ(Described(CurrencyType()->Negate(CurrencyValue(TCurrency{15}))), "Currency:-0.0015");
  EXPECT_EQ(Described(PercentType()->Negate(PercentValue(2))), "Percent:-2");
  EXPECT_EQ(Described(DateType()->Negate(DateTimeValue(1.5))), "Date:" + DateToStr(-1));
  EXPECT_EQ(Described(StringType(3, true)->Negate(StringValue("abc"))), "String(3):abc");
  EXPECT_EQ(PointerType()->Negate(NilValue()).DataType, PointerType());

  EXPECT_TRUE(IntegerType()->IsNegative(IntegerValue(-1)));
  EXPECT_FALSE(IntegerType()->IsNegative(ZeroValue()));
  EXPECT_TRUE(DoubleType()->IsNegative(DoubleValue(-0.001)));
  EXPECT_TRUE(CurrencyType()->IsNegative(CurrencyValue(TCurrency{-1})));
  EXPECT_TRUE(PercentType()->IsNegative(PercentValue(-3)));
  EXPECT_FALSE(DateTimeType()->IsNegative(DateTimeValue(-3)));
  EXPECT_FALSE(TimeType()->IsNegative(TimeType()->CreateValue(-3)));

  EXPECT_TRUE(DateTimeType()->IsEmpty(DateTimeValue(0)));
  EXPECT_TRUE(StringDateTimeType()->IsEmpty(DateValue(0.9)));
  EXPECT_FALSE(DateTimeType()->IsEmpty(DateTimeValue(0.5)));
  EXPECT_FALSE(IntegerType()->IsEmpty(ZeroValue()));
  EXPECT_FALSE(BooleanType()->IsEmpty(FalseValue()));
  EXPECT_TRUE(PointerType()->IsEmpty(NilValue()));
  EXPECT_TRUE(ObjectType()->IsEmpty(IntegerValue(0)));
  EXPECT_FALSE(PointerType()->IsEmpty(DoubleValue(0)));  // cannot be read: not empty

  EXPECT_EQ(Described(StringType(8, false)->GetDefaultValue()), "Text(8):");
  EXPECT_EQ(Described(BooleanType()->GetDefaultValue()), "Boolean:F");
  EXPECT_EQ(Described(IntegerType()->GetDefaultValue()), "Integer:0");
  EXPECT_EQ(Described(CurrencyType()->GetDefaultValue()), "Currency:0");
  EXPECT_EQ(Described(PercentType()->GetDefaultValue()), "Percent:0");
  EXPECT_EQ(Described(TimeType()->GetDefaultValue()), "Time:00:00:00");
  EXPECT_EQ(Described(ObjectType()->GetDefaultValue()), "Object:TObject($00000000)");
  EXPECT_NEAR(ValueAsDateTime(DateTimeType()->GetDefaultValue()), Now(), 2.0 / 86400);
  EXPECT_EQ(ValueAsDateTime(DateType()->GetDefaultValue()), Date());
}

}  // namespace
}  // namespace tv
