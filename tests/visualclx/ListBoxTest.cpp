// List box items: the current item and the selection stay with their items through every
// list operation, code changes fire nothing, a user's clicks do.
#include <gtest/gtest.h>

#include <vector>

#include "host/rtl/Strings.h"
#include "host/visualclx/ListBox.h"

namespace {

struct ListBoxTest : ::testing::Test {
  int Clicks = 0;
  std::vector<TControlChange> Changes;
  TListBox List{nullptr};  // last: its destruction still tells the observer

  void SetUp() override {
    List.OnClick.Code = [this](TObject*) { ++Clicks; };
    for (const char* s : {"a", "b", "c", "d"}) List.Items()->Add(s);
    List.AddObserver([this](TControl*, TControlChange change) { Changes.push_back(change); });
  }
  std::vector<std::string> Texts() const { return List.Items()->ToVector(); }
};

TEST_F(ListBoxTest, CurrentItemFollowsInsertDeleteMoveExchange) {
  List.SetItemIndex(2);  // "c"
  List.Items()->Insert(3, "after");
  EXPECT_EQ(List.ItemIndex(), 2);
  List.Items()->Insert(0, "before");
  EXPECT_EQ(List.ItemIndex(), 3);
  EXPECT_EQ(List.Items()->Get(List.ItemIndex()), "c");
  List.Items()->Insert(3, "at");  // at the current position: the current item moves along
  EXPECT_EQ(List.Items()->Get(List.ItemIndex()), "c");

  List.Items()->Delete(0);
  EXPECT_EQ(List.Items()->Get(List.ItemIndex()), "c");
  List.Items()->Delete(List.Items()->Count() - 1);  // after the current item
  EXPECT_EQ(List.Items()->Get(List.ItemIndex()), "c");

  // Texts now a, b, at, c, after.
  ASSERT_EQ(Texts(), (std::vector<std::string>{"a", "b", "at", "c", "after"}));
  List.Items()->Move(3, 0);  // the current item itself
  EXPECT_EQ(List.ItemIndex(), 0);
  List.Items()->Move(1, 4);  // from after it to further after: no shift
  EXPECT_EQ(List.ItemIndex(), 0);
  List.Items()->Move(4, 0);  // from after it to before it
  EXPECT_EQ(List.Items()->Get(List.ItemIndex()), "c");
  List.Items()->Move(0, 4);  // from before it to after it
  EXPECT_EQ(List.Items()->Get(List.ItemIndex()), "c");
  List.Items()->Exchange(List.ItemIndex(), 0);
  EXPECT_EQ(List.ItemIndex(), 0);
  EXPECT_EQ(List.Items()->Get(0), "c");

  List.Items()->Delete(0);  // the current item
  EXPECT_EQ(List.ItemIndex(), -1);
  EXPECT_EQ(Clicks, 0);
}

TEST_F(ListBoxTest, PutKeepsTheItemAssignAndClearDropIt) {
  List.SetItemIndex(1);
  List.Items()->Put(1, "B");
  EXPECT_EQ(List.ItemIndex(), 1);
  EXPECT_TRUE(List.Selected(1));
  List.Items()->Put(0, "A");
  EXPECT_EQ(List.ItemIndex(), 1);

  TStringList other;
  other.Add("x");
  other.Add("y");
  List.Items()->Assign(&other);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(List.ItemIndex(), -1);

  List.SetItemIndex(0);
  List.Clear();
  EXPECT_EQ(List.ItemIndex(), -1);
  EXPECT_EQ(List.Items()->Count(), 0);
  EXPECT_EQ(Clicks, 0);
}

TEST_F(ListBoxTest, ItemIndexFromCodeOutOfRangeMeansNone) {
  List.SetItemIndex(3);
  List.SetItemIndex(4);
  EXPECT_EQ(List.ItemIndex(), -1);
  List.SetItemIndex(-7);
  EXPECT_EQ(List.ItemIndex(), -1);
  EXPECT_EQ(Clicks, 0);
  EXPECT_THROW(List.Selected(4), EListError);
  EXPECT_THROW(List.Items()->Insert(9, "x"), EListError);
}

TEST_F(ListBoxTest, SingleSelectSelectionIsTheCurrentItem) {
  EXPECT_EQ(List.SelCount(), -1);
  List.SetSelected(2, true);
  EXPECT_EQ(List.ItemIndex(), 2);
  EXPECT_EQ(List.SelectedIndexes(), std::vector<int>{2});
  List.SetSelected(1, false);  // not the selected one: nothing changes
  EXPECT_EQ(List.ItemIndex(), 2);
  List.SetSelected(2, false);
  EXPECT_EQ(List.ItemIndex(), -1);
}

TEST_F(ListBoxTest, MultiSelectKeepsSelectionPerItemThroughEveryOperation) {
  List.SetMultiSelect(true);
  List.SetSelected(1, true);  // b
  List.SetSelected(3, true);  // d
  EXPECT_EQ(List.SelCount(), 2);
  EXPECT_EQ(List.ItemIndex(), -1);  // selecting from code moves no focus

  List.Items()->Insert(0, "new");
  EXPECT_EQ(List.SelectedIndexes(), (std::vector<int>{2, 4}));
  EXPECT_FALSE(List.Selected(0));
  List.Items()->Move(4, 0);  // d to the front, still selected
  EXPECT_EQ(List.Items()->Get(0), "d");
  EXPECT_EQ(List.SelectedIndexes(), (std::vector<int>{0, 3}));
  List.Items()->Exchange(0, 1);
  EXPECT_EQ(List.SelectedIndexes(), (std::vector<int>{1, 3}));
  List.Items()->Put(3, "B");
  EXPECT_TRUE(List.Selected(3));
  List.Items()->Delete(1);
  EXPECT_EQ(List.SelectedIndexes(), std::vector<int>{2});
  EXPECT_EQ(Texts(), (std::vector<std::string>{"new", "a", "B", "c"}));

  TStringList other;
  other.Add("x");
  List.Items()->Assign(&other);
  EXPECT_EQ(List.SelCount(), 0);
  EXPECT_EQ(Clicks, 0);
}

TEST_F(ListBoxTest, SwitchingMultiSelectKeepsWhatShowsSelected) {
  List.SetItemIndex(2);
  List.SetMultiSelect(true);
  EXPECT_EQ(List.SelectedIndexes(), std::vector<int>{2});
  List.SetSelected(0, true);
  List.SetMultiSelect(false);
  EXPECT_EQ(List.SelectedIndexes(), std::vector<int>{2});
}

TEST_F(ListBoxTest, UserClicksSelectThenClick) {
  List.SetMultiSelect(true);
  std::vector<int> seenIndex;
  std::vector<std::vector<int>> seenSelection;
  List.OnClick.Code = [&](TObject* sender) {
    EXPECT_EQ(sender, &List);
    seenIndex.push_back(List.ItemIndex());
    seenSelection.push_back(List.SelectedIndexes());
  };
  List.SetSelected(0, true);
  List.SetSelected(3, true);
  List.UserSelect(1);  // a plain click: the only selected item
  List.UserToggle(2);  // Ctrl+click adds
  List.UserToggle(1);  // and removes, still becoming current
  EXPECT_EQ(seenIndex, (std::vector<int>{1, 2, 1}));
  EXPECT_EQ(seenSelection, (std::vector<std::vector<int>>{{1}, {1, 2}, {2}}));
  EXPECT_THROW(List.UserSelect(4), EListError);
  EXPECT_EQ(seenIndex.size(), 3u);

  List.SetMultiSelect(false);
  EXPECT_THROW(List.UserToggle(0), EInvalidOperation);
}

TEST_F(ListBoxTest, ObserversHearEveryChangeOnceAndMayLeave) {
  List.Items()->Add("e");
  List.SetItemIndex(0);
  List.SetItemIndex(0);  // no change, no notice
  TStringList other;
  other.Add("x");
  other.Add("y");
  List.Items()->Assign(&other);  // one notice for the whole replacement
  EXPECT_EQ(Changes,
            (std::vector<TControlChange>{TControlChange::Items, TControlChange::ItemIndex, TControlChange::Items}));

  int heard = 0;
  int id = 0;
  id = List.AddObserver([&](TControl*, TControlChange) {
    ++heard;
    List.RemoveObserver(id);
  });
  List.SetItemIndex(1);
  List.SetItemIndex(0);
  EXPECT_EQ(heard, 1);
}

}  // namespace
