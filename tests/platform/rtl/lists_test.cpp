#include "platform/rtl/lists.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/rtl/exception.h"

namespace tv {
namespace {

std::vector<std::string> Lines(const TStrings& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

template <typename E, typename F>
void ExpectError(F f, const std::string& message) {
  try {
    f();
    ADD_FAILURE() << "no error raised";
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

TEST(TList, KeepsReferencesInOrderAndChecksIndexes) {
  int a = 1, b = 2, c = 3;
  TList list;
  EXPECT_EQ(list.Add(&a), 0);
  EXPECT_EQ(list.Add(&c), 1);
  list.Insert(1, &b);
  EXPECT_EQ(list.IndexOf(&b), 1);
  EXPECT_EQ(list.Remove(&a), 0);
  EXPECT_EQ(list.Remove(&a), -1);
  list.Exchange(0, 1);
  EXPECT_EQ(list.Items(0), &c);
  ExpectError<EListError>([&] { list.Items(2); }, "List index out of bounds (2)");
  ExpectError<EListError>([&] { list.Delete(-1); }, "List index out of bounds (-1)");
  ExpectError<EListError>([&] { list.Insert(3, &a); }, "List index out of bounds (3)");
}

TEST(TStringList, UnsortedKeepsOrderAndObjects) {
  TObject one, two;
  TStringList list;
  list.AddObject("b", &one);
  list.Add("a");
  list.InsertObject(0, "c", &two);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(list.Objects(0), &two);
  EXPECT_EQ(list.IndexOfObject(&one), 1);
  EXPECT_EQ(list.IndexOf("B"), 1);  // not case-sensitive by default
  list.Exchange(0, 2);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(list.Objects(2), &two);
  list.Put(1, "x");
  EXPECT_EQ(list.Objects(1), &one);
  ExpectError<EStringListError>([&] { list.Get(3); }, "List index out of bounds (3)");
}

TEST(TStringList, SortedListFindsByBisectionAndRefusesPositions) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"delta", "Alpha", "charlie", "bravo"}) list.Add(s);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Alpha", "bravo", "charlie", "delta"}));
  int index = -1;
  EXPECT_TRUE(list.Find("CHARLIE", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find("bz", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find("zulu", index));
  EXPECT_EQ(index, 4);
  EXPECT_EQ(list.IndexOf("ALPHA"), 0);
  ExpectError<EStringListError>([&] { list.Insert(0, "x"); }, "Operation not allowed on sorted list");
  ExpectError<EStringListError>([&] { list.Put(0, "x"); }, "Operation not allowed on sorted list");
}

TEST(TStringList, DuplicatesAreIgnoredAcceptedOrRefused) {
  TStringList list;
  list.SetSorted(true);
  list.Add("a");
  EXPECT_EQ(list.Add("A"), 0);  // ignored: the place of the one there
  EXPECT_EQ(list.Count(), 1);

  list.SetDuplicates(TDuplicates::dupError);
  ExpectError<EStringListError>([&] { list.Add("a"); }, "String list does not allow duplicates");

  list.SetDuplicates(TDuplicates::dupAccept);
  list.Add("b");
  list.Add("a");
  list.Add("a");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "a", "a", "b"}));
  int index = -1;
  EXPECT_TRUE(list.Find("a", index));
  EXPECT_EQ(index, 0);  // the first of the equal ones
}

TEST(TStringList, CaseSensitivityChangesOrderAndEquality) {
  TStringList list;
  list.SetCaseSensitive(true);
  list.SetSorted(true);
  list.SetDuplicates(TDuplicates::dupAccept);
  for (const char* s : {"b", "B", "a", "A"}) list.Add(s);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"A", "B", "a", "b"}));
  EXPECT_EQ(list.IndexOf("b"), 3);
  list.SetCaseSensitive(false);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"A", "a", "B", "b"}));
}

TEST(TStrings, TextSplitsAtEveryLineEndAndStopsAtNul) {
  TStringList list;
  list.SetText(std::string("one\r\ntwo\rthree\n\nfive\0six", 25));
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"one", "two", "three", "", "five"}));
  EXPECT_EQ(list.Text(), "one\r\ntwo\r\nthree\r\n\r\nfive\r\n");
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
}

class TCountingList : public TStringList {
 public:
  int changes = 0;

 protected:
  void SetUpdateState(bool updating) override { changes += updating ? 1 : 10; }
};

TEST(TStrings, AssignCopiesTextsAndObjectsWithinOneUpdate) {
  TObject marker;
  TStringList source;
  source.AddObject("x", &marker);
  source.Add("y");
  TCountingList target;
  target.Add("old");
  target.BeginUpdate();
  target.Assign(source);
  EXPECT_EQ(target.changes, 1);  // nested: no second notice
  target.EndUpdate();
  EXPECT_EQ(target.changes, 11);
  EXPECT_EQ(Lines(target), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(target.Objects(0), &marker);
  target.EndUpdate();  // unbalanced end changes nothing
  EXPECT_EQ(target.UpdateCount(), 0);
}

TEST(TStrings, NameValueLinesAreFoundByTheirFirstName) {
  TStringList list;
  list.SetText("plain\nSIZE=30\nCS=a=b\nsize=99\n=empty name\n");
  EXPECT_EQ(list.IndexOfName("size"), 1);  // first match, without case like the texts
  EXPECT_EQ(list.Values("SIZE"), "30");
  EXPECT_EQ(list.Values("CS"), "a=b");  // only the first "=" separates
  EXPECT_EQ(list.Values("plain"), "");  // a line without "=" has no name
  EXPECT_EQ(list.Values(""), "empty name");
  EXPECT_EQ(list.Names(0), "");
  EXPECT_EQ(list.Names(2), "CS");
  EXPECT_EQ(list.IndexOfName("missing"), -1);
}

// A memo's lines behave as a string list of the same texts would, step by
// step, bad indexes included.
TEST(TTextLines, BehaveAsAStringListOfTheSameTexts) {
  TStringList list;
  TTextLines lines;
  const std::vector<std::function<void(TStrings&)>> steps = {
      [](TStrings& l) { l.SetText("a\r\nbb\n\nccc\rd\0ignored"); },
      [](TStrings& l) { l.Insert(0, "x"); },
      [](TStrings& l) { l.Insert(2, ""); },
      [](TStrings& l) { l.Insert(l.Count(), "last"); },
      [](TStrings& l) { l.Put(1, "a longer line than before"); },
      [](TStrings& l) { l.Put(3, ""); },
      [](TStrings& l) { l.Delete(0); },
      [](TStrings& l) { l.Delete(l.Count() - 1); },
      [](TStrings& l) { l.Exchange(0, 2); },
      [](TStrings& l) { l.Add("end"); },
      [](TStrings& l) { l.Get(-1); },
      [](TStrings& l) { l.Get(l.Count()); },
      [](TStrings& l) { l.Insert(l.Count() + 1, "x"); },
      [](TStrings& l) { l.Delete(l.Count()); },
      [](TStrings& l) { l.Put(-1, "x"); },
      [](TStrings& l) { l.Clear(); },
      [](TStrings& l) { l.SetText(""); },
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(i);
    std::string listError, linesError;
    try {
      steps[i](list);
    } catch (const EStringListError& e) {
      listError = e.what();
    }
    try {
      steps[i](lines);
    } catch (const EStringListError& e) {
      linesError = e.what();
    }
    EXPECT_EQ(linesError, listError);
    EXPECT_EQ(Lines(lines), Lines(list));
  }
  lines.SetText("one");
  EXPECT_EQ(lines.Objects(0), nullptr);
  ExpectError<EStringListError>([&] { lines.PutObject(0, &list); }, "Lines of text hold no objects");
}

// A log shown in a memo takes at most about four times its file, however
// its lines are made, and gives the room back when cleared.
TEST(TTextLines, HoldALogInLessThanFourTimesItsSize) {
  for (const std::string& line : {std::string(), std::string("x"), std::string(78, 'x')}) {
    SCOPED_TRACE(line.size());
    std::string log;
    while (log.size() < 4'000'000) log.append(line).append("\r\n");
    TTextLines lines;
    lines.SetText(log);
    EXPECT_EQ(lines.Count(), static_cast<int>(log.size() / (line.size() + 2)));
    EXPECT_LE(lines.MemoryUsed(), 4 * log.size());
    EXPECT_EQ(lines.Get(lines.Count() - 1), line);
    lines.Clear();
    EXPECT_LT(lines.MemoryUsed(), 64u);  // what an empty string holds in itself
  }
}

}  // namespace
}  // namespace tv
