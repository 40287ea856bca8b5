// Field lists, the list routines, index containers and TInterruptable.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "data/types/field_list.h"
#include "data/types/index_container.h"
#include "data/types/interruptable.h"
#include "tests/data/types/type_test_support.h"

namespace tv {
namespace {

using test::Outcome;

// Field lists only hold references; any distinct addresses will do.
TDataField* FakeField(int n) {
  return reinterpret_cast<TDataField*>(static_cast<std::uintptr_t>(0x1000 + 16 * n));
}

TEST(TFieldList, DuplicatesAreAcceptedIgnoredOrRefused) {
  TFieldList list;
  EXPECT_EQ(list.Duplicates(), TDuplicates::dupAccept);
  list.Add(FakeField(1));
  list.Add(FakeField(1));
  EXPECT_EQ(list.Count(), 2);
  list.SetDuplicates(TDuplicates::dupIgnore);
  list.Insert(0, FakeField(1));
  EXPECT_EQ(list.Count(), 2);
  list.Insert(0, FakeField(2));
  EXPECT_EQ(list.IndexOf(FakeField(2)), 0);
  EXPECT_EQ(list.IndexOf(FakeField(1)), 1);
  list.SetDuplicates(TDuplicates::dupError);
  EXPECT_EQ(Outcome([&] {
              list.Insert(1, FakeField(2));
              return std::string();
            }),
            "error: FieldList doesn't allow duplicates!");
  EXPECT_EQ(list.Count(), 3);
  list.Remove(FakeField(1));  // the first one only
  EXPECT_EQ(list.Count(), 2);
  EXPECT_TRUE(list.Contains(FakeField(1)));
  EXPECT_THROW(list.Items(2), EListError);
  EXPECT_THROW(list.Insert(5, FakeField(3)), EListError);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(TDefaultValueFieldList, FieldsCarryAFreeText) {
  TDefaultValueFieldList list;
  list.Add(FakeField(1), "one");
  list.Add(FakeField(2));
  EXPECT_EQ(list.Items(1), FakeField(2));
  EXPECT_EQ(list.DefaultText(0), "one");
  list.SetDefaultText(1, "two");
  list.Remove(FakeField(1));
  EXPECT_FALSE(list.Contains(FakeField(1)));
  EXPECT_EQ(list.DefaultText(0), "two");
  EXPECT_THROW(list.Items(1), EStringListError);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

class TCounted : public TObject {
 public:
  explicit TCounted(int& alive) : alive_(alive) { ++alive_; }
  ~TCounted() override { --alive_; }

 private:
  int& alive_;
};

TEST(ListRoutines, CopyFreeAndComplete) {
  TList from, to;
  int a = 0, b = 0;
  from.Add(&a);
  from.Add(&b);
  to.Add(&b);
  CopyListContent(&from, &to);
  EXPECT_EQ(to.Count(), 3);
  EXPECT_EQ(to.Items(2), &b);
  CopyListContent(&to, &to);  // a list copied onto itself doubles once
  EXPECT_EQ(to.Count(), 6);
  EXPECT_EQ(Outcome([&] {
              CopyListContent(nullptr, &to);
              return std::string();
            }),
            "error: CopyListContent: Invalid parameter! FromList = nil");
  EXPECT_EQ(Outcome([&] {
              CopyListContent(&from, nullptr);
              return std::string();
            }),
            "error: CopyListContent: Invalid parameter! ToList = nil");

  int alive = 0;
  auto* owned = new TList;
  owned->Add(new TCounted(alive));
  owned->Add(new TCounted(alive));
  EXPECT_EQ(alive, 2);
  FreeListItems(owned);
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(owned->Count(), 0);
  owned->Add(new TCounted(alive));
  FreeListAndItems(owned);
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(owned, nullptr);
  FreeListAndItems(owned);  // nothing left to free

  TStringList names;
  names.SetText("Deutsch\nEnglish\nenglish UK\n");
  std::string text = "eng";
  int index = -1;
  EXPECT_TRUE(CompleteText(names, text, index, false));
  EXPECT_EQ(text, "English");
  EXPECT_EQ(index, 1);
  text = "english UK";
  EXPECT_TRUE(CompleteText(names, text, index, true));
  EXPECT_EQ(index, 2);
  text = "eng";
  EXPECT_TRUE(CompleteText(names, text, index, true));
  EXPECT_EQ(text, "english UK");
  text = "Fr";
  EXPECT_FALSE(CompleteText(names, text, index, false));
  EXPECT_EQ(text, "Fr");
}

// Objects at chosen addresses: keys 101 apart share a bucket.
std::vector<TObject*> Keys(std::uintptr_t base, std::uintptr_t step, int count) {
  std::vector<TObject*> keys;
  for (int i = 0; i < count; ++i)
    keys.push_back(reinterpret_cast<TObject*>(base + step * static_cast<std::uintptr_t>(i)));
  return keys;
}

std::vector<TObject*> Visit(const TIndexContainer& container) {
  std::vector<TObject*> keys;
  for (TIndexContainerIterator it(container); !it.AtEnd(); it.Next()) keys.push_back(it.Key());
  return keys;
}

TEST(TIndexContainer, SharedBucketsOverflowAndMoveBackOnRemoval) {
  TIndexContainer container(101, false);
  EXPECT_TRUE(container.IsEmpty());
  const auto keys = Keys(101 * 1000, 101, 3);  // all in bucket 0
  for (TObject* key : keys) container.Add(key);
  container.Add(keys[1]);  // already there
  EXPECT_EQ(container.Count(), 3);
  EXPECT_EQ(Visit(container), keys);
  EXPECT_TRUE(container.Remove(keys[0]));
  EXPECT_EQ(Visit(container),
            (std::vector<TObject*>{keys[1], keys[2]}));  // the first overflow key took the bucket
  EXPECT_FALSE(container.Contains(keys[0]));
  EXPECT_TRUE(container.Contains(keys[2]));
  EXPECT_TRUE(container.Remove(keys[2]));
  EXPECT_FALSE(container.Remove(keys[2]));
  EXPECT_TRUE(container.Remove(keys[1]));
  EXPECT_TRUE(container.IsEmpty());
  EXPECT_TRUE(Visit(container).empty());
  EXPECT_EQ(Outcome([&] {
              container.Add(nullptr);
              return std::string();
            }),
            "error: TIndexContainer.Add: nil is not allowed as Index!");
}

TEST(TIndexContainer, IteratesBucketsInOrderThenOverflowInInsertionOrder) {
  TIndexContainer container(101, false);
  TObject* high = reinterpret_cast<TObject*>(101 * 50 + 7);   // bucket 7
  TObject* low = reinterpret_cast<TObject*>(101 * 60 + 3);    // bucket 3
  TObject* late = reinterpret_cast<TObject*>(101 * 70 + 7);   // bucket 7, overflow
  TObject* later = reinterpret_cast<TObject*>(101 * 80 + 3);  // bucket 3, overflow
  for (TObject* key : {high, low, late, later}) container.Add(key);
  EXPECT_EQ(Visit(container), (std::vector<TObject*>{low, high, late, later}));
}

TEST(TIndexContainer, DataIsKeptReplacedHandedBackAndFreed) {
  int alive = 0;
  TIndexContainer container(101, true);
  const auto keys = Keys(101 * 2000 + 5, 101, 3);
  auto* first = new TCounted(alive);
  container.AddWithData(keys[0], first);
  auto* old = new TCounted(alive);
  container.AddWithData(keys[1], old);
  auto* replaced = new TCounted(alive);
  container.AddWithData(keys[1], replaced);  // the old data is the caller's again
  TObject* data = nullptr;
  ASSERT_TRUE(container.Find(keys[1], data));
  EXPECT_EQ(data, replaced);
  TIndexContainerIterator it(container);
  EXPECT_EQ(it.Data(), first);
  ASSERT_TRUE(container.RemoveWithData(keys[0], data));
  EXPECT_EQ(data, first);
  delete first;
  EXPECT_EQ(alive, 2);  // replaced, and the one it replaced
  container.Add(keys[2]);
  container.ClearAndFreeData();
  EXPECT_EQ(alive, 1);
  delete old;
  EXPECT_TRUE(container.IsEmpty());

  TIndexContainer plain(101, false);
  TObject ignored;
  plain.AddWithData(keys[0], &ignored);
  ASSERT_TRUE(plain.Find(keys[0], data));
  EXPECT_EQ(data, nullptr);  // no data lists: nothing kept
}

TEST(TIndexContainer, ManyKeysAgreeWithASet) {
  TIndexContainer container(101, true);
  std::vector<std::unique_ptr<TObject>> objects(3000);
  for (auto& o : objects) o = std::make_unique<TObject>();
  for (std::size_t i = 0; i < objects.size(); ++i)
    container.AddWithData(objects[i].get(), objects[(i + 1) % 3000].get());
  for (std::size_t i = 0; i < objects.size(); i += 3) EXPECT_TRUE(container.Remove(objects[i].get()));
  EXPECT_EQ(container.Count(), 2000);
  EXPECT_EQ(Visit(container).size(), 2000u);
  for (std::size_t i = 0; i < objects.size(); ++i) {
    TObject* data = nullptr;
    ASSERT_EQ(container.Find(objects[i].get(), data), i % 3 != 0);
    if (i % 3 != 0) {
      ASSERT_EQ(data, objects[(i + 1) % 3000].get());
    }
  }
}

TEST(TInterruptable, AMissingObjectReadsAsNotInterrupted) {
  TInterruptable interruptable;
  EXPECT_EQ(interruptable.Setting, 10);
  EXPECT_FALSE(IsInterrupted(&interruptable));
  SetInterrupted(&interruptable, true);
  EXPECT_TRUE(IsInterrupted(&interruptable));
  interruptable.Count = 12;
  EXPECT_EQ(InterruptableCount(&interruptable), 12);
  EXPECT_FALSE(IsInterrupted(nullptr));
  EXPECT_EQ(InterruptableCount(nullptr), 0);
  SetInterrupted(nullptr, true);
}

}  // namespace
}  // namespace tv
