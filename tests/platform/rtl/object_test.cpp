#include "platform/rtl/object.h"

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"

namespace tv {
namespace {

class TAnimal : public TObject {
  TV_CLASS(TAnimal, TObject)
};
class TDog : public TAnimal {
  TV_CLASS(TDog, TAnimal)
};

TEST(ClassInfo, NamesParentsAndAncestryFollowTheClassChain) {
  TDog dog;
  const TObject& asObject = dog;
  EXPECT_EQ(asObject.ClassName(), "TDog");
  EXPECT_EQ(asObject.ClassParent(), &TAnimal::StaticClassInfo());
  EXPECT_TRUE(asObject.InheritsFrom(TAnimal::StaticClassInfo()));
  EXPECT_TRUE(asObject.InheritsFrom(TObject::StaticClassInfo()));
  EXPECT_TRUE(asObject.InheritsFrom("tanimal"));
  EXPECT_FALSE(TAnimal().InheritsFrom(TDog::StaticClassInfo()));
  EXPECT_FALSE(asObject.InheritsFrom("TCat"));
  EXPECT_EQ(asObject.ClassInfo().Ancestors(), (std::vector<std::string>{"TDog", "TAnimal", "TObject"}));
  EXPECT_EQ(TObject().ClassParent(), nullptr);
}

TEST(Require, RaisesWithMessageUnitAndTheCallersLine) {
  EXPECT_NO_THROW(Require(true, "never", "Unit"));
  const std::uint32_t line = __LINE__ + 2;
  try {
    Require(false, "TDataTable.AddField: Field <> nil", "DataElements");
    FAIL() << "no error raised";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "TDataTable.AddField: Field <> nil");
    EXPECT_EQ(e.UnitName(), "DataElements");
    EXPECT_EQ(e.Line(), line);
  }
}

TEST(Exceptions, FixedMessagesAndOneRoot) {
  EXPECT_STREQ(EDivByZero().what(), "Division by zero");
  EXPECT_STREQ(EZeroDivide().what(), "Floating point division by zero");
  EXPECT_STREQ(EAbstractError().what(), "Abstract Error");
  EXPECT_STREQ(EReadError().what(), "Invalid property value");
  EXPECT_EQ(ListIndexErrorText(-1), "List index out of bounds (-1)");
  EXPECT_THROW(throw EStringListError(kDuplicateStringText), EListError);
  EXPECT_THROW(throw EConvertError("x"), Exception);
}

}  // namespace
}  // namespace tv
