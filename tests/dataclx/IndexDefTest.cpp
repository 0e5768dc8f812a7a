// Index definitions: look-up by name, the search for the index that serves a field list, and
// copies.
#include <gtest/gtest.h>

#include "host/dataclx/Db.h"

namespace {

class IndexDefsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dataSet.SetName("Orders");
    defs.Add("ByCustDate", "CustNo;OrderDate", {});
    defs.Add("PRIMARY", "OrderNo", {ixPrimary, ixUnique});
    defs.Add("ByCust", "custno", {});
    defs.Add("ByExpr", "", {ixExpression})->SetExpression("lower(Name)");
    defs.Add("ByCustNoX", "CustNoX;Amount", {});
    defs.Add("ByNameCI", "Name;City", {ixCaseInsensitive});
  }

  TDataSet dataSet{nullptr};
  TIndexDefs defs{&dataSet};
};

TEST_F(IndexDefsTest, AnExactFieldListBeatsAnEarlierPrefix) {
  EXPECT_EQ(defs.FindIndexForFields("CustNo")->Name(), "ByCust");
  EXPECT_EQ(defs.FindIndexForFields("CUSTNO;orderdate")->Name(), "ByCustDate");
  EXPECT_EQ(defs.FindIndexForFields("OrderNo")->Name(), "PRIMARY");
  defs.Delete(defs.IndexOf("ByCust"));
  // Without an exact one, the first whose fields begin with the list.
  EXPECT_EQ(defs.FindIndexForFields("custno")->Name(), "ByCustDate");
  EXPECT_EQ(defs.FindIndexForFields("Name")->Name(), "ByNameCI");
}

TEST_F(IndexDefsTest, PrefixesMatchWholeNamesOnly) {
  // "Cust" is no field of "CustNo;OrderDate", nor "CustNo" of "CustNoX;Amount".
  EXPECT_EQ(defs.GetIndexForFields("Cust", false), nullptr);
  EXPECT_EQ(defs.GetIndexForFields("CustNoX", false)->Name(), "ByCustNoX");
  EXPECT_EQ(defs.GetIndexForFields("CustNo;Order", false), nullptr);
  EXPECT_EQ(defs.GetIndexForFields("OrderDate", false), nullptr);
  // An expression index has no fields to match, not even an empty list.
  EXPECT_EQ(defs.GetIndexForFields("", false), nullptr);
  EXPECT_EQ(defs.GetIndexForFields("lower(Name)", false), nullptr);
}

TEST_F(IndexDefsTest, ADescendingIndexNeverAnswersForAPlainList) {
  // Made before the ascending ones, exact or a prefix: it would reverse the order.
  TIndexDefs ordered(&dataSet);
  ordered.Add("ByCustDesc", "CustNo", {ixDescending});
  ordered.Add("ByCustAmountDesc", "CustNo;Amount", {ixDescending});
  EXPECT_EQ(ordered.GetIndexForFields("CustNo", false), nullptr);
  ordered.Add("ByCustAmount", "CustNo;Amount", {});
  EXPECT_EQ(ordered.FindIndexForFields("CustNo")->Name(), "ByCustAmount");
  ordered.Add("ByCust", "CustNo", {});
  EXPECT_EQ(ordered.FindIndexForFields("custno")->Name(), "ByCust");
}

TEST_F(IndexDefsTest, CaseInsensitiveSearchTakesOnlyCaseInsensitiveIndexes) {
  EXPECT_EQ(defs.GetIndexForFields("CustNo", true), nullptr);
  EXPECT_EQ(defs.GetIndexForFields("name", true)->Name(), "ByNameCI");
}

TEST_F(IndexDefsTest, NoIndexForTheFieldsIsADatabaseErrorNamingThem) {
  try {
    defs.FindIndexForFields("Amount;City");
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Orders: No index for fields 'Amount;City'");
  }
  TIndexDefs loose(nullptr);
  try {
    loose.FindIndexForFields("X");
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "No index for fields 'X'");
  }
}

TEST_F(IndexDefsTest, NamesAreLookedUpWithoutRegardToCase) {
  EXPECT_EQ(defs.IndexOf("bycust"), 2);
  EXPECT_EQ(defs.IndexOf("primary"), 1);
  EXPECT_EQ(defs.IndexOf("ByCus"), -1);
  EXPECT_EQ(defs.TDefCollection::Find("BYEXPR"), defs.Items(3));
  EXPECT_EQ(defs.TDefCollection::Find("None"), nullptr);
  EXPECT_EQ(defs.Find("byexpr"), defs.Items(3));
  EXPECT_THROW(defs.Find("None"), EDatabaseError);

  TStringList names;
  names.Add("first");
  defs.GetItemNames(&names);
  EXPECT_EQ(names.ToVector(),
            (std::vector<std::string>{"first", "ByCustDate", "PRIMARY", "ByCust", "ByExpr", "ByCustNoX", "ByNameCI"}));
}

TEST_F(IndexDefsTest, AssignCopiesEveryDefinitionWhole) {
  defs.Items(0)->SetDescFields("OrderDate");
  defs.Items(0)->SetCaseInsFields("CustNo");
  defs.Items(0)->SetSource("orders.idx");
  TIndexDefs copy(nullptr);
  copy.Add("Old", "X", {});
  copy.Assign(&defs);
  ASSERT_EQ(copy.Count(), defs.Count());
  for (int i = 0; i < defs.Count(); ++i) {
    EXPECT_EQ(copy.Items(i)->Name(), defs.Items(i)->Name());
    EXPECT_EQ(copy.Items(i)->Fields(), defs.Items(i)->Fields());
    EXPECT_EQ(copy.Items(i)->Expression(), defs.Items(i)->Expression());
    EXPECT_EQ(copy.Items(i)->Options(), defs.Items(i)->Options());
    EXPECT_NE(copy.Items(i), defs.Items(i));
    EXPECT_TRUE(copy.Items(i)->SameAs(*defs.Items(i))) << i;
  }
  EXPECT_EQ(copy.Items(0)->DescFields(), "OrderDate");
  EXPECT_EQ(copy.Items(0)->CaseInsFields(), "CustNo");
  EXPECT_EQ(copy.Items(0)->Source(), "orders.idx");
  // The copy is independent of its source, in every part.
  defs.Items(0)->SetFields("Changed");
  defs.Items(0)->SetSource("other.idx");
  EXPECT_EQ(copy.Items(0)->Fields(), "CustNo;OrderDate");
  EXPECT_EQ(copy.Items(0)->Source(), "orders.idx");
  EXPECT_FALSE(copy.Items(0)->SameAs(*defs.Items(0)));
  // Parts set and emptied again leave a definition the same as one that never had them.
  TIndexDef* plain = copy.Add("Plain", "A", {});
  TIndexDef* emptied = copy.Add("Plain", "A", {});
  emptied->SetDescFields("A");
  EXPECT_FALSE(emptied->SameAs(*plain));
  emptied->SetSource("a.idx");
  emptied->SetDescFields("");
  EXPECT_FALSE(emptied->SameAs(*plain));
  emptied->SetSource("");
  EXPECT_TRUE(emptied->SameAs(*plain));
  EXPECT_TRUE(plain->SameAs(*emptied));
  copy.Delete(copy.Count() - 1);
  copy.Delete(copy.Count() - 1);
  EXPECT_EQ(copy.DataSet(), nullptr);
  // Field definitions are no index definitions.
  TFieldDefs fields(nullptr);
  fields.Add("A", ftString, 1);
  EXPECT_THROW(copy.Assign(&fields), EConvertError);
  EXPECT_EQ(copy.Count(), defs.Count());
}

}  // namespace
