// The scripted user: each action reaches the model as a person's would, windows print their
// JSON lines, and every way a script can miss what is on the screen is a script error that
// names its line.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "host/visualclx/Application.h"
#include "host/visualclx/MessageDlg.h"
#include "host/visualclx/ScriptedUser.h"
#include "host/visualclx/VisualClasses.h"
#include "tests/visualclx/LinkProbe.h"

namespace {

using json = nlohmann::json;

struct ScriptedUserTest : ::testing::Test {
  std::ostringstream Out;
  TFormPtr<TLinkProbe> Form;

  void SetUp() override {
    RegisterVisualClasses();
    RegisterLinkProbeResource();
    Form = CreateForm<TLinkProbe>();
    Form->Calls.clear();
    for (const char* f : {"CustNo", "OrderNo", "Date"}) Form->DetailList->Items()->Add(f);
    for (const char* f : {"Id", "Name"}) Form->MasterList->Items()->Add(f);
    for (const char* f : {"PRIMARY", "ByCustomer"}) Form->IndexList->Items()->Add(f);
    Form->IndexList->SetItemIndex(0);
    Form->BindList->Items()->Add("CustNo -> Id");
    Form->BindList->Items()->Add(" B -> Name");
  }

  // Runs the form under Script; answers the modal result.
  TModalResult Run(const std::string& Script) {
    TScriptedUser user(Script, Out);
    TWidgetSetScope scope(user);
    TModalResult result = Form->ShowModal();
    user.CheckFinished();
    return result;
  }
  std::vector<json> Lines() const {
    std::vector<json> lines;
    std::istringstream in(Out.str());
    for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
    return lines;
  }
  // The script error Script raises, as "line: message".
  std::string ErrorOf(const std::string& Script) {
    try {
      Run(Script);
    } catch (const EScriptError& e) {
      return std::to_string(e.Line()) + ": " + e.Message();
    }
    return "no error";
  }
};

TEST_F(ScriptedUserTest, DumpShowsTheFormAndItsControlsInCreationOrder) {
  Form->BindList->SetSelected(1, true);
  Form->AddButton->SetEnabled(false);
  EXPECT_EQ(Run("dump\nclose\n"), mrCancel);
  std::string text = Out.str();
  EXPECT_EQ(
      text.rfind(R"({"window":"form","name":"QVRLinkFields","class":"TLinkProbe","caption":"Field Link Designer",)"
                 R"("helpContext":27140,"activeControl":"IndexList","controls":[{"name":"Bevel1","class":"TBevel",)"
                 R"("visible":true,"enabled":true,"left":4,"top":38,"width":343,"height":190},)",
                 0),
      0u)
      << text;
  auto dump = Lines().at(0);
  ASSERT_EQ(dump["controls"].size(), 16u);
  auto byName = [&](const std::string& name) {
    for (auto& c : dump["controls"])
      if (c["name"] == name) return c;
    return json();
  };
  EXPECT_EQ(byName("Label30")["caption"], "D&etail Fields");
  EXPECT_EQ(byName("BindList")["items"], json({"CustNo -> Id", " B -> Name"}));
  EXPECT_EQ(byName("BindList")["multiSelect"], true);
  EXPECT_EQ(byName("BindList")["selected"], json({1}));
  EXPECT_EQ(byName("BindList")["itemIndex"], -1);
  EXPECT_EQ(byName("IndexList")["text"], "PRIMARY");
  EXPECT_EQ(byName("IndexList")["itemIndex"], 0);
  EXPECT_EQ(byName("Button1")["default"], true);
  EXPECT_EQ(byName("Button1")["modalResult"], 1);
  EXPECT_EQ(byName("Button2")["cancel"], true);
  EXPECT_EQ(byName("AddButton")["enabled"], false);
  EXPECT_FALSE(byName("Bevel1").contains("caption"));
  EXPECT_EQ(dump["controls"][15]["name"], "Help");
}

TEST_F(ScriptedUserTest, ActionsReachTheModelAsClicks) {
  std::string script =
      "# pick a join\n"
      "select DetailList OrderNo\n"
      "\n"
      "select MasterList #1\n"
      "select BindList  B -> Name\n"
      "toggle BindList custno -> id\n"
      "select IndexList ByCustomer\n"
      "select IndexList ByCustomer\n"
      "click AddButton\n"
      "click Help\n"
      "dump\n"
      "key enter\n";
  EXPECT_EQ(Run(script), mrOk);
  EXPECT_EQ(Form->DetailList->ItemIndex(), 1);
  EXPECT_EQ(Form->MasterList->ItemIndex(), 1);
  EXPECT_EQ(Form->BindList->SelectedIndexes(), (std::vector<int>{0, 1}));
  EXPECT_EQ(Form->BindList->ItemIndex(), 0);
  EXPECT_EQ(Form->IndexList->Text(), "ByCustomer");
  EXPECT_EQ(Form->Calls, (std::vector<std::string>{"BindingListClick(DetailList)", "BindingListClick(MasterList)",
                                                   "BindListClick(BindList)", "BindListClick(BindList)",
                                                   "IndexListChange(IndexList)", "IndexListChange(IndexList)",
                                                   "IndexListChange(IndexList)", "AddButtonClick(AddButton)",
                                                   "HelpClick(Help)", "BitBtn1Click(Button1)"}));
  // The focus followed the clicks.
  EXPECT_EQ(Lines().at(0)["activeControl"], "Help");
}

TEST_F(ScriptedUserTest, EscapeAndCloseCancel) {
  EXPECT_EQ(Run("key escape\n"), mrCancel);
  EXPECT_EQ(Run("close"), mrCancel);
  EXPECT_EQ(Run("click Button1\r\n"), mrOk);
}

TEST_F(ScriptedUserTest, MessageBoxFromAHandlerIsAnsweredInTurn) {
  std::vector<TModalResult> answers;
  Form->OnOk = [&] {
    answers.push_back(MessageDlg("Field Date, from the Detail Fields list, must be linked", mtError, {mbOK}, 0));
    if (answers.size() == 1) Form->SetModalResult(mrNone);  // refused: the dialog stays open
  };
  std::string script =
      "key enter\n"
      "dump\n"
      "answer ok\n"
      "click Button1\n"
      "key enter\n";
  EXPECT_EQ(Run(script), mrOk);
  EXPECT_EQ(answers, (std::vector<TModalResult>{mrOk, mrOk}));
  auto lines = Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(Out.str().substr(0, Out.str().find('\n')),
            R"({"window":"message","type":"error","text":"Field Date, from the Detail Fields list, must be linked",)"
            R"("buttons":["OK"]})");
  EXPECT_EQ(lines[1], lines[0]);  // the dump of the message box
  EXPECT_EQ(lines[2]["window"], "message");
}

TEST_F(ScriptedUserTest, MessageBoxAnswersKeysAndClose) {
  TScriptedUser user("answer No\nkey escape\nkey enter\nclose\nanswer help\nanswer Yes\n", Out);
  TWidgetSetScope scope(user);
  EXPECT_EQ(MessageDlg("Save?", mtConfirmation, mbYesNoCancel, 0), mrNo);
  EXPECT_EQ(MessageDlg("Save?", mtConfirmation, mbYesNoCancel, 0), mrCancel);
  EXPECT_EQ(MessageDlg("Retry?", mtWarning, mbAbortRetryIgnore, 0), mrRetry);
  EXPECT_EQ(MessageDlg("Note", mtInformation, {mbOK}, 0), mrCancel);
  // Help asks for help on the box's topic and leaves the box open; an empty button set still
  // shows OK.
  int saved = Application()->HelpContext();
  EXPECT_EQ(MessageDlg("Sure?", mtCustom, TMsgDlgButtons{mbYes, mbHelp}, 31), mrYes);
  Application()->SetHelpContext(saved);
  EXPECT_TRUE(user.Finished());
  EXPECT_EQ(Lines().at(0)["buttons"], json({"Yes", "No", "Cancel"}));
  EXPECT_EQ(Lines().at(4)["text"], "Sure?");
  EXPECT_EQ(Lines().at(5), json({{"window", "help"}, {"context", 31}}));
  TMessageBox empty{"", mtError, {}, 0};
  EXPECT_EQ(empty.ButtonList(), std::vector<TMsgDlgBtn>{mbOK});
}

TEST_F(ScriptedUserTest, ScriptErrorsNameTheLine) {
  EXPECT_EQ(ErrorOf("click Nothing\n"), "1: script:1: no control named 'Nothing' on the form QVRLinkFields");
  EXPECT_EQ(ErrorOf("# comment\n\nselect DetailList Amount\n"), "3: script:3: no item 'Amount' in DetailList");
  EXPECT_EQ(ErrorOf("select DetailList #3\n"), "1: script:1: no item '#3' in DetailList");
  Form->ClearButton->SetEnabled(false);
  EXPECT_EQ(ErrorOf("click ClearButton\n"), "1: script:1: ClearButton is disabled");
  Form->IndexList->Hide();
  EXPECT_EQ(ErrorOf("select IndexList PRIMARY\n"), "1: script:1: IndexList is hidden");
  EXPECT_EQ(ErrorOf("answer OK\n"), "1: script:1: 'answer' does not fit the form QVRLinkFields on top");
  EXPECT_EQ(ErrorOf("jump\n"), "1: script:1: unknown action 'jump'");
  EXPECT_EQ(ErrorOf("click DetailList\n"), "1: script:1: DetailList is a TListBox, not a button");
  EXPECT_EQ(ErrorOf("toggle DetailList Date\n"), "1: script:1: DetailList is not a multi-select list box");
  EXPECT_EQ(ErrorOf("select DetailList\n"), "1: script:1: 'select' needs an item of DetailList");
  EXPECT_EQ(ErrorOf("key space\n"), "1: script:1: unknown key 'space'");
  EXPECT_EQ(ErrorOf("dump\n# nothing more\n"),
            "3: script:3: the script ended while the form QVRLinkFields was still open");
  EXPECT_EQ(ErrorOf("close\nclick Button1\ndump\n"),
            "2: script:2: 2 line(s) left over when the command ended, from 'click Button1'");
  Form->Button2->SetEnabled(false);
  EXPECT_EQ(ErrorOf("key escape\n"), "1: script:1: the form QVRLinkFields has no visible and enabled cancel button");

  // The error leaves the form closed; nothing else ran.
  EXPECT_FALSE(Form->Modal());
  EXPECT_TRUE(Form->Calls.empty());
}

TEST_F(ScriptedUserTest, MessageBoxErrors) {
  Form->OnOk = [] { MessageDlg("Oops", mtError, {mbOK}, 0); };
  EXPECT_EQ(ErrorOf("click Button1\nanswer Yes\n"), "2: script:2: the message box has no button 'Yes'");
  EXPECT_EQ(ErrorOf("click Button1\nclick Button1\n"), "2: script:2: 'click' does not fit the message box on top");
  EXPECT_EQ(ErrorOf("click Button1\n"), "2: script:2: the script ended while the message box was still open");
}

TEST(ScriptFiles, ReadFromFileOrRefuse) {
  std::ostringstream out;
  EXPECT_THROW(TScriptedUser::FromFile("/nonexistent/edit.script", out), EInOutError);
  std::string path = ::testing::TempDir() + "/scripted-user-test.script";
  { std::ofstream(path) << "answer Cancel\nanswer OK\n"; }
  auto user = TScriptedUser::FromFile(path, out);
  TWidgetSetScope scope(*user);
  EXPECT_EQ(MessageDlg("a", mtWarning, mbOKCancel, 0), mrCancel);
  try {
    user->CheckFinished();
    ADD_FAILURE() << "a left-over line went unnoticed";
  } catch (const EScriptError& e) {
    EXPECT_EQ(e.Message().rfind(path + ":2: ", 0), 0u) << e.Message();
  }
  std::remove(path.c_str());
}

}  // namespace
