// The main road through designhost: the MasterFields ellipsis button on the demo's orders,
// answered by scripts: OK writes the link and the index back, Cancel and refusals write nothing.
#include <gtest/gtest.h>

#include "tests/support/Process.h"

namespace fs = std::filesystem;

namespace {

const std::string kDesignhost = TIRVENDAL_BIN_DIR "/designhost";

class FieldLinkDesigner : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RunProgram(kDesignhost, {"new-demo", dir.Path().string()}).Status, 0);
    form = (dir / "demo.xfm").string();
  }

  TProcessResult Edit(const std::string& script, const std::string& target = "Orders.MasterFields") {
    WriteFile(dir / "script.txt", script);
    return RunProgram(kDesignhost, {"edit", form, target, "--script", (dir / "script.txt").string()});
  }

  TTempDir dir;
  std::string form;
};

TEST_F(FieldLinkDesigner, OkWritesTheIndexAndTheMasterFields) {
  TProcessResult r = Edit(
      "select IndexList ByCustomer\n"
      "select DetailList CustNo\n"
      "select MasterList CustNo\n"
      "click AddButton\n"
      "click Help\n"
      "key enter\n");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out.find(R"({"window":"help","context":27140})"
                       "\n"),
            0u)
      << r.Out;
  // Only a leading part of ByCustomer's fields is joined: the table is ordered by those fields.
  EXPECT_NE(
      r.Out.find(R"({"modified":true,"changes":{"Orders.IndexFieldNames":"CustNo","Orders.MasterFields":"CustNo"}})"),
      std::string::npos)
      << r.Out;
  std::string saved = ReadFile(form);
  EXPECT_NE(saved.find("IndexFieldNames = 'CustNo'"), std::string::npos) << saved;
  EXPECT_NE(saved.find("MasterFields = 'CustNo'"), std::string::npos);

  // Opening it again loads the join; joining every field of the index writes the index name.
  TProcessResult again = Edit(
      "dump\n"
      "select IndexList ByCustNo\n"
      "select DetailList CustNo\n"
      "select MasterList CustNo\n"
      "click AddButton\n"
      "click Button1\n");
  ASSERT_EQ(again.Status, 0) << again.Err;
  EXPECT_NE(again.Out.find(R"("items":["CustNo -> CustNo"])"), std::string::npos) << again.Out;
  EXPECT_NE(again.Out.find(R"("Orders.IndexName":"ByCustNo")"), std::string::npos) << again.Out;
  EXPECT_NE(ReadFile(form).find("IndexName = 'ByCustNo'"), std::string::npos);
}

TEST_F(FieldLinkDesigner, CancelEscapeAndCloseWriteNothing) {
  const std::string before = ReadFile(form);
  for (const char* end : {"click Button2\n", "key escape\n", "close\n"}) {
    TProcessResult r =
        Edit(std::string("select IndexList ByCustNo\nselect DetailList CustNo\nselect MasterList CustNo\n") +
             "click AddButton\n" + end);
    ASSERT_EQ(r.Status, 0) << end << r.Err;
    EXPECT_NE(r.Out.find(R"({"modified":false,"changes":{}})"), std::string::npos) << end << r.Out;
    EXPECT_EQ(ReadFile(form), before) << end;
  }
}

TEST_F(FieldLinkDesigner, GapIsRefusedWithTheFirstUnjoinedField) {
  TProcessResult r = Edit(
      "select IndexList ByCustomer\n"
      "select DetailList SaleDate\n"
      "select MasterList Country\n"
      "click AddButton\n"
      "click Button1\n"
      "answer OK\n"
      "dump\n"
      "click Button2\n");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(
      r.Out.find(
          R"({"window":"message","type":"error","text":"Field CustNo, from the Detail Fields list, must be linked","buttons":["OK"]})"),
      std::string::npos)
      << r.Out;
  // Still open after the refusal, with the unjoined field selected.
  EXPECT_NE(r.Out.find(R"("name":"DetailList","class":"TListBox")"), std::string::npos);
  EXPECT_NE(r.Out.find(R"("items":["CustNo"],"itemIndex":0)"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find(R"({"modified":false,"changes":{}})"), std::string::npos);
}

TEST_F(FieldLinkDesigner, MissingMasterIsAnErrorAndSavesNothing) {
  const std::string before = ReadFile(form);
  TProcessResult r = Edit("click Button1\n", "Customers.MasterFields");
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("error: EDatabaseError: Customers: Missing MasterSource or DataSource"), std::string::npos)
      << r.Err;
  EXPECT_EQ(ReadFile(form), before);
}

TEST_F(FieldLinkDesigner, ScriptEndingWithTheDesignerOpenIsAScriptError) {
  const std::string before = ReadFile(form);
  TProcessResult r = Edit("select IndexList ByCustNo\n");
  EXPECT_EQ(r.Status, 3) << r.Err;
  TProcessResult unknown = Edit("click NoSuchButton\n");
  EXPECT_EQ(unknown.Status, 3);
  EXPECT_NE(unknown.Err.find("NoSuchButton"), std::string::npos);
  TProcessResult disabled = Edit("click AddButton\n");
  EXPECT_EQ(disabled.Status, 3) << "Add is disabled until both lists have a selection";
  EXPECT_EQ(ReadFile(form), before);
}

}  // namespace

namespace {

TEST_F(FieldLinkDesigner, ALinkOnAnExpressionIndexIsWrittenPassesCheckAndReadsBack) {
  TProcessResult r = Edit(
      "select IndexList ByShipper\nselect DetailList lower(ShipVia)\nselect MasterList Company\n"
      "click AddButton\nclick Button1\n");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find(R"({"Orders.IndexName":"ByShipper","Orders.MasterFields":"Company"})"), std::string::npos)
      << r.Out;
  TProcessResult check = RunProgram(kDesignhost, {"check", form});
  EXPECT_EQ(check.Status, 0) << check.Out;
  // Reopened, it shows its join, and an unchanged OK keeps the form as it is.
  const std::string saved = ReadFile(form);
  TProcessResult again = Edit("dump\nclick Button1\n");
  ASSERT_EQ(again.Status, 0) << again.Err;
  EXPECT_NE(again.Out.find(R"("items":["lower(ShipVia) -> Company"])"), std::string::npos) << again.Out;
  EXPECT_EQ(ReadFile(form), saved);
}

}  // namespace
