// A new designer form, and loading it: the index box, the field lists, and turning the stored
// field lists into join lines, pair by pair.
#include <gtest/gtest.h>

#include "tests/fldlinks/DesignerFixtures.h"

using namespace fixtures;

TEST(QVRLinkFieldsForm, ANewFormIsEmptyAndHelpAsksForItsTopic) {
  Initialize();
  TFormPtr<TQVRLinkFields> form = CreateForm<TQVRLinkFields>();
  EXPECT_EQ(form->AllDetailFields()->Count() + form->AllMasterFields()->Count(), 0);
  EXPECT_EQ(form->HelpContext(), 27140);
  EXPECT_EQ(form->ActiveControl(), form->IndexList);
  int saved = Application()->HelpContext();
  Application()->SetHelpContext(4711);
  THookedUser user("");
  {
    TWidgetSetScope scope(user);
    form->Help->Click();
  }
  EXPECT_EQ(Application()->HelpContext(), 27140);
  Application()->SetHelpContext(saved);
  // The request reached the widget set, and the form keeps its own topic.
  EXPECT_EQ(user.Output.str(), "{\"window\":\"help\",\"context\":27140}\n");
  EXPECT_EQ(form->HelpContext(), 27140);
}

namespace {

// Orders(X, Y, Z, W) indexed by ByX (X;Y;Z), ByY (Y;Z) and ByExpr (an expression), with
// master Customers(A, B, C).
class Loading : public ::testing::Test {
 protected:
  Loading() : Pair({"X", "Y", "Z", "W"}, {"A", "B", "C"}) {
    Link.Defs->Add("ByX", "X;Y;Z", {});
    Link.Defs->Add("ByY", "Y;Z", {});
    Link.Defs->Add("ByExpr", "", {ixExpression})->SetExpression("upper(X)");
  }

  TFormPtr<TQVRLinkFields> Load(const std::string& MasterFields, const std::string& IndexFieldNames,
                                const std::string& IndexName = "") {
    Link.MasterFields = MasterFields;
    Link.IndexFieldNames = IndexFieldNames;
    Link.IndexName = IndexName;
    Link.Calls.clear();
    return LoadDesigner(&Pair.Detail, &Link);
  }

  TLinkedPair Pair;
  TRecordingLink Link;
};

}  // namespace

TEST_F(Loading, SkippedPairsKeepThePairingOfLaterPairs) {
  // "Gone" is no master field (any more): its pair is skipped, the next keeps its partner,
  // and the leftover master name is ignored.
  auto form = Load("Gone;B;C", "X;Y");
  EXPECT_EQ(form->IndexList->Text(), "ByX");
  EXPECT_EQ(Items(form->BindList->Items()), Strings{"Y -> B"});
  EXPECT_EQ(Items(form->DetailList->Items()), (Strings{"X", "Z"}));
  EXPECT_EQ(Items(form->MasterList->Items()), (Strings{"A", "C"}));
  EXPECT_EQ(JoinedFlags(*form), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(Buttons(*form), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(Link.Calls, Strings{"SetIndexName(ByX)"});
  // Names match without regard to case; the lines keep the stored spelling.
  form = Load("b;a", "x;y");
  EXPECT_EQ(Items(form->BindList->Items()), (Strings{"x -> b", "y -> a"}));
  EXPECT_EQ(Items(form->MasterList->Items()), Strings{"C"});
}

TEST_F(Loading, AFieldNamedTwiceIsJoinedOnce) {
  auto form = Load("A;A", "X;Y");
  EXPECT_EQ(Items(form->BindList->Items()), Strings{"X -> A"});
  // The second pair would join X again: it is skipped like a pair whose master is gone.
  Link.IndexBased = false;
  form = Load("A;B;C", "X;x;Y");
  EXPECT_EQ(Items(form->BindList->Items()), (Strings{"X -> A", "Y -> C"}));
  EXPECT_EQ(Items(form->DetailList->Items()), (Strings{"Z", "W"}));
  EXPECT_EQ(Items(form->MasterList->Items()), Strings{"B"});
}

TEST_F(Loading, WithoutStoredFieldsTheStoredIndexNameDecides) {
  auto form = Load("B", "", "ByY");
  EXPECT_EQ(form->IndexList->Text(), "ByY");
  EXPECT_EQ(Items(form->BindList->Items()), Strings{"Y -> B"});

  form = Load("A", "", "Nope");  // no such index: the first one, and nothing to pair
  EXPECT_EQ(Link.Calls, Strings{"SetIndexName(ByX)"});
  EXPECT_EQ(form->BindList->Items()->Count(), 0);

  form = Load("A", "", "ByExpr");  // an index on an expression offers the expression alone
  EXPECT_EQ(Items(form->AllDetailFields()), Strings{"upper(X)"});
}

TEST_F(Loading, ALinkThatIsNotIndexBasedOffersEveryFieldAndKeepsTheStoredOrder) {
  Link.IndexBased = false;
  auto form = Load("A;B", "Z;X");
  EXPECT_FALSE(form->IndexLabel->Visible() || form->IndexList->Visible());
  EXPECT_EQ(Items(form->AllDetailFields()), (Strings{"X", "Y", "Z", "W"}));
  EXPECT_EQ(Items(form->BindList->Items()), (Strings{"Z -> A", "X -> B"}));  // not sorted
  EXPECT_TRUE(Link.Calls.empty());
}

TEST_F(Loading, ChoosingAnIndexDropsEveryJoinEvenForTheSameIndex) {
  auto form = Load("A;B", "X;Y");
  UserSelect(form->BindList, "X -> A");
  form->IndexList->UserSelect(form->IndexList->ItemIndex());
  EXPECT_EQ(form->BindList->Items()->Count(), 0);
  EXPECT_EQ(Items(form->MasterList->Items()), (Strings{"A", "B", "C"}));
  EXPECT_EQ(JoinedFlags(*form), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(Buttons(*form), (std::vector<bool>{false, false, false}));
  Link.Calls.clear();
  form->IndexList->UserSelect(1);  // OnChange, then OnClick: both run the handler
  EXPECT_EQ(Link.Calls, (Strings{"SetIndexName(ByY)", "SetIndexName(ByY)"}));
  EXPECT_EQ(Items(form->DetailList->Items()), (Strings{"Y", "Z"}));
}
