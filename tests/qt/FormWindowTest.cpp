// The Qt window of a form follows every change the form's code makes: items inserted,
// deleted, moved and replaced, the current item and the selection, enabled and visible
// states, captions, bounds, controls that come and go; and its captions are legible.
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include "host/qt/BevelFrame.h"
#include "host/qt/FormWindow.h"
#include "host/qt/QtText.h"
#include "tests/qt/QtTestSupport.h"

namespace {

using namespace qttest;

struct FormWindow : ::testing::Test {
  QApplication& Application = App();
  TKindsForm Kinds;
  std::unique_ptr<TQtFormWindow> Window = std::make_unique<TQtFormWindow>(*Kinds.Form);

  QListWidget* List() const { return static_cast<QListWidget*>(Window->WidgetOf(Kinds.List)); }
  QComboBox* Combo() const { return static_cast<QComboBox*>(Window->WidgetOf(Kinds.Combo)); }
  QPushButton* Ok() const { return static_cast<QPushButton*>(Window->WidgetOf(Kinds.Ok)); }
  QLabel* Label() const { return static_cast<QLabel*>(Window->WidgetOf(Kinds.Label)); }
  std::vector<int> SelectedRows() const {
    std::vector<int> rows;
    for (int i = 0; i < List()->count(); ++i)
      if (List()->item(i)->isSelected()) rows.push_back(i);
    return rows;
  }
};

TEST_F(FormWindow, ShowsEachControlKindAtItsScaledPlace) {
  ASSERT_TRUE(List() && Combo() && Ok() && Label());
  EXPECT_EQ(List()->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(Ok()->text(), "OK");
  EXPECT_TRUE(Ok()->isDefault());
  EXPECT_FALSE(Ok()->autoDefault());
  EXPECT_FALSE(Combo()->isEditable());
  auto* bevel = dynamic_cast<TQtBevelFrame*>(Window->WidgetOf(Kinds.Bevel));
  ASSERT_NE(bevel, nullptr);
  EXPECT_EQ(bevel->Shape(), bsFrame);
  // The label's accelerator reaches the list it names.
  EXPECT_EQ(Label()->buddy(), List());
  EXPECT_EQ(Label()->text(), "&Fields");
  EXPECT_EQ(Window->windowTitle(), "Kinds of controls");
  EXPECT_EQ(List()->geometry(), Window->Scale().Map(8, 30, 150, 120));
  EXPECT_EQ(Window->size(), QSize(Window->Scale().Map(400), Window->Scale().Map(300)));
  EXPECT_EQ(Window->ControlOf(List()->viewport()), Kinds.List);
}

TEST_F(FormWindow, ListFollowsEveryKindOfItemChange) {
  TStrings* items = Kinds.List->Items();
  for (const char* s : {"a", "b", "c", "d"}) items->Add(s);
  EXPECT_EQ(Texts(List()), (std::vector<std::string>{"a", "b", "c", "d"}));
  items->Insert(1, "x");
  EXPECT_EQ(Texts(List()), (std::vector<std::string>{"a", "x", "b", "c", "d"}));
  items->Delete(0);
  EXPECT_EQ(Texts(List()), (std::vector<std::string>{"x", "b", "c", "d"}));
  items->Move(3, 0);
  EXPECT_EQ(Texts(List()), (std::vector<std::string>{"d", "x", "b", "c"}));
  items->Put(2, "B");
  EXPECT_EQ(Texts(List()), (std::vector<std::string>{"d", "x", "B", "c"}));
  items->Exchange(0, 3);
  EXPECT_EQ(Texts(List()), (std::vector<std::string>{"c", "x", "B", "d"}));
  items->BeginUpdate();
  items->Clear();
  items->Add("only");
  Kinds.List->SetItemIndex(0);
  items->EndUpdate();
  EXPECT_EQ(Texts(List()), (std::vector<std::string>{"only"}));
  EXPECT_EQ(List()->currentRow(), 0);
  items->Clear();
  EXPECT_EQ(List()->count(), 0);
  EXPECT_EQ(List()->currentRow(), -1);
}

TEST_F(FormWindow, ListFollowsTheCurrentItemAndTheSelection) {
  for (const char* s : {"a", "b", "c", "d"}) Kinds.List->Items()->Add(s);
  Kinds.List->SetSelected(1, true);
  Kinds.List->SetSelected(3, true);
  Kinds.List->SetItemIndex(2);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 3}));
  EXPECT_EQ(List()->currentRow(), 2);
  // A selected item keeps its selection where it moves; the current item stays the same item.
  Kinds.List->Items()->Move(3, 0);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 2}));
  EXPECT_EQ(List()->currentRow(), 3);
  Kinds.List->SetSelected(0, false);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{2}));
  // A single-select list shows its current item as the selected one.
  Kinds.List->SetMultiSelect(false);
  EXPECT_EQ(List()->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{3}));
  Kinds.List->SetItemIndex(-1);
  EXPECT_EQ(SelectedRows(), std::vector<int>{});
}

TEST_F(FormWindow, ComboBoxFollowsItsEntriesAndChoice) {
  for (const char* s : {"PRIMARY", "ByCustomer", "ByDate"}) Kinds.Combo->Items()->Add(s);
  EXPECT_EQ(Combo()->count(), 3);
  EXPECT_EQ(Combo()->currentIndex(), -1);
  Kinds.Combo->SetItemIndex(1);
  EXPECT_EQ(Combo()->currentText(), "ByCustomer");
  Kinds.Combo->SetText("bydate");
  EXPECT_EQ(Combo()->currentText(), "ByDate");
  Kinds.Combo->Items()->Delete(2);
  EXPECT_EQ(Combo()->currentIndex(), -1);
  Kinds.Combo->Items()->Put(0, "Primary key");
  EXPECT_EQ(Combo()->itemText(0), "Primary key");
  // The editable style shows the typed text.
  Kinds.Combo->SetStyle(csDropDown);
  EXPECT_TRUE(Combo()->isEditable());
  Kinds.Combo->SetText("free text");
  EXPECT_EQ(Combo()->currentText(), "free text");
}

TEST_F(FormWindow, ControlsFollowStatesCaptionsAndBounds) {
  Kinds.Ok->SetEnabled(false);
  EXPECT_FALSE(Ok()->isEnabled());
  Kinds.Ok->SetVisible(false);
  EXPECT_TRUE(Ok()->isHidden());
  Kinds.Ok->SetVisible(true);
  EXPECT_FALSE(Ok()->isHidden());
  Kinds.Ok->SetCaption("&Apply");
  EXPECT_EQ(Ok()->text(), "&Apply");
  Kinds.Label->SetCaption("&Names && kinds");
  EXPECT_EQ(Label()->text(), "&Names && kinds");
  // Without a focus control a label only shows its text.
  Kinds.Label->SetFocusControl(nullptr);
  EXPECT_EQ(Label()->buddy(), nullptr);
  EXPECT_EQ(Label()->text(), "Names & kinds");
  Kinds.Form->SetCaption("Renamed");
  EXPECT_EQ(Window->windowTitle(), "Renamed");
  Kinds.List->SetBounds(20, 40, 100, 50);
  EXPECT_EQ(List()->geometry(), Window->Scale().Map(20, 40, 100, 50));
  Kinds.Ok->SetDefault(false);
  EXPECT_FALSE(Ok()->isDefault());
  Kinds.Bevel->SetShape(bsTopLine);
  EXPECT_EQ(static_cast<TQtBevelFrame*>(Window->WidgetOf(Kinds.Bevel))->Shape(), bsTopLine);
}

TEST_F(FormWindow, ControlsThatComeAndGoGetAndLoseTheirWidgets) {
  auto* extra = Kinds.Make<TButton>("Extra", 10, 250, 75, 25);
  extra->SetCaption("E&xtra");
  auto* widget = qobject_cast<QPushButton*>(Window->WidgetOf(extra));
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->text(), "E&xtra");
  EXPECT_EQ(widget->parentWidget(), Window.get());
  QPointer<QWidget> watched(widget);
  FreeObject(extra);
  EXPECT_TRUE(watched.isNull());
  EXPECT_EQ(Window->WidgetOf(extra), nullptr);
  // Taken off the form, the list loses its widget; put back, it has one again.
  Kinds.List->SetParent(nullptr);
  EXPECT_EQ(Window->WidgetOf(Kinds.List), nullptr);
  Kinds.List->SetParent(Kinds.Form.get());
  EXPECT_NE(Window->WidgetOf(Kinds.List), nullptr);
  // A form that goes away takes its widgets; nothing of it is touched any more.
  Kinds.Form.reset();
  EXPECT_EQ(Window->findChildren<QPushButton*>().size(), 0);
  Window.reset();
}

TEST_F(FormWindow, LabelsAndBevelsLieBeneathTheControls) {
  QObjectList children = Window->children();
  auto position = [&](const TControl* control) { return children.indexOf(Window->WidgetOf(control)); };
  // Qt paints its children in list order: the first lies lowest.
  EXPECT_LT(position(Kinds.Bevel), position(Kinds.Label));
  EXPECT_LT(position(Kinds.Label), position(Kinds.List));
  EXPECT_LT(position(Kinds.Label), position(Kinds.Ok));
}

TEST_F(FormWindow, TabOrderFollowsTheControlsTabOrder) {
  Kinds.Cancel->SetTabOrder(0);
  Kinds.List->SetTabOrder(1);
  Kinds.Combo->SetTabOrder(2);
  Kinds.Ok->SetTabOrder(3);
  // The next control's widget in Qt's focus chain, past the widgets inside a control.
  auto next = [&](const TControl* control) -> const TControl* {
    QWidget* widget = Window->WidgetOf(control);
    for (QWidget* w = widget->nextInFocusChain(); w != widget; w = w->nextInFocusChain())
      if (TControl* other = Window->ControlOf(w); other && other != control && Window->WidgetOf(other) == w)
        return other;
    return nullptr;
  };
  EXPECT_EQ(next(Kinds.Cancel), Kinds.List);
  EXPECT_EQ(next(Kinds.List), Kinds.Combo);
  EXPECT_EQ(next(Kinds.Combo), Kinds.Ok);
}

// The font comes from the form's text metrics; the geometry grows until every caption fits.
TEST(FormScale, CaptionsFitTheirControlsAtTheStoredSize) {
  App();
  TKindsForm kinds;
  kinds.Form->SetPixelsPerInch(75);
  kinds.Form->SetTextHeight(20);
  kinds.Ok->SetCaption("A caption far wider than its button");
  TQtFormWindow window(*kinds.Form);
  double base = QApplication::primaryScreen()->logicalDotsPerInch() / 75.0;
  EXPECT_LE(QFontMetrics(window.font()).height(), 20 * base);
  EXPECT_GT(window.Scale().Factor(), base);
  for (auto* label : window.findChildren<QLabel*>()) {
    QString text = VisibleCaption(label->text().toStdString());
    EXPECT_LE(label->fontMetrics().horizontalAdvance(text), label->width()) << text.toStdString();
    EXPECT_LE(label->fontMetrics().height(), label->height()) << text.toStdString();
  }
  for (auto* button : window.findChildren<QPushButton*>()) {
    QString text = VisibleCaption(button->text().toStdString());
    EXPECT_LT(button->fontMetrics().horizontalAdvance(text), button->width()) << text.toStdString();
  }
}

TEST(FormScale, FontFitsTheTextMetrics) {
  App();
  QFont base = QApplication::font();
  QFont font = FitFont(base, 20, 7);
  QFontMetrics metrics(font);
  EXPECT_LE(metrics.height(), 20);
  EXPECT_LE(AverageCharWidth(font), 7);
  // One pixel larger would break a limit.
  QFont larger = font;
  larger.setPixelSize(font.pixelSize() + 1);
  EXPECT_TRUE(QFontMetrics(larger).height() > 20 || AverageCharWidth(larger) > 7);
  EXPECT_EQ(VisibleCaption("A&vailable && &&more&"), "Available & &more");
}

}  // namespace
