// The design window: the palette's pages, adding components under fresh names, selecting,
// deleting and renaming them, the modified marker, the File menu's questions before changes
// would be lost, undo and redo, the data view following master/detail, and help.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <sstream>

#include "designhost/Designer.h"
#include "designhost/gui/ComponentPalette.h"
#include "designhost/gui/DataView.h"
#include "designhost/gui/DesignWindow.h"
#include "designhost/gui/ObjectInspector.h"
#include "fldlinks/QVRLinkFields.h"
#include "host/dataclx/DataSource.h"
#include "host/designide/Palette.h"
#include "host/qt/FormWindow.h"
#include "host/qt/HelpWindow.h"
#include "host/qt/QtWidgetSet.h"
#include "host/rtl/TypInfo.h"
#include "host/runtime/Database.h"
#include "host/runtime/Table.h"
#include "host/visualclx/HelpTopics.h"
#include "host/visualclx/ScriptedUser.h"
#include "host/visualclx/forms/FormReader.h"
#include "tests/designhost/KeySchema.h"
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

  // Save As into another folder: a relative database file name is rewritten so that it still
  // leads to the same file (absolute from a folder it does not lie under, relative from one it
  // does), the status bar says so, and the saved copy reads its tables.
  auto savedAs = [&](const fs::path& File) {
    Window->AskSaveFileName = [&] { return std::optional<fs::path>(File); };
    EXPECT_TRUE(Window->SaveAs());
    TProcessResult tables =
        RunProgram(TIRVENDAL_BIN_DIR "/designhost", {"values", File.string(), "Customers.TableName"});
    EXPECT_NE(tables.Out.find("customers\n"), std::string::npos) << tables.Err;
    EXPECT_TRUE(Window->statusBar()->currentMessage().contains("Database1.DatabaseFileName"))
        << Window->statusBar()->currentMessage().toStdString();
    return ReadFile(File);
  };
  fs::create_directories(Demo.Dir / "sub");
  EXPECT_NE(
      savedAs(Demo.Dir / "sub" / "moved.xfm").find("DatabaseFileName = '" + (Demo.Dir / "demo.tvd").string() + "'"),
      std::string::npos);
  Window->Change("set",
                 [&] { dynamic_cast<TQVRDatabase*>(Component("Database1"))->SetDatabaseFileName("../demo.tvd"); });
  EXPECT_NE(savedAs(Demo.Dir / "top.xfm").find("DatabaseFileName = 'demo.tvd'"), std::string::npos);
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

TEST_F(DesignWindow, AChangeOnDiskIsReadAgainOrOverwrittenOnlyWhenThePersonSaysSo) {
  auto setOnDisk = [&](const std::string& Property, const std::string& Value) {
    TProcessResult set = RunProgram(TIRVENDAL_BIN_DIR "/designhost", {"set", Demo.Form().string(), Property, Value});
    ASSERT_EQ(set.Status, 0) << set.Err;
  };
  auto tag = [&](const std::string& Name) {
    return GetPropValueText(Component(Name), GetPropInfo(Component(Name), "Tag"));
  };
  auto setTag = [&](const std::string& Name, int Value) {
    Window->Change("set Tag", [&] { SetOrdProp(Component(Name), GetPropInfo(Component(Name), "Tag"), Value); });
  };
  auto onDisk = [&](const std::string& Line) { return ReadFile(Demo.Form()).find(Line) != std::string::npos; };

  // Without unsaved changes the window notices the replaced file by itself and reads it again.
  setOnDisk("Customers.Tag", "42");
  EXPECT_TRUE(
      Answering("answer Yes\n", [&] { return QTest::qWaitFor([&] { return tag("Customers") == "42"; }, 5000); }));
  EXPECT_FALSE(Window->isWindowModified());

  // With changes of its own it asks nothing while idle; its save asks, and Cancel writes nothing.
  setTag("Orders", 77);
  setOnDisk("Customers.Tag", "43");
  QTest::qWait(800);
  EXPECT_TRUE(Boxes.Boxes.empty());
  EXPECT_FALSE(Answering("answer Cancel\n", [&] { return Window->Save(); }));
  EXPECT_TRUE(onDisk("Tag = 43"));
  EXPECT_FALSE(onDisk("Tag = 77"));
  EXPECT_TRUE(Window->isWindowModified());
  // No overwrites the file with the window's form.
  EXPECT_TRUE(Answering("answer No\n", [&] { return Window->Save(); }));
  EXPECT_TRUE(onDisk("Tag = 77"));
  EXPECT_FALSE(onDisk("Tag = 43"));
  EXPECT_FALSE(Window->isWindowModified());

  // Yes reads the file again instead of saving; Undo brings the window's change back.
  setTag("Orders", 78);
  setOnDisk("Customers.Tag", "44");
  EXPECT_FALSE(Answering("answer Yes\n", [&] { return Window->Save(); }));
  EXPECT_EQ(tag("Customers"), "44");
  EXPECT_EQ(tag("Orders"), "77");
  EXPECT_FALSE(Window->isWindowModified());
  ASSERT_TRUE(Window->Undo());
  EXPECT_EQ(tag("Orders"), "78");
  EXPECT_TRUE(Window->isWindowModified());
  // The window's own saves are no changes on disk to it.
  EXPECT_TRUE(Window->Save());
  QTest::qWait(800);
  EXPECT_TRUE(Boxes.Boxes.empty());
  EXPECT_TRUE(onDisk("Tag = 78"));
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

TEST_F(DesignWindow, UndoAndRedoTakeBackEveryKindOfChangeWithOneNoticeEach) {
  auto& designer = dynamic_cast<TFormDesigner&>(Window->Document().Designer());
  auto text = [&] { return WriteComponent(Window->Document().Root()); };
  Strings states{text()};
  // A notice without a change of the form is no step and no modification.
  Window->Change("nothing", [&] { designer.Modified(); });
  EXPECT_FALSE(Window->History().CanUndo());
  EXPECT_FALSE(Window->isWindowModified());

  Window->Select({Component("Orders")});
  QLineEdit* tag = Window->Inspector().EditorOf("Tag")->Line();
  tag->selectAll();
  QTest::keyClicks(tag, "7");
  QTest::keyClick(tag, Qt::Key_Return);
  states.push_back(text());
  Window->AddComponent(TQVRTable::StaticClass());
  states.push_back(text());
  ASSERT_TRUE(Window->RenameSelected("Extra"));
  states.push_back(text());
  Window->Select({Component("Orders")});
  Answering(
      "select IndexList ByCustNo\nselect DetailList CustNo\nselect MasterList CustNo\nclick AddButton\nclick Button1\n",
      [&] {
        Window->Inspector().EditorOf("MasterFields")->RunDialog();
        return true;
      });
  states.push_back(text());
  Window->Select({Component("Extra")});
  Window->DeleteSelection();
  states.push_back(text());
  for (size_t i = 1; i < states.size(); ++i) ASSERT_NE(states[i], states[i - 1]) << "change " << i;

  int notices = designer.Modifications();
  for (size_t i = states.size() - 1; i > 0; --i) {
    ASSERT_TRUE(Window->Undo()) << i;
    EXPECT_EQ(text(), states[i - 1]) << i;
    EXPECT_EQ(designer.Modifications(), ++notices) << "one notice per undo";
    if (i == states.size() - 1) {
      EXPECT_EQ(SelectedNames(), Strings{"Extra"}) << "the deleted one is back, selected";
    }
  }
  EXPECT_FALSE(Window->History().CanUndo());
  EXPECT_FALSE(Window->Undo());
  EXPECT_FALSE(Window->isWindowModified()) << "undone back to the form as read";
  EXPECT_EQ(ListedNames(), (Strings{"Database1", "Customers", "CustomersSource", "Orders"}));
  for (size_t i = 1; i < states.size(); ++i) {
    ASSERT_TRUE(Window->Redo()) << i;
    EXPECT_EQ(text(), states[i]) << i;
    EXPECT_EQ(designer.Modifications(), ++notices) << "one notice per redo";
    EXPECT_TRUE(Window->isWindowModified());
  }
  EXPECT_FALSE(Window->Redo());
  // Saved, the marker goes; undoing past the save brings it back, redoing clears it again.
  ASSERT_TRUE(Window->Save());
  ASSERT_TRUE(Window->Undo());
  EXPECT_TRUE(Window->isWindowModified());
  ASSERT_TRUE(Window->Redo());
  EXPECT_FALSE(Window->isWindowModified());
  // A new change after an undo drops what could have been redone.
  ASSERT_TRUE(Window->Undo());
  Window->AddComponent(TDataSource::StaticClass());
  EXPECT_FALSE(Window->History().CanRedo());
  EXPECT_TRUE(Boxes.Boxes.empty());
}

// Counts the times a data set's records changed as a whole (a detail reading its rows again).
struct TChangeCounter : TDataLink {
  int Changes = 0;
  void DataSetChanged() override { ++Changes; }
};

TEST_F(DesignWindow, UndoAndRedoKeepTheInspectorOnItsRow) {
  Window->Select({Component("Orders")});
  QLineEdit* tag = Window->Inspector().EditorOf("Tag")->Line();
  tag->selectAll();
  QTest::keyClicks(tag, "7");
  QTest::keyClick(tag, Qt::Key_Return);
  ASSERT_TRUE(Window->Undo());
  EXPECT_EQ(Window->Inspector().CurrentName(), "Tag");
  ASSERT_NE(Window->Inspector().CurrentEditor(), nullptr);
  EXPECT_EQ(Window->Inspector().CurrentEditor()->Text(), "0");
  ASSERT_TRUE(Window->Redo());
  EXPECT_EQ(Window->Inspector().CurrentName(), "Tag");
  EXPECT_EQ(Window->Inspector().CurrentEditor()->Text(), "7");
}

// The window starts at a size that fits the screen; keeping its size in the settings, it comes
// back at the size it was closed at, fitted to the screen.
TEST(DesignWindowSize, FitsTheScreenAndComesBackAsItWasLeft) {
  App();
  LoadDesignPackageOnce();
  RegisterPlatformComponents();
  static TTempDir config;  // the settings of every window after this one go there, not to the home folder
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(config.Path().string()));
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const QSize left(area.width() / 2, area.height() / 2);
  {
    TDesignWindow window;
    EXPECT_TRUE(area.contains(window.geometry())) << window.width() << "x" << window.height();
    EXPECT_GE(window.width(), area.width() * 3 / 4);
    EXPECT_GE(window.height(), area.height() * 3 / 4);
    window.KeepSizeInSettings();
    window.resize(left);
    window.show();
    ASSERT_TRUE(window.close());
  }
  EXPECT_TRUE(fs::exists(config / "designhost" / "designhost.conf"));
  {
    TDesignWindow window;
    window.KeepSizeInSettings();
    EXPECT_EQ(window.size(), left);
    window.resize(area.size() * 2);  // as on a larger screen
    window.show();
    ASSERT_TRUE(window.close());
  }
  TDesignWindow window;
  window.KeepSizeInSettings();
  EXPECT_TRUE(area.contains(window.geometry())) << window.width() << "x" << window.height();
}

TEST_F(DesignWindow, TheDataViewReadsRowsOnDemandAndFollowsTheMastersRow) {
  fs::path database = Demo.Dir / "demo.tvd";
  ExecSql(database,
          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
          "INSERT INTO customers (CustNo, Company) SELECT 5000 + i, 'Company ' || i FROM n;"
          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
          "INSERT INTO orders (OrderNo, CustNo) SELECT 90000 + i, 5001 + (i - 1) / 3 FROM n;");
  WriteFile(Demo.Form(),
            "object Demo: TDataModule\n"
            "  object Database1: TQVRDatabase\n    DatabaseName = 'Demo'\n    DatabaseFileName = 'demo.tvd'\n  end\n"
            "  object Customers: TQVRTable\n    DatabaseName = 'Demo'\n    TableName = 'customers'\n"
            "    Active = True\n  end\n"
            "  object CustomersSource: TDataSource\n    DataSet = Customers\n  end\n"
            "  object Orders: TQVRTable\n    DatabaseName = 'Demo'\n    TableName = 'orders'\n"
            "    MasterSource = CustomersSource\n    IndexName = 'ByCustNo'\n    MasterFields = 'CustNo'\n"
            "    Active = True\n  end\n"
            "end\n");
  std::string stored = ReadFile(database);
  ASSERT_TRUE(Window->OpenFile(Demo.Form()));
  auto* customers = dynamic_cast<TDataSet*>(Component("Customers"));
  auto* orders = dynamic_cast<TDataSet*>(Component("Orders"));
  TDataSource watch(nullptr);
  watch.SetDataSet(orders);
  TChangeCounter detail;
  detail.SetDataSource(&watch);

  Window->Select({Component("Orders")});
  TDataView& view = Window->DataView();
  view.resize(600, 400);
  QApplication::processEvents();
  ASSERT_EQ(view.MasterRows().DataSet(), customers);
  // The first rows at once, not the whole table: no more rows come from the database file
  // than the grid shows.
  EXPECT_EQ(view.MasterRows().RowsRead(), TDataSetModel::kBatch);
  EXPECT_EQ(customers->RecordsRead(), TDataSetModel::kBatch);
  EXPECT_TRUE(view.MasterRows().canFetchMore({}));
  int custNo = view.MasterRows().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString() == "CustNo" ? 0 : -1;
  ASSERT_EQ(custNo, 0);
  // Scrolling to the end reads the next rows; the reading moves neither the master's cursor
  // nor, through it, the detail.
  int changes = detail.Changes;
  view.MasterGrid().scrollToBottom();
  QApplication::processEvents();
  EXPECT_EQ(view.MasterRows().RowsRead(), 2 * TDataSetModel::kBatch);
  EXPECT_EQ(customers->RecordsRead(), 2 * TDataSetModel::kBatch);
  EXPECT_EQ(customers->RecNo(), 1);
  EXPECT_EQ(detail.Changes, changes);

  // Choosing a master row: the detail shows only the rows linked to it, and reads no others.
  const int64_t ordersRead = orders->RecordsRead();
  QModelIndex row = view.MasterRows().index(60, 0);
  view.MasterGrid().scrollTo(row);
  QTest::mouseClick(view.MasterGrid().viewport(), Qt::LeftButton, {}, view.MasterGrid().visualRect(row).center());
  EXPECT_EQ(customers->RecNo(), 61);
  EXPECT_EQ(detail.Changes, changes + 1) << "the detail read its rows once";
  QString chosen = view.MasterRows().data(row, Qt::DisplayRole).toString();
  ASSERT_EQ(view.Rows().RowsRead(), 3);
  EXPECT_EQ(orders->RecordsRead() - ordersRead, 3);
  EXPECT_EQ(customers->RecordsRead(), 2 * TDataSetModel::kBatch);
  int detailCustNo = -1;
  for (int c = 0; c < view.Rows().columnCount(); ++c)
    if (view.Rows().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == "CustNo") detailCustNo = c;
  for (int r = 0; r < 3; ++r)
    EXPECT_EQ(view.Rows().data(view.Rows().index(r, detailCustNo), Qt::DisplayRole).toString(), chosen);
  EXPECT_FALSE(view.Rows().canFetchMore({}));

  // The master shown on its own keeps its cursor; a closed table shows why it shows nothing.
  Window->Select({Component("Customers")});
  EXPECT_EQ(view.Rows().CurrentRow(), 60);
  EXPECT_EQ(view.Grid().currentIndex().row(), 60);
  orders->Close();
  Window->Select({Component("Orders")});
  EXPECT_EQ(view.Rows().RowsRead(), 0);
  EXPECT_TRUE(view.Caption().text().contains("not active")) << view.Caption().text().toStdString();
  // Nothing was written to the database, and the form did not change.
  EXPECT_EQ(ReadFile(database), stored);
  EXPECT_FALSE(Window->isWindowModified());

  // Another program writes while the view shows a table: no read lock is in its way, and the
  // view notices the change and reads its rows again, as many as before, the cursor staying.
  Window->Select({Component("Customers")});
  int company = -1;
  for (int c = 0; c < view.Rows().columnCount(); ++c)
    if (view.Rows().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == "Company") company = c;
  ASSERT_GE(company, 0);
  ASSERT_NO_THROW(ExecSql(database, "UPDATE customers SET Company = 'Renamed ' || CustNo"));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return view.Rows().data(view.Rows().index(0, company), Qt::DisplayRole).toString().startsWith("Renamed"); },
      5000));
  EXPECT_EQ(view.Rows().RowsRead(), 2 * TDataSetModel::kBatch);
  EXPECT_EQ(view.Rows().CurrentRow(), 60);
  EXPECT_TRUE(view.Caption().text().contains("changed on disk")) << view.Caption().text().toStdString();
}

// The help window that is open, or nil.
THelpWindow* ShownHelp() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* help = dynamic_cast<THelpWindow*>(widget); help && help->isVisible()) return help;
  return nullptr;
}

TEST_F(DesignWindow, F1AndTheDesignersHelpButtonOpenHelpOnTheirTopic) {
  Window->Select({Component("Orders")});
  TValueEditor* row = Window->Inspector().EditorOf("MasterFields");
  row->Input()->setFocus();
  QTest::keyClick(row->Input(), Qt::Key_F1);
  THelpWindow* help = ShownHelp();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->Context(), HelpContextOf("TQVRFieldLinkProperty"));
  EXPECT_TRUE(help->Page().toPlainText().contains("Field Link Designer"));
  // Escape, typed where the keyboard is in it, closes it; so does its Close button.
  QTest::keyClick(&help->Page(), Qt::Key_Escape);
  EXPECT_EQ(ShownHelp(), nullptr);
  ShowHelpWindow(kQVRLinkFieldsHelpContext);
  ASSERT_NE(ShownHelp(), nullptr);
  QAbstractButton* close = nullptr;
  for (auto* button : ShownHelp()->findChildren<QAbstractButton*>())
    if (button->text().remove('&') == "Close") close = button;
  ASSERT_NE(close, nullptr);
  QTest::mouseClick(close, Qt::LeftButton);
  EXPECT_EQ(ShownHelp(), nullptr);

  // In the Field Link Designer: F1 and its Help button each open help on its own context,
  // over it, while it stays open.
  TQtWidgetSet screen(TQtPlatform::Offscreen);
  TWidgetSetScope scope(screen);
  std::vector<int> contexts;
  bool stillOpen = true;
  auto look = [&] {
    THelpWindow* shown = ShownHelp();
    contexts.push_back(shown ? shown->Context() : -1);
    if (shown && !shown->Page().toPlainText().contains("Field Link Designer")) contexts.back() = -2;
    stillOpen = stillOpen && ModalWindow() != nullptr;
    if (shown) shown->close();
  };
  TPerson person;
  person.Then([&] { QTest::keyClick(ModalWindow(), Qt::Key_F1); })
      .Then(look)
      .Then([&] {
        auto* dialog = dynamic_cast<TQtFormWindow*>(ModalWindow());
        ASSERT_NE(dialog, nullptr);
        auto* help = qobject_cast<QAbstractButton*>(dialog->WidgetOf(dialog->Form().FindControl("Help")));
        ASSERT_NE(help, nullptr);
        QTest::mouseClick(help, Qt::LeftButton);
      })
      .Then(look)
      .Then([&] { QTest::keyClick(ModalWindow(), Qt::Key_Escape); });
  person.Start();
  Window->Inspector().EditorOf("MasterFields")->RunDialog();
  EXPECT_TRUE(person.Done());
  EXPECT_EQ(contexts, (std::vector<int>{kQVRLinkFieldsHelpContext, kQVRLinkFieldsHelpContext}));
  EXPECT_TRUE(stillOpen);
  // Focus came back to the design window.
  EXPECT_TRUE(QTest::qWaitForWindowActive(Window.get(), 2000));
}

TEST_F(DesignWindow, NewFromDatabaseAndLinkByForeignKeyAreOneUndoStepEach) {
  fs::create_directories(Demo.Dir / "data");
  ExecSql(Demo.Dir / "data" / "shop.tvd", key_schema::kSql);
  Window->AskDatabaseFile = [&] { return std::optional<fs::path>(Demo.Dir / "data" / "shop.tvd"); };
  Strings offered;
  Window->AskTables = [&](const Strings& Tables) {
    offered = Tables;
    return std::optional<Strings>(Strings{"orders", "customer"});
  };
  ASSERT_TRUE(Window->NewFromDatabase());
  EXPECT_EQ(offered, (Strings{"staff", "store", "customer", "orders", "order lines", "2024-archive"}));
  EXPECT_EQ(ListedNames(), (Strings{"Database1", "orders", "customer", "customerSource"}));
  auto* orders = dynamic_cast<TQVRTable*>(Component("orders"));
  ASSERT_TRUE(orders);
  EXPECT_EQ(orders->MasterSource(), Component("customerSource"));
  EXPECT_EQ(orders->GetIndexName() + "/" + orders->GetMasterFields(), "orders_by_customer/Id");
  EXPECT_TRUE(Window->Document().Untitled());
  EXPECT_TRUE(Window->Document().Modified());
  EXPECT_TRUE(Boxes.Boxes.empty());
  ASSERT_TRUE(Window->Undo());
  EXPECT_EQ(ListedNames(), Strings{});
  EXPECT_FALSE(Window->History().CanUndo());
  EXPECT_FALSE(Window->Document().Modified());

  // On a form made by hand the menu offers the keys of the selected table without a master.
  WriteFile(Demo.Dir / "hand.xfm", key_schema::kHandForm);
  Window->LoadFile(Demo.Dir / "hand.xfm");
  using Choices = std::vector<std::pair<std::string, bool>>;
  Window->Select({Component("Store")});
  EXPECT_EQ(Window->ForeignKeyChoices(), (Choices{{"Staff (manager_id)", true}}));  // a loop
  Window->Select({Component("Staff")});
  EXPECT_EQ(Window->ForeignKeyChoices(), Choices{});  // it has a master
  Window->Select({Component("Lines")});
  auto* menu = Window->findChild<QMenu*>(QStringLiteral("LinkByForeignKey"));
  ASSERT_TRUE(menu);
  emit menu->aboutToShow();
  ASSERT_EQ(menu->actions().size(), 1);
  EXPECT_EQ(menu->actions()[0]->text().toStdString(), "Orders (order_no)");
  const std::string handText = WriteComponent(Window->Document().Root());
  menu->actions()[0]->trigger();
  auto* lines = dynamic_cast<TQVRTable*>(Component("Lines"));
  ASSERT_TRUE(lines && lines->MasterSource());
  EXPECT_EQ(lines->MasterSource()->Name(), "OrdersSource");
  EXPECT_EQ(lines->MasterSource()->DataSet(), Component("Orders"));
  EXPECT_EQ(lines->GetIndexName() + "/" + lines->GetMasterFields(), "PRIMARY/order_no");
  EXPECT_EQ(SelectedNames(), Strings{"Lines"});
  ASSERT_TRUE(Window->Undo());
  EXPECT_FALSE(Window->History().CanUndo());
  EXPECT_EQ(WriteComponent(Window->Document().Root()), handText);
}

}  // namespace
