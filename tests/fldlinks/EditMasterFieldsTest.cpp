// Running the designer end to end with a scripted user: binding to the detail and its master,
// the modal run, and what is written back through the field link on each way out.
#include <gtest/gtest.h>

#include "tests/designide/FakeDesigner.h"
#include "tests/fldlinks/DesignerFixtures.h"

using namespace fixtures;

namespace {

// Orders(F1, F2, F3) through ByF (F1;F2;F3) or ByF2 (F2), master Customers(M1, M2, M3),
// stored link F1 -> M1.
class Run : public ::testing::Test {
 protected:
  Run() : Pair({"F1", "F2", "F3"}, {"M1", "M2", "M3"}) {
    Initialize();  // the package's start: a case that runs Edit itself needs the designer's form
    Link.Defs->Add("ByF", "F1;F2;F3", {});
    Link.Defs->Add("ByF2", "F2", {});
  }

  // Runs the designer on the script from the stored link; what it wrote.
  bool RunScript(const std::string& Script) {
    Link.IndexName.clear();
    Link.IndexFieldNames = "F1";
    Link.MasterFields = "M1";
    Link.Calls.clear();
    THookedUser user(Script);
    return RunDesigner(user, &Pair.Detail, &Link);
  }

  TLinkedPair Pair;
  TRecordingLink Link;
};

}  // namespace

TEST_F(Run, CancelEscapeAndCloseWriteNothingButTheIndexBrowsing) {
  for (const char* way : {"click Button2", "key escape", "close"}) {
    SCOPED_TRACE(way);
    EXPECT_FALSE(RunScript(
        std::string("select IndexList ByF2\nselect DetailList F2\nselect MasterList M3\nclick AddButton\n") + way));
    // Loading chose ByF for the stored F1; the user then chose ByF2 (change, then click).
    EXPECT_EQ(Link.Calls, (Strings{"SetIndexName(ByF)", "SetIndexName(ByF2)", "SetIndexName(ByF2)"}));
    EXPECT_EQ(Link.MasterFields, "M1");
  }
}

TEST_F(Run, OkWritesTheIndexOrItsFieldsAndThenTheMasterFields) {
  EXPECT_TRUE(
      RunScript("select DetailList F2\nselect MasterList M2\nclick AddButton\n"
                "select DetailList F3\nselect MasterList M3\nclick AddButton\nkey enter\n"));
  EXPECT_EQ(Link.Calls, (Strings{"SetIndexName(ByF)", "SetIndexName(ByF)", "SetMasterFields(M1;M2;M3)"}));
  // The stored join is accepted as it stands: OK without a change still writes.
  EXPECT_TRUE(RunScript("click Button1\n"));
  EXPECT_EQ(Link.Calls, (Strings{"SetIndexName(ByF)", "SetIndexFieldNames(F1)", "SetMasterFields(M1)"}));
  EXPECT_TRUE(RunScript("click ClearButton\nclick Button1\n"));
  EXPECT_EQ(Link.Calls, (Strings{"SetIndexName(ByF)", "SetIndexFieldNames()", "SetMasterFields()"}));
  // A refused OK keeps the dialog open for another try.
  EXPECT_TRUE(
      RunScript("select DetailList F3\nselect MasterList M3\nclick AddButton\nclick Button1\nanswer OK\n"
                "select DetailList F2\nselect MasterList M2\nclick AddButton\nclick Button1\n"));
  EXPECT_EQ(Link.Calls, (Strings{"SetIndexName(ByF)", "SetIndexName(ByF)", "SetMasterFields(M1;M2;M3)"}));
}

TEST_F(Run, BindingLeavesBothDataSetsClosed) {
  Pair.Detail.Open();
  Pair.Master.Open();
  EXPECT_FALSE(RunScript("close\n"));
  EXPECT_FALSE(Pair.Detail.Active() || Pair.Master.Active());
  EXPECT_TRUE(Link.Defs->Updated());
}

TEST_F(Run, NoMasterEndsTheRunBeforeTheDialogShowsButNoCoveringIndexDoesNot) {
  TDataSource empty(nullptr);
  for (TDataSource* source : {static_cast<TDataSource*>(nullptr), &empty}) {
    Pair.Detail.Source = source;
    THookedUser user("close\n");
    try {
      RunDesigner(user, &Pair.Detail, &Link);
      ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Message(), "Orders: Missing MasterSource or DataSource");
    }
    EXPECT_FALSE(Pair.Detail.Active());
    EXPECT_EQ(Pair.Master.OpenCount, 0);
    EXPECT_FALSE(user.Finished());
  }
  // A field list that no index starts with still opens, on entry 0 with the joins that resolve.
  Pair.Detail.Source = &Pair.Source;
  Link.IndexFieldNames = "F3";
  Link.MasterFields = "M2";
  THookedUser user("dump\nclose\n");
  EXPECT_FALSE(RunDesigner(user, &Pair.Detail, &Link));
  EXPECT_EQ(DumpedItems(user.Output.str(), "BindList"), (Strings{"F3 -> M2"}));
  EXPECT_EQ(Link.Calls, (Strings{"SetIndexName(ByF)"}));
}

TEST_F(Run, AnErrorInAHandlerIsShownAndTheDialogKeepsItsJoins) {
  // The index that cannot be read is refused with its error; the box goes back to the index
  // shown, whose joins stay, and the unchanged link goes back as it was.
  Link.Refused = "ByF2";
  THookedUser refused("select IndexList ByF2\nanswer OK\ndump\nclick Button1\n");
  Link.IndexFieldNames = "F1";
  Link.MasterFields = "M1";
  EXPECT_TRUE(RunDesigner(refused, &Pair.Detail, &Link));
  EXPECT_NE(refused.Output.str().find("Index 'ByF2' cannot be read"), std::string::npos) << refused.Output.str();
  EXPECT_EQ(DumpedItems(refused.Output.str(), "BindList"), (Strings{"F1 -> M1"}));
  EXPECT_EQ(Link.Calls, (Strings{"SetIndexName(ByF)", "SetIndexName(ByF2)", "SetIndexName(ByF)",
                                 "SetIndexFieldNames(F1)", "SetMasterFields(M1)"}));
}

TEST_F(Run, ANameAFieldListCannotHoldIsRefusedAtAdd) {
  TLinkedPair odd({"f,c", "f=e", "d;x"}, {"f;s", "f->a"});
  TRecordingLink link;
  link.IndexBased = false;
  THookedUser user(
      "select DetailList f=e\nselect MasterList f;s\nclick AddButton\nanswer OK\n"
      "select DetailList d;x\nselect MasterList f->a\nclick AddButton\nanswer OK\n"
      "select DetailList f=e\nclick AddButton\nkey enter\n");
  EXPECT_TRUE(RunDesigner(user, &odd.Detail, &link));
  const std::string shown = user.Output.str();
  EXPECT_NE(shown.find("Field f;s cannot be linked: a field list cannot hold a name with ';'"), std::string::npos)
      << shown;
  EXPECT_NE(shown.find("Field d;x cannot be linked"), std::string::npos) << shown;
  EXPECT_EQ(link.Calls, (Strings{"SetIndexFieldNames(f=e)", "SetMasterFields(f->a)"}));
}

TEST_F(Run, NoDataSetOrNoFieldLinkIsRefusedBeforeAnythingIsTouched) {
  Initialize();
  for (auto [dataSet, link] : {std::pair<TDataSet*, TQVRBaseFieldLinkProperty*>{nullptr, &Link},
                               std::pair<TDataSet*, TQVRBaseFieldLinkProperty*>{&Pair.Detail, nullptr}}) {
    try {
      EditMasterFields(dataSet, link);
      ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ(e.Message(), dataSet ? "The Field Link Designer has no field link to work through"
                                     : "The Field Link Designer has no detail data set to link");
    }
  }
  EXPECT_TRUE(Link.Calls.empty());
  EXPECT_EQ(Pair.Detail.OpenCount, 0);
}

TEST_F(Run, ALinkWithOnlyMasterFieldsGetsThemWrittenAlone) {
  class TMasterOnlyLink : public TQVRBaseFieldLinkProperty {
   public:
    std::string GetMasterFields() override { return Value; }
    void SetMasterFields(const std::string& NewValue) override { Value += "[" + NewValue + "]"; }
    std::string Value = "M2";
  } link;
  THookedUser user("select DetailList F3\nselect MasterList M3\nclick AddButton\nclick Button1\n");
  EXPECT_TRUE(RunDesigner(user, &Pair.Detail, &link));
  EXPECT_EQ(link.Value, "M2[M3]");
}

TEST_F(Run, EditReportsAModificationOncePerOkAndNeverOtherwise) {
  TFakeDesigner designer;
  Link.Initialize(&designer, {&Pair.Detail}, GetPropInfo(&Pair.Detail, "MasterFields"));
  Link.IndexFieldNames = "F1";
  for (const char* way : {"click Button1", "click Button2", "click Button1"}) {
    THookedUser user(way);
    TWidgetSetScope scope(user);
    Link.Edit();
  }
  EXPECT_TRUE(Link.LinkChanged());
  EXPECT_EQ(designer.ModifiedCount, 2);
  Pair.Detail.Source = nullptr;  // an error leaves LinkChanged as it was and reports nothing
  EXPECT_THROW(Link.Edit(), EDatabaseError);
  EXPECT_TRUE(Link.LinkChanged());
  EXPECT_EQ(designer.ModifiedCount, 2);
  THookedUser user("close");
  TWidgetSetScope scope(user);
  Pair.Detail.Source = &Pair.Source;
  Link.Edit();
  EXPECT_FALSE(Link.LinkChanged());
}
