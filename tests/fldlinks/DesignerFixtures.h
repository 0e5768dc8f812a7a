// What the Field Link Designer's tests share: the data sets and the field link held in memory
// (tests/support/FieldLinks.h), designers loaded on them, and runs answered by a script.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "fldlinks/QVRBaseFieldLinkProperty.h"
#include "fldlinks/QVRLinkFields.h"
#include "host/dataclx/Db.h"
#include "host/rtl/TypInfo.h"
#include "host/visualclx/Forms.h"
#include "host/visualclx/ScriptedUser.h"
#include "host/visualclx/StdCtrls.h"
#include "tests/support/FieldLinks.h"

// The design package's start: the platform's classes and the designer's stored description.
extern "C" void Initialize();

namespace fixtures {

// A designer made, linked, bound and loaded, as EditMasterFields does before the modal run.
inline TFormPtr<TQVRLinkFields> LoadDesigner(TDataSet* Detail, TQVRBaseFieldLinkProperty* Link) {
  Initialize();
  TFormPtr<TQVRLinkFields> form = CreateForm<TQVRLinkFields>();
  form->SetLinkProperty(Link);
  form->SetDataSet(Detail);
  form->Initialize();
  return form;
}

inline Strings Items(const TStrings* List) { return List->ToVector(); }

// The items of the list or combo box Name as the last "dump" of a form in Output shows them.
inline Strings DumpedItems(const std::string& Output, const std::string& Name) {
  std::istringstream lines(Output);
  std::string form;
  for (std::string line; std::getline(lines, line);)
    if (line.find(R"("window":"form")") != std::string::npos) form = line;
  if (form.empty()) {
    ADD_FAILURE() << "no form was dumped: " << Output;
    return {};
  }
  const nlohmann::json window = nlohmann::json::parse(form);
  for (const auto& control : window["controls"])
    if (control["name"] == Name) return control["items"].get<Strings>();
  ADD_FAILURE() << "no control " << Name << " in " << form;
  return {};
}

inline std::vector<bool> JoinedFlags(const TQVRLinkFields& Form) {
  std::vector<bool> flags;
  for (int i = 0; i < Form.AllDetailFields()->Count(); ++i)
    flags.push_back(Form.AllDetailFields()->Objects(i) == TQVRLinkFields::JoinedFlag());
  return flags;
}

// Whether Add, Delete and Clear are enabled.
inline std::vector<bool> Buttons(const TQVRLinkFields& Form) {
  return {Form.AddButton->Enabled(), Form.DeleteButton->Enabled(), Form.ClearButton->Enabled()};
}

// Clicks the item of that text as a user would.
inline void UserSelect(TListBox* List, const std::string& Text) { List->UserSelect(List->Items()->IndexOf(Text)); }

// Joins Detail to Master as a user would: a click in each list, then Add.
inline void Join(TQVRLinkFields& Form, const std::string& Detail, const std::string& Master) {
  UserSelect(Form.DetailList, Detail);
  UserSelect(Form.MasterList, Master);
  ASSERT_TRUE(Form.AddButton->Enabled());
  Form.AddButton->Click();
}

// A scripted user for the designer that, once the script has closed the dialog, lets the
// test act before the modal run returns. Output holds the JSON lines of message boxes and dumps.
class THookedUser : public TWidgetSet {
 public:
  explicit THookedUser(std::string_view Script, std::function<void()> AfterRun = {})
      : FUser(Script, Output), FAfterRun(std::move(AfterRun)) {}
  void RunModal(TCustomForm& Form) override {
    FUser.RunModal(Form);
    if (FAfterRun) FAfterRun();
  }
  TModalResult MessageBox(const TMessageBox& Box) override { return FUser.MessageBox(Box); }
  bool ExecuteOpenDialog(TOpenDialog& Dialog) override { return FUser.ExecuteOpenDialog(Dialog); }
  void ShowHelp(int Context) override { FUser.ShowHelp(Context); }
  bool Finished() const { return FUser.Finished(); }
  void CheckFinished() const { FUser.CheckFinished(); }

  std::ostringstream Output;

 private:
  TScriptedUser FUser;
  std::function<void()> FAfterRun;
};

// Runs EditMasterFields with the script answering; the script must be used up.
inline bool RunDesigner(THookedUser& User, TDataSet* Detail, TQVRBaseFieldLinkProperty* Link) {
  Initialize();
  TWidgetSetScope scope(User);
  bool result = EditMasterFields(Detail, Link);
  User.CheckFinished();
  return result;
}

}  // namespace fixtures
