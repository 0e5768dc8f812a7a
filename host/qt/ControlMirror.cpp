// The mirrors of the control kinds: button, label, list box, combo box, bevel, and a plain
// widget for any other control.
#include "host/qt/ControlMirror.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "host/qt/BevelFrame.h"
#include "host/qt/FormWindow.h"
#include "host/qt/ListWidget.h"
#include "host/qt/QtText.h"
#include "host/visualclx/Button.h"
#include "host/visualclx/ComboBox.h"
#include "host/visualclx/Label.h"
#include "host/visualclx/ListBox.h"

TControlMirror::TControlMirror(TQtFormWindow& Window, TControl& Control, QWidget* Widget)
    : FWindow(Window), FControl(Control), FWidget(Widget) {
  FObserver =
      Control.AddObserver([this](TControl* Sender, TControlChange Change) { FWindow.ControlChanged(Sender, Change); });
}

TControlMirror::~TControlMirror() {
  FControl.RemoveObserver(FObserver);
  std::unique_ptr<QWidget> widget(FWidget.data());
}

void TControlMirror::UpdateGeometry() {
  if (QWidget* widget = Widget())
    widget->setGeometry(FWindow.Scale().Map(FControl.Left(), FControl.Top(), FControl.Width(), FControl.Height()));
}

void TControlMirror::Update(TControlChange Change) {
  QWidget* widget = Widget();
  if (!widget) return;
  switch (Change) {
    case TControlChange::Bounds:
      UpdateGeometry();
      break;
    case TControlChange::Visible:
      widget->setVisible(FControl.Visible());
      break;
    case TControlChange::Enabled:
      widget->setEnabled(FControl.Enabled());
      break;
    case TControlChange::Caption:
      UpdateCaption();
      break;
    case TControlChange::Items:
      UpdateItems();
      break;
    case TControlChange::ItemIndex:
      UpdateItemIndex();
      break;
    case TControlChange::Selection:
      UpdateSelection();
      break;
    case TControlChange::Property:
      if (auto* window = dynamic_cast<TWinControl*>(&FControl))
        widget->setFocusPolicy(window->TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
      UpdateProperties();
      break;
    default:
      break;
  }
}

void TControlMirror::UpdateAll() {
  if (!Widget()) return;
  UpdateGeometry();
  Update(TControlChange::Property);
  Update(TControlChange::Items);
  Update(TControlChange::Caption);
  Update(TControlChange::Enabled);
  Update(TControlChange::Visible);
}

namespace {

// Brings the texts of a Qt list (Count, Text, SetText, Insert, Remove) in step with Items,
// touching only the rows that differ.
template <class Count, class Text, class SetText, class Append, class RemoveLast>
void SyncTexts(const TStrings& Items, Count count, Text text, SetText setText, Append append, RemoveLast removeLast) {
  int wanted = Items.Count();
  for (int i = 0; i < std::min(wanted, count()); ++i) {
    QString item = ToQString(Items.Get(i));
    if (text(i) != item) setText(i, item);
  }
  while (count() > wanted) removeLast();
  while (count() < wanted) append(ToQString(Items.Get(count())));
}

class TButtonMirror : public TControlMirror {
 public:
  TButtonMirror(TQtFormWindow& Window, TButton& Button, QWidget* Parent)
      : TControlMirror(Window, Button, new QPushButton(Parent)), FButton(Button) {
    // Enter belongs to the form's default button, not to the button that has the focus.
    Push()->setAutoDefault(false);
    QObject::connect(Push(), &QPushButton::clicked, [this] { FWindow.UserAction([this] { FButton.Click(); }); });
  }

 protected:
  void UpdateCaption() override { Push()->setText(ToQString(FButton.Caption())); }
  void UpdateProperties() override { Push()->setDefault(FButton.Default()); }

 private:
  QPushButton* Push() const { return static_cast<QPushButton*>(Widget()); }
  TButton& FButton;
};

class TLabelMirror : public TControlMirror {
 public:
  TLabelMirror(TQtFormWindow& Window, TLabel& Label, QWidget* Parent)
      : TControlMirror(Window, Label, new QLabel(Parent)), FLabel(Label) {
    Text()->setTextFormat(Qt::PlainText);
    Text()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }

 protected:
  void UpdateCaption() override { Apply(); }
  void UpdateProperties() override { Apply(); }

 private:
  QLabel* Text() const { return static_cast<QLabel*>(Widget()); }
  // With a focus control the accelerator moves the focus there; without one it only shows.
  void Apply() {
    QWidget* buddy = FWindow.WidgetOf(FLabel.FocusControl());
    Text()->setBuddy(buddy);
    Text()->setText(buddy ? ToQString(FLabel.Caption()) : VisibleCaption(FLabel.Caption()));
  }
  TLabel& FLabel;
};

class TListBoxMirror : public TControlMirror {
 public:
  TListBoxMirror(TQtFormWindow& Window, TListBox& ListBox, QWidget* Parent)
      : TControlMirror(Window, ListBox, new TQtListWidget(ListBox, Window, Parent)), FListBox(ListBox) {}

 protected:
  void UpdateItems() override {
    QListWidget* list = List();
    SyncTexts(
        *FListBox.Items(), [list] { return list->count(); }, [list](int i) { return list->item(i)->text(); },
        [list](int i, const QString& s) { list->item(i)->setText(s); }, [list](const QString& s) { list->addItem(s); },
        [list] { std::unique_ptr<QListWidgetItem> last(list->takeItem(list->count() - 1)); });
    UpdateSelection();
  }
  void UpdateItemIndex() override { UpdateSelection(); }
  void UpdateSelection() override {
    QListWidget* list = List();
    // Changes made inside BeginUpdate arrive together, the current item possibly before the items.
    if (list->count() != FListBox.Items()->Count()) {
      UpdateItems();
      return;
    }
    // MultiSelect changes arrive as a change of the selection.
    list->setSelectionMode(FListBox.MultiSelect() ? QAbstractItemView::ExtendedSelection
                                                  : QAbstractItemView::SingleSelection);
    QItemSelection selection;
    for (int i = 0; i < list->count(); ++i)
      if (FListBox.Selected(i)) selection.select(list->model()->index(i, 0), list->model()->index(i, 0));
    list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    int current = FListBox.ItemIndex();
    QModelIndex index = current >= 0 ? list->model()->index(current, 0) : QModelIndex();
    list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    if (index.isValid()) list->scrollTo(index);
  }
  void UpdateProperties() override { UpdateSelection(); }

 private:
  QListWidget* List() const { return static_cast<QListWidget*>(Widget()); }
  TListBox& FListBox;
};

class TComboBoxMirror : public TControlMirror {
 public:
  TComboBoxMirror(TQtFormWindow& Window, TComboBox& ComboBox, QWidget* Parent)
      : TControlMirror(Window, ComboBox, new QComboBox(Parent)), FComboBox(ComboBox) {
    Combo()->setInsertPolicy(QComboBox::NoInsert);
    // activated is Qt's signal for a person's choice only, never for one made from code.
    QObject::connect(Combo(), &QComboBox::activated,
                     [this](int Index) { FWindow.UserAction([&] { FComboBox.UserSelect(Index); }); });
    QObject::connect(Combo(), &QComboBox::editTextChanged, [this](const QString& Text) {
      if (!FWindow.Mirroring() && FComboBox.Editable())
        FWindow.UserAction([&] { FComboBox.SetText(FromQString(Text)); });
    });
  }

 protected:
  void UpdateItems() override {
    QComboBox* combo = Combo();
    SyncTexts(
        *FComboBox.Items(), [combo] { return combo->count(); }, [combo](int i) { return combo->itemText(i); },
        [combo](int i, const QString& s) { combo->setItemText(i, s); },
        [combo](const QString& s) { combo->addItem(s); }, [combo] { combo->removeItem(combo->count() - 1); });
    UpdateItemIndex();
  }
  void UpdateItemIndex() override {
    QComboBox* combo = Combo();
    if (combo->count() != FComboBox.Items()->Count()) {
      UpdateItems();
      return;
    }
    if (combo->currentIndex() != FComboBox.ItemIndex()) combo->setCurrentIndex(FComboBox.ItemIndex());
    QString text = ToQString(FComboBox.Text());
    if (combo->isEditable() && combo->currentText() != text) combo->setEditText(text);
  }
  void UpdateCaption() override { UpdateItemIndex(); }
  void UpdateProperties() override {
    QComboBox* combo = Combo();
    if (combo->isEditable() != FComboBox.Editable()) {
      combo->setEditable(FComboBox.Editable());
      if (combo->isEditable()) combo->setInsertPolicy(QComboBox::NoInsert);
    }
    combo->setMaxVisibleItems(std::max(1, FComboBox.DropDownCount()));
    UpdateItemIndex();
  }

 private:
  QComboBox* Combo() const { return static_cast<QComboBox*>(Widget()); }
  TComboBox& FComboBox;
};

class TBevelMirror : public TControlMirror {
 public:
  TBevelMirror(TQtFormWindow& Window, TBevel& Bevel, QWidget* Parent)
      : TControlMirror(Window, Bevel, new TQtBevelFrame(Parent)), FBevel(Bevel) {}

 protected:
  void UpdateProperties() override { static_cast<TQtBevelFrame*>(Widget())->SetShape(FBevel.Shape(), FBevel.Style()); }

 private:
  TBevel& FBevel;
};

// A control of a kind without a widget of its own: an empty widget at its place, which holds
// the widgets of the controls it holds.
class TPlainMirror : public TControlMirror {
 public:
  TPlainMirror(TQtFormWindow& Window, TControl& Control, QWidget* Parent)
      : TControlMirror(Window, Control, new QWidget(Parent)) {}
};

}  // namespace

std::unique_ptr<TControlMirror> MakeMirror(TQtFormWindow& Window, TControl& Control, QWidget* Parent) {
  if (auto* button = dynamic_cast<TButton*>(&Control)) return std::make_unique<TButtonMirror>(Window, *button, Parent);
  if (auto* label = dynamic_cast<TLabel*>(&Control)) return std::make_unique<TLabelMirror>(Window, *label, Parent);
  if (auto* list = dynamic_cast<TListBox*>(&Control)) return std::make_unique<TListBoxMirror>(Window, *list, Parent);
  if (auto* combo = dynamic_cast<TComboBox*>(&Control))
    return std::make_unique<TComboBoxMirror>(Window, *combo, Parent);
  if (auto* bevel = dynamic_cast<TBevel*>(&Control)) return std::make_unique<TBevelMirror>(Window, *bevel, Parent);
  return std::make_unique<TPlainMirror>(Window, Control, Parent);
}
