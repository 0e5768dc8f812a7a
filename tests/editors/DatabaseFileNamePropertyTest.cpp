// The file name editor frees its dialog on every path and stores only an accepted name.
#include <gtest/gtest.h>

#include "editors/QVRDatabaseFileNameProperty.h"
#include "host/runtime/Qvrmain.h"
#include "host/visualclx/Application.h"
#include "host/visualclx/OpenDialog.h"
#include "host/visualclx/WidgetSet.h"

namespace {

// A widget set whose open-file dialog answers as told, and remembers what it was shown.
class TDialogAnswer : public TWidgetSet {
 public:
  enum { Accept, Cancel, Raise } Mode = Accept;
  std::u16string Preselected = u"unset";
  TOpenOptions Options;
  int LiveDialogs = 0;

  void RunModal(TCustomForm&) override { throw EInvalidOperation("no forms here"); }
  TModalResult MessageBox(const TMessageBox&) override { return mrOk; }
  bool ExecuteOpenDialog(TOpenDialog& Dialog) override {
    Preselected = Dialog.FileName();
    Options = Dialog.Options();
    LiveDialogs = Application()->ComponentCount();
    if (Mode == Raise) throw EInvalidOperation("the screen went away");
    if (Mode == Cancel) return false;
    Dialog.SetFileName(u"/data/chosen.tvd");
    return true;
  }
};

class TCountingDesigner : public IDesigner {
 public:
  int Modifications = 0;
  bool Refuse = false;
  void Modified() override {
    if (Refuse) throw EInvalidOperation("the designer refuses");
    ++Modifications;
  }
  TComponent* Root() const override { return nullptr; }
  void GetComponentNames(TClass, const TGetStrProc&) override {}
  TComponent* GetComponent(const std::string&) override { return nullptr; }
};

class DatabaseFileNameProperty : public ::testing::Test {
 protected:
  void SetUp() override {
    database.SetDatabaseFileName("old.tvd");
    editor = CreatePropertyEditor(TQVRDatabaseFileNameProperty::StaticClass(), &designer, {&database},
                                  GetPropInfo(&database, "DatabaseFileName"));
  }

  TQVRDatabase database{nullptr};
  TCountingDesigner designer;
  TDialogAnswer answer;
  std::unique_ptr<TPropertyEditor> editor;
};

TEST_F(DatabaseFileNameProperty, AcceptedNameIsStoredAndReported) {
  int before = Application()->ComponentCount();
  TWidgetSetScope scope(answer);
  editor->Edit();
  EXPECT_EQ(database.DatabaseFileName(), "/data/chosen.tvd");
  EXPECT_EQ(designer.Modifications, 1);
  EXPECT_EQ(answer.Preselected, u"") << "the property's value is not handed to the dialog";
  EXPECT_EQ(answer.Options.Value(), 0x40u);
  EXPECT_EQ(answer.LiveDialogs, before + 1) << "the application owns the dialog while it runs";
  EXPECT_EQ(Application()->ComponentCount(), before);
  EXPECT_EQ(editor->GetAttributes().Value(), 0x84u);
}

TEST_F(DatabaseFileNameProperty, CancelStoresNothing) {
  answer.Mode = TDialogAnswer::Cancel;
  TWidgetSetScope scope(answer);
  editor->Edit();
  EXPECT_EQ(database.DatabaseFileName(), "old.tvd");
  EXPECT_EQ(designer.Modifications, 0);
}

TEST_F(DatabaseFileNameProperty, DialogIsFreedWhenShowingOrStoringRaises) {
  int before = Application()->ComponentCount();
  TWidgetSetScope scope(answer);
  answer.Mode = TDialogAnswer::Raise;
  EXPECT_THROW(editor->Edit(), EInvalidOperation);
  EXPECT_EQ(Application()->ComponentCount(), before);
  answer.Mode = TDialogAnswer::Accept;
  designer.Refuse = true;
  EXPECT_THROW(editor->Edit(), EInvalidOperation);
  EXPECT_EQ(Application()->ComponentCount(), before);
}

}  // namespace
