// The designer's text routines: field list texts, join lines, and reference order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fldlinks/FieldListText.h"

using Strings = std::vector<std::string>;

TEST(FieldListText, NextFieldNameKeepsEmptyNamesAndBlanks) {
  Strings names;
  std::string_view text = "A;;B; C;";
  for (size_t pos = 0; pos < text.size();) names.push_back(NextFieldName(text, pos));
  EXPECT_EQ(names, (Strings{"A", "", "B", " C"}));  // a final ";" adds no empty name
}

TEST(FieldListText, AJoinLineIsSplitWhereBothNamesAreKnown) {
  auto known = [](std::vector<std::string_view> names) {
    return [names](std::string_view name) { return std::find(names.begin(), names.end(), name) != names.end(); };
  };
  using Split = std::pair<std::string, std::string>;
  auto details = known({"CustNo", "p -> q", "a->b"});
  auto masters = known({"Id", "x -> y", "x->y"});
  EXPECT_EQ(SplitJoinLine("CustNo -> Id", details, masters), (Split{"CustNo", "Id"}));
  // An arrow inside either name: the split leaves two known names, not the last arrow's halves.
  EXPECT_EQ(SplitJoinLine("p -> q -> x -> y", details, masters), (Split{"p -> q", "x -> y"}));
  EXPECT_EQ(SplitJoinLine("CustNo -> x -> y", details, masters), (Split{"CustNo", "x -> y"}));
  EXPECT_EQ(SplitJoinLine("a->b -> x->y", details, masters), (Split{"a->b", "x->y"}));
  // Unknown names: the last arrow; no arrow: a detail name alone.
  EXPECT_EQ(SplitJoinLine("u -> v -> w", details, masters), (Split{"u -> v", "w"}));
  EXPECT_EQ(SplitJoinLine(" -> X", details, masters), (Split{"", "X"}));
  EXPECT_EQ(SplitJoinLine("NoArrow", details, masters), (Split{"NoArrow", ""}));
}

TEST(FieldListText, EntriesOfEqualNamesAreTakenInTurnAndGivenBackLastFirst) {
  TStringList list;
  for (const char* s : {"a", "B", "A", "c"}) list.Add(s);
  TNameEntries entries;
  entries.Assign(&list);
  EXPECT_EQ(entries.IndexOf("A"), 0);
  EXPECT_EQ(entries.Take("A"), 0);
  EXPECT_EQ(entries.Take("a"), 2);
  EXPECT_FALSE(entries.Untaken("a"));
  EXPECT_EQ(entries.Take("a"), -1);
  EXPECT_EQ(entries.GiveBack("a"), 2);
  EXPECT_EQ(entries.Take("x"), -1);
  EXPECT_EQ(entries.GiveBack("c"), -1);
  // Each name keeps its own count.
  EXPECT_EQ(entries.Take("b"), 1);
  EXPECT_TRUE(entries.Untaken("C"));
  EXPECT_EQ(entries.Take("a"), 2);
  entries.GiveBackAll();
  EXPECT_EQ(entries.Take("a"), 0);
}

TEST(FieldListText, OrderFieldListIsAStableSortByFirstReferencePosition) {
  TStringList reference, list;
  for (const char* s : {"P", "Q", "R", "q"}) reference.Add(s);
  for (const char* s : {"R", "X", "p", "Q", "Y", "q"}) list.Add(s);
  TObject marker;
  list.SetObjects(0, &marker);
  OrderFieldList(&reference, &list);
  // Absent entries first in their old order; "Q" and "q" share the first position of the name.
  EXPECT_EQ(list.ToVector(), (Strings{"X", "Y", "p", "Q", "q", "R"}));
  EXPECT_EQ(list.Objects(5), &marker);

  reference.Clear();
  list.Clear();
  const int n = 40000;  // references beyond 32767 entries are ordered as well
  for (int i = 0; i < n; ++i) reference.Add("F" + std::to_string(i));
  for (int i = n - 1; i >= 0; i -= 3) list.Add("F" + std::to_string(i));
  OrderFieldList(&reference, &list);
  for (int i = 1; i < list.Count(); ++i)
    ASSERT_LT(std::stoi(list.Strings(i - 1).substr(1)), std::stoi(list.Strings(i).substr(1))) << i;
}
