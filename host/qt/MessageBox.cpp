// TQtMessageBox: the model's message box on screen.
#include "host/qt/MessageBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "host/qt/QtText.h"
#include "host/visualclx/Application.h"

namespace {

QMessageBox::Icon IconOf(TMsgDlgType Type) {
  switch (Type) {
    case mtWarning:
      return QMessageBox::Warning;
    case mtError:
      return QMessageBox::Critical;
    case mtInformation:
      return QMessageBox::Information;
    case mtConfirmation:
      return QMessageBox::Question;
    case mtCustom:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole RoleOf(TMsgDlgBtn Button) {
  switch (Button) {
    case mbYes:
    case mbYesToAll:
    case mbAll:
      return QMessageBox::YesRole;
    case mbNo:
    case mbNoToAll:
      return QMessageBox::NoRole;
    case mbOK:
    case mbRetry:
      return QMessageBox::AcceptRole;
    case mbCancel:
    case mbAbort:
      return QMessageBox::RejectRole;
    case mbIgnore:
      return QMessageBox::ActionRole;
    case mbHelp:
      return QMessageBox::HelpRole;
  }
  return QMessageBox::ActionRole;
}

// The window titles the platform gives its message boxes.
QString TitleOf(TMsgDlgType Type) {
  switch (Type) {
    case mtWarning:
      return QStringLiteral("Warning");
    case mtError:
      return QStringLiteral("Error");
    case mtInformation:
      return QStringLiteral("Information");
    case mtConfirmation:
      return QStringLiteral("Confirm");
    case mtCustom:
      break;
  }
  return QApplication::applicationDisplayName();
}

}  // namespace

TQtMessageBox::TQtMessageBox(const TMessageBox& Box, QWidget* Parent)
    : QMessageBox(Parent), FHelpContext(Box.HelpContext) {
  setIcon(IconOf(Box.DlgType));
  setWindowTitle(TitleOf(Box.DlgType));
  setTextFormat(Qt::PlainText);
  setText(ToQString(Box.Text));
  for (TMsgDlgBtn button : Box.ButtonList())
    FButtons.emplace(addButton(QString::fromLatin1(MsgDlgBtnCaption(button)), RoleOf(button)), button);
  if (auto button = Box.DefaultButton()) setDefaultButton(static_cast<QPushButton*>(ButtonOf(*button)));
  // Escape presses the model's cancel button; with none it does nothing.
  if (auto button = Box.CancelButton()) {
    setEscapeButton(ButtonOf(*button));
    FHasCancel = true;
  }
}

void TQtMessageBox::keyPressEvent(QKeyEvent* Event) {
  // Qt would pick an escape button of its own (Abort, say); the model's box has none then.
  if (Event->key() == Qt::Key_Escape && Event->modifiers() == Qt::NoModifier && !FHasCancel) {
    Event->accept();
    return;
  }
  QMessageBox::keyPressEvent(Event);
}

QAbstractButton* TQtMessageBox::ButtonOf(TMsgDlgBtn Button) const {
  for (const auto& [widget, button] : FButtons)
    if (button == Button) return widget;
  return nullptr;
}

void TQtMessageBox::closeEvent(QCloseEvent* Event) {
  FClosedFromTitleBar = true;
  Event->accept();
  done(QDialog::Rejected);
}

TModalResult TQtMessageBox::Run() {
  while (true) {
    FClosedFromTitleBar = false;
    exec();
    if (FClosedFromTitleBar) return mrCancel;
    auto it = FButtons.find(clickedButton());
    if (it == FButtons.end()) return mrCancel;
    // Help opens help and leaves the box open.
    if (TModalResult result = MsgDlgBtnResult(it->second); result != mrNone) return result;
    Application()->ShowHelp(FHelpContext);
  }
}
