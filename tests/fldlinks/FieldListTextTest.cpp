// The designer's text routines: field list texts, join lines, and reference order.
#include <gtest/gtest.h>

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

TEST(FieldListText, JoinLinesSplitAtTheLastArrow) {
  EXPECT_EQ(JoinDetailField("CustNo -> Id"), "CustNo");
  EXPECT_EQ(JoinMasterField("CustNo -> Id"), "Id");
  // A detail name holding an arrow comes back whole; a master name holding one does not.
  EXPECT_EQ(JoinDetailField("a->b -> M"), "a->b");
  EXPECT_EQ(JoinMasterField("a->b -> M"), "M");
  EXPECT_EQ(JoinDetailField("D -> m->n"), "D -> ");
  EXPECT_EQ(JoinMasterField("D -> m->n"), "");
  EXPECT_EQ(JoinDetailField("NoArrow"), "");
  EXPECT_EQ(JoinDetailField(" -> X"), "");
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
