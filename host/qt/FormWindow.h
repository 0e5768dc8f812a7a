// TQtFormWindow: a form of the widget model shown as a Qt dialog. The model is the one source
// of truth: the window mirrors every change the form's code makes, and turns a person's clicks
// and keys into the same User* calls the scripted user makes.
#pragma once

#include <QDialog>
#include <exception>
#include <functional>
#include <map>
#include <memory>

#include "host/qt/FormScale.h"
#include "host/rtl/UpdateScope.h"
#include "host/visualclx/Control.h"

class TControlMirror;

class TQtFormWindow : public QDialog {
 public:
  // Builds the window and a widget for every control on Form, placed and scaled for the screen.
  explicit TQtFormWindow(TCustomForm& Form, QWidget* Parent = nullptr);
  ~TQtFormWindow() override;

  TCustomForm& Form() const { return FForm; }
  const TFormScale& Scale() const { return FScale; }

  // The widget that shows Control, nil when it has none.
  QWidget* WidgetOf(const TControl* Control) const;
  // The control a widget (or the widget inside it that Qt handed an event) shows, nil for none.
  TControl* ControlOf(const QWidget* Widget) const;

  // Shows the window modally until the form's ModalResult is not mrNone. An error that the
  // form's code raised during a person's action ends the run and is raised here.
  void RunModal();
  // True while RunModal runs.
  bool Running() const { return FRunning; }

  // Runs a person's action on the model. Qt's event loop cannot carry an exception, so an
  // error is kept and ends the modal run; a modal result ends it too.
  void UserAction(const std::function<void()>& Action);
  // True while the window applies a change of the model to its widgets: what the widgets do
  // meanwhile is no person's action.
  bool Mirroring() const { return FMirroring.Updating(); }

 protected:
  void showEvent(QShowEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;
  void reject() override;

 private:
  friend class TControlMirror;

  void ControlChanged(TControl* Control, TControlChange Change);
  void FormChanged(TControlChange Change);
  // Makes mirrors for the controls Window holds that have none yet, and for theirs.
  void AddChildren(TWinControl* Window);
  void RemoveMirror(const TControl* Control);
  void ForgetForm();
  void ApplyGeometry();
  void ApplyTabOrder();
  void ApplyStacking();
  void ApplyFocus();
  void FocusMoved(QWidget* Now);

  TCustomForm& FForm;
  bool FFormGone = false;  // the form is being destroyed: nothing of it may be touched
  TFormScale FScale;
  int FFormObserver = 0;
  std::map<const TControl*, std::unique_ptr<TControlMirror>> FMirrors;
  TUpdateCount FMirroring;
  bool FRunning = false;
  std::exception_ptr FError;
};
