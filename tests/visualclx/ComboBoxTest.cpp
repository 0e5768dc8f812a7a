// Combo box: the chosen entry and its text; code changes fire nothing, a user's choice fires
// OnChange only when it changes the choice, and OnClick always.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/rtl/Strings.h"
#include "host/visualclx/ComboBox.h"

namespace {

struct ComboBoxTest : ::testing::Test {
  TComboBox Box{nullptr};
  std::vector<std::string> Events;

  void SetUp() override {
    Box.SetStyle(csDropDownList);
    for (const char* s : {"PRIMARY", "ByName", "ByDate"}) Box.Items()->Add(s);
    Box.OnChange.Code = [this](TObject*) { Events.push_back("change:" + Box.Text()); };
    Box.OnClick.Code = [this](TObject*) { Events.push_back("click:" + Box.Text()); };
  }
};

TEST_F(ComboBoxTest, TextIsTheChosenEntry) {
  EXPECT_EQ(Box.Text(), "");
  Box.SetItemIndex(1);
  EXPECT_EQ(Box.Text(), "ByName");
  Box.SetText("bydate");  // matched without regard to case
  EXPECT_EQ(Box.ItemIndex(), 2);
  Box.SetText("nothing");
  EXPECT_EQ(Box.ItemIndex(), -1);
  EXPECT_EQ(Box.Text(), "");
  Box.SetItemIndex(0);
  Box.Items()->Insert(0, "first");
  EXPECT_EQ(Box.Text(), "PRIMARY");
  Box.Items()->Delete(1);
  EXPECT_EQ(Box.ItemIndex(), -1);
  EXPECT_EQ(Box.Text(), "");
  EXPECT_TRUE(Events.empty());
}

TEST_F(ComboBoxTest, ChoosingAnEntryOfAnEmptyBoxChoosesNothing) {
  Box.Clear();
  Box.SetItemIndex(0);
  EXPECT_EQ(Box.ItemIndex(), -1);
  EXPECT_EQ(Box.Text(), "");
}

TEST_F(ComboBoxTest, UserChoiceFiresChangeOnlyWhenItChanges) {
  Box.SetItemIndex(0);
  Box.UserSelect(1);
  Box.UserSelect(1);
  Box.UserSelect(0);
  EXPECT_EQ(Events, (std::vector<std::string>{"change:ByName", "click:ByName", "click:ByName", "change:PRIMARY",
                                              "click:PRIMARY"}));
  EXPECT_THROW(Box.UserSelect(3), EListError);
  EXPECT_EQ(Events.size(), 5u);
}

TEST_F(ComboBoxTest, EditableStylesKeepTypedText) {
  Box.SetStyle(csDropDown);
  Box.SetText("typed");
  EXPECT_EQ(Box.Text(), "typed");
  EXPECT_EQ(Box.ItemIndex(), -1);
  Box.SetItemIndex(2);
  EXPECT_EQ(Box.Text(), "ByDate");
  Box.SetText("ByName");
  EXPECT_EQ(Box.ItemIndex(), 1);
  EXPECT_TRUE(Events.empty());
}

}  // namespace
