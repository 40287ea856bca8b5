// Value lists: conversion on every store, the sorted order of the list's
// type, duplicates, growth, the platform's list errors, and many entries.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "data/types/data_types.h"
#include "data/types/value_list.h"
#include "tests/data/types/type_test_support.h"

namespace tv {
namespace {

using test::Outcome;

std::vector<std::string> Values(const TValueList& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.Count(); ++i) texts.push_back(ValueAsString(list.GetValueAt(i)));
  return texts;
}

using Texts = std::vector<std::string>;

TEST(TValueList, SortedIntegerListIgnoresDuplicatesByValue) {
  TValueList list(IntegerType());
  list.SetSorted(true);
  EXPECT_EQ(list.Add("10"), 0);
  EXPECT_EQ(list.Add("9"), 0);
  EXPECT_EQ(list.Add("10"), 1);
  EXPECT_EQ(Values(list), (Texts{"9", "10"}));
  EXPECT_EQ(list.GetValueAt(0).DataType, IntegerType());  // stored converted
  EXPECT_EQ(list.Strings(1), "10");
  EXPECT_EQ(list.AddValue(StringValue(" 010")), 1);
  EXPECT_EQ(list.Count(), 2);
}

TEST(TValueList, AcceptedDuplicatesAreFoundAtTheFirst) {
  TValueList list(IntegerType());
  list.SetSorted(true);
  list.SetDuplicates(TDuplicates::dupAccept);
  TObject a, b, c;
  list.AddValueObject("a", IntegerValue(5), &a);
  list.AddValueObject("b", IntegerValue(5), &b);
  list.AddValueObject("c", IntegerValue(5), &c);
  list.AddValue(IntegerValue(1));
  EXPECT_EQ(list.Count(), 4);
  int index = -1;
  EXPECT_TRUE(list.Find(IntegerValue(5), index));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(list.Objects(1), &c);  // each new equal entry goes first among the equal ones
  EXPECT_FALSE(list.Find(IntegerValue(3), index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(list.Find(IntegerValue(9), index));
  EXPECT_EQ(index, 4);
}

TEST(TValueList, DuplicateErrorLeavesTheListAsItWas) {
  TValueList list(StringType(10, false));
  list.SetSorted(true);
  list.SetDuplicates(TDuplicates::dupError);
  list.Add("abc");
  EXPECT_EQ(Outcome([&] { return std::to_string(list.Add("ABC")); }),
            "error: String list does not allow duplicates");
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.IndexOfValue(StringValue("ABC")), 0);  // case-insensitive type
  TValueList exact(StringType(10, true));
  exact.Add("abc");
  EXPECT_EQ(exact.IndexOfValue(StringValue("ABC")), -1);
}

TEST(TValueList, FindAndSortNeedWhatTheyNeed) {
  TValueList list(IntegerType());
  int index = 0;
  EXPECT_EQ(Outcome([&] { return test::Text(list.Find(OneValue(), index)); }),
            "error: TValueList.Find: Shouldn't use Find if list isn't sorted!");
  TValueList untyped(nullptr);
  untyped.AddValue(DoubleValue(2.5));
  untyped.AddValue(StringValue("x"));
  EXPECT_EQ(untyped.GetValueAt(0).DataType, DoubleType());  // kept unconverted
  EXPECT_EQ(untyped.IndexOfValue(StringValue("x")), 1);
  EXPECT_EQ(Outcome([&] {
              untyped.SetSorted(true);
              return std::string("sorted");
            }),
            "error: Cannot sort a list with unspecified datatype!");
  EXPECT_FALSE(untyped.Sorted());
}

TEST(TValueList, SortingOrdersByTheTypeNotByText) {
  TValueList list(IntegerType());
  for (const char* text : {"10", "9", "-3", "100", "9"}) list.Add(text);
  EXPECT_EQ(list.IndexOfValue(IntegerValue(9)), 1);
  list.SetSorted(true);
  EXPECT_EQ(Values(list), (Texts{"-3", "9", "9", "10", "100"}));
  list.SetSorted(false);
  list.Exchange(0, 4);
  EXPECT_EQ(Values(list), (Texts{"100", "9", "9", "10", "-3"}));
  list.Sort();
  EXPECT_EQ(Values(list), (Texts{"-3", "9", "9", "10", "100"}));
  EXPECT_EQ(list.Strings(0), "-3");  // texts travel with their values
}

TEST(TValueList, PositionsAreCheckedAndSortedListsRefusePlacing) {
  TValueList list(IntegerType());
  list.Add("1");
  EXPECT_EQ(Outcome([&] { return ValueAsString(list.GetValueAt(1)); }),
            "error: List index out of bounds (1)");
  EXPECT_EQ(Outcome([&] {
              list.Delete(-1);
              return std::string();
            }),
            "error: List index out of bounds (-1)");
  EXPECT_EQ(Outcome([&] {
              list.Insert(2, "5");
              return std::string();
            }),
            "error: List index out of bounds (2)");
  EXPECT_THROW(list.Exchange(0, 1), EStringListError);
  list.Insert(1, "7");
  list.PutValue(0, DoubleValue(2.6));
  EXPECT_EQ(Values(list), (Texts{"3", "7"}));
  list.Put(0, "three");
  EXPECT_EQ(ValueAsString(list.GetValueAt(0)), "3");  // the text alone changes
  list.SetSorted(true);
  EXPECT_EQ(Outcome([&] {
              list.Insert(0, "1");
              return std::string();
            }),
            "error: Operation not allowed on sorted list");
  EXPECT_EQ(Outcome([&] {
              list.PutValue(0, OneValue());
              return std::string();
            }),
            "error: Operation not allowed on sorted list");
  EXPECT_EQ(Values(list), (Texts{"3", "7"}));
}

TEST(TValueList, CapacityGrowsTo16ThenDoubles) {
  TValueList list(IntegerType());
  EXPECT_EQ(list.Capacity(), 0);
  list.AddValue(OneValue());
  EXPECT_EQ(list.Capacity(), 16);
  for (int i = 1; i < 16; ++i) list.AddValue(IntegerValue(i));
  EXPECT_EQ(list.Capacity(), 16);
  list.AddValue(ZeroValue());
  EXPECT_EQ(list.Capacity(), 32);
  EXPECT_THROW(list.SetCapacity(3), EListError);
  list.SetCapacity(100);
  EXPECT_EQ(list.Capacity(), 100);
}

TEST(TValueList, AssignTakesValuesOrTextsUnderTheTargetsRules) {
  TValueList source(DoubleType());
  TObject marker;
  source.AddValueObject("first", DoubleValue(2.5), &marker);
  source.AddValueObject("second", DoubleValue(1.4), nullptr);
  TValueList target(IntegerType());
  target.SetSorted(true);
  target.Add("99");
  target.Assign(source);
  EXPECT_EQ(Values(target), (Texts{"1", "3"}));
  EXPECT_EQ(target.Strings(1), "first");
  EXPECT_EQ(target.Objects(1), &marker);

  TStringList plain;
  plain.Add("4");
  plain.Add("4");
  target.SetDuplicates(TDuplicates::dupError);
  EXPECT_THROW(target.Assign(plain), EStringListError);
  EXPECT_EQ(Values(target), (Texts{"1", "3"}));  // unchanged by the failed assignment
  target.SetDuplicates(TDuplicates::dupIgnore);
  target.Assign(plain);
  EXPECT_EQ(Values(target), (Texts{"4"}));
  EXPECT_EQ(target.GetValueAt(0).DataType, IntegerType());
}

// Many entries cross the list's internal blocks: every operation must agree
// with a plain sorted array.
TEST(TValueList, ManyEntriesAgreeWithAPlainSortedArray) {
  TValueList list(IntegerType());
  list.SetSorted(true);
  list.SetDuplicates(TDuplicates::dupAccept);
  std::vector<int> model;
  std::mt19937 random(3);
  // Rising values with repeats first (each new one compared with the last
  // only, each repeat placed first among its equals), then any order.
  for (int i = 0; i < 3600; ++i) {
    const int n = i < 600 ? i / 3 : static_cast<int>(random() % 500);
    const int at = list.AddValue(IntegerValue(n));
    const auto place = std::lower_bound(model.begin(), model.end(), n);
    ASSERT_EQ(at, place - model.begin());
    model.insert(place, n);
  }
  for (int i = 0; i < 1600; ++i) {
    const int at = static_cast<int>(random() % model.size());
    list.Delete(at);
    model.erase(model.begin() + at);
  }
  ASSERT_EQ(list.Count(), static_cast<int>(model.size()));
  for (int i = 0; i < list.Count(); ++i)
    ASSERT_EQ(ValueAsInteger(list.GetValueAt(i)), model[static_cast<std::size_t>(i)]);
  for (int n = -1; n <= 500; ++n) {
    int index = -1;
    const bool found = list.Find(IntegerValue(n), index);
    const auto place = std::lower_bound(model.begin(), model.end(), n);
    ASSERT_EQ(found, place != model.end() && *place == n) << n;
    ASSERT_EQ(index, place - model.begin()) << n;
  }
  // Emptied from the front across its blocks down to none, then filled again.
  while (list.Count() > 0) list.Delete(0);
  for (int n : {3, 1, 2}) list.AddValue(IntegerValue(n));
  EXPECT_EQ(Values(list), (Texts{"1", "2", "3"}));
  list.Clear();
  for (int n : model) list.AddValue(IntegerValue(n));
  list.SetSorted(false);
  std::shuffle(model.begin(), model.end(), random);
  for (std::size_t i = 0; i < model.size(); ++i) list.PutValue(static_cast<int>(i), IntegerValue(model[i]));
  list.Sort();
  std::sort(model.begin(), model.end());
  for (int i = 0; i < list.Count(); ++i)
    ASSERT_EQ(ValueAsInteger(list.GetValueAt(i)), model[static_cast<std::size_t>(i)]);
}

}  // namespace
}  // namespace tv
