// Calculated fields on data rows and sub-total rows, their refusals and
// the ready-made ones.

#include <gtest/gtest.h>

#include "data/elements/calc_fields.h"
#include "data/types/data_types.h"
#include "platform/components/class_registry.h"
#include "tests/data/elements/elements_test_support.h"

namespace tv {
namespace {

struct TTable {
  std::unique_ptr<TKeyField> key = test::Key("key", IntegerType());
  std::unique_ptr<TDataField> flag = test::Field("flag", BooleanType());
  std::unique_ptr<TDataField> amount = test::Field("amount", IntegerType());
  std::unique_ptr<TDataTable> table =
      TDataTable::CreateWithFields("", {key.get()}, {flag.get(), amount.get()});
};

TEST(TCalcField, WithoutHandlersReadingAndWritingFail) {
  TTable t;
  TCalcField field(nullptr);
  EXPECT_FALSE(field.CanGenerateValueSQL || field.CanGenerateCondSQL || field.CalcInTable ||
               field.DefaultReadOnly);
  EXPECT_TRUE(field.LegalForSubTotals && field.CalcbeforeAggregating);
  EXPECT_FALSE(field.IsStorable());
  TDataRow row(t.table.get());
  EXPECT_EQ(test::RaisedMessage([&] { row.GetFieldValue(&field); }),
            "TCalcField.CalcValue: Method not implemented!");
  EXPECT_EQ(test::RaisedMessage([&] { row.SetFieldValue(&field, OneValue()); }),
            "TCalcField.DistributeValue: Method not implemented!");
  field.DefaultReadOnly = true;
  EXPECT_EQ(row.SetFieldValue(&field, OneValue()), srReadOnly);
}

TEST(TCalcField, HandlersComputeAndDistribute) {
  TTable t;
  auto doubled = TCalcField::CreateNamed("Doubled_C1", false, false, IntegerType());
  EXPECT_FALSE(doubled->DefaultReadOnly);
  EXPECT_FALSE(doubled->CalcbeforeAggregating);
  doubled->OnCalcValue = [&t](TCalcField&, const TAbstractRow& row) {
    return IntegerValue(2 * row.GetFIntegerValue(t.amount.get()));
  };
  doubled->OnDistributeValue = [&t](TCalcField&, TAbstractRow& row, const TValue& value) {
    return static_cast<TDataRow&>(row).SetFieldValue(t.amount.get(), IntegerValue(ValueAsInteger(value) / 2));
  };
  TDataRow row(t.table.get());
  row.SetFieldValue(t.amount.get(), IntegerValue(21));
  EXPECT_EQ(row.GetFIntegerValue(doubled.get()), 42);
  EXPECT_EQ(row.SetFieldValue(doubled.get(), IntegerValue(10)), srSet);
  EXPECT_EQ(row.GetFIntegerValue(t.amount.get()), 5);

  EXPECT_FALSE(doubled->HasGetValues());
  doubled->OnGetValues = [](TCalcField&, TStrings& results, const TDataTable*, const TAbstractRow*,
                            const TRowCondition*) { results.Add("2"); };
  EXPECT_TRUE(doubled->HasGetValues());
  TStringList values;
  doubled->GetValues(values, nullptr, nullptr, nullptr);
  EXPECT_EQ(values.Count(), 1);
  TList list;
  doubled->AddToList(&list, false);
  EXPECT_EQ(list.Count(), 0);
  doubled->AddToList(&list, true);
  EXPECT_EQ(list.Count(), 1);
}

TEST(TCalcField, InATableItIsStoredUnlessCalcInTable) {
  auto key = test::Key("key", IntegerType());
  auto calc = TCalcField::CreateNamed("Stored_C2", true, false, IntegerType());
  calc->OnCalcValue = [](TCalcField&, const TAbstractRow&) { return IntegerValue(99); };
  auto table = TDataTable::CreateWithFields("", {key.get()}, {calc.get()});
  TDataRow row(table.get());
  EXPECT_EQ(row.GetFIntegerValue(calc.get()), 0);
  calc->CalcInTable = true;
  EXPECT_EQ(row.GetFIntegerValue(calc.get()), 99);
}

TEST(TCalcField, SubTotalRowsAggregateOrComputeByTheFieldsFlags) {
  TTable t;
  auto perRow = TCalcField::CreateNamed("PerRow_C3", true, true, IntegerType());
  perRow->IsAggregable = true;
  perRow->OnCalcValue = [&t](TCalcField&, const TAbstractRow& row) {
    return row.IsDataRow() ? IntegerValue(row.GetFIntegerValue(t.amount.get()) + 1) : IntegerValue(-1);
  };
  TSubTotalRow node(*t.table, 0, t.key.get());
  for (int amount : {10, 20}) {
    auto row = std::make_unique<TDataRow>(t.table.get());
    row->SetFieldValue(t.key.get(), IntegerValue(amount));
    row->SetFieldValue(t.amount.get(), IntegerValue(amount));
    node.AddChild(IntegerValue(amount), std::move(row));
  }
  EXPECT_EQ(ValueAsInteger(node.GetFieldValue(perRow.get())), 32);  // (10 + 1) + (20 + 1)
  perRow->CalcbeforeAggregating = false;
  EXPECT_EQ(ValueAsInteger(node.GetFieldValue(perRow.get())), -1);  // computed on the node
  perRow->IsAggregable = false;
  EXPECT_EQ(ValueAsInteger(node.GetFieldValue(perRow.get())), -1);  // legal for sub-totals
  perRow->LegalForSubTotals = false;
  EXPECT_EQ(ValueAsInteger(node.GetFieldValue(perRow.get())), 0);  // the type's default
}

TEST(ReadyMadeCalcFields, ConstantsHeadersModificationAndBooleanTexts) {
  TTable t;
  auto constant = TConstantField::Create("Constant_C4", StringValue("fixed"));
  EXPECT_EQ(constant->DataType(), StringType(5, true));
  EXPECT_TRUE(constant->IsAggregable);
  EXPECT_TRUE(constant->DefaultReadOnly);
  TDataRow row(t.table.get());
  EXPECT_EQ(row.GetFStringValue(constant.get()), "fixed");
  EXPECT_EQ(row.SetFieldValue(constant.get(), StringValue("other")), srReadOnly);
  TConstantField zero(nullptr);
  EXPECT_EQ(row.GetFStringValue(&zero), "0");
  zero.DefaultReadOnly = false;
  EXPECT_EQ(row.SetFieldValue(&zero, OneValue()), srReadOnly);  // nothing to distribute to

  auto header = THeaderField::Create("Header_C4", StringValue("Title"), 7);
  EXPECT_EQ(header->HeaderTag, 7);
  EXPECT_EQ(row.GetFStringValue(header.get()), "Title");

  auto modified = TRowModifiedField::Create("Modified_C4");
  EXPECT_EQ(modified->DataType(), BooleanType());
  EXPECT_FALSE(row.GetFBooleanValue(modified.get()));
  row.SetState(rsModified);
  EXPECT_TRUE(row.GetFBooleanValue(modified.get()));

  auto text = TBooleanTextField::Create("FlagText_C4", t.flag.get());
  EXPECT_EQ(t.flag->DisplayValues(), TDisplayValues::dvTextOnly);
  EXPECT_EQ(t.flag->DependentChildCount(), 1);
  EXPECT_EQ(t.flag->GetDerivedField(0), text.get());
  EXPECT_EQ(text->DataType(), StringType(5, false));
  EXPECT_EQ(row.GetFStringValue(text.get()), "False");
  row.SetFBooleanValue(t.flag.get(), true);
  EXPECT_EQ(row.GetFStringValue(text.get()), "True");
  text.reset();
  EXPECT_EQ(t.flag->DependentChildCount(), 0);
  EXPECT_EQ(t.flag->DerivedFieldCount(), 0);
}

TEST(ReadyMadeCalcFields, RegisteredForStreamsAndTheDefaultInstance) {
  RegisterCalcFieldClasses();
  EXPECT_NE(FindComponentClass("TCalcField"), nullptr);
  EXPECT_NE(FindComponentClass("TFictiveField"), nullptr);
  EXPECT_NE(FindComponentClass("TClosedField"), nullptr);
  std::unique_ptr<TComponent> made(CreateComponent("TFictiveField", nullptr));
  EXPECT_TRUE(dynamic_cast<TFictiveField*>(made.get()));
  EXPECT_THROW(CreateComponent("TClosedField", nullptr), EAbstractError);
  const TCalcField& standard = DefaultCalcField();
  EXPECT_EQ(&standard, &DefaultCalcField());
  EXPECT_EQ(standard.FieldName(), "");
  EXPECT_EQ(standard.DataType(), BooleanType());
  EXPECT_TRUE(standard.DefaultReadOnly && standard.CalcbeforeAggregating);
}

}  // namespace
}  // namespace tv
