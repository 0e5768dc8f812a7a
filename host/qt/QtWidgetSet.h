// TQtWidgetSet: the widget set of real windows. Forms show as Qt dialogs that mirror the model,
// message boxes as QMessageBox, the open-file dialog as QFileDialog; a person's input reaches
// the model through the same User* entry points the scripted user calls. A request for help
// (the application's ShowHelp: a Help button, F1 in a form) opens the help window on its
// topic, unless the program installs a help handler of its own.
#pragma once

#include <functional>
#include <memory>

#include "host/qt/QtApplication.h"
#include "host/visualclx/WidgetSet.h"

class QApplication;
class QWidget;

class TQtWidgetSet : public TWidgetSet {
 public:
  // Holds a share in the Qt application on Platform for its life (see QtApplication).
  explicit TQtWidgetSet(TQtPlatform Platform = TQtPlatform::Display);
  ~TQtWidgetSet() override;

  void RunModal(TCustomForm& Form) override;
  TModalResult MessageBox(const TMessageBox& Box) override;
  bool ExecuteOpenDialog(TOpenDialog& Dialog) override;
  void ShowHelp(int Context) override;

  // Installs the handler that opens help on a help context (the help window's by default); an
  // empty one shows nothing.
  void SetHelpHandler(std::function<void(int Context)> Handler) { FHelpHandler = std::move(Handler); }

  // The window a new modal window is placed over: the one in front, if any.
  static QWidget* FrontWindow();

 private:
  std::shared_ptr<QApplication> FApplication;
  std::function<void(int Context)> FHelpHandler;
};
