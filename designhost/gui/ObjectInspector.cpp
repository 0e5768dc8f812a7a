// The Object Inspector and its value editors.
#include "designhost/gui/ObjectInspector.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "designhost/gui/ErrorMessage.h"
#include "host/rtl/SysUtils.h"

namespace {

// Sub-properties nest this deep at most: a set's elements, a sub-object's properties.
constexpr int kDeepestRow = 3;

QString ToText(const std::string& Text) { return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size())); }

// A value the editor cannot read shows the reason instead.
QString ValueText(TPropertyEditor& Editor) {
  try {
    return ToText(Editor.GetValue());
  } catch (const Exception& e) {
    return QStringLiteral("(%1)").arg(ToText(e.Message()));
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
    FEllipsis->setToolTip(QStringLiteral("Edit %1 (Ctrl+Enter)").arg(ToText(Editor.GetName())));
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
  QString text = Text();
  if (text == FShown) return;
  FInspector.Write([&] { FEditor.SetValue(text.toStdString()); });
}

void TValueEditor::RunDialog() {
  FInspector.Write([&] { FEditor.Edit(); });
}

void TValueEditor::LoadValues() {
  if (!FDropDown || FValuesLoaded) return;
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
  for (const std::string& value : values) FDropDown->addItem(ToText(value));
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
  if (Event->type() != QEvent::KeyPress) return QWidget::eventFilter(Watched, Event);
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
  if (!Now || Now == this || isAncestorOf(Now)) return;
  if (FDropDown && Now->window() == FDropDown->view()->window()) return;  // its own list opened
  // Leaving the row takes back what was typed and not written with Enter.
  if (Text() != FShown) Revert();
}

// TObjectInspector

TObjectInspector::TObjectInspector(QWidget* Parent) : QTreeWidget(Parent) {
  setColumnCount(2);
  setHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
  setRootIsDecorated(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  header()->setStretchLastSection(true);
}

TObjectInspector::~TObjectInspector() { Clear(); }

void TObjectInspector::Clear() {
  // The value widgets refer to the editors: they go first.
  FRows.clear();
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
    item->setText(0, ToText(editor.GetName()));
    auto* value = new TValueEditor(editor, *this, nullptr);
    setItemWidget(item, 1, value);
    FRows.emplace_back(name, value);
    if (Depth + 1 < kDeepestRow && AttributesOf(editor).Contains(paSubProperties)) {
      std::vector<std::unique_ptr<TPropertyEditor>> children;
      try {
        children = editor.GetProperties();
      } catch (...) {
        ShowCurrentError();
      }
      AddRows(item, std::move(children), name + ".", Depth + 1);
    }
  }
}

void TObjectInspector::RefreshValues() {
  for (auto& [name, editor] : FRows) editor->Revert();
}

TValueEditor* TObjectInspector::EditorOf(const std::string& Name) const {
  for (const auto& [name, editor] : FRows)
    if (SameText(name, Name)) return editor;
  return nullptr;
}

std::vector<std::string> TObjectInspector::Names() const {
  std::vector<std::string> names;
  for (int i = 0; i < topLevelItemCount(); ++i) names.push_back(topLevelItem(i)->text(0).toStdString());
  return names;
}

void TObjectInspector::Write(const std::function<void()>& Action) {
  try {
    Action();
  } catch (...) {
    ShowCurrentError();
  }
  RefreshValues();
  if (OnChanged) OnChanged();
}

void TObjectInspector::keyPressEvent(QKeyEvent* Event) {
  QTreeWidgetItem* item = currentItem();
  if (item && (IsEnter(Event) || Event->key() == Qt::Key_F2)) {
    if (QWidget* value = itemWidget(item, 1)) {
      value->setFocus(Qt::TabFocusReason);
      Event->accept();
      return;
    }
  }
  QTreeWidget::keyPressEvent(Event);
}
