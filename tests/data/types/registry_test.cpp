// The registries: one instance per kind, string types shared by size and
// case sensitivity, the factory, the constant values and the free routines.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "data/types/data_types.h"
#include "tests/data/types/type_test_support.h"

namespace tv {
namespace {

using test::Outcome;

class DataTypeRegistry : public ::testing::Test {
 protected:
  test::TScopedFormatSettings settings_{TFormatSettings{}};
};

std::vector<const TDataType*> StandardTypes() {
  return {ObjectType(),    IntegerType(),  BooleanType(),       DateTimeType(), DateType(),
          TimeType(),      PointerType(),  DoubleType(),        CurrencyType(), PercentType(),
          MemoType(false), MemoType(true), IntegerStringType(), PictureType(),  StringDateTimeType()};
}

TEST_F(DataTypeRegistry, EveryStandardKindIsOneRegisteredInstance) {
  const auto first = StandardTypes();
  EXPECT_EQ(first, StandardTypes());
  EXPECT_EQ(std::set<const TDataType*>(first.begin(), first.end()).size(), first.size());
  EXPECT_EQ(AnyStringType(), MemoType(false));
  EXPECT_FALSE(MemoType(false)->CaseSensitive());
  EXPECT_TRUE(MemoType(true)->CaseSensitive());
  const auto& instances = DataTypeInstances();
  for (const TDataType* type : first)
    EXPECT_EQ(std::count(instances.begin(), instances.end(), type), 1) << type->ClassName();
}

TEST_F(DataTypeRegistry, InstancesJoinTheListOnConstructionAndLeaveItOnDestruction) {
  const TStringType* shared = StringType(7, true);
  const std::size_t before = DataTypeInstances().size();
  {
    TStringType own(7, true);
    EXPECT_EQ(DataTypeInstances().size(), before + 1);
    EXPECT_EQ(DataTypeInstances().back(), &own);
    EXPECT_NE(&own, shared);  // only the lookup hands out shared types
    EXPECT_EQ(StringType(7, true), shared);
  }
  EXPECT_EQ(DataTypeInstances().size(), before);
}

TEST_F(DataTypeRegistry, StringTypesAreSharedPerSizeAndCaseSensitivity) {
  const TStringType* a = StringType(30, false);
  EXPECT_EQ(a, StringType(30, false));
  EXPECT_NE(a, StringType(30, true));
  EXPECT_EQ(a->Size(), 30);
  EXPECT_FALSE(a->CaseSensitive());
  EXPECT_EQ(StringTypeList(false)[30], a);
  EXPECT_EQ(StringType(0, true)->Size(), 0);
  const TStringType* largestDirect = StringType(1024, true);
  EXPECT_EQ(largestDirect, StringTypeList(true)[1024]);
}

TEST_F(DataTypeRegistry, LargeSizesFollowTheDirectPartInOrderOfCreation) {
  const auto& list = StringTypeList(true);
  const std::size_t next = std::max<std::size_t>(list.size(), 1025);
  const TStringType* big = StringType(20000, true);
  const TStringType* smaller = StringType(15000, true);
  ASSERT_EQ(list.size(), next + 2);
  EXPECT_EQ(list[next], big);
  EXPECT_EQ(list[next + 1], smaller);
  EXPECT_EQ(StringType(20000, true), big);
  EXPECT_EQ(list.size(), next + 2);
  for (std::size_t i = 0; i < 1025; ++i)
    if (list[i]) {
      EXPECT_EQ(list[i]->Size(), static_cast<int>(i));
    }
}

TEST_F(DataTypeRegistry, NegativeStringSizeRaisesTheListIndexError) {
  EXPECT_EQ(Outcome([] { return StringType(-1, true)->GetTypeName(); }),
            "error: List index out of bounds (-1)");
  EXPECT_THROW(StringType(-5, false), EListError);
}

TEST_F(DataTypeRegistry, FactoryKnowsEveryClassOnceInNameOrder) {
  const auto names = DataTypeFactory().ClassNames();
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  for (const char* name : {"TBooleanType", "TCurrencyType", "TDateTimeType", "TDateType", "TDoubleType",
                           "TIntegerStringType", "TIntegerType", "TMemoType", "TObjectType", "TPercentType",
                           "TPictureType", "TPointerType", "TStringDateTimeType", "TStringType", "TTimeType"})
    EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
  EXPECT_EQ(names.size(), 15u);
  const TDataTypeClass* found = DataTypeFactory().Find("tintegertype");
  ASSERT_NE(found, nullptr);
  TStringList none;
  EXPECT_EQ(found->CreateFromParams(none), IntegerType());
  EXPECT_EQ(DataTypeFactory().Find("TNumericType"), nullptr);  // abstract, never made
}

TEST_F(DataTypeRegistry, ConstantValues) {
  EXPECT_EQ(ValueAsString(TrueValue()), "T");
  EXPECT_EQ(ValueAsString(FalseValue()), "F");
  EXPECT_EQ(ValueAsString(ZeroValue()), "0");
  EXPECT_EQ(ValueAsString(OneValue()), "1");
  EXPECT_EQ(ValueAsString(NilValue()), "Pointer($00000000)");
  EXPECT_EQ(NilValue().DataType, PointerType());
  EXPECT_EQ(ValueAsString(EmptyStringValue()), "");
  EXPECT_EQ(EmptyStringValue().DataType, StringType(0, true));
  EXPECT_EQ(TrueValue().DataType, BooleanType());
  EXPECT_EQ(OneValue().DataType, IntegerType());
}

TEST_F(DataTypeRegistry, ValueConstructorsUseTheStandardInstances) {
  TObject object;
  const struct {
    TValue value;
    const TDataType* type;
    std::string text;
  } cases[] = {
      {StringValue("abc"), StringType(3, true), "abc"},
      {StringValue(""), StringType(0, true), ""},
      {BooleanValue(true), BooleanType(), "T"},
      {IntegerValue(-42), IntegerType(), "-42"},
      {DoubleValue(2.25), DoubleType(), "2.25"},
      {CurrencyValue(TCurrency{123456}), CurrencyType(), "12.3456"},
      {PercentValue(12.5), PercentType(), "12.5"},
      {DateValue(45000.75), DateType(), DateToStr(45000)},
      {PointerValue(reinterpret_cast<void*>(0xABCDEF)), PointerType(), "Pointer($00ABCDEF)"},
      {ObjectValue(nullptr), ObjectType(), "TObject($00000000)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.value.DataType, c.type) << c.text;
    EXPECT_EQ(ValueAsString(c.value), c.text);
  }
  EXPECT_EQ(ValueAsDateTime(DateValue(45000.75)), 45000.0);
  EXPECT_EQ(ValueAsObject(ObjectValue(&object)), &object);
  EXPECT_TRUE(IntegerValue(5).Text.empty());
}

TEST_F(DataTypeRegistry, AddressesShowAtLeastEightDigitsAndMoreWhenNeeded) {
  if (sizeof(void*) < 8) GTEST_SKIP() << "addresses of this build have eight digits";
  auto* wide = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x1ABCDEF012ull));
  EXPECT_EQ(ValueAsString(PointerValue(wide)), "Pointer($1ABCDEF012)");
}

TEST_F(DataTypeRegistry, AnyTypeConvertsAValueTheWayItsOwnTypeReadsIt) {
  EXPECT_EQ(IntegerType()->GetAsString(BooleanValue(true)), "T");
  EXPECT_EQ(BooleanType()->GetAsString(IntegerValue(7)), "7");
  EXPECT_EQ(StringType(2, false)->GetAsString(StringValue("longer")), "longer");
  EXPECT_EQ(PointerType()->GetAsDouble(IntegerValue(3)), 3.0);
  EXPECT_EQ(DateType()->GetAsTime(DateTimeValue(1.25)), 1.25);  // the date-time keeps its time
  // The same holds for every type and every conversion.
  const TValue samples[] = {StringValue("12"), BooleanValue(true), IntegerValue(9), DoubleValue(0.5)};
  for (const TDataType* asker : StandardTypes())
    for (const TValue& v : samples) {
      EXPECT_EQ(Outcome([&] { return asker->GetAsString(v); }), Outcome([&] { return ValueAsString(v); }));
      EXPECT_EQ(Outcome([&] { return test::Text(asker->GetAsDouble(v)); }),
                Outcome([&] { return test::Text(ValueAsDouble(v)); }));
      EXPECT_EQ(Outcome([&] { return test::Text(asker->GetAsBoolean(v)); }),
                Outcome([&] { return test::Text(ValueAsBoolean(v)); }));
    }
}

TEST_F(DataTypeRegistry, AValueWithoutTypeIsAProgrammingError) {
  const TValue blank;
  EXPECT_THROW(ValueAsString(blank), EAssertionFailed);
  EXPECT_THROW(IntegerType()->GetAsInteger(blank), EAssertionFailed);
}

TEST_F(DataTypeRegistry, ConvertToTypeCopiesUnlessAnotherTypeIsAsked) {
  const TValue text = StringValue("abcdef");
  EXPECT_EQ(ConvertToType(nullptr, text).DataType, text.DataType);
  EXPECT_EQ(ConvertToType(text.DataType, text).Text, "abcdef");
  const TValue cut = ConvertToType(StringType(3, false), text);
  EXPECT_EQ(cut.DataType, StringType(3, false));
  EXPECT_EQ(cut.Text, "abc");
  EXPECT_EQ(ValueAsInteger(ConvertToType(IntegerType(), StringValue(" 42 "))), 42);
}

TEST_F(DataTypeRegistry, EqualityGoesThroughCompareAndTiesPickAForMaxAndBForMin) {
  const TStringType* folding = StringType(5, false);
  const TValue upper = folding->CreateValue("ABC"), lower = folding->CreateValue("abc");
  EXPECT_TRUE(ValuesEqual(*folding, upper, lower));
  EXPECT_FALSE(folding->Equals(upper, lower));
  EXPECT_EQ(MaxValue(*folding, upper, lower).Text, "ABC");
  EXPECT_EQ(MinValue(*folding, upper, lower).Text, "abc");
  EXPECT_EQ(ValueAsInteger(MaxValue(*IntegerType(), IntegerValue(1), IntegerValue(2))), 2);
  EXPECT_EQ(ValueAsInteger(MinValue(*IntegerType(), IntegerValue(1), IntegerValue(2))), 1);
}

TEST_F(DataTypeRegistry, RoundingHalfAwayAndTiesToEven) {
  EXPECT_EQ(RoundHalfAway(2.5), 3);
  EXPECT_EQ(RoundHalfAway(-2.5), -3);
  EXPECT_EQ(RoundHalfAway(2.4999), 2);
  EXPECT_EQ(RoundHalfAway(-0.4), 0);
  EXPECT_THROW(RoundHalfAway(1e30), EInvalidOp);
  EXPECT_THROW(RoundHalfAway(std::nan("")), EInvalidOp);
  EXPECT_EQ(RoundToEven(0.5L), 0);
  EXPECT_EQ(RoundToEven(1.5L), 2);
  EXPECT_EQ(RoundToEven(-2.5L), -2);
  EXPECT_EQ(RoundToEven(-2.6L), -3);
  // The base currency reading: 0.00005 is half a ten-thousandth.
  EXPECT_EQ(ValueAsCurrency(DoubleValue(0.00005)), TCurrency{0});
  EXPECT_EQ(ValueAsCurrency(DoubleValue(0.00025)), TCurrency{2});
  EXPECT_EQ(ValueAsCurrency(DoubleValue(0.00035)), TCurrency{4});
  EXPECT_EQ(ValueAsInteger(DoubleValue(2.5)), 3);
  EXPECT_EQ(ValueAsInteger(DoubleValue(-2.5)), -3);
}

}  // namespace
}  // namespace tv
