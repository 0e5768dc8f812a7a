// OK in the designer: the gap check over the chosen index's fields, its message, and the field
// lists composed from the join lines.
#include <gtest/gtest.h>

#include "tests/fldlinks/DesignerFixtures.h"

using namespace fixtures;

namespace {

// Orders(F1, F2, F3) through ByF (F1;F2;F3), master Customers(M1, M2, M3), no stored join.
class Commit : public ::testing::Test {
 protected:
  Commit() : Pair({"F1", "F2", "F3"}, {"M1", "M2", "M3"}) {
    Link.Defs->Add("ByF", "F1;F2;F3", {});
    Link.IndexName = "ByF";
  }
  void Load() { Form = LoadDesigner(&Pair.Detail, &Link); }

  // Presses OK as a user would (the button's result, then the handler), answering a message
  // box if one opens; what the message box printed, empty when none opened.
  std::string PressOk() {
    THookedUser user("answer OK\n");
    TWidgetSetScope scope(user);
    Form->Button1->Click();
    return user.Output.str();
  }
  static std::string Refusal(const std::string& Field) {
    return R"({"window":"message","type":"error","text":"Field )" + Field +
           R"(, from the Detail Fields list, must be linked","buttons":["OK"]})" + "\n";
  }
  Strings Pending() const {
    return {Form->PendingIndexName(), Form->PendingIndexFieldNames(), Form->PendingMasterFields()};
  }

  TLinkedPair Pair;
  TRecordingLink Link;
  TFormPtr<TQVRLinkFields> Form;
};

}  // namespace

TEST_F(Commit, TheListsFollowTheLinesAndTheIndexNameNeedsEveryField) {
  Load();
  // Nothing edited: the link goes back as it was stored.
  EXPECT_EQ(PressOk(), "");
  EXPECT_EQ(Form->ModalResult(), mrOk);
  EXPECT_EQ(Pending(), (Strings{"ByF", "", ""}));
  Join(*Form, "F2", "M1");
  Join(*Form, "F1", "M3");
  EXPECT_EQ(PressOk(), "");
  EXPECT_EQ(Pending(), (Strings{"", "F1;F2", "M3;M1"}));
  Join(*Form, "F3", "M2");
  EXPECT_EQ(PressOk(), "");
  EXPECT_EQ(Pending(), (Strings{"ByF", "F1;F2;F3", "M3;M1;M2"}));
  Form->ClearButton->Click();
  Join(*Form, "F1", "M1");
  EXPECT_EQ(PressOk(), "");
  EXPECT_EQ(Pending(), (Strings{"", "F1", "M1"}));
}

TEST_F(Commit, AGapIsRefusedNamingTheFirstFreeFieldAndTheDialogStays) {
  Load();
  Join(*Form, "F1", "M1");
  Join(*Form, "F3", "M3");
  std::vector<bool> buttons = Buttons(*Form);
  EXPECT_EQ(PressOk(), Refusal("F2"));
  EXPECT_EQ(Form->ModalResult(), mrNone);
  EXPECT_EQ(Form->DetailList->ItemIndex(), Form->DetailList->Items()->IndexOf("F2"));
  EXPECT_EQ(Pending(), (Strings{"", "", ""}));
  EXPECT_EQ(Items(Form->BindList->Items()), (Strings{"F1 -> M1", "F3 -> M3"}));
  EXPECT_EQ(JoinedFlags(*Form), (std::vector<bool>{true, false, true}));
  EXPECT_EQ(Buttons(*Form), buttons);

  // The first free field, not the one just before the joined one.
  UserSelect(Form->BindList, "F1 -> M1");
  Form->DeleteButton->Click();
  EXPECT_EQ(PressOk(), Refusal("F1"));
  EXPECT_EQ(Form->DetailList->ItemIndex(), 0);
}

TEST_F(Commit, ALinkThatIsNotIndexBasedAcceptsAnyJoinsInLineOrder) {
  Link.IndexBased = false;
  Load();
  Join(*Form, "F3", "M1");
  Join(*Form, "F2", "M3");
  Form->BindList->Items()->Move(0, 1);
  EXPECT_EQ(PressOk(), "");
  EXPECT_EQ(Pending(), (Strings{"", "F3;F2", "M1;M3"}));
}
