// Fields: defaults of each kind, named creation, the registry and the names
// that follow a rename, per-language descriptions and fields, running
// numbers, field sets, singletons and their language rules.

#include <gtest/gtest.h>

#include "data/types/data_types.h"
#include "platform/components/properties.h"
#include "tests/data/elements/elements_test_support.h"

namespace tv {
namespace {

using test::FatalReport;

TEST(TDataField, DefaultsOfAComponentField) {
  TDataField field(nullptr);
  EXPECT_EQ(field.DataType(), StringType(30, false));
  EXPECT_EQ(field.DisplayWidth(), -1);
  EXPECT_EQ(field.DisplayValues(), TDisplayValues::dvKeyAndText);  // resolved for a string type
  EXPECT_FALSE(field.IsAggregable || field.HasCombo || field.AllowSelections || field.IsReportable ||
               field.DisableIntervals || field.DefaultReadOnly);
  EXPECT_TRUE(field.CanGenerateCondSQL && field.CanGenerateValueSQL);
  EXPECT_EQ(field.RefillType, TRefillType::rtDependentChange);
  EXPECT_EQ(field.SortOrder, TSortOrder::soAscending);
  EXPECT_EQ(field.SortField(), &field);
  EXPECT_EQ(field.LookupField(), &field);
  EXPECT_EQ(field.Criteria(), nullptr);
  EXPECT_FALSE(field.IsRunningNumber());
  EXPECT_TRUE(field.IsStorable());
  EXPECT_EQ(GetEnumProp(field, "RefillType"), "rtDependentChange");
  EXPECT_EQ(GetEnumProp(field, "DisplayValues"), "dvKeyAndText");
  EXPECT_EQ(GetOrdProp(field, "IsRunningNumber"), 0);
}

TEST(TDataField, CreateNamedTakesItsSettingsFromTheType) {
  auto amount = TDataField::CreateNamed("Amount_F1", CurrencyType());
  EXPECT_EQ(amount->FieldName(), "Amount_F1");
  EXPECT_TRUE(amount->IsAggregable);
  EXPECT_EQ(amount->DisplayWidth(), 16);
  EXPECT_EQ(amount->DisplayValues(), TDisplayValues::dvKeyOnly);
  EXPECT_EQ(amount->Description(0), "Amount_F1");
  EXPECT_EQ(amount->LongDescription(2), "Amount_F1");
  EXPECT_EQ(FindRegisteredField("amount_f1"), amount.get());
  EXPECT_EQ(GetStrProp(*amount, "FieldName"), "Amount_F1");

  auto key = TKeyField::CreateNamed("LangKey_F1", IntegerType());
  EXPECT_FALSE(key->IsAggregable);
  EXPECT_FALSE(key->HasCombo);
  EXPECT_TRUE(key->AllowSelections && key->IsReportable);
  EXPECT_EQ(key->DisplayValues(), TDisplayValues::dvKeyOnly);
  EXPECT_EQ(key->DisplayWidth(), 4 + 25);
  auto shown =
      TKeyField::CreateNamed("Shown_F1", StringType(10, true), nullptr, 7, TDisplayValues::dvTextOnly, true);
  EXPECT_EQ(shown->DisplayWidth(), 7);
  EXPECT_EQ(shown->DisplayValues(), TDisplayValues::dvTextOnly);
  EXPECT_TRUE(shown->HasCombo);

  TKeyField component(nullptr);
  EXPECT_TRUE(component.HasCombo && component.AllowSelections && component.IsReportable);
  EXPECT_FALSE(component.IsAggregable);
  EXPECT_EQ(component.DisplayWidth(), -1);
}

TEST(TDataField, RenamingMovesTheRegistryEntryAndTheDescriptionDefaults) {
  test::TRecordedReports reports;
  auto field = TDataField::CreateNamed("Old_F2", IntegerType());
  field->SetDescriptions({"Alt"});
  field->SetFieldName("New_F2");
  EXPECT_EQ(FindRegisteredField("Old_F2"), nullptr);
  EXPECT_EQ(FindRegisteredField("New_F2"), field.get());
  EXPECT_EQ(field->Descriptions().DefaultText(), "New_F2");
  EXPECT_EQ(field->Description(0), "Alt");
  field->Descriptions().SetDefaultText("Custom");
  field->SetFieldName("Newer_F2");
  EXPECT_EQ(field->Descriptions().DefaultText(), "Custom");  // did not follow the name
  EXPECT_EQ(field->LongDescriptions().DefaultText(), "Newer_F2");

  auto twin = TDataField::CreateNamed("NEWER_F2", IntegerType());
  ASSERT_EQ(reports.Reports().size(), 1u);
  EXPECT_EQ(reports.Reports()[0].Severity, desWarning);
  EXPECT_EQ(reports.Reports()[0].Category, "Duplicates");
  EXPECT_EQ(reports.Reports()[0].Message, "Duplicate fields: NEWER_F2");
  EXPECT_EQ(twin->FieldName(), "NEWER_F2");  // usable, but the registry keeps the first
  EXPECT_EQ(FindRegisteredField("Newer_F2"), field.get());
  field.reset();
  EXPECT_EQ(FindRegisteredField("Newer_F2"), nullptr);
}

TEST(TDataField, FieldNamesFollowComponentNamesWithoutThePrefix) {
  TSingletons container(nullptr);
  container.SetFieldPrefix("fld");
  auto* field = new TDataField(&container);
  field->SetName("fldCaption_F3");
  EXPECT_EQ(field->FieldName(), "Caption_F3");  // "" followed, without the prefix
  field->SetName("fldTitle_F3");
  EXPECT_EQ(field->FieldName(), "Title_F3");
  field->SetFieldName("Own_F3");
  field->SetName("fldOther_F3");
  EXPECT_EQ(field->FieldName(), "Own_F3");  // a name of its own stays
  EXPECT_EQ(field->Singletons(), &container);
}

TEST(TDataField, TypeChangesAreStamped) {
  TDataField field(nullptr);
  EXPECT_EQ(field.ChangedAt(), 0);
  field.SetDataType(StringType(30, false));  // the same type: no change
  EXPECT_EQ(field.ChangedAt(), 0);
  field.SetDataType(IntegerType());
  EXPECT_NEAR(field.ChangedAt(), Now(), 2.0 / 86400);
  EXPECT_EQ(field.CreatedBy(), field.ChangedBy());
  EXPECT_FALSE(field.ChangedBy().empty());
}

TEST(TDataField, PerLanguageFieldsFallBackAndTheLongTextFallsBackToTheText) {
  auto key = test::Key("lang");
  auto de = test::Field("de"), en = test::Field("en"), deLong = test::Field("deLong");
  EXPECT_EQ(key->TextFields().Field(1), nullptr);
  EXPECT_EQ(key->LongTextFields().Field(0), nullptr);
  key->SetLanguageFields(0, de.get(), nullptr);
  key->SetLanguageFields(1, en.get(), nullptr);
  EXPECT_EQ(key->TextFields().Field(1), en.get());
  EXPECT_EQ(key->TextFields().Field(4), de.get());
  EXPECT_EQ(key->LongTextFields().Field(1), nullptr);  // entries exist, empty
  auto other = test::Key("other");
  other->TextFields().SetField(0, de.get());
  EXPECT_EQ(other->LongTextFields().Field(0),
            de.get());  // empty array: the text field of the current language
  other->LongTextFields().SetField(0, deLong.get());
  EXPECT_EQ(other->LongTextFields().Field(3), deLong.get());
}

TEST(TDataField, DependentAndDerivedFieldsAndTheirChecks) {
  auto key = test::Key("key");
  auto child = test::Field("child"), derived = test::Field("derived");
  key->AddDependentChild(child.get());
  key->AddDependentChild(child.get());
  EXPECT_EQ(key->DependentChildCount(), 1);
  EXPECT_EQ(key->GetDependentChild(0), child.get());
  EXPECT_THROW(key->GetDependentChild(1), EAssertionFailed);
  try {
    key->GetDerivedField(0);
    FAIL();
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "TKeyField.GetDerivedField: (idx >= 0) and (idx < FDerivedFields.Count), idx: 0");
    EXPECT_EQ(e.UnitName(), "DataElements");
  }
  EXPECT_THROW(key->GetDependentField(-1), EAssertionFailed);
  key->RemoveDependentChild(child.get());
  EXPECT_EQ(key->DependentChildCount(), 0);

  derived->SetDerivedFrom(key.get());
  EXPECT_EQ(key->DerivedFieldCount(), 1);
  EXPECT_EQ(derived->DerivedFrom(), key.get());
  key.reset();  // the derived field's link falls back to itself
  EXPECT_EQ(derived->DerivedFrom(), derived.get());
}

TEST(TDataField, AuxTablesMustHaveTheFieldAsKey) {
  auto key = test::Key("code");
  auto text = test::Field("text");
  auto aux = TDataTable::CreateWithFields("", {key.get()}, {text.get()});
  aux->SetTableName("Aux_F4");
  EXPECT_EQ(FatalReport([&] { text->SetAuxTable(aux.get()); }),
            "SetAuxTable: Aux_F4 doesn't have " + text->FieldName() + " as a key!");
  key->SetAuxTable(aux.get());
  EXPECT_EQ(key->AuxTable(), aux.get());
  EXPECT_EQ(key->DependentFieldCount(), 1);
  EXPECT_EQ(key->GetDependentField(0), text.get());
  TList list;
  key->AddToList(&list, false);
  EXPECT_EQ(list.Items(0), key.get());
  EXPECT_THROW(key->AddToList(nullptr, false), EAssertionFailed);
  EXPECT_THROW(key->GetRows(nullptr, nullptr), EAssertionFailed);
  key->SetAuxTable(nullptr);
}

TEST(TDataField, AFieldWithoutPlaceInTheRowRefusesValues) {
  auto key = test::Key("k", IntegerType());
  auto outside = test::Field("outside");
  auto table = TDataTable::CreateWithFields("", {key.get()}, {});
  TDataRow row(table.get());
  try {
    outside->SetValue(row, StringValue("x"), saRefuse);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot set value x to Row [0], Field " + outside->FieldName());
  }
  EXPECT_EQ(ValueAsString(row.GetFieldValue(outside.get())), "");  // computed: the type's default
  EXPECT_EQ(IndexOfField(nullptr, key.get()), -1);
  EXPECT_EQ(IndexOfField(&row, key.get()), 0);
  EXPECT_THROW(row.IndexOfField(nullptr), EAssertionFailed);
}

TEST(TRunningNumberField, NumbersAreNegativeUntilAssigned) {
  auto number = TRunningNumberField::CreateNamed("Number_F5");
  EXPECT_TRUE(number->IsRunningNumber());
  EXPECT_FALSE(number->IsAggregable);
  EXPECT_EQ(number->DataType(), IntegerType());
  const TRunningNumberGenerator& generator = number->Generator();
  EXPECT_EQ(generator.NextNumber({}), -1);
  EXPECT_EQ(generator.NextNumber({5, 3}), -1);
  EXPECT_EQ(generator.NextNumber({4, -1, -3}), -4);
  auto data = test::Field("data");
  auto table = TDataTable::CreateWithFields("", {number.get()}, {data.get()});
  EXPECT_EQ(table->RunningNumberField(), number.get());
  TDataRow row(table.get());
  EXPECT_TRUE(generator.NeedsNumber(row, *number));
  EXPECT_EQ(TDataTable::CreateCopy(table.get())->RunningNumberField(), number.get());
}

TEST(TDataFieldSet, SetsHoldFieldsOnceAndAMissingSetHoldsAll) {
  auto a = test::Field("a"), b = test::Field("b"), c = test::Field("c");
  auto table = TDataTable::CreateWithFields("", {a.get()}, {b.get()});
  TDataFieldSet set(*table);
  EXPECT_EQ(set.Count(), 2);
  set.Add(a.get());
  EXPECT_EQ(set.Count(), 2);
  EXPECT_TRUE(set.ContainsFieldAt(*table, 1));
  TDataFieldSet other;
  other.Add(c.get());
  other.UnionWith(set);
  EXPECT_EQ(other.Count(), 3);
  set.Assign(set);
  EXPECT_EQ(set.Count(), 2);
  set.Assign(other);
  EXPECT_TRUE(set.Contains(c.get()));
  int visited = 0;
  for (TDataFieldSetIterator it(&set); !it.AtEnd(); it.Next()) visited += it.Current() != nullptr;
  EXPECT_EQ(visited, 3);
  EXPECT_TRUE(TDataFieldSetIterator(nullptr).AtEnd());
  EXPECT_TRUE(SetContains(nullptr, c.get()));
  EXPECT_TRUE(SetContainsFieldAt(nullptr, *table, 0));
  EXPECT_FALSE(SetContains(&other, nullptr));
}

TEST(TSingletons, LanguageCountAndIndexRules) {
  TSingletons container(nullptr);
  EXPECT_EQ(container.LanguageCount(), 1);
  EXPECT_EQ(container.LanguageIndex(), 0);
  container.SetLanguageCount(5);
  container.SetLanguageIndex(3);
  container.SetLanguageCount(2);
  EXPECT_EQ(container.LanguageIndex(), 1);
  EXPECT_EQ(test::RaisedMessage([&] { container.SetLanguageCount(0); }),
            "TSingletons.SetLanguageCount: LanguageCount has to be at least 1!");
  EXPECT_EQ(test::RaisedMessage([&] { container.SetLanguageIndex(-1); }),
            "LanguageIndex can not be less than 0");
  EXPECT_EQ(test::RaisedMessage([&] { container.SetLanguageIndex(2); }),
            "LanguageIndex must be less than LanguageCount");
  EXPECT_EQ(container.LanguageCount(), 2);
  EXPECT_EQ(LanguageCountOf(nullptr), 3);
  EXPECT_EQ(LanguageIndexOf(nullptr), CurrentLanguageIndex());
  EXPECT_EQ(LanguageIndexOf(&container), 1);
  EXPECT_EQ(container.Items(), TSingletons(nullptr).Items());
  EXPECT_EQ(GetOrdProp(container, "LanguageCount"), 2);
  SetOrdProp(container, "LanguageIndex", 0);
  EXPECT_EQ(container.LanguageIndex(), 0);
}

TEST(ReportDataError, WarningsOnlyTellTheHookFatalReportsRaise) {
  test::TRecordedReports reports;
  ReportDataError(desWarning, "Lookup", "just so you know");
  EXPECT_EQ(FatalReport([] { ReportDataError(desFatal, "KeyUpdate", "stop"); }), "KeyUpdate: stop");
  ASSERT_EQ(reports.Reports().size(), 2u);
  EXPECT_EQ(reports.Reports()[0].Message, "just so you know");
  EXPECT_EQ(reports.Reports()[1].Severity, desFatal);
}

}  // namespace
}  // namespace tv
