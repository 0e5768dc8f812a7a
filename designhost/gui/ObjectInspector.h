// The Object Inspector: a row per property that the registered property editors offer for the
// selected components; the current row gets the value editor its attributes ask for: a
// drop-down list for paValueList (sorted for paSortList, free text unless paReadOnly), an
// ellipsis button that runs the editor's dialog for paDialog, plain text otherwise. The other
// rows show their value as text, in bold where it differs from the default. Sub-properties
// are child rows; a table's FieldDefs and IndexDefs open into read-only rows of its structure.
// A filter keeps only the rows whose name holds its text. Arrow keys browse a drop-down
// without writing; Enter writes, Escape or leaving the row takes back what was typed. Every
// error an editor raises is shown in a message box.
#pragma once

#include <QBrush>
#include <QComboBox>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/designide/DesignEditors.h"

class QLineEdit;
class QToolButton;
class TObjectInspector;

// The drop-down of a value list: its entries are asked for when it opens (or when an arrow key
// first browses it), and the wheel does not change it.
class TInspectorDropDown : public QComboBox {
 public:
  TInspectorDropDown(std::function<void()> LoadValues, QWidget* Parent);
  void showPopup() override;
  void hidePopup() override;
  // True right after the list closed, until the next key: an activation then is a choice from
  // the list.
  bool JustClosed() const { return FJustClosed; }
  void ResetJustClosed() { FJustClosed = false; }

 protected:
  void wheelEvent(QWheelEvent* Event) override;

 private:
  std::function<void()> FLoadValues;
  bool FJustClosed = false;
};

class TValueEditor : public QWidget {
 public:
  TValueEditor(TPropertyEditor& Editor, TObjectInspector& Inspector, QWidget* Parent);

  TPropertyEditor& Editor() const { return FEditor; }
  // The drop-down of a property with paValueList, else nil.
  QComboBox* DropDown() const { return FDropDown; }
  // The text field of a property without a value list, else nil.
  QLineEdit* Line() const { return FLine; }
  // The ellipsis button of a property with paDialog, else nil.
  QToolButton* Ellipsis() const { return FEllipsis; }
  bool ReadOnly() const { return FAttributes.Contains(paReadOnly); }
  // The text shown or typed.
  QString Text() const;
  // The widget that takes the keyboard in the row.
  QWidget* Input() const;

  // Shows the property's value afresh; what was typed is dropped.
  void Revert();
  // Writes the text typed into the property, when it differs from the value shown.
  void Commit();
  // The ellipsis button: runs the editor's dialog.
  void RunDialog();
  // Fills the drop-down from the editor, sorted when the editor asks for it.
  void LoadValues();
  // The row is leaving: the widget goes later, and must not touch the editor meanwhile.
  void Detach() { FDetached = true; }

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  bool DropDownKey(QKeyEvent* Event);
  void FocusMoved(QWidget* Now);

  TPropertyEditor& FEditor;
  TObjectInspector& FInspector;
  TPropertyAttributes FAttributes;
  TInspectorDropDown* FDropDown = nullptr;
  QLineEdit* FLine = nullptr;
  QToolButton* FEllipsis = nullptr;
  QString FShown;
  bool FValuesLoaded = false;
  bool FDetached = false;
};

class TObjectInspector : public QTreeWidget {
 public:
  explicit TObjectInspector(QWidget* Parent = nullptr);
  ~TObjectInspector() override;

  // Shows the rows of Selection's properties, the editors bound through Designer; none for an
  // empty selection.
  void Inspect(IDesigner* Designer, const std::vector<TPersistent*>& Selection);
  void Clear();
  // Every row shows its property's value afresh.
  void RefreshValues();

  // Makes the row of that name ("Parent.Child" for a sub-property) current and answers its
  // value editor; nil when there is no such row or it is a read-only structure row.
  TValueEditor* EditorOf(const std::string& Name);
  // The name of the current row ("Parent.Child" for a sub-property); empty for none.
  std::string CurrentName() const;
  // Makes the row of that name current, opening its parents; false when there is no such row
  // or the filter hides it.
  bool MakeCurrent(const std::string& Name);
  // The value editor of the current row, or nil.
  TValueEditor* CurrentEditor() const { return FCurrent; }
  // The property editor of the current row, or nil.
  TPropertyEditor* CurrentPropertyEditor() const;
  // The row of that name (without regard to case), or nil; a structure row not made yet is
  // made, as opening its parent would.
  QTreeWidgetItem* RowOf(const std::string& Name);
  // The names of the top-level rows, in order.
  std::vector<std::string> Names() const;

  // Keeps only the rows whose name holds Text (without regard to case), with their children;
  // empty Text shows every row.
  void SetFilter(const QString& Text);

  // Runs a write through an editor, named Label ("set IndexName"): through Transaction when
  // one is given (the window records it for undo), else directly; an error shows in a message
  // box; then every row shows its value afresh and OnChanged is told.
  void Write(const std::string& Label, const std::function<void()>& Action);
  std::function<void(const std::string& Label, const std::function<void()>& Action)> Transaction;
  std::function<void()> OnChanged;

 protected:
  // Enter or F2 on a row moves the keyboard into its value.
  void keyPressEvent(QKeyEvent* Event) override;

 private:
  struct TRow {
    std::string Name;
    TPropertyEditor* Editor;  // nil for a structure row
    QTreeWidgetItem* Item;
  };
  void AddRows(QTreeWidgetItem* Parent, std::vector<std::unique_ptr<TPropertyEditor>> Editors,
               const std::string& Prefix, int Depth);
  // Adds the rows of a collection's items below Item (a table's field and index definitions),
  // read afresh from the data set when they are not up to date.
  void AddStructureRows(QTreeWidgetItem* Item, TPropertyEditor& Editor, std::string Name);
  // Keeps the record of a structure row made for Name, not in the tree yet; answers the row.
  QTreeWidgetItem* AddRowOf(const std::string& Name, QTreeWidgetItem* Row);
  // Makes the rows of Item that wait for it to open; false when none wait.
  bool MakePendingRows(QTreeWidgetItem* Item);
  void AddRowRecord(TRow Record);
  void ShowValue(const TRow& Row);
  const TRow* Row(const QTreeWidgetItem* Item) const;
  void CurrentRowChanged(QTreeWidgetItem* Now);

  std::vector<std::unique_ptr<TPropertyEditor>> FEditors;
  std::vector<TRow> FRows;
  std::unordered_map<const QTreeWidgetItem*, size_t> FRowOfItem;  // places in FRows
  std::unordered_map<std::string, size_t> FRowOfName;             // by the name in upper case; the first row
  // The properties a definition's rows show, by its class: the rows refer to them.
  std::unordered_map<TClass, std::vector<const TPropInfo*>> FShownProperties;
  TValueEditor* FCurrent = nullptr;
  QTreeWidgetItem* FCurrentItem = nullptr;
  QBrush FShade;  // the value of a structure row
};
