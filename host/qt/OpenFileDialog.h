// TQtOpenFileDialog: the model's open-file dialog as a QFileDialog. The dialog's own
// navigation is Qt's; the path a person accepts is judged by TOpenDialog::UserAccept, which
// takes it or refuses it with the dialog staying open.
#pragma once

#include <QFileDialog>
#include <string>

class TOpenDialog;

// The model's filter "Text (*.a)|*.a|Any files (*.*)|*.*" in Qt's form
// "Text (*.a);;Any files (*)": each pattern list ends its entry in parentheses, patterns
// separated by blanks, and "*.*" is "*" (on this system a file needs no extension).
QString QtNameFilters(const std::string& Filter);

class TQtOpenFileDialog : public QFileDialog {
 public:
  explicit TQtOpenFileDialog(TOpenDialog& Dialog, QWidget* Parent = nullptr);

  // Runs the dialog: true when the model accepted a path (its FileName holds it).
  bool Run();

  // Accepts Path as a person typing it and pressing Open would: true when the model took it.
  bool AcceptPath(const QString& Path);

 protected:
  void accept() override;

 private:
  TOpenDialog& FDialog;
  bool FAccepted = false;
};
