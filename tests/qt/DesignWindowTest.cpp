// The design window: the palette's pages, adding components under fresh names, selecting,
// deleting and renaming them, the modified marker, and the File menu's questions before
// changes would be lost.
#include <QAbstractButton>
#include <QLineEdit>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <sstream>

#include "designhost/gui/ComponentPalette.h"
#include "designhost/gui/DesignWindow.h"
#include "designhost/gui/ObjectInspector.h"
#include "host/dataclx/DataSource.h"
#include "host/designide/Palette.h"
#include "host/runtime/Database.h"
#include "host/runtime/Table.h"
#include "host/visualclx/ScriptedUser.h"
#include "host/visualclx/forms/FormReader.h"
#include "tests/qt/DesignSupport.h"

namespace {

using namespace qttest;
using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

struct DesignWindow : ::testing::Test {
  TDemo Demo;
  TRecordingWidgetSet Boxes;
  TWidgetSetScope Scope{Boxes};
  std::unique_ptr<TDesignWindow> Window;

  DesignWindow() {
    RegisterPlatformComponents();
    Window = std::make_unique<TDesignWindow>();
    Window->LoadFile(Demo.Form());
    Window->show();
    // The keyboard's shortcuts reach the window in front.
    Window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(Window.get()));
  }
  Strings ListedNames() const {
    Strings names;
    for (int i = 0; i < Window->ComponentList().topLevelItemCount(); ++i)
      names.push_back(Window->ComponentList().topLevelItem(i)->text(0).toStdString());
    return names;
  }
  Strings SelectedNames() const {
    Strings names;
    for (TComponent* c : Window->Selection()) names.push_back(c->Name());
    return names;
  }
  TComponent* Component(const std::string& Name) const { return Window->Document().Root()->FindComponent(Name); }
  // Answers the next questions with the scripted user's Script.
  bool Answering(const std::string& Script, const std::function<bool()>& Action) {
    std::ostringstream out;
    TScriptedUser user(Script, out);
    TWidgetSetScope scope(user);
    bool result = Action();
    user.CheckFinished();
    return result;
  }
};

TEST_F(DesignWindow, ThePaletteShowsEachPageWithItsComponents) {
  TComponentPalette& palette = Window->ComponentPalette();
  std::vector<std::pair<std::string, Strings>> pages;
  for (int i = 0; i < palette.count(); ++i) {
    Strings classes;
    for (auto* button : palette.widget(i)->findChildren<QAbstractButton*>())
      classes.push_back(button->text().toStdString());
    pages.emplace_back(palette.tabText(i).toStdString(), classes);
  }
  ASSERT_GE(pages.size(), 2u);
  EXPECT_EQ(pages[0], (std::pair<std::string, Strings>{"Tirvendal", {"TQVRTable", "TQVRDatabase"}}));
  EXPECT_EQ(pages[1], (std::pair<std::string, Strings>{"Data Access", {"TDataSource"}}));
  // Registering again adds no second page.
  RegisterPlatformComponents();
  palette.Reload();
  EXPECT_EQ(palette.count(), static_cast<int>(pages.size()));
}

TEST_F(DesignWindow, AComponentFromThePaletteGetsAFreshNameAndIsSelected) {
  EXPECT_FALSE(Window->isWindowModified());
  QTest::mouseClick(Window->ComponentPalette().ButtonOf("TQVRTable"), Qt::LeftButton);
  QAbstractButton* source = Window->ComponentPalette().ButtonOf("TDataSource");
  source->setFocus();
  QTest::keyClick(source, Qt::Key_Space);
  QTest::mouseClick(Window->ComponentPalette().ButtonOf("TQVRTable"), Qt::LeftButton);
  EXPECT_EQ(ListedNames(),
            (Strings{"Database1", "Customers", "CustomersSource", "Orders", "QVRTable1", "DataSource1", "QVRTable2"}));
  EXPECT_EQ(SelectedNames(), Strings{"QVRTable2"});
  EXPECT_EQ(Component("QVRTable2")->ClassName(), "TQVRTable");
  EXPECT_TRUE(Component("QVRTable2")->ComponentState().Contains(csDesigning));
  EXPECT_NE(Window->Inspector().EditorOf("TableName"), nullptr);
  EXPECT_TRUE(Window->isWindowModified());
  EXPECT_TRUE(Window->windowTitle().contains("demo.xfm[*]"));
}

TEST_F(DesignWindow, SelectingSeveralShowsTheirCommonRows) {
  Window->Select({Component("Orders"), Component("Customers")});
  EXPECT_EQ(SelectedNames(), (Strings{"Customers", "Orders"}));
  EXPECT_EQ(Window->Inspector().EditorOf("MasterFields"), nullptr);
  EXPECT_NE(Window->Inspector().EditorOf("TableName"), nullptr);
  // A click in the list selects one again.
  QTreeWidget& list = Window->ComponentList();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.topLevelItem(3)).center());
  EXPECT_EQ(SelectedNames(), Strings{"Orders"});
  EXPECT_NE(Window->Inspector().EditorOf("MasterFields"), nullptr);
}

TEST_F(DesignWindow, DeleteRemovesTheSelectionAndTheReferencesToIt) {
  Window->Select({Component("CustomersSource")});
  QTreeWidget& list = Window->ComponentList();
  list.setFocus();
  QTest::keyClick(&list, Qt::Key_Delete);
  EXPECT_EQ(ListedNames(), (Strings{"Database1", "Customers", "Orders"}));
  EXPECT_EQ(GetObjectProp(Component("Orders"), GetPropInfo(Component("Orders")->ClassType(), "MasterSource")), nullptr);
  EXPECT_TRUE(Window->isWindowModified());
  // Delete in the inspector's text edits the text, it deletes no component.
  Window->Select({Component("Orders")});
  QLineEdit* name = Window->Inspector().EditorOf("Name")->Line();
  name->setFocus();
  name->end(false);
  QTest::keyClick(name, Qt::Key_Backspace);
  QTest::keyClick(name, Qt::Key_Delete);
  EXPECT_EQ(ListedNames(), (Strings{"Database1", "Customers", "Orders"}));
}

TEST_F(DesignWindow, RenamingRefusesWhatIsNoFreeNameWithAMessage) {
  Window->Select({Component("Orders")});
  EXPECT_FALSE(Window->RenameSelected("Customers"));
  EXPECT_FALSE(Window->RenameSelected("1st"));
  ASSERT_EQ(Boxes.Boxes.size(), 2u);
  EXPECT_EQ(Boxes.Boxes[0].DlgType, mtError);
  EXPECT_EQ(ListedNames()[3], "Orders");
  EXPECT_FALSE(Window->isWindowModified());
  EXPECT_TRUE(Window->RenameSelected("Sales"));
  EXPECT_EQ(ListedNames()[3], "Sales");
  EXPECT_EQ(Window->Inspector().EditorOf("Name")->Text(), "Sales");
  // Through the inspector's Name row the list follows too.
  QLineEdit* name = Window->Inspector().EditorOf("Name")->Line();
  name->selectAll();
  QTest::keyClicks(name, "Orders2");
  QTest::keyClick(name, Qt::Key_Return);
  EXPECT_EQ(ListedNames()[3], "Orders2");
  // F2 in the list edits the name in place.
  QTreeWidget& list = Window->ComponentList();
  Window->Select({Component("Customers")});
  list.setFocus();
  QTest::keyClick(&list, Qt::Key_F2);
  auto* editor = list.findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, "Clients");
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();  // the list takes the edited text from its event loop
  ASSERT_NE(Component("Clients"), nullptr);
  EXPECT_EQ(ListedNames()[1], "Clients");
}

TEST_F(DesignWindow, SaveWritesWhatReadsBackAndClearsTheMarker) {
  Window->AddComponent(TQVRDatabase::StaticClass());
  ASSERT_TRUE(Window->Save());
  EXPECT_FALSE(Window->isWindowModified());
  EXPECT_EQ(ReadFile(Demo.Form()), WriteComponent(Window->Document().Root()));
  EXPECT_NE(ReadFile(Demo.Form()).find("object QVRDatabase1: TQVRDatabase"), std::string::npos);
  // What was saved reads back, in place of the open form.
  EXPECT_TRUE(Window->OpenFile(Demo.Form()));
  EXPECT_EQ(ListedNames().back(), "QVRDatabase1");
  // Save As another file: the window now belongs to it.
  Window->AskSaveFileName = [&] { return std::optional<fs::path>(Demo.Dir / "copy.xfm"); };
  Window->AddComponent(TDataSource::StaticClass());
  ASSERT_TRUE(Window->SaveAs());
  EXPECT_EQ(Window->Document().File(), Demo.Dir / "copy.xfm");
  EXPECT_TRUE(Window->windowTitle().contains("copy.xfm"));
  EXPECT_EQ(ReadFile(Demo.Dir / "copy.xfm"), WriteComponent(Window->Document().Root()));
}

TEST_F(DesignWindow, ChangesAreNotLostWithoutAQuestion) {
  std::string saved = ReadFile(Demo.Form());
  Window->AddComponent(TQVRTable::StaticClass());
  // Cancel keeps everything as it is.
  EXPECT_FALSE(Answering("answer Cancel\n", [&] { return Window->NewForm(); }));
  EXPECT_NE(Component("QVRTable1"), nullptr);
  EXPECT_TRUE(Window->isWindowModified());
  // No drops the changes: the file stays as it was.
  EXPECT_TRUE(Answering("answer No\n", [&] { return Window->NewForm(); }));
  EXPECT_TRUE(Window->Document().Untitled());
  EXPECT_EQ(Window->Document().Root()->ComponentCount(), 0);
  EXPECT_EQ(ReadFile(Demo.Form()), saved);
  // Without changes nobody is asked.
  EXPECT_TRUE(Answering("", [&] { return Window->OpenFile(Demo.Form()); }));
  // Yes saves first.
  Window->AddComponent(TQVRTable::StaticClass());
  EXPECT_TRUE(Answering("answer Yes\n", [&] { return Window->close(); }));
  EXPECT_NE(ReadFile(Demo.Form()).find("QVRTable1: TQVRTable"), std::string::npos);
}

TEST_F(DesignWindow, AFormThatDoesNotReadLeavesTheOpenOneAsItWas) {
  WriteFile(Demo.Dir / "broken.xfm", "object X: TDataModule\n  object Y: TNoSuchClass\n  end\nend\n");
  fs::path before = fs::current_path();
  EXPECT_FALSE(Window->OpenFile(Demo.Dir / "broken.xfm"));
  ASSERT_EQ(Boxes.Boxes.size(), 1u);
  EXPECT_NE(Boxes.Boxes[0].Text.find("broken.xfm"), std::string::npos) << Boxes.Boxes[0].Text;
  EXPECT_EQ(Window->Document().File(), Demo.Form());
  EXPECT_EQ(ListedNames().size(), 4u);
  EXPECT_EQ(fs::current_path(), before);
  // Open through the model's open-file dialog, answered by the scripted user.
  EXPECT_TRUE(Answering("file " + (Demo.Dir / "copy").string() + "\n", [&] {
    Window->AskSaveFileName = [&] { return std::optional<fs::path>(Demo.Dir / "copy.xfm"); };
    Window->SaveAs();
    return Window->Open();
  }));
  EXPECT_EQ(Window->Document().File(), Demo.Dir / "copy.xfm");
}

}  // namespace
