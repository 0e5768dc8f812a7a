// The Object Inspector and its value editors.
#include "designhost/gui/ObjectInspector.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <algorithm>

#include "designhost/gui/ErrorMessage.h"
#include "host/dataclx/FieldDef.h"
#include "host/dataclx/IndexDef.h"
#include "host/qt/QtText.h"
#include "host/rtl/SysUtils.h"
#include "host/rtl/TypInfo.h"

namespace {

// Sub-properties nest this deep at most: a set's elements, a sub-object's properties.
constexpr int kDeepestRow = 3;

// A value the editor cannot read shows the reason instead.
QString ValueText(TPropertyEditor& Editor) {
  try {
    return ToQString(Editor.GetValue());
  } catch (const Exception& e) {
    return QStringLiteral("(%1)").arg(ToQString(e.Message()));
  } catch (const std::exception& e) {
    return QStringLiteral("(%1)").arg(QString::fromUtf8(e.what()));
  }
}

TPropertyAttributes AttributesOf(TPropertyEditor& Editor) {
  try {
    return Editor.GetAttributes();
  } catch (...) {
    return {paReadOnly};
  }
}

bool IsEnter(const QKeyEvent* Event) { return Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter; }

}  // namespace

// TInspectorDropDown

TInspectorDropDown::TInspectorDropDown(std::function<void()> LoadValues, QWidget* Parent)
    : QComboBox(Parent), FLoadValues(std::move(LoadValues)) {}

void TInspectorDropDown::showPopup() {
  FJustClosed = false;
  FLoadValues();
  QComboBox::showPopup();
}

void TInspectorDropDown::hidePopup() {
  QComboBox::hidePopup();
  FJustClosed = true;
}

void TInspectorDropDown::wheelEvent(QWheelEvent* Event) { Event->ignore(); }

// TValueEditor

TValueEditor::TValueEditor(TPropertyEditor& Editor, TObjectInspector& Inspector, QWidget* Parent)
    : QWidget(Parent), FEditor(Editor), FInspector(Inspector), FAttributes(AttributesOf(Editor)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  if (FAttributes.Contains(paValueList)) {
    FDropDown = new TInspectorDropDown([this] { LoadValues(); }, this);
    FDropDown->setEditable(!ReadOnly());
    FDropDown->setInsertPolicy(QComboBox::NoInsert);
    FDropDown->setFocusPolicy(Qt::StrongFocus);
    if (FDropDown->isEditable()) FDropDown->setCompleter(nullptr);
    FDropDown->installEventFilter(this);
    if (FDropDown->lineEdit()) FDropDown->lineEdit()->installEventFilter(this);
    // A choice from the opened list is written; an activation by other means only browses.
    connect(FDropDown, &QComboBox::activated, this, [this](int) {
      if (FDropDown->JustClosed()) {
        FDropDown->ResetJustClosed();
        Commit();
      }
    });
    layout->addWidget(FDropDown, 1);
  } else {
    FLine = new QLineEdit(this);
    FLine->setReadOnly(ReadOnly());
    FLine->setFrame(false);
    FLine->installEventFilter(this);
    layout->addWidget(FLine, 1);
  }
  if (FAttributes.Contains(paDialog)) {
    FEllipsis = new QToolButton(this);
    FEllipsis->setText(QStringLiteral("..."));
    FEllipsis->setToolTip(QStringLiteral("Edit %1 (Ctrl+Enter)").arg(ToQString(Editor.GetName())));
    FEllipsis->setFocusPolicy(Qt::TabFocus);
    connect(FEllipsis, &QToolButton::clicked, this, [this] { RunDialog(); });
    layout->addWidget(FEllipsis);
  }
  setFocusProxy(Input());
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* Old, QWidget* Now) {
    if (Old && (Old == this || isAncestorOf(Old))) FocusMoved(Now);
  });
  Revert();
}

QWidget* TValueEditor::Input() const {
  if (FDropDown) return FDropDown;
  return FLine;
}

QString TValueEditor::Text() const { return FDropDown ? FDropDown->currentText() : FLine->text(); }

void TValueEditor::Revert() {
  if (FDetached) return;
  FShown = ValueText(FEditor);
  FValuesLoaded = false;  // a write may have changed what the list offers
  if (FDropDown) {
    int index = FDropDown->findText(FShown, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    FDropDown->setCurrentIndex(index);
    if (FDropDown->isEditable()) FDropDown->setEditText(FShown);
    if (!FDropDown->isEditable() && index < 0) {
      // A read-only list shows the value even when it is not among the entries.
      FDropDown->addItem(FShown);
      FDropDown->setCurrentIndex(FDropDown->count() - 1);
    }
  } else {
    FLine->setText(FShown);
    FLine->setCursorPosition(0);
  }
}

void TValueEditor::Commit() {
  if (FDetached) return;
  QString text = Text();
  if (text == FShown) return;
  FInspector.Write("set " + FEditor.GetName(), [&] { FEditor.SetValue(text.toStdString()); });
}

void TValueEditor::RunDialog() {
  if (FDetached) return;
  FInspector.Write("edit " + FEditor.GetName(), [&] { FEditor.Edit(); });
}

void TValueEditor::LoadValues() {
  if (!FDropDown || FValuesLoaded || FDetached) return;
  std::vector<std::string> values;
  try {
    FEditor.GetValues([&](const std::string& value) { values.push_back(value); });
  } catch (...) {
    ShowCurrentError();
    return;
  }
  if (FAttributes.Contains(paSortList))
    std::stable_sort(values.begin(), values.end(),
                     [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
  QString typed = Text();
  QSignalBlocker quiet(FDropDown);
  FDropDown->clear();
  for (const std::string& value : values) FDropDown->addItem(ToQString(value));
  int index = FDropDown->findText(typed, Qt::MatchFixedString);
  FDropDown->setCurrentIndex(index);
  if (FDropDown->isEditable()) FDropDown->setEditText(typed);
  FValuesLoaded = true;
}

bool TValueEditor::DropDownKey(QKeyEvent* Event) {
  int step = 0;
  switch (Event->key()) {
    case Qt::Key_Up:
      step = -1;
      break;
    case Qt::Key_Down:
      step = 1;
      break;
    case Qt::Key_PageUp:
      step = -10;
      break;
    case Qt::Key_PageDown:
      step = 10;
      break;
    default:
      return false;
  }
  // Alt+Down opens the list; the plain arrows browse its entries in the field.
  if (Event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) return false;
  LoadValues();
  int count = FDropDown->count();
  if (count == 0) return true;
  int current = FDropDown->findText(Text(), Qt::MatchFixedString);
  int next = current < 0 ? (step > 0 ? 0 : count - 1) : std::clamp(current + step, 0, count - 1);
  QSignalBlocker quiet(FDropDown);
  FDropDown->setCurrentIndex(next);
  if (FDropDown->isEditable()) FDropDown->setEditText(FDropDown->itemText(next));
  return true;
}

bool TValueEditor::eventFilter(QObject* Watched, QEvent* Event) {
  if (Event->type() != QEvent::KeyPress || FDetached) return QWidget::eventFilter(Watched, Event);
  auto* key = static_cast<QKeyEvent*>(Event);
  if (FDropDown) FDropDown->ResetJustClosed();
  if (IsEnter(key) && (key->modifiers() & Qt::ControlModifier)) {
    if (FEllipsis) RunDialog();
    return true;
  }
  if (IsEnter(key)) {
    if (!ReadOnly() || FDropDown) Commit();
    return true;
  }
  if (key->key() == Qt::Key_Escape) {
    Revert();
    return true;
  }
  if (FDropDown && DropDownKey(key)) return true;
  return QWidget::eventFilter(Watched, Event);
}

void TValueEditor::FocusMoved(QWidget* Now) {
  if (FDetached || !Now || Now == this || isAncestorOf(Now)) return;
  if (FDropDown && Now->window() == FDropDown->view()->window()) return;  // its own list opened
  // Leaving the row takes back what was typed and not written with Enter.
  if (Text() != FShown) Revert();
}

// TObjectInspector

namespace {

constexpr int kStructureRole = Qt::UserRole + 1;  // a collection's row whose items are not read yet

// Names clear of the divider, and every row as tall as the value editor that may appear in it,
// so rows keep their place when the current one changes.
class TRowDelegate : public QStyledItemDelegate {
 public:
  TRowDelegate(int Height, QObject* Parent) : QStyledItemDelegate(Parent), FHeight(Height) {}
  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    QSize size = QStyledItemDelegate::sizeHint(Option, Index);
    if (Index.column() == 0) size.rwidth() += 2 * kPadding;
    size.setHeight(std::max(size.height(), FHeight));
    return size;
  }
  void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    QStyleOptionViewItem option(Option);
    if (Index.column() == 1) option.rect.adjust(kPadding / 2, 0, 0, 0);
    QStyledItemDelegate::paint(Painter, option, Index);
  }

 private:
  static constexpr int kPadding = 6;
  int FHeight;
};

// A copy of a table's field or index definitions, which the rows read from however the data
// set's own change meanwhile; nil for any other collection.
std::shared_ptr<const TDefCollection> CopyOfDefs(const TDefCollection& Defs) {
  std::shared_ptr<TDefCollection> copy;
  if (dynamic_cast<const TFieldDefs*>(&Defs))
    copy = std::make_shared<TFieldDefs>(nullptr);
  else if (dynamic_cast<const TIndexDefs*>(&Defs))
    copy = std::make_shared<TIndexDefs>(nullptr);
  else
    return nullptr;
  copy->Assign(&Defs);
  return copy;
}

// The properties a definition's rows show: all but its name.
std::vector<const TPropInfo*> ShownProperties(TClass Class) {
  std::vector<const TPropInfo*> shown;
  for (const TPropInfo* p : Class->AllProperties())
    if (!SameText(p->Name, "Name")) shown.push_back(p);
  return shown;
}

// A read-only row of a table's structure: its value greyed, with a tip that says where it comes
// from, answered by the row itself rather than stored in each of thousands of rows. A
// definition's row reads its value, the summary of its properties, when it is first shown, and
// its property rows when it first opens: a table's thousands of fields cost only their names
// until then.
class TStructureItem : public QTreeWidgetItem {
 public:
  TStructureItem(QString Label, QString Value, const QBrush& Shade)
      : FLabel(std::move(Label)), FValue(std::move(Value)), FShade(Shade) {}
  TStructureItem(QString Label, std::shared_ptr<const TDefCollection> Defs, int Index,
                 const std::vector<const TPropInfo*>& Properties, const QBrush& Shade)
      : FLabel(std::move(Label)),
        FDefs(std::move(Defs)),
        FIndex(Index),
        FProperties(&Properties),
        FValueRead(false),
        FShade(Shade) {
    if (!Properties.empty()) setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  }
  QVariant data(int Column, int Role) const override {
    if (Column == 1 && Role == Qt::ForegroundRole) return FShade;
    if (Column == 1 && Role == Qt::ToolTipRole) return QStringLiteral("Read from the database; not stored in the form");
    if (Role == Qt::DisplayRole || Role == Qt::EditRole) {
      if (Column == 0) return FLabel;
      if (Column == 1) return Value();
    }
    return QTreeWidgetItem::data(Column, Role);
  }
  // The label and value of each property row, once: empty when they were taken or the row is no
  // definition's.
  std::vector<std::pair<std::string, std::string>> TakeProperties() {
    std::vector<std::pair<std::string, std::string>> rows;
    if (!FDefs || FPropertiesTaken) return rows;
    FPropertiesTaken = true;
    const TCollectionItem* def = FDefs->Items(FIndex);
    for (const TPropInfo* p : *FProperties) rows.emplace_back(p->Name, Text(def, p));
    return rows;
  }

 private:
  static std::string Text(const TCollectionItem* Def, const TPropInfo* Property) {
    try {
      return GetPropValueText(Def, Property);
    } catch (const Exception& e) {
      return "(" + e.Message() + ")";
    }
  }
  const QString& Value() const {
    if (!FValueRead) {
      FValueRead = true;
      const TCollectionItem* def = FDefs->Items(FIndex);
      std::string summary;
      for (const TPropInfo* p : *FProperties) {
        std::string value = Text(def, p);
        bool isDefault = true;
        try {
          isDefault = IsDefaultPropValue(def, p);
        } catch (const Exception&) {  // NOLINT(bugprone-empty-catch): shown as a default
        }
        if (!isDefault && !value.empty()) summary += (summary.empty() ? "" : ", ") + p->Name + " " + value;
      }
      FValue = ToQString(summary);
    }
    return FValue;
  }

  QString FLabel;
  mutable QString FValue;
  std::shared_ptr<const TDefCollection> FDefs;  // nil for a row of fixed text
  int FIndex = 0;
  const std::vector<const TPropInfo*>* FProperties = nullptr;  // the inspector's, which outlives its rows
  mutable bool FValueRead = true;
  bool FPropertiesTaken = false;
  const QBrush& FShade;  // the inspector's, which outlives its rows
};

bool ShowsDefault(TPropertyEditor& Editor) {
  try {
    return IsDefaultPropValue(Editor.GetComponent(0), Editor.GetPropInfo());
  } catch (...) {
    return true;
  }
}

}  // namespace

TObjectInspector::TObjectInspector(QWidget* Parent) : QTreeWidget(Parent) {
  setColumnCount(2);
  setHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
  setRootIsDecorated(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setAllColumnsShowFocus(true);
  QComboBox probe;
  setItemDelegate(new TRowDelegate(probe.sizeHint().height(), this));
  header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  // The names column fits the rows on screen, not every row of a table's thousands of fields.
  header()->setResizeContentsPrecision(0);
  header()->setStretchLastSection(true);
  connect(this, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* Now, QTreeWidgetItem*) { CurrentRowChanged(Now); });
  connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* Item) {
    if (MakePendingRows(Item)) return;
    const TRow* row = Row(Item);
    if (row && row->Editor && Item->data(0, kStructureRole).toBool()) {
      Item->setData(0, kStructureRole, false);
      // Adding rows moves the row records: the name goes by value.
      AddStructureRows(Item, *row->Editor, row->Name);
    }
  });
  // A click into the value column takes the keyboard there.
  connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* Item, int Column) {
    if (Column == 1 && Item == FCurrentItem && FCurrent) FCurrent->setFocus(Qt::MouseFocusReason);
  });
}

TObjectInspector::~TObjectInspector() { Clear(); }

void TObjectInspector::Clear() {
  // The value widget refers to its editor: it lets go first.
  if (FCurrent) FCurrent->Detach();
  FCurrent = nullptr;
  FCurrentItem = nullptr;
  FRows.clear();
  FRowOfItem.clear();
  FRowOfName.clear();
  clear();
  FEditors.clear();
}

void TObjectInspector::Inspect(IDesigner* Designer, const std::vector<TPersistent*>& Selection) {
  Clear();
  if (Selection.empty()) return;
  std::vector<std::unique_ptr<TPropertyEditor>> editors;
  try {
    editors = GetComponentProperties(Designer, Selection);
  } catch (...) {
    ShowCurrentError();
    return;
  }
  AddRows(nullptr, std::move(editors), "", 0);
  if (topLevelItemCount() > 0) setCurrentItem(topLevelItem(0));
}

void TObjectInspector::AddRows(QTreeWidgetItem* Parent, std::vector<std::unique_ptr<TPropertyEditor>> Editors,
                               const std::string& Prefix, int Depth) {
  for (auto& owned : Editors) {
    TPropertyEditor& editor = *owned;
    FEditors.push_back(std::move(owned));
    std::string name = Prefix + editor.GetName();
    auto* item = Parent ? new QTreeWidgetItem(Parent) : new QTreeWidgetItem(this);
    item->setText(0, ToQString(editor.GetName()));
    AddRowRecord({name, &editor, item});
    ShowValue(FRows.back());
    if (Depth + 1 < kDeepestRow && AttributesOf(editor).Contains(paSubProperties)) {
      std::vector<std::unique_ptr<TPropertyEditor>> children;
      try {
        children = editor.GetProperties();
      } catch (...) {
        ShowCurrentError();
      }
      AddRows(item, std::move(children), name + ".", Depth + 1);
    }
    const TPropInfo* info = editor.GetPropInfo();
    if (info && info->Kind == tkClass && editor.PropCount() == 1) {
      TObject* value = nullptr;
      try {
        value = GetObjectProp(editor.GetComponent(0), info);
      } catch (...) {
      }
      if (dynamic_cast<TDefCollection*>(value)) {
        item->setData(0, kStructureRole, true);
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
      }
    }
  }
}

void TObjectInspector::AddRowRecord(TRow Record) {
  FRowOfItem.emplace(Record.Item, FRows.size());
  FRowOfName.emplace(AnsiUpperCase(Record.Name), FRows.size());
  FRows.push_back(std::move(Record));
}

QTreeWidgetItem* TObjectInspector::AddRowOf(const std::string& Name, QTreeWidgetItem* Row) {
  AddRowRecord({Name, nullptr, Row});
  return Row;
}

bool TObjectInspector::MakePendingRows(QTreeWidgetItem* Item) {
  auto* structure = dynamic_cast<TStructureItem*>(Item);
  if (!structure) return false;
  const auto rows = structure->TakeProperties();
  if (rows.empty()) return false;
  const std::string prefix = Row(Item)->Name + ".";
  QList<QTreeWidgetItem*> made;
  made.reserve(static_cast<qsizetype>(rows.size()));
  for (const auto& [label, value] : rows)
    made.append(AddRowOf(prefix + label, new TStructureItem(ToQString(label), ToQString(value), FShade)));
  Item->addChildren(made);
  return true;
}

// Name is a copy: adding rows moves the row records a reference would point into. Each
// definition gets its summary row now, read from a copy of the definitions when it is shown;
// its property rows are made when the summary row opens. The rows join the tree together, which
// tells the view once, not once a row.
void TObjectInspector::AddStructureRows(QTreeWidgetItem* Item, TPropertyEditor& Editor,
                                        std::string Name) {  // NOLINT(performance-unnecessary-value-param)
  FShade = QBrush(palette().color(QPalette::Disabled, QPalette::Text));
  QList<QTreeWidgetItem*> made;
  auto fixed = [&](const std::string& Label) {
    made.append(AddRowOf(Name + ".", new TStructureItem(ToQString(Label), QString(), FShade)));
  };
  try {
    auto* defs = dynamic_cast<TDefCollection*>(GetObjectProp(Editor.GetComponent(0), Editor.GetPropInfo()));
    if (!defs) return;
    // Only the structure is read (never a row of data), and only when asked for.
    if (!defs->Updated() && defs->DataSet()) {
      if (auto* fields = dynamic_cast<TFieldDefs*>(defs)) fields->Update();
      if (auto* indexes = dynamic_cast<TIndexDefs*>(defs)) indexes->Update();
    }
    std::shared_ptr<const TDefCollection> copy = CopyOfDefs(*defs);
    if (!copy) return;
    made.reserve(copy->Count());
    for (int i = 0; i < copy->Count(); ++i) {
      const TCollectionItem* def = copy->Items(i);
      auto shown = FShownProperties.find(def->ClassType());
      if (shown == FShownProperties.end())
        shown = FShownProperties.emplace(def->ClassType(), ShownProperties(def->ClassType())).first;
      const std::string label = def->DisplayName();
      std::string name = Name;
      name.append(".").append(label);
      made.append(AddRowOf(name, new TStructureItem(ToQString(label), copy, i, shown->second, FShade)));
    }
    if (copy->Count() == 0) fixed("(none)");
  } catch (const Exception& e) {
    fixed("(" + e.Message() + ")");
  } catch (...) {
    Item->addChildren(made);  // the rows made so far have their records: the tree owns them
    throw;
  }
  Item->addChildren(made);
}

void TObjectInspector::ShowValue(const TRow& Row) {
  if (!Row.Editor) return;
  Row.Item->setText(1, ValueText(*Row.Editor));
  QFont font = Row.Item->font(1);
  font.setBold(!ShowsDefault(*Row.Editor));
  Row.Item->setFont(1, font);
}

const TObjectInspector::TRow* TObjectInspector::Row(const QTreeWidgetItem* Item) const {
  auto found = FRowOfItem.find(Item);
  return found == FRowOfItem.end() ? nullptr : &FRows[found->second];
}

void TObjectInspector::CurrentRowChanged(QTreeWidgetItem* Now) {
  if (Now == FCurrentItem) return;
  if (FCurrent) {
    FCurrent->Detach();
    if (FCurrentItem) removeItemWidget(FCurrentItem, 1);  // deleted later by the view
    FCurrent = nullptr;
  }
  FCurrentItem = Now;
  const TRow* row = Row(Now);
  if (!row || !row->Editor) return;
  FCurrent = new TValueEditor(*row->Editor, *this, nullptr);
  setItemWidget(Now, 1, FCurrent);
}

TPropertyEditor* TObjectInspector::CurrentPropertyEditor() const {
  const TRow* row = Row(FCurrentItem);
  return row ? row->Editor : nullptr;
}

void TObjectInspector::RefreshValues() {
  for (const TRow& row : FRows) ShowValue(row);
  if (FCurrent) FCurrent->Revert();
}

QTreeWidgetItem* TObjectInspector::RowOf(const std::string& Name) {
  const std::string key = AnsiUpperCase(Name);
  if (auto found = FRowOfName.find(key); found != FRowOfName.end()) return FRows[found->second].Item;
  // A definition's property row is made with its siblings when the definition's row opens:
  // make the rows of the nearest row above that waits.
  for (size_t dot = key.rfind('.'); dot != std::string::npos && dot > 0; dot = key.rfind('.', dot - 1)) {
    auto above = FRowOfName.find(key.substr(0, dot));
    if (above == FRowOfName.end()) continue;
    if (!MakePendingRows(FRows[above->second].Item)) return nullptr;
    return RowOf(Name);
  }
  return nullptr;
}

std::string TObjectInspector::CurrentName() const {
  const TRow* row = Row(FCurrentItem);
  return row ? row->Name : std::string();
}

bool TObjectInspector::MakeCurrent(const std::string& Name) {
  QTreeWidgetItem* item = RowOf(Name);
  if (!item || item->isHidden()) return false;
  for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent()) parent->setExpanded(true);
  setCurrentItem(item);
  return true;
}

TValueEditor* TObjectInspector::EditorOf(const std::string& Name) { return MakeCurrent(Name) ? FCurrent : nullptr; }

std::vector<std::string> TObjectInspector::Names() const {
  std::vector<std::string> names;
  for (int i = 0; i < topLevelItemCount(); ++i)
    if (!topLevelItem(i)->isHidden()) names.push_back(topLevelItem(i)->text(0).toStdString());
  return names;
}

void TObjectInspector::SetFilter(const QString& Text) {
  QString text = Text.trimmed();
  QTreeWidgetItem* firstShown = nullptr;
  for (int i = 0; i < topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = topLevelItem(i);
    bool shown = text.isEmpty() || item->text(0).contains(text, Qt::CaseInsensitive);
    item->setHidden(!shown);
    if (shown && !firstShown) firstShown = item;
  }
  // The current row stays when it is still there.
  QTreeWidgetItem* current = currentItem();
  while (current && current->parent()) current = current->parent();
  if (!current || current->isHidden()) setCurrentItem(firstShown);
}

void TObjectInspector::Write(const std::string& Label, const std::function<void()>& Action) {
  if (Transaction) {
    Transaction(Label, Action);
  } else {
    try {
      Action();
    } catch (...) {
      ShowCurrentError();
    }
  }
  RefreshValues();
  if (OnChanged) OnChanged();
}

void TObjectInspector::keyPressEvent(QKeyEvent* Event) {
  if (FCurrent && (IsEnter(Event) || Event->key() == Qt::Key_F2)) {
    FCurrent->setFocus(Qt::TabFocusReason);
    Event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(Event);
}
