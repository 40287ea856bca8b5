// Rows: blank values, typed access, copies and their refusals, long memo
// texts, fictive and running-number fields, key changes inside a storage,
// deletion, defaults, merging and acceptance.

#include <gtest/gtest.h>

#include <algorithm>

#include "data/elements/calc_fields.h"
#include "data/types/data_types.h"
#include "tests/data/elements/elements_test_support.h"

namespace tv {
namespace {

using test::FatalReport;

// A storage of rows unique by their first key, enough for the row side of a
// key change; the row storage proper implements the same link.
class TFakeStorage : public TRowStorageLink {
 public:
  explicit TFakeStorage(const TDataTable& table) : table_(table) {}
  ~TFakeStorage() override {
    for (TDataRow* row : owned_) delete row;
  }
  // Takes Row in as an accepted row.
  TDataRow& Adopt(std::unique_ptr<TDataRow> row) {
    row->SetStorage(this);
    TDataRow& kept = *row.release();
    owned_.push_back(&kept);
    tree_.push_back(&kept);
    kept.SetState(rsAccepted);
    return kept;
  }
  std::unique_ptr<TDataRow> NewRow() override { return std::make_unique<TDataRow>(&table_); }
  TSetResult ChangeKey(TDataRow&, int idx, const TValue&, TSetAction) override {
    keyChanges_.push_back(idx);
    return srSet;
  }
  void TakeOver(std::unique_ptr<TDataRow> row) override {
    row->SetStorage(this);
    owned_.push_back(row.release());
  }
  void TakeOut(TAbstractRow& row) override { std::erase(tree_, &row); }
  TPutResult PutRow(TDataRow& row, TPutAction putAction) override {
    row.SetStorage(this);
    if (std::find(owned_.begin(), owned_.end(), &row) == owned_.end()) owned_.push_back(&row);
    if (putAction != paInternalRestore) {
      for (TDataRow* other : tree_)
        if (other->IndexEqual(&row, 0)) {
          if (putAction == paRefuse) return prKeyExists;
          TakeOut(*other);
          FreeRow(*other);
          tree_.push_back(&row);
          return prReplaced;
        }
    }
    tree_.push_back(&row);
    if (putAction != paInternalRestore) row.SetState(rsInserted);
    return prInserted;
  }
  void AddDeletedRow(TDataRow& row) override { deleted_.push_back(&row); }
  void FreeRow(TDataRow& row) override {
    std::erase(owned_, &row);
    std::erase(deleted_, &row);
    ++freed_;
    delete &row;
  }
  void RowChanged(TAbstractRow&, TChangeKind changeKind) override { changes_.push_back(changeKind); }
  int LastLevel() const override { return 1; }
  void InvalidateSubTotals(TAbstractRow&) override { ++invalidations_; }
  void Touch() override { ++touches_; }

  std::vector<TDataRow*> tree_, deleted_, owned_;
  std::vector<TChangeKind> changes_;
  std::vector<int> keyChanges_;
  int freed_ = 0, touches_ = 0, invalidations_ = 0;

 private:
  const TDataTable& table_;
};

struct TTable {
  std::unique_ptr<TKeyField> key = test::Key("key", IntegerType());
  std::unique_ptr<TDataField> name = test::Field("name", StringType(30, false));
  std::unique_ptr<TDataField> memo = test::Field("memo", MemoType(true));
  std::unique_ptr<TDataField> amount = test::Field("amount", CurrencyType());
  std::unique_ptr<TDataTable> table =
      TDataTable::CreateWithFields("", {key.get()}, {name.get(), memo.get(), amount.get()});

  std::unique_ptr<TDataRow> Row(int key, const std::string& text) const {
    auto row = std::make_unique<TDataRow>(table.get());
    row->SetFieldValue(this->key.get(), IntegerValue(key));
    row->SetFStringValue(name.get(), text);
    return row;
  }
};

TEST(TDataRow, NewRowsHoldTheBlankRowsValues) {
  auto text = test::Field("text");
  auto table = TDataTable::CreateWithFields("", {}, {text.get()});
  TDataRow row(table.get());
  EXPECT_EQ(row.State(), rsExternControlled);
  EXPECT_EQ(row.GetFStringValue(text.get()), "");
  EXPECT_TRUE(row.Visible());
  EXPECT_FALSE(row.IsLocked());
  EXPECT_EQ(row.LevelCount(), 0);  // outside a storage: the table's key count
  row.SetFStringValue(text.get(), std::string(40, 'x'));
  EXPECT_EQ(row.GetFStringValue(text.get()), std::string(30, 'x'));  // the type keeps 30
}

TEST(TDataRow, TypedAccessAndFieldsWithoutAPlace) {
  TTable t;
  auto row = t.Row(7, "seven");
  EXPECT_EQ(row->GetFIntegerValue(t.key.get()), 7);
  EXPECT_EQ(row->GetFStringValue(t.name.get()), "seven");
  auto flag = test::Field("flag", BooleanType());
  EXPECT_FALSE(row->GetFBooleanValue(flag.get()));  // no place: the type's default
  try {
    row->SetFStringValue(flag.get(), "T");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot set value T to Row [7; seven; ; 0], Field " + flag->FieldName());
  }
  EXPECT_THROW(row->SetFStringValue(nullptr, "x"), EAssertionFailed);
  EXPECT_THROW(row->SetFBooleanValue(nullptr, true), EAssertionFailed);
  EXPECT_THROW(row->SetFPointerValue(nullptr, nullptr), EAssertionFailed);
  EXPECT_THROW(row->GetFieldValue(nullptr), EAssertionFailed);
  EXPECT_THROW(row->SetIndexValue(4, OneValue(), saRefuse), EAssertionFailed);
  EXPECT_EQ(IndexOfField(nullptr, t.key.get()), -1);
}

TEST(TDataRow, LongMemoTextsRoundTripAndTravelWithCopies) {
  TTable t;
  auto row = t.Row(1, "memo");
  const std::string longText(1000, 'm');
  row->SetFieldValue(t.memo.get(), StringValue(longText));
  EXPECT_EQ(row->GetFStringValue(t.memo.get()), longText);
  row->Strings().Add("attached");
  auto clone = row->Clone();
  EXPECT_EQ(clone->GetFStringValue(t.memo.get()), longText);
  EXPECT_EQ(clone->Strings().Strings(0), "attached");
  row->SetFieldValue(t.memo.get(), StringValue("short"));
  EXPECT_EQ(row->GetFStringValue(t.memo.get()), "short");
  EXPECT_EQ(clone->GetFStringValue(t.memo.get()), longText);
}

TEST(TDataRow, CopyContentsRefusals) {
  TTable t, other;
  auto source = t.Row(1, "one");
  source->Strings().Add("x");
  TDataRow target(t.table.get());
  target.CopyContents(source.get());
  EXPECT_EQ(target.GetFStringValue(t.name.get()), "one");
  EXPECT_TRUE(target.HasStrings());
  TDataRow plain(t.table.get());
  target.CopyContents(&plain);
  EXPECT_FALSE(target.HasStrings());  // dropped: the source has none
  EXPECT_EQ(FatalReport([&] { target.CopyContents(other.Row(2, "two").get()); }),
            "CopyRow: Tried to copy rows of different type!");
  TFakeStorage storage(*t.table);
  TDataRow& stored = storage.Adopt(t.Row(3, "three"));
  EXPECT_EQ(FatalReport([&] { stored.CopyContents(source.get()); }),
            "CopyRow: Row must be rsExternControlled in order to perform CopyContents!");
  EXPECT_EQ(stored.GetFStringValue(t.name.get()), "three");
  EXPECT_THROW(target.CopyContents(nullptr), EAssertionFailed);
}

TEST(TDataRow, RunningNumbersAndFictiveFieldsAreNotWritten) {
  auto number = TRunningNumberField::CreateNamed("Number_R1");
  auto fictive = std::make_unique<TFictiveField>(nullptr);
  auto shown = TConstantField::Create("Shown_R1", StringValue("calculated"));
  fictive->SetCalcField(shown.get());
  auto table = TDataTable::CreateWithFields("", {number.get(), fictive.get()}, {});
  TDataRow row(table.get());
  EXPECT_EQ(row.SetIndexValue(0, IntegerValue(5), saRefuse), srRefused);
  EXPECT_EQ(row.GetFIntegerValue(number.get()), 0);
  EXPECT_EQ(row.GetFStringValue(fictive.get()), "calculated");  // read through the calculated field
  EXPECT_EQ(FatalReport([&] { row.SetIndexValue(1, StringValue("x"), saRefuse); }),
            "FictiveField: Assignment to fictive fields are not allowed");
  EXPECT_TRUE(fictive->DefaultReadOnly);
  EXPECT_FALSE(fictive->IsStorable());
}

// Keys of a stored row are the storage's to change; the row hands the write
// over, and a write of the value it holds is no change at all.
TEST(TDataRow, KeyWritesOfStoredRowsGoToTheStorage) {
  TTable t;
  TFakeStorage storage(*t.table);
  TDataRow& row = storage.Adopt(t.Row(1, "one"));
  EXPECT_EQ(row.SetFieldValue(t.key.get(), IntegerValue(5), saReplace), srSet);
  EXPECT_EQ(row.SetFieldValue(t.key.get(), StringValue("1")), srSet);
  EXPECT_EQ(storage.keyChanges_, std::vector<int>{0});
  EXPECT_EQ(row.State(), rsAccepted);
  auto outside = t.Row(2, "two");
  EXPECT_EQ(outside->SetFieldValue(t.key.get(), IntegerValue(7)), srSet);
  EXPECT_EQ(outside->GetFIntegerValue(t.key.get()), 7);
  EXPECT_EQ(storage.keyChanges_.size(), 1u);
}

TEST(TDataRow, DeletingKeepsAcceptedRowsAndFreesTheOthers) {
  TTable t;
  TFakeStorage storage(*t.table);
  TDataRow& accepted = storage.Adopt(t.Row(1, "one"));
  accepted.DeleteRow();
  EXPECT_EQ(storage.deleted_.size(), 1u);
  EXPECT_EQ(accepted.State(), rsDeleted);
  EXPECT_EQ(storage.changes_, std::vector<TChangeKind>{ckDeleted});
  TDataRow& inserted = storage.Adopt(t.Row(2, "two"));
  inserted.SetState(rsInserted);
  inserted.DeleteRow();
  EXPECT_EQ(storage.freed_, 1);
  EXPECT_TRUE(storage.tree_.empty());
  int alive = 0;
  struct TCountedRow : TDataRow {
    int& alive;
    TCountedRow(const TDataTable* table, int& counter) : TDataRow(table), alive(counter) { ++alive; }
    ~TCountedRow() override { --alive; }
  };
  auto* outside = new TCountedRow(t.table.get(), alive);
  outside->DeleteRow();  // outside any storage: freed at once
  EXPECT_EQ(alive, 0);
}

TEST(TDataRow, DefaultsMergesAndComparisons) {
  TTable t;
  auto extra = test::Field("extra");
  auto defaults = TDataTable::CreateWithFields("", {}, {t.name.get(), extra.get()});
  TDataRow defaultRow(defaults.get());
  defaultRow.SetFStringValue(t.name.get(), "default name");
  auto row = t.Row(1, "");
  row->SetDefaultsFrom(&defaultRow);
  EXPECT_EQ(row->GetFStringValue(t.name.get()), "default name");
  test::TRecordedReports reports;
  TFakeStorage storage(*t.table);
  TDataRow& stored = storage.Adopt(t.Row(2, ""));
  stored.SetDefaultsFrom(&defaultRow);
  ASSERT_EQ(reports.Reports().size(), 1u);
  EXPECT_EQ(reports.Reports()[0].Message, "SetDefaultsFrom called with nonExternControlled DataRow!");
  EXPECT_EQ(stored.GetFStringValue(t.name.get()), "default name");  // copied all the same

  t.amount->IsAggregable = true;
  auto a = t.Row(1, "same"), b = t.Row(1, "same");
  a->SetFieldValue(t.amount.get(), CurrencyValue(TCurrency{15000}));
  b->SetFieldValue(t.amount.get(), CurrencyValue(TCurrency{5000}));
  a->AddValues(b.get(), TAddMode::amAdd);
  EXPECT_EQ(a->GetFStringValue(t.amount.get()), "2");
  b->SetFStringValue(t.name.get(), "different");
  EXPECT_EQ(FatalReport([&] { a->AddValues(b.get(), TAddMode::amAdd); }),
            "AddValues: AddValues: Different nonaggregable values in rows");
  EXPECT_EQ(a->GetFStringValue(t.amount.get()), "2");

  EXPECT_TRUE(a->IndexEqual(b.get(), 0));
  EXPECT_FALSE(a->IndexEqual(b.get(), 1));
  EXPECT_THROW(a->IndexEqual(nullptr, 0), EAssertionFailed);
  auto c = t.Row(3, "c");
  EXPECT_EQ(a->Before(c.get(), nullptr), -1);
  TRowSortOrder byNameDescending({{t.name.get(), TSortOrder::soDescending}});
  EXPECT_EQ(a->Before(c.get(), &byNameDescending), -1);  // "same" comes first when descending
  EXPECT_EQ(a->Before(a.get(), &byNameDescending), 0);
}

TEST(TRowSortOrder, PositionsAreCachedForTheOrdersTableOnly) {
  TTable t;
  auto reordered = TDataTable::CreateWithFields("", {t.key.get()}, {t.amount.get(), t.name.get()});
  TRowSortOrder order;
  order.Add(t.name.get());
  EXPECT_EQ(order.Rules()[0].Position, -1);
  order.SetTable(t.table.get());
  EXPECT_EQ(order.Rules()[0].Position, 1);
  auto here = t.Row(1, "b");
  TDataRow there(reordered.get());
  there.SetFStringValue(t.name.get(), "a");
  EXPECT_EQ(ValueAsString(order.RuleValue(order.Rules()[0], there)), "a");  // read by field, not by position
  EXPECT_EQ(here->Before(&there, &order), 1);
  EXPECT_EQ(order.Table(), t.table.get());
  order.SetTable(reordered.get());
  EXPECT_EQ(order.Rules()[0].Position, 2);
}

class TAcceptAll : public TRowAcceptor {
 public:
  bool Accepts(TAbstractRow&) override { return true; }
  TInterruptable* Interruptable() const override { return interruptable; }
  TInterruptable* interruptable = nullptr;
};

TEST(TDataRow, AcceptingCallsBackForChangedRowsOnly) {
  TTable t;
  auto row = t.Row(1, "one");
  TAcceptAll acceptor;
  int calls = 0;
  auto callback = [&calls](void*, TAbstractRow&) { ++calls; };
  EXPECT_TRUE(row->AcceptRow(acceptor, callback, nullptr));
  EXPECT_EQ(row->State(), rsAccepted);
  EXPECT_TRUE(row->AcceptRow(acceptor, callback, nullptr));
  EXPECT_EQ(calls, 1);
  TInterruptable stop;
  stop.Interrupted = true;
  acceptor.interruptable = &stop;
  row->SetState(rsModified);
  EXPECT_FALSE(row->AcceptRow(acceptor, callback, nullptr));
  EXPECT_EQ(row->State(), rsModified);
  EXPECT_TRUE(row->IsUnaccepted());
  std::vector<TAbstractRow*> list;
  row->CollectByState(list, rsModified);
  row->SetVisible(false);
  row->CollectRows(list, nullptr, false);
  EXPECT_EQ(list.size(), 1u);
}

TEST(TSubTotalRow, NodesAggregateAndRefuseWrites) {
  TTable t;
  t.amount->IsAggregable = true;
  TSubTotalRow node(*t.table, 0, t.key.get());
  auto a = t.Row(1, "a"), b = t.Row(2, "b");
  a->SetFieldValue(t.amount.get(), CurrencyValue(TCurrency{10000}));
  b->SetFieldValue(t.amount.get(), CurrencyValue(TCurrency{25000}));
  node.AddChild(IntegerValue(2), std::move(b));
  node.AddChild(IntegerValue(1), std::move(a));
  EXPECT_EQ(node.Child(0)->GetFStringValue(t.name.get()), "a");  // in key order
  EXPECT_EQ(node.FindChild(StringValue("2")), 1);
  EXPECT_EQ(node.FindChild(IntegerValue(3)), -1);
  EXPECT_EQ(node.Child(1)->Parent(), &node);
  auto taken = node.TakeChild(1);
  EXPECT_EQ(taken->Parent(), nullptr);
  node.AddChild(IntegerValue(2), std::move(taken));
  EXPECT_EQ(ValueAsString(node.Aggregate(t.amount.get())), "3.5");
  int count = 0;
  node.CountDataRows(count);
  EXPECT_EQ(count, 2);
  EXPECT_FALSE(node.FieldHasValue(t.key.get()));  // level 0 holds no key yet
  EXPECT_TRUE(node.FieldHasValue(t.amount.get()));
  EXPECT_FALSE(node.FieldHasValue(t.name.get()));
  EXPECT_THROW(node.FieldHasValue(nullptr), EAssertionFailed);
  EXPECT_EQ(FatalReport([&] { node.SetIndexValue(3, OneValue(), saRefuse); }),
            "Subtotals: Subtotal isn't in a storage!");
  TFakeStorage storage(*t.table);
  node.SetStorage(&storage);
  try {
    node.SetIndexValue(3, OneValue(), saRefuse);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(),
                 "Subtotals are by default read-only. Subclass TSubTotalHandler for writable subtotals!");
  }
  node.SetStorage(nullptr);
  std::vector<TAbstractRow*> rows;
  node.CollectRows(rows, nullptr, true);
  EXPECT_EQ(rows.size(), 3u);
}

}  // namespace
}  // namespace tv
