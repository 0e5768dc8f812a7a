// TQtListWidget: a person's input on a list box, passed to the model.
#include "host/qt/ListWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "host/qt/FormWindow.h"
#include "host/visualclx/ListBox.h"

TQtListWidget::TQtListWidget(TListBox& ListBox, TQtFormWindow& Window, QWidget* Parent)
    : QListWidget(Parent), FListBox(ListBox), FWindow(Window) {
  setFocusPolicy(Qt::StrongFocus);
}

void TQtListWidget::Select(int Row) {
  FWindow.UserAction([&] { FListBox.UserSelect(Row); });
}

void TQtListWidget::Toggle(int Row) {
  FWindow.UserAction([&] { FListBox.UserToggle(Row); });
}

void TQtListWidget::Extend(int Row) {
  int from = FListBox.ItemIndex();
  if (from < 0) {
    Select(Row);
    return;
  }
  int step = Row >= from ? 1 : -1;
  for (int i = from + step; i != Row + step; i += step)
    if (!FListBox.Selected(i)) Toggle(i);
  if (FListBox.ItemIndex() != Row) MoveCurrent(Row);
}

void TQtListWidget::MoveCurrent(int Row) {
  FWindow.UserAction([&] { FListBox.SetItemIndex(Row); });
}

int TQtListWidget::RowsPerPage() const {
  int row = count() > 0 ? std::max(1, sizeHintForRow(0)) : 1;
  return std::max(1, viewport()->height() / row);
}

void TQtListWidget::mousePressEvent(QMouseEvent* Event) {
  Event->accept();
  if (Event->button() != Qt::LeftButton) return;
  QModelIndex index = indexAt(Event->position().toPoint());
  if (!index.isValid()) return;
  int row = index.row();
  Qt::KeyboardModifiers modifiers = Event->modifiers();
  if (FListBox.MultiSelect() && modifiers.testFlag(Qt::ControlModifier))
    Toggle(row);
  else if (FListBox.MultiSelect() && modifiers.testFlag(Qt::ShiftModifier))
    Extend(row);
  else
    Select(row);
}

void TQtListWidget::mouseMoveEvent(QMouseEvent* Event) {
  // No selecting by dragging: the model knows clicks only.
  if (Event->buttons() != Qt::NoButton) {
    Event->accept();
    return;
  }
  QListWidget::mouseMoveEvent(Event);
}

void TQtListWidget::mouseReleaseEvent(QMouseEvent* Event) { Event->accept(); }

void TQtListWidget::mouseDoubleClickEvent(QMouseEvent* Event) {
  // The first press of the double click has clicked the item already.
  Event->accept();
}

void TQtListWidget::keyPressEvent(QKeyEvent* Event) {
  int current = FListBox.ItemIndex();
  int last = count() - 1;
  int target = -2;  // no move
  switch (Event->key()) {
    case Qt::Key_Up:
      target = current < 0 ? 0 : current - 1;
      break;
    case Qt::Key_Down:
      target = current < 0 ? 0 : current + 1;
      break;
    case Qt::Key_Home:
      target = 0;
      break;
    case Qt::Key_End:
      target = last;
      break;
    case Qt::Key_PageUp:
      target = current < 0 ? 0 : current - RowsPerPage();
      break;
    case Qt::Key_PageDown:
      target = current < 0 ? 0 : current + RowsPerPage();
      break;
    case Qt::Key_Space:
      Event->accept();
      if (current < 0) return;
      if (FListBox.MultiSelect())
        Toggle(current);
      else
        Select(current);
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      Event->ignore();  // the dialog's keys
      return;
    default: {
      QString text = Event->text();
      bool typed = !text.isEmpty() && text[0].isPrint() &&
                   !(Event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
      if (typed) {
        Event->accept();
        keyboardSearch(text);
      } else {
        Event->ignore();
      }
      return;
    }
  }
  Event->accept();
  if (last < 0) return;
  target = std::clamp(target, 0, last);
  Qt::KeyboardModifiers modifiers = Event->modifiers();
  if (FListBox.MultiSelect() && modifiers.testFlag(Qt::ControlModifier))
    MoveCurrent(target);
  else if (FListBox.MultiSelect() && modifiers.testFlag(Qt::ShiftModifier))
    Extend(target);
  else if (target != current || !FListBox.Selected(target))
    Select(target);
}

void TQtListWidget::keyboardSearch(const QString& Search) {
  int n = count();
  if (n == 0 || Search.isEmpty()) return;
  int start = FListBox.ItemIndex();
  for (int step = 1; step <= n; ++step) {
    int row = (start + step + n) % n;
    if (item(row)->text().startsWith(Search, Qt::CaseInsensitive)) {
      Select(row);
      return;
    }
  }
}
