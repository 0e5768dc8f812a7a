// TQtListWidget: the widget of a list box. A person's clicks and keys reach the model through
// TListBox::UserSelect and UserToggle; what the widget shows as current and selected is always
// the model's, set by its mirror.
#pragma once

#include <QListWidget>

class TListBox;
class TQtFormWindow;

class TQtListWidget : public QListWidget {
 public:
  TQtListWidget(TListBox& ListBox, TQtFormWindow& Window, QWidget* Parent);

  // Typing a text: the next item that starts with it (without regard to case) is clicked.
  void keyboardSearch(const QString& Search) override;

 protected:
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;

 private:
  void Select(int Row);
  void Toggle(int Row);
  // Shift+click in a multi-select list: the items from the current one to Row join the selection.
  void Extend(int Row);
  // Ctrl+arrow in a multi-select list: the focus moves, the selection stays.
  void MoveCurrent(int Row);
  int RowsPerPage() const;

  TListBox& FListBox;
  TQtFormWindow& FWindow;
};
