// Forms: the modal run and its results, the dialog keys, the focus, two-phase construction
// from a stored description, and OnDestroy while the controls still exist.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "host/rtl/Classes.h"
#include "host/rtl/Resources.h"
#include "host/visualclx/Button.h"
#include "host/visualclx/Form.h"
#include "host/visualclx/ListBox.h"
#include "host/visualclx/MessageDlg.h"
#include "host/visualclx/OpenDialog.h"
#include "host/visualclx/VisualClasses.h"
#include "host/visualclx/WidgetSet.h"
#include "host/visualclx/forms/FormError.h"
#include "tests/visualclx/LinkProbe.h"

namespace {

// A user who performs the given actions one by one while the form is open.
class TActingUser : public TWidgetSet {
 public:
  std::deque<std::function<void(TCustomForm&)>> Actions;
  int Runs = 0;

  void RunModal(TCustomForm& Form) override {
    ++Runs;
    EXPECT_TRUE(Form.Modal());
    EXPECT_TRUE(Form.Visible());
    while (Form.ModalResult() == mrNone) {
      if (Actions.empty()) throw EInvalidOperation("out of actions");
      auto action = std::move(Actions.front());
      Actions.pop_front();
      action(Form);
    }
  }
  TModalResult MessageBox(const TMessageBox&) override { return mrOk; }
  bool ExecuteOpenDialog(TOpenDialog&) override { return false; }
};

struct ModalForm : ::testing::Test {
  TForm Form{nullptr};
  TButton* Ok = new TButton(&Form);
  TButton* Cancel = new TButton(&Form);
  TButton* Other = new TButton(&Form);
  TListBox* List = new TListBox(&Form);
  TActingUser User;
  std::vector<std::string> Log;

  void SetUp() override {
    Form.SetName("Dialog");
    Ok->SetName("Ok");
    Cancel->SetName("Cancel");
    Other->SetName("Other");
    List->SetName("List");
    for (TControl* c : std::initializer_list<TControl*>{List, Ok, Cancel, Other}) c->SetParent(&Form);
    Ok->SetDefault(true);
    Ok->SetModalResult(mrOk);
    Cancel->SetCancel(true);
    Cancel->SetModalResult(mrCancel);
    Ok->OnClick.Code = [this](TObject*) { Log.push_back("ok sees " + std::to_string(Form.ModalResult())); };
    Form.OnShow.Code = [this](TObject*) { Log.push_back("show"); };
    Form.OnClose.Code = [this](TObject*) { Log.push_back("close"); };
  }
  TModalResult Run() {
    TWidgetSetScope scope(User);
    return Form.ShowModal();
  }
};

TEST_F(ModalForm, ButtonSetsTheResultBeforeItsHandlerRuns) {
  User.Actions.push_back([this](TCustomForm&) { Ok->Click(); });
  EXPECT_EQ(Run(), mrOk);
  EXPECT_EQ(Log, (std::vector<std::string>{"show", "ok sees 1", "close"}));
  EXPECT_FALSE(Form.Modal());
  EXPECT_FALSE(Form.Visible());
}

TEST_F(ModalForm, HandlerThatResetsTheResultKeepsTheFormOpen) {
  int refusals = 0;
  Ok->OnClick.Code = [&](TObject*) {
    if (refusals++ == 0) Form.SetModalResult(mrNone);
  };
  User.Actions.push_back([this](TCustomForm&) { Ok->Click(); });
  User.Actions.push_back([this](TCustomForm& form) {
    EXPECT_TRUE(form.Modal());  // still open after the refusal
    Ok->Click();
  });
  EXPECT_EQ(Run(), mrOk);
  EXPECT_EQ(refusals, 2);
  EXPECT_TRUE(User.Actions.empty());
}

TEST_F(ModalForm, ButtonWithoutResultLeavesTheFormOpen) {
  int others = 0;
  Other->OnClick.Code = [&](TObject*) { ++others; };
  User.Actions.push_back([this](TCustomForm&) { Other->Click(); });
  User.Actions.push_back([this](TCustomForm&) { Cancel->Click(); });
  EXPECT_EQ(Run(), mrCancel);
  EXPECT_EQ(others, 1);
}

TEST_F(ModalForm, EnterEscapeAndTitleBarClose) {
  User.Actions.push_back([](TCustomForm& form) { EXPECT_NE(form.UserKey(TDialogKey::Enter), nullptr); });
  EXPECT_EQ(Run(), mrOk);

  User.Actions.push_back([this](TCustomForm& form) { EXPECT_EQ(form.UserKey(TDialogKey::Escape), Cancel); });
  EXPECT_EQ(Run(), mrCancel);

  Cancel->SetModalResult(mrAbort);  // the title bar's close is mrCancel whatever the buttons say
  User.Actions.push_back([](TCustomForm& form) { form.UserClose(); });
  EXPECT_EQ(Run(), mrCancel);

  // A disabled or hidden default button does not answer Enter.
  Ok->SetEnabled(false);
  User.Actions.push_back([](TCustomForm& form) { EXPECT_EQ(form.UserKey(TDialogKey::Enter), nullptr); });
  User.Actions.push_back([](TCustomForm& form) { form.Close(); });
  EXPECT_EQ(Run(), mrCancel);
  Ok->SetEnabled(true);
  Ok->SetVisible(false);
  User.Actions.push_back([](TCustomForm& form) { EXPECT_EQ(form.UserKey(TDialogKey::Enter), nullptr); });
  User.Actions.push_back([](TCustomForm& form) { form.UserClose(); });
  EXPECT_EQ(Run(), mrCancel);
  EXPECT_EQ(User.Runs, 5);
}

TEST_F(ModalForm, ErrorInAHandlerLeavesTheFormClosed) {
  Ok->OnClick.Code = [](TObject*) { throw EInvalidOperation("boom"); };
  User.Actions.push_back([this](TCustomForm&) { Ok->Click(); });
  EXPECT_THROW(Run(), EInvalidOperation);
  EXPECT_FALSE(Form.Modal());
  EXPECT_FALSE(Form.Visible());
  // It can be shown again.
  User.Actions.push_back([this](TCustomForm&) { Cancel->Click(); });
  EXPECT_EQ(Run(), mrCancel);
}

TEST_F(ModalForm, FocusGoesToActiveControlOrFirstInTabOrderAndFollowsClicks) {
  Form.SetActiveControl(Cancel);
  User.Actions.push_back([this](TCustomForm& form) {
    EXPECT_EQ(form.ActiveControl(), Cancel);
    List->Items()->Add("x");
    List->UserSelect(0);
    EXPECT_EQ(form.ActiveControl(), List);
    EXPECT_THROW(form.SetActiveControl(Other), EInvalidOperation) << "hidden while shown";
    Cancel->Click();
  });
  Other->SetVisible(false);
  Run();

  // An active control that cannot take the focus gives it to the first in tab order.
  Form.SetActiveControl(Other);
  List->SetTabOrder(5);
  User.Actions.push_back([this](TCustomForm& form) {
    EXPECT_EQ(form.ActiveControl(), Ok);
    form.Close();
  });
  Run();

  // A control of another form is refused; a destroyed control is forgotten.
  TForm other(nullptr);
  TButton foreign(nullptr);
  foreign.SetParent(&other);
  EXPECT_THROW(Form.SetActiveControl(&foreign), EInvalidOperation);
  Form.SetActiveControl(Cancel);
  FreeObject(Cancel);
  EXPECT_EQ(Form.ActiveControl(), nullptr);
}

TEST_F(ModalForm, ShowModalIsRefusedWhileRunning) {
  User.Actions.push_back([](TCustomForm& form) {
    EXPECT_THROW(form.ShowModal(), EInvalidOperation);
    form.Close();
  });
  EXPECT_EQ(Run(), mrCancel);
}

TEST(WidgetSets, HeadlessAnswersNothingAndScopesRestore) {
  TForm form(nullptr);
  EXPECT_THROW(form.ShowModal(), ENoUserError);
  EXPECT_FALSE(form.Modal());
  EXPECT_THROW(MessageDlg("hello", mtInformation, {mbOK}, 0), ENoUserError);
  TOpenDialog dialog(nullptr);
  EXPECT_THROW(dialog.Execute(), ENoUserError);

  TActingUser user;
  TWidgetSet* before = &WidgetSet();
  {
    TWidgetSetScope scope(user);
    EXPECT_EQ(&WidgetSet(), &user);
    EXPECT_EQ(MessageDlg("hello", mtInformation, {mbOK}, 0), mrOk);
  }
  EXPECT_EQ(&WidgetSet(), before);
}

TEST(Controls, ParentsAndEffectiveState) {
  TForm form(nullptr);
  TListBox list(nullptr);
  list.SetParent(&form);
  EXPECT_EQ(GetParentForm(&list), &form);
  EXPECT_EQ(list.TabOrder(), 0);
  EXPECT_THROW(form.SetParent(&form), EInvalidOperation);
  form.Show();
  EXPECT_TRUE(list.Usable());
  form.SetEnabled(false);
  EXPECT_TRUE(list.Showing());
  EXPECT_FALSE(list.Usable());
  form.Hide();
  EXPECT_FALSE(list.Showing());
  // A form freed before its control leaves the control without parent.
  {
    TForm doomed(nullptr);
    list.SetParent(&doomed);
  }
  EXPECT_EQ(list.Parent(), nullptr);
  // Only a window holds controls.
  TButton button(nullptr);
  TLabel label(nullptr);
  EXPECT_THROW(button.SetParentComponent(&label), EInvalidOperation);
  button.SetParentComponent(&form);
  EXPECT_EQ(button.GetParentComponent(), &form);
}

// The stored description of the link designer reads into the model as written.
TEST(StoredForms, LinkDesignerDescriptionReadsAsWritten) {
  RegisterVisualClasses();
  RegisterLinkProbeResource();
  auto form = CreateForm<TLinkProbe>();
  EXPECT_EQ(form->Name(), "QVRLinkFields");
  EXPECT_EQ(form->Caption(), "Field Link Designer");
  EXPECT_EQ(form->Left(), 235);
  EXPECT_EQ(form->Height(), 309);
  EXPECT_EQ(form->HorzScrollBar()->Range(), 348);
  EXPECT_EQ(form->VertScrollBar()->Range(), 307);
  EXPECT_EQ(form->Color(), clButton);
  EXPECT_EQ(form->PixelsPerInch(), 75);
  EXPECT_EQ(form->TextHeight(), 20);
  EXPECT_EQ(form->TextWidth(), 7);
  EXPECT_EQ(form->ActiveControl(), form->IndexList);
  EXPECT_FALSE(form->Visible());
  // OnCreate ran after the controls and fields were there.
  EXPECT_EQ(form->Calls, std::vector<std::string>{"FormCreate(QVRLinkFields)"});
  EXPECT_EQ(form->HelpContext(), 27140);

  ASSERT_NE(form->Help, nullptr);
  EXPECT_EQ(form->IndexList->Style(), csDropDownList);
  EXPECT_EQ(form->IndexList->ItemHeight(), 22);
  EXPECT_EQ(form->IndexList->TabOrder(), 0);
  EXPECT_TRUE(form->BindList->MultiSelect());
  EXPECT_FALSE(form->DetailList->MultiSelect());
  EXPECT_EQ(form->Label30->FocusControl(), form->DetailList);
  EXPECT_EQ(form->Label30->Caption(), "D&etail Fields");
  EXPECT_EQ(form->Bevel1->Shape(), bsFrame);
  EXPECT_TRUE(form->Button1->Default());
  EXPECT_EQ(form->Button1->ModalResult(), mrOk);
  EXPECT_TRUE(form->Button2->Cancel());
  EXPECT_EQ(form->Button2->ModalResult(), mrCancel);
  EXPECT_EQ(form->Help->TabOrder(), 9);
  EXPECT_EQ(form->DeleteButton->Left(), 263);

  // Creation order is the stored order; every control sits on the form.
  std::vector<std::string> names;
  for (TControl* c : form->AllControls()) {
    names.push_back(c->Name());
    EXPECT_EQ(c->Parent(), form.get());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Bevel1", "Bevel2", "Label30", "Label31", "IndexLabel", "Label2",
                                             "DetailList", "MasterList", "BindList", "IndexList", "AddButton",
                                             "DeleteButton", "ClearButton", "Button1", "Button2", "Help"}));

  // Events are bound to the form's published methods.
  form->Calls.clear();
  form->DetailList->Items()->Add("CustNo");
  form->DetailList->UserSelect(0);
  form->MasterList->Click();
  form->IndexList->Items()->Add("PRIMARY");
  form->IndexList->UserSelect(0);  // OnChange and OnClick share the handler
  form->AddButton->Click();
  form->Button2->Click();  // no handler
  form->Help->Click();
  EXPECT_EQ(form->Calls, (std::vector<std::string>{"BindingListClick(DetailList)", "BindingListClick(MasterList)",
                                                   "IndexListChange(IndexList)", "IndexListChange(IndexList)",
                                                   "AddButtonClick(AddButton)", "HelpClick(Help)"}));
}

TEST(StoredForms, OnDestroyRunsWhileTheControlsExist) {
  RegisterLinkProbeResource();
  TLinkProbe::DestroyLog().clear();
  { auto form = CreateForm<TLinkProbe>(); }
  EXPECT_EQ(TLinkProbe::DestroyLog(), std::vector<std::string>{"FormDestroy(QVRLinkFields) DetailList"});

  // An owned form runs it when its owner goes.
  TLinkProbe::DestroyLog().clear();
  {
    TComponent owner(nullptr);
    TLinkProbe* form = CreateForm<TLinkProbe>(owner);
    EXPECT_EQ(form->Owner(), &owner);
  }
  EXPECT_EQ(TLinkProbe::DestroyLog().size(), 1u);

  // Moving the owner to another owner is no destruction.
  TLinkProbe::DestroyLog().clear();
  {
    TComponent root(nullptr);
    TComponent* owner = new TComponent(&root);
    CreateForm<TLinkProbe>(*owner);
    owner->ChangeOwner(nullptr);
    EXPECT_TRUE(TLinkProbe::DestroyLog().empty());
    owner->ChangeOwner(&root);
  }
  EXPECT_EQ(TLinkProbe::DestroyLog().size(), 1u);
}

class TMissingForm : public TForm {
  TIRVENDAL_CLASS(TMissingForm)
  explicit TMissingForm(TComponent* Owner) : TForm(Owner) {}
};

TClass TMissingForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMissingForm>(TForm::StaticClass()).Component().Build();
  return &info;
}

TEST(StoredForms, MissingOrBrokenDescriptionFailsAndFreesTheForm) {
  RegisterClass(TMissingForm::StaticClass());
  EXPECT_THROW(CreateForm<TMissingForm>(), EResNotFound);

  static const std::string broken =
      "object MissingForm: TMissingForm\n"
      "  object Ok: TButton\n"
      "    Foo = 1\n"
      "  end\n"
      "end\n";
  static const int module = 0;
  RegisterModuleResources(&module, {{"tmissingform", "RCDATA", broken}});
  TComponent owner(nullptr);
  try {
    CreateForm<TMissingForm>(owner);
    ADD_FAILURE() << "a broken description was read";
  } catch (const EFormError& e) {
    EXPECT_NE(e.Message().find("tmissingform:3"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(owner.ComponentCount(), 0);
  UnregisterModuleResources(&module);
}

TEST(StoredForms, PlainFormNeedsNoDescription) {
  auto form = CreateForm<TForm>();
  EXPECT_EQ(form->ComponentCount(), 0);
  EXPECT_FALSE(form->Visible());
}

}  // namespace
