// The Object Inspector: the value editor each row gets from its editor's attributes, the
// drop-down's sorting, writing with Enter while arrow keys only browse, multi-selection, the
// editors' dialogs through the widget set, and errors shown in message boxes.
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest/QTest>
#include <sstream>

#include "designhost/gui/DesignDocument.h"
#include "designhost/gui/ObjectInspector.h"
#include "host/visualclx/OpenDialog.h"
#include "host/visualclx/ScriptedUser.h"
#include "tests/qt/DesignSupport.h"

namespace {

using namespace qttest;
using Strings = std::vector<std::string>;

struct Inspector : ::testing::Test {
  TDemo Demo;
  TDesignDocument Document{Demo.Form()};
  TObjectInspector View;
  TRecordingWidgetSet Boxes;
  TWidgetSetScope Scope{Boxes};

  Inspector() { View.show(); }
  TComponent* Component(const std::string& Name) const { return Document.Root()->FindComponent(Name); }
  void Inspect(const Strings& Names) {
    std::vector<TPersistent*> selection;
    for (const std::string& name : Names) selection.push_back(Component(name));
    View.Inspect(&Document.Designer(), selection);
  }
  TValueEditor& Row(const std::string& Name) {
    TValueEditor* editor = View.EditorOf(Name);
    if (!editor) throw std::runtime_error("no row " + Name);
    return *editor;
  }
  std::string Value(const std::string& Component, const std::string& Property) {
    return GetPropValueText(this->Component(Component), GetPropInfo(this->Component(Component)->ClassType(), Property));
  }
  static Strings Entries(QComboBox* Box) {
    Strings entries;
    for (int i = 0; i < Box->count(); ++i) entries.push_back(Box->itemText(i).toStdString());
    return entries;
  }
};

TEST_F(Inspector, EachRowGetsTheValueEditorItsAttributesAskFor) {
  Inspect({"Orders"});
  ASSERT_FALSE(View.Names().empty());
  for (const std::string& name : View.Names()) {
    SCOPED_TRACE(name);
    TValueEditor& row = Row(name);
    TPropertyAttributes attributes = row.Editor().GetAttributes();
    EXPECT_EQ(row.DropDown() != nullptr, attributes.Contains(paValueList));
    EXPECT_EQ(row.Ellipsis() != nullptr, attributes.Contains(paDialog));
    if (row.DropDown()) {
      EXPECT_EQ(row.DropDown()->isEditable(), !attributes.Contains(paReadOnly));
    }
    if (row.Line()) {
      EXPECT_EQ(row.Line()->isReadOnly(), attributes.Contains(paReadOnly));
    }
    EXPECT_EQ(row.Text().toStdString(), row.Editor().GetValue());
  }
  EXPECT_NE(Row("TableName").DropDown(), nullptr);
  EXPECT_NE(Row("MasterFields").Ellipsis(), nullptr);
  EXPECT_NE(Row("Tag").Line(), nullptr);
}

TEST_F(Inspector, ASetsElementsAreChildRowsWrittenOneByOne) {
  auto* dialog = new TOpenDialog(Document.Root());  // owned by the form
  dialog->SetName("OpenDialog1");
  Inspect({"OpenDialog1"});
  QList<QTreeWidgetItem*> options = View.findItems("Options", Qt::MatchExactly, 0);
  ASSERT_EQ(options.size(), 1);
  EXPECT_EQ(static_cast<size_t>(options[0]->childCount()), OpenOptionTypeInfo().Names.size());
  TValueEditor& hidden = Row("Options.ofShowHidden");
  ASSERT_NE(hidden.DropDown(), nullptr);
  EXPECT_EQ(hidden.Text(), "False");
  hidden.DropDown()->setFocus();
  QTest::keyClick(hidden.DropDown(), Qt::Key_Down);
  QTest::keyClick(hidden.DropDown(), Qt::Key_Return);
  EXPECT_TRUE(dialog->Options().Contains(ofShowHidden));
  EXPECT_EQ(Row("Options").Text(), "[ofShowHidden,ofEnableSizing]");
}

TEST_F(Inspector, TheDropDownIsSortedWhenTheEditorAsksForIt) {
  Inspect({"Orders"});
  Row("TableName").LoadValues();
  // The database lists its tables in creation order: customers, orders, items.
  EXPECT_EQ(Entries(Row("TableName").DropDown()), (Strings{"customers", "items", "orders"}));
  EXPECT_EQ(Row("TableName").Text(), "orders");
}

TEST_F(Inspector, ArrowKeysBrowseAndEnterWrites) {
  Inspect({"Orders"});
  QComboBox* box = Row("TableName").DropDown();
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Up);
  EXPECT_EQ(Row("TableName").Text(), "items");
  EXPECT_EQ(Value("Orders", "TableName"), "orders") << "browsing writes nothing";
  EXPECT_FALSE(Document.Modified());
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(Value("Orders", "TableName"), "items");
  EXPECT_TRUE(Document.Modified());
  // Escape takes back what was typed.
  box->lineEdit()->selectAll();
  QTest::keyClicks(box, "customers");
  EXPECT_EQ(Row("TableName").Text(), "customers");
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_EQ(Row("TableName").Text(), "items");
  EXPECT_EQ(Value("Orders", "TableName"), "items");
  // Free text is written as typed.
  box->lineEdit()->selectAll();
  QTest::keyClicks(box, "Customers");
  QTest::keyClick(box, Qt::Key_Enter);
  EXPECT_EQ(Value("Orders", "TableName"), "Customers");
  EXPECT_TRUE(Boxes.Boxes.empty());
}

TEST_F(Inspector, PlainTextIsWrittenWithEnterAndOtherRowsShowTheOutcome) {
  Inspect({"Orders"});
  QLineEdit* tag = Row("Tag").Line();
  tag->setFocus();
  tag->selectAll();
  QTest::keyClicks(tag, "42");
  EXPECT_EQ(Value("Orders", "Tag"), "0");
  QTest::keyClick(tag, Qt::Key_Return);
  EXPECT_EQ(Value("Orders", "Tag"), "42");
  // IndexFieldNames empties IndexName: the other row shows it at once.
  Component("Orders")->SetDesigning(true);
  QComboBox* index = Row("IndexName").DropDown();
  index->lineEdit()->selectAll();
  QTest::keyClicks(index, "ByCustomer");
  QTest::keyClick(index, Qt::Key_Return);
  QComboBox* fields = Row("IndexFieldNames").DropDown();
  fields->lineEdit()->selectAll();
  QTest::keyClicks(fields, "CustNo");
  QTest::keyClick(fields, Qt::Key_Return);
  EXPECT_EQ(Row("IndexName").Text(), "");
  EXPECT_EQ(Row("IndexFieldNames").Text(), "CustNo");
}

TEST_F(Inspector, AnEditorsErrorShowsInAMessageBoxAndChangesNothing) {
  Inspect({"Orders"});
  QLineEdit* name = Row("Name").Line();
  name->selectAll();
  QTest::keyClicks(name, "1bad");
  QTest::keyClick(name, Qt::Key_Return);
  ASSERT_EQ(Boxes.Boxes.size(), 1u);
  EXPECT_EQ(Boxes.Boxes[0].DlgType, mtError);
  EXPECT_NE(Boxes.Boxes[0].Text.find("1bad"), std::string::npos) << Boxes.Boxes[0].Text;
  EXPECT_EQ(Component("Orders")->Name(), "Orders");
  EXPECT_EQ(Row("Name").Text(), "Orders") << "the row shows the value the property kept";
  QLineEdit* tag = Row("Tag").Line();
  tag->selectAll();
  QTest::keyClicks(tag, "many");
  QTest::keyClick(tag, Qt::Key_Return);
  EXPECT_EQ(Boxes.Boxes.size(), 2u);
  EXPECT_FALSE(Document.Modified());
}

TEST_F(Inspector, SeveralSelectedShowOnlyTheMultiSelectRows) {
  Inspect({"Orders", "Customers"});
  Strings names = View.Names();
  EXPECT_FALSE(names.empty());
  for (const std::string& name : names) EXPECT_TRUE(Row(name).Editor().GetAttributes().Contains(paMultiSelect)) << name;
  EXPECT_EQ(View.EditorOf("MasterFields"), nullptr);
  QComboBox* database = Row("DatabaseName").DropDown();
  database->lineEdit()->selectAll();
  QTest::keyClicks(database, "Other");
  QTest::keyClick(database, Qt::Key_Return);
  EXPECT_EQ(Value("Orders", "DatabaseName"), "Other");
  EXPECT_EQ(Value("Customers", "DatabaseName"), "Other");
}

TEST_F(Inspector, TheEllipsisRunsTheEditorsDialogThroughTheWidgetSet) {
  Inspect({"Orders"});
  std::ostringstream out;
  TScriptedUser user(
      "select IndexList ByCustNo\nselect DetailList CustNo\nselect MasterList CustNo\nclick AddButton\nclick Button1\n",
      out);
  {
    TWidgetSetScope scope(user);
    QTest::mouseClick(Row("MasterFields").Ellipsis(), Qt::LeftButton);
  }
  user.CheckFinished();
  EXPECT_EQ(Value("Orders", "MasterFields"), "CustNo");
  EXPECT_EQ(Row("MasterFields").Text(), "CustNo");
  EXPECT_EQ(Row("IndexName").Text(), "ByCustNo");
  EXPECT_TRUE(Document.Modified());
}

TEST_F(Inspector, ADialogsErrorShowsInAMessageBox) {
  // Without a master the designer refuses to run.
  Inspect({"Customers"});
  QToolButton* ellipsis = Row("MasterFields").Ellipsis();
  ASSERT_NE(ellipsis, nullptr);
  QTest::mouseClick(ellipsis, Qt::LeftButton);
  ASSERT_EQ(Boxes.Boxes.size(), 1u);
  EXPECT_NE(Boxes.Boxes[0].Text.find("Missing MasterSource or DataSource"), std::string::npos) << Boxes.Boxes[0].Text;
  EXPECT_FALSE(Document.Modified());
}

TEST_F(Inspector, OnlyTheCurrentRowHasAnEditorAndTheStructureOpensReadOnly) {
  Inspect({"Orders"});
  auto editors = [&] {
    size_t count = 0;
    for (QWidget* widget : View.findChildren<QWidget*>()) count += dynamic_cast<TValueEditor*>(widget) != nullptr;
    return count;
  };
  QTreeWidgetItem* database = View.RowOf("DatabaseName");
  QTreeWidgetItem* index = View.RowOf("IndexName");
  ASSERT_TRUE(database && index);
  // Values that differ from the default are bold; the others are not.
  EXPECT_TRUE(database->font(1).bold());
  EXPECT_FALSE(index->font(1).bold());
  EXPECT_EQ(database->text(1), "Demo");
  TValueEditor* row = View.EditorOf("TableName");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the editors of rows left
  EXPECT_EQ(editors(), 1u);
  EXPECT_EQ(View.CurrentEditor(), row);
  // The names stay clear of the divider.
  EXPECT_GT(View.header()->sectionSize(0), View.fontMetrics().horizontalAdvance("IndexFieldNames") + 6);

  // The filter keeps the rows whose name holds its text.
  View.SetFilter("index");
  EXPECT_EQ(View.Names(), (Strings{"IndexDefs", "IndexFieldNames", "IndexName"}));
  View.SetFilter("");
  EXPECT_GT(View.Names().size(), 10u);

  // FieldDefs opens into the table's columns, IndexDefs into its indexes, all read-only. The
  // rows show the definitions as they were when FieldDefs opened, whatever becomes of the data
  // set's own afterwards.
  QTreeWidgetItem* fields = View.RowOf("FieldDefs");
  fields->setExpanded(true);
  auto* orders = static_cast<TDataSet*>(Component("Orders"));
  orders->FieldDefs()->Clear();
  ASSERT_EQ(fields->childCount(), 5);
  EXPECT_EQ(fields->child(1)->text(0), "CustNo");
  EXPECT_EQ(fields->child(1)->text(1), "DataType ftInteger, Required True");
  EXPECT_EQ(View.RowOf("FieldDefs.CustNo.DataType")->text(1), "ftInteger");
  EXPECT_EQ(View.RowOf("FieldDefs.CustNo.Required")->text(1), "True");
  EXPECT_EQ(View.EditorOf("FieldDefs.CustNo.Required"), nullptr);
  // A field's rows are its definition's properties but its name, each made once however the
  // row is reached (by name in any case, or by opening it again).
  QTreeWidgetItem* custNo = fields->child(1);
  QTreeWidgetItem* dataType = View.RowOf("fielddefs.CUSTNO.datatype");
  ASSERT_NE(dataType, nullptr);
  EXPECT_EQ(dataType->parent(), custNo);
  custNo->setExpanded(false);
  custNo->setExpanded(true);
  Strings labels, expected;
  for (int i = 0; i < custNo->childCount(); ++i) labels.push_back(custNo->child(i)->text(0).toStdString());
  for (const TPropInfo* p : TFieldDef::StaticClass()->AllProperties())
    if (p->Name != "Name") expected.push_back(p->Name);
  EXPECT_EQ(labels, expected);
  EXPECT_EQ(View.RowOf("FieldDefs.CustNo.DataType"), dataType);
  fields->child(2)->setExpanded(true);
  EXPECT_EQ(fields->child(2)->childCount(), static_cast<int>(expected.size()));
  QTreeWidgetItem* indexes = View.RowOf("IndexDefs");
  indexes->setExpanded(true);
  EXPECT_EQ(View.RowOf("IndexDefs.PRIMARY.Options")->text(1), "[ixPrimary,ixUnique]");
  EXPECT_EQ(View.RowOf("IndexDefs.ByCustomer.Fields")->text(1), "CustNo;SaleDate");
  EXPECT_NE(View.RowOf("IndexDefs.ByShipper.Options")->text(1).indexOf("ixExpression"), -1);
  EXPECT_FALSE(Document.Modified());
}

}  // namespace
