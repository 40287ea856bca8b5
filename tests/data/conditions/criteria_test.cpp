// Criteria: the four states of a criteria field, values and intervals with
// their boundaries, conversion to the field's type, change notices, the set
// operations, row tests and the keyed descent of a traversal.

#include <gtest/gtest.h>

#include "data/conditions/criteria.h"
#include "data/types/data_types.h"
#include "tests/data/conditions/counting_criteria.h"
#include "tests/data/elements/elements_test_support.h"

namespace tv {
namespace {

std::string Entries(const TCriteriaField& field) {
  if (field.AcceptsNone()) return "none";
  if (field.AcceptsAll()) return field.IsUnrestricted() ? "unrestricted" : "all";
  std::string text;
  for (int i = 0; i < field.Count(); ++i) {
    if (i > 0) text += " ";
    text += ValueAsString(field.GetStartValue(i));
    if (field.GetIsInterval(i)) text += ".." + ValueAsString(field.GetEndValue(i));
  }
  return text;
}

TEST(TCriteriaValueList, FindsByStartAndContainsIntervals) {
  auto number = test::Field("n", IntegerType());
  TCriteriaValueList list(number.get());
  EXPECT_EQ(list.Add(IntegerValue(5)), 0);
  list.Add(IntegerValue(1));
  list.AddInterval(IntegerValue(5), IntegerValue(9));
  list.Add(IntegerValue(12));
  EXPECT_EQ(list.Add(IntegerValue(12)), 2);  // present: unchanged
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Capacity(), 16);
  for (const auto& [value, expected] : std::vector<std::pair<int, bool>>{
           {7, true}, {10, false}, {12, true}, {0, false}, {1, true}, {5, true}, {9, true}, {13, false}})
    EXPECT_EQ(list.Contains(IntegerValue(value)), expected) << value;
  int index = -1;
  EXPECT_FALSE(list.Find(IntegerValue(6), index));
  EXPECT_EQ(index, 2);
  list.Put2(2, IntegerValue(15));
  EXPECT_TRUE(list.Contains(IntegerValue(14)));
  list.Delete(0);
  EXPECT_EQ(ValueAsString(list.Get(0)), "5");
  try {
    list.Get2(3);
    FAIL();
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "TCriteriaValueList.Get2: (Index >= 0) and (Index < FCount), Index: 3");
    EXPECT_EQ(e.UnitName(), "Criteria");
  }
  EXPECT_THROW(list.Delete(-1), EAssertionFailed);
  EXPECT_THROW(list.Put2(9, OneValue()), EAssertionFailed);
  EXPECT_THROW(list.Get(9), EStringListError);
  list.Clear();
  EXPECT_EQ(list.Capacity(), 0);
  EXPECT_THROW(TCriteriaValueList(nullptr), EAssertionFailed);
}

TEST(TCriteriaField, FourStatesAndTheirAnswers) {
  auto cls = test::Field("Class", StringType(30, false));
  TCriteriaField field(nullptr, cls.get());
  EXPECT_TRUE(field.IsUnrestricted());
  EXPECT_TRUE(field.AcceptsAll());
  EXPECT_TRUE(field.AcceptsValue(StringValue("anything")));
  field.SetAcceptNone();
  EXPECT_TRUE(field.AcceptsNone());
  EXPECT_FALSE(field.AcceptsAll());
  EXPECT_FALSE(field.AcceptsValue(StringValue("TLabel")));
  field.AddValue("TLabel");
  EXPECT_FALSE(field.AcceptsNone());
  EXPECT_TRUE(field.AcceptsValue(StringValue("tlabel")));  // the field's case-insensitive type
  EXPECT_FALSE(field.AcceptsValue(StringValue("TButton")));
  EXPECT_TRUE(field.HasExactlyOneValue());
  EXPECT_EQ(ValueAsString(field.OnlyValue()), "TLabel");
  field.SetAcceptAll();
  EXPECT_TRUE(field.AcceptsAll());
  EXPECT_FALSE(field.IsUnrestricted());
  field.AddValue("TEdit");  // all allowed already
  EXPECT_EQ(Entries(field), "all");
  EXPECT_FALSE(field.HasExactlyOneValue());
  EXPECT_EQ(test::FatalReport([&] { field.OnlyValue(); }),
            "OnlyValue: TCriteriaField.OnlyValue called when HasExactlyOneValue is False!");
  field.Clear();
  EXPECT_TRUE(field.IsUnrestricted());
  EXPECT_THROW(TCriteriaField(nullptr, nullptr), EAssertionFailed);
}

TEST(TCriteriaField, ValuesConvertToTheFieldsTypeAndIntervalsAbsorbThem) {
  auto number = test::Field("n", IntegerType());
  TCriteriaField field(nullptr, number.get());
  field.AddValue("42");
  EXPECT_EQ(field.GetStartValue(0).DataType, IntegerType());
  EXPECT_TRUE(field.AcceptsValue(IntegerValue(42)));
  EXPECT_THROW(field.AddValue("forty-two"), EConvertError);
  TCriteriaField range(nullptr, number.get());
  range.AddValue(IntegerValue(1));
  range.AddInterval(StringValue("5"), IntegerValue(9));
  range.AddValue(IntegerValue(12));
  EXPECT_EQ(Entries(range), "1 5..9 12");
  for (const auto& [value, expected] :
       std::vector<std::pair<int, bool>>{{7, true}, {10, false}, {12, true}, {0, false}})
    EXPECT_EQ(range.AcceptsValue(IntegerValue(value)), expected) << value;
  range.AddValue(IntegerValue(7));  // inside 5..9: nothing new
  EXPECT_EQ(Entries(range), "1 5..9 12");
  EXPECT_FALSE(range.HasExactlyOneValue());
  TCriteriaField interval(nullptr, number.get());
  interval.AddInterval(IntegerValue(5), IntegerValue(9));
  EXPECT_FALSE(interval.HasExactlyOneValue());  // a single interval is no single value
  try {
    interval.GetSingleValue(0);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "TCriteriaField.GetSingleValue: Tried to get single value from interval");
  }
  EXPECT_FALSE(range.GetIsInterval(0));
  EXPECT_THROW(range.GetStartValue(3), EAssertionFailed);
  try {
    range.GetEndValue(3);
    FAIL();
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "TCriteriaField.GetEndValue: (idx >= 0) and (idx < FValues.Count), idx: 3");
  }
  EXPECT_THROW(range.GetIsInterval(-1), EAssertionFailed);
  EXPECT_THROW(range.GetSingleValue(3), EAssertionFailed);
}

TEST(TCriteriaField, ChangesAreAnnouncedOnceUnlessNoUpdateIsOpen) {
  auto number = test::Field("n", IntegerType());
  TCriteriaField field(nullptr, number.get());
  int changes = 0;
  field.OnChange = [&changes](TCondition&) { ++changes; };
  field.AddValue(IntegerValue(3));
  EXPECT_EQ(changes, 2);            // at EndUpdate and once more
  field.AddValue(IntegerValue(3));  // already listed: unchanged, still announced
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(field.Count(), 1);
  field.BeginUpdate();
  field.AddValue(IntegerValue(4));
  field.SetAcceptNone();
  EXPECT_EQ(changes, 4);
  EXPECT_TRUE(field.ChangePending());
  field.EndUpdate();
  EXPECT_EQ(changes, 5);
  EXPECT_FALSE(field.ChangePending());
  field.EndUpdate();  // unbalanced: the count stays at 0
  EXPECT_EQ(field.UpdateCount(), 0);
}

TEST(TCriteriaField, SetOperations) {
  auto number = test::Field("n", IntegerType());
  auto text = test::Field("t", StringType(10, true));
  auto make = [&](std::initializer_list<std::pair<int, int>> ranges) {
    auto field = std::make_unique<TCriteriaField>(nullptr, number.get());
    field->SetAcceptNone();
    for (const auto& [start, end] : ranges) field->AddInterval(IntegerValue(start), IntegerValue(end));
    return field;
  };
  auto a = make({{1, 1}, {5, 5}, {12, 12}});
  auto b = make({{5, 5}, {7, 7}, {12, 12}});
  a->IntersectWith(b.get());
  EXPECT_EQ(Entries(*a), "5 12");
  auto wide = make({{0, 6}, {10, 20}});
  wide->IntersectWith(make({{4, 11}}).get());
  EXPECT_EQ(Entries(*wide), "4..6 10..11");
  wide->UnionAddFrom(make({{4, 8}}).get());
  EXPECT_EQ(Entries(*wide), "4..8 10..11");
  auto none = make({{1, 1}});
  none->IntersectWith(make({{2, 2}}).get());
  EXPECT_EQ(Entries(*none), "none");
  TCriteriaField all(nullptr, number.get());
  all.IntersectWith(b.get());  // unrestricted: takes the other's values
  EXPECT_EQ(Entries(all), "5 7 12");
  all.UnionAddFrom(make({{1, 1}}).get());
  EXPECT_EQ(Entries(all), "1 5 7 12");
  TCriteriaField everything(nullptr, number.get());
  everything.SetAcceptAll();
  all.UnionAddFrom(&everything);
  EXPECT_EQ(Entries(all), "all");
  TCriteriaField nothing(nullptr, number.get());
  nothing.SetAcceptNone();
  all.IntersectWith(&nothing);
  EXPECT_EQ(Entries(all), "none");
  all.UnionAddFrom(b.get());
  EXPECT_EQ(Entries(all), "5 7 12");

  auto both =
      TCriteriaField::CreateIntersection(nullptr, number.get(), make({{1, 1}, {5, 5}}).get(), b.get());
  EXPECT_EQ(Entries(*both), "5");
  auto copy = TCriteriaField::CreateCopy(nullptr, &nothing);
  EXPECT_EQ(Entries(*copy), "none");
  copy->CopyFrom(b.get());
  EXPECT_EQ(Entries(*copy), "5 7 12");
  TCriteriaField texts(nullptr, text.get());
  EXPECT_THROW(texts.CopyFrom(b.get()), EAssertionFailed);
  EXPECT_THROW(texts.CopyFrom(nullptr), EAssertionFailed);
  EXPECT_THROW(texts.IntersectWith(nullptr), EAssertionFailed);
  EXPECT_THROW(texts.UnionAddFrom(nullptr), EAssertionFailed);
  EXPECT_THROW(TCriteriaField::CreateIntersection(nullptr, nullptr, b.get(), b.get()), EAssertionFailed);
  EXPECT_THROW(TCriteriaField::CreateCopy(nullptr, nullptr), EAssertionFailed);
}

// The rules' table: its text field is the case-insensitive "Class".
struct TRules : test::TLanguageTexts {
  TRules() : TLanguageTexts("", "Class") {}
};

TEST(TCriteria, RowsAreAcceptedWhenEveryRestrictedFieldAgrees) {
  TRules r;
  auto label = r.Row(0, 1, "tlabel"), button = r.Row(1, 2, "TButton");
  TCriteria criteria;
  EXPECT_TRUE(criteria.AcceptsRow(*label));
  criteria.FindCriteriaField(r.text.get(), true);
  EXPECT_TRUE(criteria.AcceptsRow(*button));  // unrestricted field
  EXPECT_FALSE(criteria.HasCriteriaFor(r.text.get()));
  TCriteriaField* cls = criteria.FindCriteriaField(r.text.get(), true);
  EXPECT_EQ(cls->Owner(), &criteria);
  cls->SetAcceptNone();
  EXPECT_FALSE(criteria.AcceptsRow(*label));
  EXPECT_TRUE(criteria.RestrictsField(r.text.get()));
  cls->AddValue("TLabel");
  EXPECT_TRUE(criteria.AcceptsRow(*label));
  EXPECT_FALSE(criteria.AcceptsRow(*button));
  EXPECT_TRUE(criteria.HasCriteriaFor(r.text.get()));
  EXPECT_FALSE(criteria.RestrictsField(r.number.get()));
  EXPECT_EQ(criteria.FindCriteriaField(r.number.get(), false), nullptr);
  EXPECT_EQ(criteria.AcceptsRowByFields(*label), criteria.AcceptsRow(*label));
  EXPECT_THROW(criteria.AcceptsRow(static_cast<const TAbstractRow*>(nullptr)), EAssertionFailed);
  EXPECT_THROW(criteria.FindCriteriaField(nullptr, true), EAssertionFailed);

  auto copy = TCriteria::CreateCopy(&criteria);
  EXPECT_FALSE(copy->AcceptsRow(*button));
  EXPECT_NE(copy->FindCriteriaField(r.text.get()), cls);
  EXPECT_EQ(TCriteria::CreateCopy(nullptr)->Count(), 0);

  TCriteria secondLanguage;
  secondLanguage.FindCriteriaField(r.language.get(), true)->AddValue(IntegerValue(1));
  copy->IntersectWith(secondLanguage);
  EXPECT_FALSE(copy->AcceptsRow(*label));   // language 0
  EXPECT_FALSE(copy->AcceptsRow(*button));  // not a label
  int walked = 0;
  for (TCriteriaFieldIterator it(*copy); !it.AtEnd(); it.Next())
    walked += it.CriteriaField()->Owner() == copy.get();
  EXPECT_EQ(walked, 2);
}

// A small key tree by language, then number: the storage builds the same.
struct TTree {
  TRules r;
  TSubTotalRow root{*r.table, 0, r.language.get()};
  TTree() {
    for (int lang = 0; lang < 3; ++lang) {
      auto node = std::make_unique<TSubTotalRow>(*r.table, 1, r.number.get());
      for (int n = 1; n <= 4; ++n)
        node->AddChild(IntegerValue(n), r.Row(lang, n, n % 2 ? "TLabel" : "TButton"));
      root.AddChild(IntegerValue(lang), std::move(node));
    }
  }
};

using test::TCountingCriteria;

TEST(TCriteria, TraversalDescendsByAFixedFirstKey) {
  TTree tree;
  TCountingCriteria criteria;
  criteria.FindCriteriaField(tree.r.language.get(), true)->AddValue(IntegerValue(1));
  TGetRowsHandler handler(criteria, 1);
  criteria.Traverse(handler, tree.root);
  EXPECT_EQ(handler.Rows().size(), 4u);
  EXPECT_EQ(criteria.tested, 4);  // the other languages' rows were never looked at
  for (TDataRow* row : handler.Rows()) EXPECT_EQ(row->GetFIntegerValue(tree.r.language.get()), 1);

  criteria.tested = 0;
  criteria.FindCriteriaField(tree.r.text.get(), true)->AddValue("TLabel");
  criteria.FindCriteriaField(tree.r.number.get(), true)->AddValue(IntegerValue(3));
  TGetRowsHandler exact(criteria, 1);
  criteria.Traverse(exact, tree.root);
  ASSERT_EQ(exact.Rows().size(), 1u);
  EXPECT_EQ(criteria.tested, 1);
  TGetRowsHandler lastLevelWalked(criteria, 1);
  lastLevelWalked.LastLevelFlag = true;
  criteria.tested = 0;
  criteria.Traverse(lastLevelWalked, tree.root);
  EXPECT_EQ(lastLevelWalked.Rows().size(), 1u);
  EXPECT_EQ(criteria.tested, 4);  // the number level walked in full

  TCountingCriteria missing;
  missing.FindCriteriaField(tree.r.language.get(), true)->AddValue(IntegerValue(7));
  TGetRowsHandler none(missing, 1);
  missing.Traverse(none, tree.root);
  EXPECT_TRUE(none.Rows().empty());
  EXPECT_EQ(missing.tested, 0);
}

TEST(TCriteria, GeneralTraversalVisitsEveryRowInKeyOrder) {
  TTree tree;
  TCountingCriteria labels;
  labels.FindCriteriaField(tree.r.text.get(), true)->AddValue("TLabel");
  TGetRowsHandler handler(labels, 1);
  labels.Traverse(handler, tree.root);
  EXPECT_EQ(labels.tested, 12);
  ASSERT_EQ(handler.Rows().size(), 6u);
  EXPECT_EQ(handler.Rows()[0]->GetFIntegerValue(tree.r.number.get()), 1);
  EXPECT_EQ(handler.Rows()[1]->GetFIntegerValue(tree.r.number.get()), 3);
  EXPECT_EQ(handler.Rows()[2]->GetFIntegerValue(tree.r.language.get()), 1);
  TGetRowsHandler counting(labels, 1, true);
  counting.KeyedDescent = false;
  labels.Traverse(counting, tree.root);
  EXPECT_EQ(counting.Count(), 6);
  EXPECT_TRUE(counting.Rows().empty());
}

TEST(TCondition, UpdatesNestAndAnnounceOnce) {
  TCriteria criteria;
  int changes = 0;
  criteria.OnChange = [&changes](TCondition& sender) {
    EXPECT_EQ(sender.UpdateCount(), 0);
    ++changes;
  };
  criteria.BeginUpdate();
  criteria.BeginUpdate();
  criteria.Changed();
  criteria.EndUpdate();
  EXPECT_EQ(changes, 0);
  criteria.EndUpdate();
  EXPECT_EQ(changes, 1);
  criteria.Changed();
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace tv
