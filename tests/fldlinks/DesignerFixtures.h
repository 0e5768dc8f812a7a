// What the Field Link Designer's tests share: data sets held in memory, a field link that
// keeps its values in memory and records every write, and runs answered by a script.
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

// The design package's start: the platform's classes and the designer's stored description.
extern "C" void Initialize();

namespace fixtures {

using Strings = std::vector<std::string>;

// A data set with the given fields whose master is what Source shows; it publishes
// MasterFields so an Object Inspector editor can be made for it.
class TMemoryDataSet : public TDataSet {
  TIRVENDAL_CLASS(TMemoryDataSet)
  TMemoryDataSet(const std::string& Name, const Strings& Fields) : TDataSet(nullptr) {
    SetName(Name);
    for (const std::string& field : Fields) FieldDefs()->Add(field, ftString, 20);
  }
  TDataSource* DataSource() const override { return Source; }
  std::string MasterFields() const { return {}; }
  void SetMasterFields(const std::string&) {}

  TDataSource* Source = nullptr;
  int OpenCount = 0;

 protected:
  void InternalOpen() override { ++OpenCount; }
};

inline TClass TMemoryDataSet::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TMemoryDataSet>(TDataSet::StaticClass())
          .String("MasterFields", &TMemoryDataSet::MasterFields, &TMemoryDataSet::SetMasterFields)
          .Build();
  return &info;
}

// An index-based field link whose values live in the object, kept as a table keeps them (a
// non-empty IndexName or IndexFieldNames empties the other). Calls lists every write.
class TRecordingLink : public TQVRBaseFieldLinkProperty {
 public:
  void GetFieldNamesForIndex(TStrings* List) override {
    auto* def = static_cast<TIndexDef*>(Defs->TDefCollection::Find(IndexName));
    for (size_t pos = 0; def && pos < def->Fields().size();) List->Add(NextFieldName(def->Fields(), pos));
  }
  bool GetIndexBased() override { return IndexBased; }
  TIndexDefs* GetIndexDefs() override { return Defs.get(); }
  std::string GetIndexFieldNames() override { return IndexFieldNames; }
  std::string GetIndexName() override { return IndexName; }
  std::string GetMasterFields() override { return MasterFields; }
  void SetIndexFieldNames(const std::string& Value) override {
    Calls.push_back("SetIndexFieldNames(" + Value + ")");
    IndexFieldNames = Value;
    IndexName.clear();
  }
  void SetIndexName(const std::string& Value) override {
    Calls.push_back("SetIndexName(" + Value + ")");
    if (!Refused.empty() && Value == Refused) DatabaseError("Index '" + Value + "' cannot be read");
    IndexName = Value;
    if (!Value.empty()) IndexFieldNames.clear();
  }
  void SetMasterFields(const std::string& Value) override {
    Calls.push_back("SetMasterFields(" + Value + ")");
    MasterFields = Value;
  }

  bool IndexBased = true;
  std::string IndexName, IndexFieldNames, MasterFields;
  std::string Refused;  // an index name SetIndexName raises for
  std::unique_ptr<TIndexDefs> Defs = std::make_unique<TIndexDefs>(nullptr);
  Strings Calls;
};

// A detail data set bound to a master data set through a data source.
struct TLinkedPair {
  TLinkedPair(const Strings& DetailFields, const Strings& MasterFieldNames)
      : Master("Customers", MasterFieldNames), Source(nullptr), Detail("Orders", DetailFields) {
    Source.SetDataSet(&Master);
    Detail.Source = &Source;
  }
  TMemoryDataSet Master;
  TDataSource Source;
  TMemoryDataSet Detail;
};

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
