// Row storages: key order and direction, every put action, refusals that
// leave storage and row unchanged, the row list, finding and locating rows,
// copies, key changes of stored rows and the keyed descent of criteria.

#include <gtest/gtest.h>

#include "data/storage/caching_storage.h"
#include "data/storage/data_row_list.h"
#include "data/storage/row_storage.h"
#include "data/types/data_types.h"
#include "tests/data/conditions/counting_criteria.h"
#include "tests/data/elements/elements_test_support.h"

namespace tv {
namespace {

using test::FatalReport;

struct TTexts : test::TLanguageTexts {
  TTexts() : TLanguageTexts("Texts_S1") {}
  TPutResult Insert(TRowStorage& storage, int lang, int n, const std::string& value,
                    TPutAction action = paRefuse) const {
    auto row = Row(lang, n, value);
    return storage.InsertRow(row, action);
  }
};

std::string Listed(TAbstractRowStorage& storage, const TDataField* field) {
  std::string text;
  for (int i = 0; i < storage.RowCount(); ++i) {
    if (i > 0) text += ' ';
    text += storage.GetRow(i)->GetFStringValue(field);
  }
  return text;
}

TEST(TRowStorage, RowsComeBackInKeyOrderAndDirection) {
  auto key = test::Key("key", IntegerType());
  auto table = TDataTable::CreateWithFields("", {key.get()}, {});
  TRowStorage storage(table.get(), false);
  EXPECT_EQ(storage.ChangedAt(), 0);  // never changed
  for (int n : {3, 1, 2}) {
    auto row = std::make_unique<TDataRow>(table.get());
    row->SetFieldValue(key.get(), IntegerValue(n));
    EXPECT_EQ(storage.InsertRow(row), prInserted);
    EXPECT_EQ(row, nullptr);  // the storage owns it now
  }
  EXPECT_NEAR(storage.ChangedAt(), Now(), 2.0 / 86400);  // local time, like Now
  EXPECT_EQ(Listed(storage, key.get()), "1 2 3");
  EXPECT_EQ(storage.GetDataRow(0)->State(), rsInserted);
  key->SortOrder = TSortOrder::soDescending;
  TRowStorage descending(table.get(), false);
  for (int n : {3, 1, 2}) {
    auto row = std::make_unique<TDataRow>(table.get());
    row->SetFieldValue(key.get(), IntegerValue(n));
    descending.InsertRow(row);
  }
  EXPECT_EQ(Listed(descending, key.get()), "3 2 1");
}

TEST(TRowStorage, TwoLevelKeysGroupByTheFirst) {
  TTexts t;
  TRowStorage storage(t.table.get(), false);
  t.Insert(storage, 1, 2, "en2");
  t.Insert(storage, 0, 2, "de2");
  t.Insert(storage, 1, 1, "en1");
  t.Insert(storage, 0, 1, "de1");
  EXPECT_EQ(Listed(storage, t.text.get()), "de1 de2 en1 en2");
  EXPECT_EQ(storage.GetRow(2)->GetFIntegerValue(t.language.get()), 1);
  EXPECT_EQ(storage.LocateRow({"1", "2"})->GetFStringValue(t.text.get()), "en2");
  EXPECT_EQ(storage.LocateRow({"2", "1"}), nullptr);
  test::TRecordedReports reports;
  EXPECT_EQ(storage.LocateRow({"1"}), nullptr);
  ASSERT_EQ(reports.Reports().size(), 1u);
  EXPECT_EQ(reports.Reports()[0].Category, "LocateRow");
  EXPECT_EQ(reports.Reports()[0].Message, "LocateRow: Too few elements in array!");
  EXPECT_EQ(reports.Reports()[0].Severity, desWarning);
}

TEST(TRowStorage, PutActionsOnAnExistingKey) {
  TTexts t;
  TRowStorage storage(t.table.get(), false);
  t.Insert(storage, 0, 1, "first");
  auto second = t.Row(0, 1, "second");
  EXPECT_EQ(storage.InsertRow(second, paRefuse), prKeyExists);
  ASSERT_NE(second, nullptr);  // refused: still the caller's
  EXPECT_EQ(second->State(), rsExternControlled);
  EXPECT_EQ(Listed(storage, t.text.get()), "first");
  storage.GetDataRow(0)->SetState(rsAccepted);
  EXPECT_EQ(storage.InsertRow(second, paReplace), prReplaced);
  EXPECT_EQ(Listed(storage, t.text.get()), "second");
  ASSERT_EQ(storage.DeletedRows().size(), 1u);  // the accepted first one
  EXPECT_EQ(storage.DeletedRows()[0]->GetFStringValue(t.text.get()), "first");
  auto same = t.Row(0, 1, "second");
  EXPECT_EQ(storage.InsertRow(same, paReplaceIfDifferent), prEqualRowKept);
  EXPECT_NE(same, nullptr);
  auto other = t.Row(0, 1, "third");
  EXPECT_EQ(storage.InsertRow(other, paReplaceIfDifferent), prReplaced);  // inserted, never accepted: freed
  EXPECT_EQ(storage.DeletedRows().size(), 1u);
  auto merged = t.Row(0, 1, "third");
  EXPECT_EQ(storage.InsertRow(merged, paMergeKeep), prMerged);
  EXPECT_EQ(storage.RowCount(), 1);
  auto odd = t.Row(0, 1, "x");
  EXPECT_EQ(FatalReport([&] { storage.InsertRow(odd, static_cast<TPutAction>(9)); }),
            "PutRow: Unknown PutAction (9)!");
  EXPECT_EQ(storage.RowCount(), 1);
  ASSERT_NE(odd, nullptr);  // the refused row is still the caller's, unchanged
  EXPECT_EQ(odd->GetFStringValue(t.text.get()), "x");
  EXPECT_EQ(odd->State(), rsExternControlled);
}

TEST(TRowStorage, InsertionRefusals) {
  TTexts t, other;
  TRowStorage storage(t.table.get(), false);
  auto foreign = other.Row(0, 1, "x");
  EXPECT_EQ(FatalReport([&] { storage.InsertRow(foreign); }),
            "Different DataTables: Row and RowStorage types differ! (Texts_S1 <> Texts_S1)");
  EXPECT_NE(foreign, nullptr);
  std::unique_ptr<TDataRow> none;
  EXPECT_THROW(storage.InsertRow(none), EAssertionFailed);

  TCriteria secondLanguage;
  secondLanguage.FindCriteriaField(t.language.get(), true)->AddValue(IntegerValue(1));
  TRowStorage keyed(t.table.get(), false, nullptr, nullptr, &secondLanguage);
  EXPECT_TRUE(keyed.Accepting());
  EXPECT_EQ(t.Insert(keyed, 0, 1, "de"), prNotAccepted);
  EXPECT_EQ(t.Insert(keyed, 1, 1, "en"), prInserted);
  TCriteria onlyHello;
  onlyHello.FindCriteriaField(t.text.get(), true)->AddValue("hello");
  TRowStorage closed(t.table.get(), false, nullptr, nullptr, &onlyHello);
  EXPECT_FALSE(closed.Accepting());  // a data field is restricted
  EXPECT_EQ(t.Insert(closed, 0, 1, "hello"), prNotAccepting);
  EXPECT_EQ(closed.RowCount(), 0);
}

TEST(TRowStorage, RowListErrorsNameBothNumbers) {
  TTexts t;
  TRowStorage storage(t.table.get(), false);
  t.Insert(storage, 0, 1, "a");
  try {
    storage.GetRow(storage.RowCount());
    FAIL();
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(),
                 "TRowStorage.GetRow: (idx >= 0) and (idx < FRowList.Count), idx: 1, FRowList.Count: 1");
  }
  EXPECT_THROW(storage.GetTreeKey(3), EAssertionFailed);
  EXPECT_EQ(storage.LevelCountOfTree(), 3);
  EXPECT_FALSE(storage.GetTreeKey(0)->Visible());
  EXPECT_TRUE(storage.GetTreeKey(2)->Visible());
  EXPECT_EQ(storage.GetTreeKey(1)->FieldIndex(), 1);
}

TEST(TRowStorage, FindingRowsByCriteriaAndByText) {
  TTexts t;
  TRowStorage storage(t.table.get(), false);
  t.Insert(storage, 0, 1, "Datei");
  t.Insert(storage, 0, 2, "Dateien");
  t.Insert(storage, 1, 1, "File");
  TCriteria german;
  german.FindCriteriaField(t.language.get(), true)->AddValue(IntegerValue(0));
  EXPECT_EQ(storage.CountRows(&german), 2);
  EXPECT_EQ(storage.CountRows(nullptr), 3);
  EXPECT_THROW(storage.FindRow(&german, false), Exception);
  try {
    storage.FindRow(&german, false);
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "More than one match!");
  }
  EXPECT_EQ(storage.FindRow(&german, true)->GetFStringValue(t.text.get()), "Datei");
  TCriteria french;
  french.FindCriteriaField(t.language.get(), true)->AddValue(IntegerValue(2));
  EXPECT_EQ(storage.FindRow(&french, false), nullptr);
  TCriteria file;
  file.FindCriteriaField(t.text.get(), true)->AddValue("file");
  EXPECT_EQ(storage.FindRow(&file, false)->GetFIntegerValue(t.language.get()), 1);

  TStringList found;
  storage.GetRowsByText(&found, nullptr, "datei", t.text.get());
  EXPECT_EQ(found.Count(), 2);  // a prefix: Datei and Dateien
  found.Clear();
  storage.GetRowsByText(&found, &german, "Dateien", t.text.get());
  EXPECT_EQ(found.Count(), 1);
  EXPECT_THROW(storage.GetRows(nullptr, nullptr), EAssertionFailed);

  TDataRowList list;
  storage.GetRows(&list, &german);
  list.UpdateStrings(t.text.get());
  EXPECT_EQ(list.Strings(1), "Dateien");
  EXPECT_EQ(list.GetDataRow(0)->GetFIntegerValue(t.number.get()), 1);
  EXPECT_THROW(list.GetDataRow(2), EAssertionFailed);
}

using test::TCountingCriteria;

TEST(TRowStorage, ACriteriaFixingTheFirstKeyVisitsOnlyItsSubTree) {
  TTexts t;
  TRowStorage storage(t.table.get(), false);
  for (int lang = 0; lang < 4; ++lang)
    for (int n = 1; n <= 5; ++n) t.Insert(storage, lang, n, "t");
  TCountingCriteria third;
  third.FindCriteriaField(t.language.get(), true)->AddValue(IntegerValue(2));
  TStringList rows;
  storage.GetRows(&rows, &third);
  EXPECT_EQ(rows.Count(), 5);
  EXPECT_EQ(third.tested, 5);  // not 20
  for (int i = 0; i < rows.Count(); ++i)
    EXPECT_EQ(static_cast<TDataRow*>(rows.Objects(i))->GetFIntegerValue(t.language.get()), 2);
}

TEST(TRowStorage, KeyChangesOfStoredRows) {
  TTexts t;
  TRowStorage storage(t.table.get(), false);
  t.Insert(storage, 0, 1, "one");
  t.Insert(storage, 0, 2, "two");
  TDataRow* one = storage.LocateRow({"0", "1"});
  one->SetState(rsAccepted);
  EXPECT_EQ(one->SetFieldValue(t.number.get(), IntegerValue(5)), srSet);
  EXPECT_EQ(one->State(), rsInserted);
  EXPECT_FALSE(one->IsLocked());
  EXPECT_EQ(storage.LocateRow({"0", "5"}), one);
  EXPECT_EQ(storage.LocateRow({"0", "1"}), nullptr);
  // The old key is remembered among the deleted rows, as it was.
  ASSERT_EQ(storage.DeletedRows().size(), 1u);
  EXPECT_EQ(storage.DeletedRows()[0]->GetFIntegerValue(t.number.get()), 1);
  EXPECT_EQ(storage.DeletedRows()[0]->GetFStringValue(t.text.get()), "one");
  EXPECT_EQ(storage.DeletedRows()[0]->State(), rsDeleted);
  EXPECT_EQ(Listed(storage, t.text.get()), "two one");

  TDataRow* two = storage.LocateRow({"0", "2"});
  two->SetState(rsModified);
  EXPECT_EQ(two->SetFieldValue(t.number.get(), IntegerValue(5), saRefuse), srRefused);
  EXPECT_EQ(storage.LocateRow({"0", "2"}), two);
  EXPECT_EQ(two->State(), rsModified);
  EXPECT_EQ(two->GetFIntegerValue(t.number.get()), 2);
  EXPECT_EQ(Listed(storage, t.text.get()), "two one");
  EXPECT_EQ(storage.DeletedRows().size(), 1u);
  EXPECT_EQ(
      FatalReport([&] { two->SetFieldValue(t.number.get(), IntegerValue(5), static_cast<TSetAction>(5)); }),
      "KeyUpdate: Unknown TSetAction 5)!");
  EXPECT_EQ(storage.LocateRow({"0", "2"}), two);
  EXPECT_EQ(two->SetFieldValue(t.number.get(), IntegerValue(5), saReplace), srSet);
  EXPECT_EQ(storage.LocateRow({"0", "5"}), two);
  EXPECT_EQ(storage.RowCount(), 1);
}

// A changed key goes back through the checks of any insertion, and a write
// of the value a key already has is no change at all.
TEST(TRowStorage, KeyChangesMeetTheSelectionAndEqualValuesChangeNothing) {
  TTexts t;
  TCriteria firstLanguage;
  firstLanguage.FindCriteriaField(t.language.get(), true)->AddValue(IntegerValue(0));
  TRowStorage storage(t.table.get(), false, nullptr, nullptr, &firstLanguage);
  t.Insert(storage, 0, 1, "one");
  t.Insert(storage, 0, 2, "two");
  TDataRow* one = storage.LocateRow({"0", "1"});
  one->SetState(rsAccepted);
  EXPECT_EQ(one->SetFieldValue(t.language.get(), IntegerValue(1)), srRefused);
  EXPECT_EQ(one->GetFIntegerValue(t.language.get()), 0);
  EXPECT_EQ(storage.LocateRow({"0", "1"}), one);
  EXPECT_EQ(one->State(), rsAccepted);
  EXPECT_TRUE(storage.DeletedRows().empty());
  EXPECT_EQ(Listed(storage, t.text.get()), "one two");

  EXPECT_EQ(one->SetFieldValue(t.number.get(), IntegerValue(1)), srSet);
  EXPECT_EQ(one->SetFieldValue(t.number.get(), StringValue("1")), srSet);
  EXPECT_EQ(one->State(), rsAccepted);
  EXPECT_TRUE(storage.DeletedRows().empty());
  EXPECT_EQ(storage.LocateRow({"0", "1"}), one);
}

// Nodes of the key tree read the keys of their own level and those above,
// are listed where visible, and leave the tree when their last row goes.
TEST(TRowStorage, SubTotalRowsHoldTheirKeysAreListedAndLeaveWithTheirRows) {
  TTexts t;
  TRowStorage storage(t.table.get(), false);
  t.Insert(storage, 0, 1, "a");
  t.Insert(storage, 0, 2, "b");
  t.Insert(storage, 1, 1, "c");
  TAbstractRow* second = storage.Root().Child(1);
  ASSERT_FALSE(second->IsDataRow());
  EXPECT_TRUE(second->FieldHasValue(t.language.get()));
  EXPECT_FALSE(second->FieldHasValue(t.number.get()));
  EXPECT_EQ(second->GetFIntegerValue(t.language.get()), 1);
  TCriteria secondLanguage;
  secondLanguage.FindCriteriaField(t.language.get(), true)->AddValue(IntegerValue(1));
  EXPECT_TRUE(secondLanguage.AcceptsRow(*second));
  EXPECT_FALSE(secondLanguage.AcceptsRow(*storage.Root().Child(0)));

  auto shown = [&] {
    std::string text;
    for (int i = 0; i < storage.RowCount(); ++i) {
      const TAbstractRow* row = storage.GetRow(i);
      text += row->IsDataRow() ? row->GetFStringValue(t.text.get())
                               : "[" + row->GetFStringValue(t.language.get()) + "]";
      text += ' ';
    }
    return text;
  };
  storage.GetTreeKey(1)->SetVisible(true);
  EXPECT_EQ(shown(), "[0] a b [1] c ");
  EXPECT_EQ(storage.FirstDataRow()->GetFStringValue(t.text.get()), "a");
  storage.SetPlaceSubTotalsAfter(true);
  EXPECT_EQ(shown(), "a b [0] c [1] ");
  TRowSortOrder byText;
  byText.Add(t.text.get(), TSortOrder::soDescending);
  storage.SetCustomOrder(&byText);
  EXPECT_EQ(shown(), "c b a ");
  storage.SetCustomOrder(nullptr);

  for (const char* key : {"1", "2"}) storage.LocateRow({"0", key})->DeleteRow();
  EXPECT_EQ(storage.Root().ChildCount(), 1);
  storage.RemoveRow(storage.LocateRow({"1", "1"}));
  EXPECT_FALSE(storage.HasRows());
  EXPECT_EQ(storage.RowCount(), 0);
}

TEST(TRowStorage, RunningNumbersCountDownUntilAssigned) {
  auto number = TRunningNumberField::CreateNamed("Number_S2");
  auto text = test::Field("text");
  auto table = TDataTable::CreateWithFields("", {number.get()}, {text.get()});
  TCriteria onlyA;
  onlyA.FindCriteriaField(text.get(), true)->AddValue("a");
  TRowStorage storage(table.get(), false, nullptr, nullptr, &onlyA);
  EXPECT_TRUE(storage.Accepting());  // a running number makes any storage accepting
  for (const char* value : {"a", "b", "c"}) {
    auto row = std::make_unique<TDataRow>(table.get());
    row->SetFStringValue(text.get(), value);
    EXPECT_EQ(storage.InsertRow(row), prInserted);
  }
  EXPECT_EQ(Listed(storage, number.get()), "-3 -2 -1");
  EXPECT_EQ(Listed(storage, text.get()), "c b a");
}

TEST(TRowStorage, CopiesKeepStatesVisibilityAndDeletedRows) {
  TTexts t;
  TRowStorage storage(t.table.get(), false);
  t.Insert(storage, 0, 1, "a");
  t.Insert(storage, 0, 2, "b");
  t.Insert(storage, 0, 3, "c");
  storage.GetDataRow(0)->SetState(rsAccepted);
  storage.GetDataRow(1)->SetState(rsAccepted);
  storage.GetDataRow(1)->DeleteRow();
  TCriteria reload;
  storage.SetReloadObject(TCriteria::CreateCopy(&reload));
  auto copy = TRowStorage::CreateCopy(&storage);
  EXPECT_EQ(Listed(*copy, t.text.get()), "a c");
  EXPECT_EQ(copy->GetDataRow(0)->State(), rsAccepted);
  EXPECT_EQ(copy->GetDataRow(1)->State(), rsInserted);
  ASSERT_EQ(copy->DeletedRows().size(), 1u);
  EXPECT_EQ(copy->DeletedRows()[0]->GetFStringValue(t.text.get()), "b");
  EXPECT_EQ(copy->DeletedRows()[0]->State(), rsDeleted);
  EXPECT_NE(copy->ReloadObject(), nullptr);
  EXPECT_NE(copy->GetRow(0), storage.GetRow(0));
  EXPECT_THROW(TRowStorage::CreateCopy(nullptr), EAssertionFailed);

  auto removed = storage.RemoveRow(storage.GetDataRow(0));
  ASSERT_NE(removed, nullptr);
  EXPECT_EQ(removed->State(), rsExternControlled);
  EXPECT_EQ(storage.RowCount(), 1);
}

TEST(TRowStorage, CustomOrderSortsTheWholeList) {
  TTexts t;
  TRowStorage storage(t.table.get(), false);
  const char* texts[] = {"m", "c", "x", "a", "c", "q", "b"};
  for (int i = 0; i < 7; ++i) t.Insert(storage, i % 2, i, texts[i]);
  TRowSortOrder byText({{t.text.get(), TSortOrder::soAscending}});
  storage.SetCustomOrder(&byText);
  EXPECT_EQ(Listed(storage, t.text.get()), "a b c c m q x");
  TRowSortOrder byTextDown({{t.text.get(), TSortOrder::soDescending}});
  storage.SetCustomOrder(&byTextDown);
  EXPECT_EQ(Listed(storage, t.text.get()), "x q m c c b a");
  storage.SetCustomOrder(nullptr);
  EXPECT_EQ(Listed(storage, t.text.get()), "m x c b c a q");
}

TEST(TRowStorage, LoadSaveAndRefreshWithoutTransport) {
  TTexts t;
  TRowStorage storage(t.table.get(), false);
  EXPECT_EQ(test::RaisedMessage([&] { storage.Load(nullptr, nullptr, nullptr); }), "DataBridge missing!");
  TInterruptable stop;
  stop.Interrupted = true;
  EXPECT_EQ(test::RaisedMessage([&] { storage.Load(nullptr, &stop, nullptr); }), "none");
  TCriteria nothing;
  nothing.FindCriteriaField(t.language.get(), true)->SetAcceptNone();
  EXPECT_EQ(test::RaisedMessage([&] { storage.Load(&nothing, nullptr, nullptr); }),
            "none");  // the table is ruled out
  TDataBridge bridge(nullptr);
  t.table->SetDataBridge(&bridge);
  EXPECT_EQ(test::RaisedMessage([&] { storage.Load(nullptr, nullptr, nullptr); }),
            "TDataBridge.OpenReadConnection: Read is not allowed from this type of DataBridge");
  EXPECT_EQ(test::RaisedMessage([&] { storage.Save(); }),
            "TDataBridge.UpdateData: Write is not allowed to this type of DataBridge");
  EXPECT_EQ(test::RaisedMessage([&] { TRowStorage loaded(t.table.get(), true); }),
            "TDataBridge.OpenReadConnection: Read is not allowed from this type of DataBridge");
  t.table->SetDataBridge(nullptr);
  storage.Refresh(false);  // not loaded: nothing happens

  auto cache = TCachingStorage::CreateVirtual(t.table.get());
  EXPECT_EQ(FatalReport([&] { cache->Load(); }),
            "Virtual AuxTable: Tried to load Data from DB with virtual AuxTable");
  auto row = t.Row(0, 1, "cached");
  EXPECT_EQ(cache->PutCachedRow(row), prInserted);
  EXPECT_EQ(cache->GetDataRow(0)->State(), rsAccepted);
  EXPECT_THROW(TCachingStorage::Create(nullptr), EAssertionFailed);
}

}  // namespace
}  // namespace tv
