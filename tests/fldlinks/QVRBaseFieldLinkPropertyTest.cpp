// The field-link contract's defaults, the data set it edits, and objects made for a data set.
#include <gtest/gtest.h>

#include "tests/designide/FakeDesigner.h"
#include "tests/fldlinks/DesignerFixtures.h"

using namespace fixtures;

TEST(QVRBaseFieldLinkProperty, DefaultsAreThoseOfALinkWithoutIndexes) {
  TQVRBaseFieldLinkProperty link;
  link.SetIndexName("ByX");
  link.SetIndexFieldNames("X");
  EXPECT_FALSE(link.GetIndexBased());
  EXPECT_EQ(link.GetIndexDefs(), nullptr);
  EXPECT_EQ(link.GetIndexName() + link.GetIndexFieldNames(), "");
  EXPECT_EQ(link.GetAttributes().Value(), 4u);  // paDialog alone
  TStringList names;
  names.Add("kept");
  link.GetIndexNames(&names);
  EXPECT_EQ(Items(&names), Strings{"kept"});
  EXPECT_THROW(link.GetMasterFields(), EAbstractError);
  EXPECT_THROW(link.SetMasterFields("A"), EAbstractError);

  TRecordingLink indexed;
  indexed.Defs->Add("ByX", "X", {});
  indexed.Defs->Add("", "Y", {});
  indexed.GetIndexNames(&names);
  EXPECT_EQ(Items(&names), (Strings{"kept", "ByX", ""}));
}

TEST(QVRBaseFieldLinkProperty, GetDataSetAsksTheSelectionOnce) {
  TLinkedPair pair({"F1"}, {"M1"});
  TFakeDesigner designer;
  TRecordingLink link;
  const TPropInfo* prop = GetPropInfo(&pair.Detail, "MasterFields");
  link.Initialize(&designer, {&pair.Detail}, prop);
  EXPECT_EQ(link.GetDataSet(), &pair.Detail);
  link.Initialize(&designer, {&pair.Master}, prop);  // another selection later changes nothing
  EXPECT_EQ(link.GetDataSet(), &pair.Detail);
}

TEST(QVRBaseFieldLinkProperty, AnObjectMadeForADataSetServesEditMasterFieldsButRefusesEdit) {
  TLinkedPair pair({"F1", "F2"}, {"M1", "M2"});
  auto link = TQVRBaseFieldLinkProperty::CreateForDataSet<TRecordingLink>(&pair.Detail);
  EXPECT_EQ(link->GetDataSet(), &pair.Detail);
  try {
    link->Edit();
    ADD_FAILURE() << "Edit ran without a designer";
  } catch (const EInvalidOperation& e) {
    EXPECT_NE(e.Message().find("no designer"), std::string::npos) << e.Message();
  }
  EXPECT_THROW(link->Modified(), EInvalidOperation);
  EXPECT_EQ(pair.Detail.OpenCount, 0);  // refused before anything was bound

  link->Defs->Add("ByF", "F1;F2", {});
  link->IndexName = "ByF";
  THookedUser user("select DetailList F1\nselect MasterList M2\nclick AddButton\nclick Button1\n");
  EXPECT_TRUE(RunDesigner(user, &pair.Detail, link.get()));
  EXPECT_EQ(link->Calls, (Strings{"SetIndexName(ByF)", "SetIndexFieldNames(F1)", "SetMasterFields(M2)"}));

  auto made = TQVRBaseFieldLinkProperty::CreateForDataSet(TQVRBaseFieldLinkProperty::StaticClass(), &pair.Detail);
  EXPECT_EQ(made->LinkDataSet(), &pair.Detail);
  EXPECT_THROW(TQVRBaseFieldLinkProperty::CreateForDataSet(TStringList::StaticClass(), &pair.Detail),
               EInvalidOperation);
}
