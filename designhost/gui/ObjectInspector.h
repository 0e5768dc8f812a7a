// The Object Inspector: a row per property that the registered property editors offer for the
// selected components, each with the value editor its attributes ask for: a drop-down list for
// paValueList (sorted for paSortList, free text unless paReadOnly), an ellipsis button that
// runs the editor's dialog for paDialog, plain text otherwise; sub-properties as child rows.
// Arrow keys browse a drop-down without writing; Enter writes, Escape or leaving the row
// takes back what was typed. Every error an editor raises is shown in a message box.
#pragma once

#include <QComboBox>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>
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

  // The value editor of the row of that name ("Parent.Child" for a sub-property), or nil.
  TValueEditor* EditorOf(const std::string& Name) const;
  // The names of the top-level rows, in order.
  std::vector<std::string> Names() const;

  // Runs a write through an editor: an error shows in a message box; then every row shows its
  // value afresh and OnChanged is told.
  void Write(const std::function<void()>& Action);
  std::function<void()> OnChanged;

 protected:
  // Enter or F2 on a row moves the keyboard into its value.
  void keyPressEvent(QKeyEvent* Event) override;

 private:
  void AddRows(QTreeWidgetItem* Parent, std::vector<std::unique_ptr<TPropertyEditor>> Editors,
               const std::string& Prefix, int Depth);

  std::vector<std::unique_ptr<TPropertyEditor>> FEditors;
  std::vector<std::pair<std::string, TValueEditor*>> FRows;
};
