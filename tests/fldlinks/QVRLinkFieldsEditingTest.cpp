// Editing joins by hand: where Add puts a line, where Delete and Clear put the fields back, and
// which buttons each leaves enabled.
#include <gtest/gtest.h>

#include "tests/fldlinks/DesignerFixtures.h"

using namespace fixtures;

namespace {

// Orders(F1, F2, F3) through ByF (F1;F2;F3), master Customers(M1, M2, M3), no stored join.
class Editing : public ::testing::Test {
 protected:
  Editing() : Pair({"F1", "F2", "F3"}, {"M1", "M2", "M3"}) {
    Link.Defs->Add("ByF", "F1;F2;F3", {});
    Link.IndexName = "ByF";
    Form = LoadDesigner(&Pair.Detail, &Link);
  }
  Strings Lines() const { return Items(Form->BindList->Items()); }

  TLinkedPair Pair;
  TRecordingLink Link;
  TFormPtr<TQVRLinkFields> Form;
};

}  // namespace

TEST_F(Editing, AddPutsEachLineInIndexOrderAndSwitchesTheButtons) {
  UserSelect(Form->DetailList, "F3");
  EXPECT_FALSE(Form->AddButton->Enabled());  // the master list has no selection yet
  Join(*Form, "F3", "M1");
  EXPECT_EQ(Buttons(*Form), (std::vector<bool>{false, false, true}));
  UserSelect(Form->BindList, "F3 -> M1");
  Join(*Form, "F1", "M3");
  Join(*Form, "F2", "M2");
  EXPECT_EQ(Lines(), (Strings{"F1 -> M3", "F2 -> M2", "F3 -> M1"}));
  EXPECT_EQ(Buttons(*Form), (std::vector<bool>{false, true, true}));  // Delete as it was
  EXPECT_EQ(JoinedFlags(*Form), (std::vector<bool>{true, true, true}));
  EXPECT_EQ(Form->DetailList->Items()->Count() + Form->MasterList->Items()->Count(), 0);

  // A line whose field is not in the index is never a place of insertion.
  Form->BindList->Clear();
  for (const char* detail : {"Other", "F2", "F1", "Another"}) Form->AddToBindList(detail, "M");
  EXPECT_EQ(Lines(), (Strings{"Other -> M", "Another -> M", "F1 -> M", "F2 -> M"}));
}

TEST_F(Editing, DeleteReturnsTheSelectedJoinsFieldsToTheirPlaces) {
  Join(*Form, "F1", "M3");
  Join(*Form, "F2", "M2");
  Join(*Form, "F3", "M1");
  UserSelect(Form->BindList, "F1 -> M3");
  Form->BindList->UserToggle(2);
  Form->BindList->SetItemIndex(1);  // the current line stays current where it moves
  Form->DeleteButton->Click();
  EXPECT_EQ(Lines(), Strings{"F2 -> M2"});
  EXPECT_EQ(Form->BindList->ItemIndex(), 0);
  EXPECT_EQ(Form->BindList->SelectedIndexes(), std::vector<int>{0});
  EXPECT_EQ(Items(Form->DetailList->Items()), (Strings{"F1", "F3"}));
  EXPECT_EQ(Items(Form->MasterList->Items()), (Strings{"M1", "M3"}));
  EXPECT_EQ(Form->DetailList->ItemIndex() + Form->MasterList->ItemIndex(), -2);
  EXPECT_EQ(JoinedFlags(*Form), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(Buttons(*Form), (std::vector<bool>{false, true, true}));

  Form->DeleteButton->Click();  // the remaining line was selected
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(Buttons(*Form), (std::vector<bool>{false, false, false}));

  // With lines but none selected, Delete only selects line 0 and drops the other selections.
  Join(*Form, "F1", "M1");
  UserSelect(Form->DetailList, "F2");
  UserSelect(Form->MasterList, "M2");
  Form->DeleteButtonClick(Form->DeleteButton);
  EXPECT_EQ(Lines(), Strings{"F1 -> M1"});
  EXPECT_EQ(Form->BindList->SelectedIndexes(), std::vector<int>{0});
  EXPECT_EQ(Form->DetailList->ItemIndex() + Form->MasterList->ItemIndex(), -2);
  EXPECT_EQ(Buttons(*Form), (std::vector<bool>{false, true, true}));
}

TEST_F(Editing, ClearReturnsEveryFieldAndDisablesEveryButton) {
  Form->MasterList->Items()->Delete(1);  // even with no line, the master list is refilled
  Form->ClearButtonClick(Form->ClearButton);
  EXPECT_EQ(Items(Form->MasterList->Items()), (Strings{"M1", "M2", "M3"}));
  Join(*Form, "F3", "M1");
  Join(*Form, "F1", "M2");
  UserSelect(Form->BindList, "F1 -> M2");
  Form->ClearButton->Click();
  EXPECT_TRUE(Lines().empty());
  EXPECT_TRUE(Form->DetailList->Items()->Equals(Form->AllDetailFields()));
  EXPECT_TRUE(Form->MasterList->Items()->Equals(Form->AllMasterFields()));
  EXPECT_EQ(JoinedFlags(*Form), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(Buttons(*Form), (std::vector<bool>{false, false, false}));
}

TEST(EditingNames, NamesHoldingArrowsComeBackWholeFromEveryLine) {
  // Orders(D, "p -> q") through ByD (D;p -> q), master Customers("x->y", "x -> y"), stored
  // link D -> x->y, p -> q -> x -> y.
  TLinkedPair pair({"D", "p -> q"}, {"x->y", "x -> y"});
  TRecordingLink link;
  link.Defs->Add("ByD", "D;p -> q", {});
  link.IndexName = "ByD";
  link.MasterFields = "x->y;x -> y";
  // OK without a change writes the stored link back as it was.
  THookedUser ok("click Button1\n");
  EXPECT_TRUE(RunDesigner(ok, &pair.Detail, &link));
  EXPECT_EQ(link.Calls, (Strings{"SetIndexName(ByD)", "SetIndexName(ByD)", "SetMasterFields(x->y;x -> y)"}));

  TFormPtr<TQVRLinkFields> form = LoadDesigner(&pair.Detail, &link);
  EXPECT_EQ(Items(form->BindList->Items()), (Strings{"D -> x->y", "p -> q -> x -> y"}));
  UserSelect(form->BindList, "p -> q -> x -> y");
  form->DeleteButton->Click();
  EXPECT_EQ(Items(form->DetailList->Items()), Strings{"p -> q"});
  EXPECT_EQ(Items(form->MasterList->Items()), Strings{"x -> y"});
  EXPECT_EQ(JoinedFlags(*form), (std::vector<bool>{true, false}));
  // A partial join composes whole names.
  THookedUser partial("");
  {
    TWidgetSetScope scope(partial);
    form->Button1->Click();
  }
  EXPECT_EQ(form->PendingIndexFieldNames(), "D");
  EXPECT_EQ(form->PendingMasterFields(), "x->y");
  form->ClearButton->Click();
  EXPECT_EQ(Items(form->DetailList->Items()), (Strings{"D", "p -> q"}));
  EXPECT_EQ(Items(form->MasterList->Items()), (Strings{"x->y", "x -> y"}));

  // A line put in from outside is split against the known names.
  form->BindList->Items()->Add("p -> q -> x -> y");
  EXPECT_EQ(form->JoinDetailField(0), "p -> q");
  EXPECT_EQ(form->JoinMasterField(0), "x -> y");
}

TEST(EditingNames, AnIndexNamingAColumnTwiceMarksEachEntryOfItsOwn) {
  // Dup (a;a;b) over Orders(a, b), master Customers(M1, M2, M3), stored link a -> M1, a -> M2.
  TLinkedPair pair({"a", "b"}, {"M1", "M2", "M3"});
  TRecordingLink link;
  link.Defs->Add("Dup", "a;a;b", {});
  link.IndexName = "Dup";
  link.MasterFields = "M1;M2";
  TFormPtr<TQVRLinkFields> form = LoadDesigner(&pair.Detail, &link);
  EXPECT_EQ(Items(form->BindList->Items()), (Strings{"a -> M1", "a -> M2"}));
  EXPECT_EQ(JoinedFlags(*form), (std::vector<bool>{true, true, false}));
  UserSelect(form->BindList, "a -> M1");
  form->DeleteButton->Click();
  EXPECT_EQ(JoinedFlags(*form), (std::vector<bool>{true, false, false}));
  // Every entry joined: accepted, and the index itself is written.
  Join(*form, "a", "M1");
  Join(*form, "b", "M3");
  EXPECT_EQ(JoinedFlags(*form), (std::vector<bool>{true, true, true}));
  THookedUser user("");
  {
    TWidgetSetScope scope(user);
    form->Button1->Click();
  }
  EXPECT_EQ(user.Output.str(), "");
  EXPECT_EQ(form->PendingIndexName(), "Dup");
  EXPECT_EQ(form->PendingMasterFields(), "M2;M1;M3");
}
