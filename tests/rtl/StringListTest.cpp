// The string list as the designer relies on it: case-insensitive look-up, objects that travel
// with their entries, and copies that carry the objects along.
#include <gtest/gtest.h>

#include "host/rtl/Classes.h"

namespace {

TObject* Flag(intptr_t v) { return reinterpret_cast<TObject*>(v); }

TEST(StringList, NewListIsEmptyUnsortedAndKeepsDuplicates) {
  TStringList list;
  EXPECT_EQ(list.Count(), 0);
  list.Add("b");
  list.Add("a");
  list.Add("b");
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"b", "a", "b"}));
}

TEST(StringList, IndexOfIgnoresCaseAndAnswersMinusOne) {
  TStringList list;
  list.SetVector({"CustNo", "Name"});
  EXPECT_EQ(list.IndexOf("custno"), 0);
  EXPECT_EQ(list.IndexOf("NAME"), 1);
  EXPECT_EQ(list.IndexOf("Nam"), -1);
  EXPECT_EQ(list.IndexOf(""), -1);
}

TEST(StringList, MoveKeepsTheObjectAndTheOthersOrder) {
  TStringList list;
  list.AddObject("p", Flag(1));
  list.Add("q");
  list.AddObject("r", Flag(2));
  list.Move(2, 0);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"r", "p", "q"}));
  EXPECT_EQ(list.Objects(0), Flag(2));
  EXPECT_EQ(list.Objects(1), Flag(1));
  EXPECT_EQ(list.Objects(2), nullptr);
}

TEST(StringList, AssignCopiesTextsAndObjectsAndReplaces) {
  TStringList from, to;
  from.AddObject("x", Flag(1));
  from.Add("y");
  to.Add("old");
  to.Assign(&from);
  EXPECT_EQ(to.ToVector(), from.ToVector());
  EXPECT_EQ(to.Objects(0), Flag(1));
  EXPECT_EQ(to.Objects(1), nullptr);
}

TEST(StringList, IndexErrorsRaiseListErrors) {
  TStringList list;
  list.Add("a");
  EXPECT_THROW(list.Get(1), EListError);
  EXPECT_THROW(list.Delete(-1), EListError);
  EXPECT_THROW(list.Insert(3, "z"), EListError);
  EXPECT_THROW(list.Move(0, 1), EListError);
  EXPECT_EQ(list.Count(), 1);
}

TEST(StringList, SortedListFindsAndHandlesDuplicates) {
  TStringList list;
  list.SetSorted(true);
  list.Add("b");
  list.Add("A");
  list.Add("c");
  list.Add("B");  // ignored: equal without regard to case
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"A", "b", "c"}));
  EXPECT_EQ(list.IndexOf("C"), 2);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("a"), EStringListError);
}

TEST(StringList, TextSplitsLinesAndChangeFiresOncePerUpdate) {
  TStringList list;
  int changes = 0;
  list.OnChange.Code = [&](TObject*) { ++changes; };
  list.SetText("one\r\ntwo\nthree");
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(list.Text(), "one\ntwo\nthree\n");
}

}  // namespace
