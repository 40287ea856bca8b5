// Tables: the three areas after every structural operation, the layout of
// a row's buffer, the position cache, copies, locking and the registry.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "data/types/data_types.h"
#include "tests/data/elements/elements_test_support.h"

namespace tv {
namespace {

using test::FatalReport;
using test::Layout;

struct Fields {
  std::unique_ptr<TKeyField> k1 = test::Key("k1", IntegerType());
  std::unique_ptr<TKeyField> k2 = test::Key("k2", StringType(300, true));
  std::unique_ptr<TDataField> d1 = test::Field("d1", StringType(30, false));
  std::unique_ptr<TDataField> d2 = test::Field("d2", BooleanType());
  std::unique_ptr<TDataField> d3 = test::Field("d3", MemoType(false));
  std::unique_ptr<TDataField> i1 = test::Field("i1", DoubleType());
};

TEST(TDataTable, ANewTableIsEmpty) {
  Fields f;
  TDataTable table(nullptr);
  EXPECT_EQ(table.KeyCount(), 0);
  EXPECT_EQ(table.FieldCount(), 0);
  EXPECT_EQ(table.IgnoreFieldCount(), 0);
  EXPECT_EQ(table.RowDataSize(), 0);
  EXPECT_EQ(table.IndexOfField(f.k1.get()), -1);
  EXPECT_FALSE(table.Locked());
  EXPECT_THROW(table.GetField(0), EAssertionFailed);
}

TEST(TDataTable, CreateWithFieldsLaysOutKeysThenDataFields) {
  Fields f;
  auto table = TDataTable::CreateWithFields("", {f.k1.get(), nullptr, f.k2.get()},
                                            {f.d1.get(), f.d2.get(), f.d3.get()});
  EXPECT_EQ(Layout(*table), "K:k1 K:k2 D:d1 D:d2 D:d3");
  EXPECT_EQ(table->KeyCount(), 2);
  EXPECT_EQ(table->FieldCount(), 5);
  // Offsets follow the types' data sizes: 4, 302, 31, 1, 255.
  const int offsets[] = {0, 4, 306, 337, 338};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(table->FieldDataOffset(i), offsets[i]);
  EXPECT_EQ(table->RowDataSize(), 593);
  EXPECT_TRUE(f.k1->TableList().Contains(table.get()));
  EXPECT_TRUE(f.d3->TableList().Contains(table.get()));
  EXPECT_TRUE(table->TableHasKey(f.k2.get()));
  EXPECT_FALSE(table->TableHasKey(f.d1.get()));
  EXPECT_TRUE(table->TableHasNonKey(f.d1.get()));
  EXPECT_TRUE(table->TableHasNonKey(f.i1.get()));  // not in the table: a non-key
  EXPECT_FALSE(table->TableHasField(f.i1.get()));
  table.reset();
  EXPECT_TRUE(f.k1->TableList().IsEmpty());
}

TEST(TDataTable, TheBlankRowHoldsEveryTypesDefault) {
  Fields f;
  auto table = TDataTable::CreateWithFields("", {f.k1.get()}, {f.d1.get(), f.d2.get()});
  const TDataRow& blank = table->BlankRow();
  EXPECT_EQ(blank.State(), rsExternControlled);
  EXPECT_EQ(ValueAsString(blank.GetFieldValue(f.k1.get())), "0");
  EXPECT_EQ(ValueAsString(blank.GetFieldValue(f.d1.get())), "");
  EXPECT_EQ(ValueAsString(blank.GetFieldValue(f.d2.get())), "F");
  TDataRow row(table.get());
  EXPECT_TRUE(std::equal(row.Buffer(), row.Buffer() + table->RowDataSize(), blank.Buffer()));
  EXPECT_THROW(TDataRow(nullptr), EAssertionFailed);
}

TEST(TDataTable, AddingMovesIgnoreFieldsAndRefusesFieldsAlreadyThere) {
  Fields f;
  TDataTable table(nullptr);
  table.AddIgnore(f.i1.get());
  table.AddField(f.d1.get());
  table.AddKey(f.k1.get());
  EXPECT_EQ(Layout(table), "K:k1 D:d1 I:i1");
  table.AddKey(f.i1.get());  // an ignore field becomes a key
  EXPECT_EQ(Layout(table), "K:k1 K:i1 D:d1");
  EXPECT_EQ(FatalReport([&] { table.AddField(f.k1.get()); }),
            "AddField: TDynaTable.AddField: Field " + f.k1->FieldName() + " already exists in table!");
  EXPECT_EQ(FatalReport([&] { table.AddKey(f.d1.get()); }),
            "AddField: TDynaTable.AddKey: Field " + f.d1->FieldName() + " already exists in table!");
  EXPECT_EQ(FatalReport([&] { table.AddIgnore(f.d1.get()); }),
            "AddField: TDynaTable.AddIgnore: Field " + f.d1->FieldName() + " already exists in table!");
  EXPECT_EQ(Layout(table), "K:k1 K:i1 D:d1");
  table.AddField(f.d2.get());
  table.RemoveDataField(f.k1.get());
  EXPECT_EQ(Layout(table), "K:i1 D:d1 D:d2");
  EXPECT_FALSE(f.k1->TableList().Contains(&table));
  table.RemoveDataField(f.k1.get());  // not there: nothing happens
  EXPECT_EQ(table.FieldCount(), 3);
  EXPECT_THROW(table.RemoveDataField(nullptr), EAssertionFailed);
  EXPECT_EQ(table.IndexOfField(f.d2.get()), 2);
  EXPECT_EQ(table.FieldDataOffset(2), 8 + 31);
}

TEST(TDataTable, MovingFieldsBetweenAreas) {
  Fields f;
  auto table = TDataTable::CreateWithFields("", {f.k1.get(), f.k2.get()}, {f.d1.get()});
  table->MoveField(f.d2.get(), 5);  // outside, past FieldCount: an ignore field
  EXPECT_EQ(Layout(*table), "K:k1 K:k2 D:d1 I:d2");
  table->MoveField(f.d3.get(), 3);  // outside, within the data area
  EXPECT_EQ(Layout(*table), "K:k1 K:k2 D:d1 D:d3 I:d2");
  table->MoveField(f.d2.get(), 2);  // an ignore field counted in
  EXPECT_EQ(Layout(*table), "K:k1 K:k2 D:d2 D:d1 D:d3");
  table->MoveField(f.k1.get(), 1);  // a key becomes the first data field
  EXPECT_EQ(Layout(*table), "K:k2 D:k1 D:d2 D:d1 D:d3");
  EXPECT_EQ(FatalReport([&] { table->MoveField(f.i1.get(), 0); }),
            "DynaTable: TDynaTable.MoveField: Cannot add field into key area");
  EXPECT_EQ(FatalReport([&] { table->MoveField(f.d1.get(), 0); }),
            "DynaTable: TDynaTable.MoveKey: Cannot move key into field area");
  table->AddKey(f.i1.get());
  EXPECT_EQ(FatalReport([&] { table->MoveField(f.k2.get(), 0); }),
            "DynaTable: TDynaTable.MoveField: Cannot move field into key area");
  EXPECT_EQ(Layout(*table), "K:k2 K:i1 D:k1 D:d2 D:d1 D:d3");
  EXPECT_THROW(table->MoveField(nullptr, 1), EAssertionFailed);
}

TEST(TDataTable, CopiesHaveTheSameAreasAndJoinEveryFieldsTableList) {
  Fields f;
  auto table =
      TDataTable::CreateWithFields("", {f.k1.get(), f.k2.get()}, {f.d1.get(), f.d2.get(), f.d3.get()});
  table->AddIgnore(f.i1.get());
  table->SetTableName("Original");
  auto copy = TDataTable::CreateCopy(table.get());
  EXPECT_EQ(Layout(*copy), Layout(*table));
  EXPECT_EQ(copy->KeyCount(), 2);
  EXPECT_EQ(copy->FieldCount(), 5);
  EXPECT_EQ(copy->IgnoreFieldCount(), 1);
  EXPECT_EQ(copy->TableName(), "");
  EXPECT_EQ(copy->RowDataSize(), table->RowDataSize());
  for (TDataField* field : {static_cast<TDataField*>(f.k1.get()), f.d3.get(), f.i1.get()}) {
    EXPECT_TRUE(field->TableList().Contains(table.get()));
    EXPECT_TRUE(field->TableList().Contains(copy.get()));
  }
  EXPECT_THROW(TDataTable::CreateCopy(nullptr), EAssertionFailed);
}

// A field whose address is a multiple of 101 away from another shares its
// cache slot; both must still be found.
TEST(TDataTable, FieldsSharingACacheSlotAreBothFound) {
  std::vector<std::unique_ptr<TDataField>> pool;
  std::map<std::uintptr_t, TDataField*> bySlot;
  TDataField* first = nullptr;
  TDataField* second = nullptr;
  while (!second) {
    pool.push_back(test::Field("f"));
    TDataField* field = pool.back().get();
    const auto slot = reinterpret_cast<std::uintptr_t>(field) % 101;
    if (auto it = bySlot.find(slot); it != bySlot.end()) {
      first = it->second;
      second = field;
    }
    bySlot[slot] = field;
  }
  auto filler = test::Field("x");
  auto table = TDataTable::CreateWithFields("", {first}, {filler.get(), second});
  EXPECT_EQ(table->IndexOfField(first), 0);
  EXPECT_EQ(table->IndexOfField(second), 2);
  EXPECT_EQ(table->IndexOfField(filler.get()), 1);
  for (auto& field : pool)
    if (field.get() != first && field.get() != second) {
      EXPECT_EQ(table->IndexOfField(field.get()), -1);
    }
  table->AddIgnore(pool.front().get() == first || pool.front().get() == second ? pool[1].get()
                                                                               : pool.front().get());
  EXPECT_EQ(table->IndexOfField(table->GetField(3)), -1);  // ignore fields have no position
  EXPECT_THROW(table->IndexOfField(nullptr), EAssertionFailed);
}

TEST(TDataTable, LookupFieldsAnswerForTheFieldTheyShow) {
  Fields f;
  f.d1->SetLookupField(f.i1.get());
  auto table = TDataTable::CreateWithFields("", {f.k1.get()}, {f.d1.get()});
  EXPECT_EQ(table->IndexOfFieldOrLookup(f.d1.get()), 1);
  EXPECT_EQ(table->IndexOfFieldOrLookup(f.i1.get()), 1);
  EXPECT_EQ(table->IndexOfFieldOrLookup(f.d2.get()), -1);
}

TEST(TDataTable, ALockedStructureRefusesEveryChange) {
  Fields f;
  auto table = TDataTable::CreateWithFields("", {f.k1.get()}, {f.d1.get()});
  table->LockStructure();
  const std::string refusal =
      "DynaTable: TDynaTable.CheckLocked: DynaTable's structure is locked! It cannot be changed!";
  EXPECT_EQ(FatalReport([&] { table->AddKey(f.k2.get()); }), refusal);
  EXPECT_EQ(FatalReport([&] { table->AddField(f.d2.get()); }), refusal);
  EXPECT_EQ(FatalReport([&] { table->AddIgnore(f.i1.get()); }), refusal);
  EXPECT_EQ(FatalReport([&] { table->RemoveDataField(f.d1.get()); }), refusal);
  EXPECT_EQ(FatalReport([&] { table->MoveField(f.d2.get(), 2); }), refusal);
  EXPECT_EQ(Layout(*table), "K:k1 D:d1");
}

TEST(TDataTable, DoubleFieldsAreNamed) {
  Fields f;
  f.d1->SetDescriptions({"Erste"}, {"Die erste"});
  EXPECT_EQ(
      [&] {
        try {
          TDataTable::CreateWithFields("", {f.k1.get()}, {f.d1.get(), f.d2.get(), f.d1.get()});
        } catch (const Exception& e) {
          return std::string(e.what());
        }
        return std::string("none");
      }(),
      "Double field: " + f.d1->FieldName() + " Die erste (index: 3)");
}

TEST(TDataTable, AFieldThatGoesLeavesItsTables) {
  Fields f;
  auto table = TDataTable::CreateWithFields("", {f.k1.get()}, {f.d1.get(), f.d2.get()});
  f.d1.reset();
  EXPECT_EQ(Layout(*table), "K:k1 D:d2");
  EXPECT_EQ(table->RowDataSize(), 4 + 1);
}

TEST(TDataTable, TablesWithATypeAreRegisteredByNameAndDescriptionsFollowIt) {
  test::TRecordedReports reports;
  TDataTableType type(nullptr);
  auto a = TDataTable::CreateWithFields("Languages_T1", {}, {}, nullptr, &type);
  a->Descriptions().SetDefaultText("Languages_T1");
  auto b = TDataTable::CreateWithFields("Languages_T1", {}, {}, nullptr, &type);
  ASSERT_EQ(reports.Reports().size(), 1u);
  EXPECT_EQ(reports.Reports()[0].Severity, desWarning);
  EXPECT_EQ(reports.Reports()[0].Category, "Duplicates");
  EXPECT_EQ(reports.Reports()[0].Message, "Duplicate tables: Languages_T1");
  EXPECT_EQ(type.Tables().size(), 2u);
  EXPECT_EQ(
      [&] {
        try {
          type.CheckDestroy();
        } catch (const Exception& e) {
          return std::string(e.what());
        }
        return std::string("none");
      }(),
      "TDataTableType.Destroy: TableList still contains 2 table(s). The first one is Languages_T1");
  a->SetTableName("Strings_T1");
  EXPECT_EQ(a->Descriptions().DefaultText(), "Strings_T1");
  b->SetTableName("Languages_T1");  // free again: registered now
  EXPECT_EQ(reports.Reports().size(), 1u);
  b->SetTableName("Strings_T1");
  EXPECT_EQ(reports.Reports().size(), 2u);
  auto untyped = TDataTable::CreateWithFields("Strings_T1", {}, {});  // without a type: not registered
  EXPECT_EQ(reports.Reports().size(), 2u);
  a.reset();
  b->SetTableType(nullptr);
  EXPECT_TRUE(type.Tables().empty());
  type.CheckDestroy();
}

TEST(TDataBridge, TheBaseBridgeRefusesEveryOperation) {
  TDataBridge bridge(nullptr);
  TDataTable table(nullptr);
  EXPECT_EQ(test::RaisedMessage([&] { bridge.OpenReadConnection(); }),
            "TDataBridge.OpenReadConnection: Read is not allowed from this type of DataBridge");
  EXPECT_EQ(test::RaisedMessage([&] { bridge.OpenWriteConnection(); }),
            "TDataBridge.OpenWriteConnection: Write is not allowed to this type of DataBridge");
  EXPECT_EQ(test::RaisedMessage([&] { bridge.UpdateData(table, nullptr); }),
            "TDataBridge.UpdateData: Write is not allowed to this type of DataBridge");
  EXPECT_EQ(test::RaisedMessage([&] { bridge.DeleteData(table, nullptr); }),
            "TDataBridge.DeleteData: Write is not allowed to this type of DataBridge");
  bridge.CanRead = bridge.CanWrite = true;
  EXPECT_EQ(test::RaisedMessage([&] { bridge.OpenReadConnection(); }),
            "TDataBridge.OpenReadConnection: Method not implemented");
  EXPECT_EQ(test::RaisedMessage([&] { bridge.OpenWriteConnection(); }),
            "TDataBridge.OpenWriteConnection: Method not implemented");
  EXPECT_EQ(test::RaisedMessage([&] { bridge.UpdateData(table, nullptr); }),
            "TDataBridge.UpdateData: Method not implemented");
  EXPECT_EQ(test::RaisedMessage([&] { table.SetDataBridge(&bridge), table.DeleteRows(nullptr); }),
            "TDataBridge.DeleteData: Method not implemented");
  EXPECT_EQ(test::RaisedMessage([&] { bridge.GetSelectSQL(table, nullptr); }),
            "TDataBridge: SQL not supported!");
  EXPECT_EQ(test::RaisedMessage([&] { bridge.GetDeleteSQL(table, nullptr); }),
            "TDataBridge: SQL not supported!");
  TDataTable withoutBridge(nullptr);
  EXPECT_FALSE(withoutBridge.DeleteRows(nullptr));
}

}  // namespace
}  // namespace tv
