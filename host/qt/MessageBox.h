// TQtMessageBox: a message box of the model shown as a QMessageBox, its buttons in the model's
// order with the model's default and cancel buttons.
#pragma once

#include <QMessageBox>
#include <map>

#include "host/visualclx/MessageDlg.h"

class TQtMessageBox : public QMessageBox {
 public:
  explicit TQtMessageBox(const TMessageBox& Box, QWidget* Parent = nullptr);

  // Runs the box until a button that closes it is pressed (Help leaves it open) and answers
  // that button's modal result; mrCancel when it was closed from its title bar.
  TModalResult Run();
  // The Qt button that stands for Button, nil when the box does not show it.
  QAbstractButton* ButtonOf(TMsgDlgBtn Button) const;

 protected:
  void closeEvent(QCloseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;

 private:
  int FHelpContext = 0;
  bool FHasCancel = false;
  std::map<QAbstractButton*, TMsgDlgBtn> FButtons;
  bool FClosedFromTitleBar = false;
};
