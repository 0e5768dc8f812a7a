// TQtFormWindow: the dialog that shows a form, and the routing of changes and input.
#include "host/qt/FormWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <algorithm>

#include "host/qt/ControlMirror.h"
#include "host/qt/QtText.h"
#include "host/rtl/UpdateScope.h"
#include "host/visualclx/Application.h"
#include "host/visualclx/Form.h"

namespace {

double ScreenDpi(const QWidget* Parent) {
  QScreen* screen = Parent ? Parent->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInch() : 96.0;
}

}  // namespace

TQtFormWindow::TQtFormWindow(TCustomForm& Form, QWidget* Parent)
    : QDialog(Parent), FForm(Form), FScale(Form, ScreenDpi(Parent), QApplication::font()) {
  TUpdateScope mirroring(&FMirroring);
  setFont(FScale.Font());
  setWindowTitle(ToQString(FForm.Caption()));
  FFormObserver = FForm.AddObserver([this](TControl*, TControlChange Change) { FormChanged(Change); });
  AddChildren(&FForm);
  // A label names its focus control, which may have been made after it.
  for (auto& [control, mirror] : FMirrors) mirror->UpdateAll();
  ApplyGeometry();
  ApplyTabOrder();
  ApplyStacking();
  ApplyFocus();
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* Now) { FocusMoved(Now); });
}

TQtFormWindow::~TQtFormWindow() {
  // The widgets go with their mirrors, before QDialog deletes what is left of its children.
  FMirrors.clear();
  if (!FFormGone) FForm.RemoveObserver(FFormObserver);
}

QWidget* TQtFormWindow::WidgetOf(const TControl* Control) const {
  if (Control == &FForm) return const_cast<TQtFormWindow*>(this);
  auto it = FMirrors.find(Control);
  return it == FMirrors.end() ? nullptr : it->second->Widget();
}

TControl* TQtFormWindow::ControlOf(const QWidget* Widget) const {
  for (const QWidget* w = Widget; w; w = w->parentWidget()) {
    if (w == this) return &FForm;
    for (const auto& [control, mirror] : FMirrors)
      if (mirror->Widget() == w) return const_cast<TControl*>(control);
    if (w->isWindow()) break;
  }
  return nullptr;
}

void TQtFormWindow::AddChildren(TWinControl* Window) {
  QWidget* parent = WidgetOf(Window);
  if (!parent) return;
  for (int i = 0; i < Window->ControlCount(); ++i) {
    TControl* control = Window->Controls(i);
    if (FMirrors.contains(control)) continue;
    auto mirror = MakeMirror(*this, *control, parent);
    TControlMirror& made = *mirror;
    FMirrors.emplace(control, std::move(mirror));
    made.UpdateAll();
    if (auto* inner = dynamic_cast<TWinControl*>(control)) AddChildren(inner);
  }
}

void TQtFormWindow::RemoveMirror(const TControl* Control) {
  auto it = FMirrors.find(Control);
  if (it == FMirrors.end()) return;
  // The controls shown inside its widget go with it, also those a window that is being
  // destroyed has already let go of without a word.
  QWidget* widget = it->second->Widget();
  std::vector<const TControl*> inside;
  for (const auto& [control, mirror] : FMirrors)
    if (control != Control && widget && mirror->Widget() && widget->isAncestorOf(mirror->Widget()))
      inside.push_back(control);
  for (const TControl* control : inside) FMirrors.erase(control);
  FMirrors.erase(Control);
}

void TQtFormWindow::ForgetForm() {
  FFormGone = true;
  FMirrors.clear();
  if (FRunning) done(QDialog::Rejected);
}

void TQtFormWindow::ControlChanged(TControl* Control, TControlChange Change) {
  if (FFormGone) return;
  TUpdateScope mirroring(&FMirroring);
  switch (Change) {
    case TControlChange::Destroying:
      RemoveMirror(Control);
      return;
    case TControlChange::Parent:
      // Moved out of its window: a new widget is made wherever it lands on this form.
      RemoveMirror(Control);
      if (Control->Parent()) AddChildren(Control->Parent());
      ApplyTabOrder();
      ApplyStacking();
      return;
    case TControlChange::Children:
      if (auto* window = dynamic_cast<TWinControl*>(Control)) AddChildren(window);
      ApplyTabOrder();
      ApplyStacking();
      return;
    default:
      break;
  }
  if (auto it = FMirrors.find(Control); it != FMirrors.end()) it->second->Update(Change);
  if (Change == TControlChange::Property) ApplyTabOrder();
}

void TQtFormWindow::FormChanged(TControlChange Change) {
  if (FFormGone) return;
  TUpdateScope mirroring(&FMirroring);
  switch (Change) {
    case TControlChange::Destroying:
      ForgetForm();
      break;
    case TControlChange::Children:
      AddChildren(&FForm);
      ApplyTabOrder();
      ApplyStacking();
      break;
    case TControlChange::Caption:
      setWindowTitle(ToQString(FForm.Caption()));
      break;
    case TControlChange::Bounds:
      ApplyGeometry();
      break;
    case TControlChange::ActiveControl:
      ApplyFocus();
      break;
    case TControlChange::Enabled:
      setEnabled(FForm.Enabled());
      break;
    case TControlChange::Property: {
      // PixelsPerInch or the text metrics may have changed: scale everything afresh.
      TFormScale scale(FForm, ScreenDpi(parentWidget()), QApplication::font());
      if (scale.Factor() != FScale.Factor() || scale.Font() != FScale.Font()) {
        FScale = scale;
        setFont(FScale.Font());
        ApplyGeometry();
      }
      ApplyTabOrder();
      break;
    }
    default:
      break;  // the form's visibility is the modal run's, its colour the style's
  }
}

void TQtFormWindow::ApplyGeometry() {
  setFixedSize(FScale.Map(FForm.Width()), FScale.Map(FForm.Height()));
  for (auto& [control, mirror] : FMirrors) mirror->UpdateGeometry();
}

void TQtFormWindow::ApplyTabOrder() {
  // Each window's controls in focus order; Qt chains them window by window.
  std::vector<TWinControl*> windows{&FForm};
  for (auto& [control, mirror] : FMirrors)
    if (auto* window = dynamic_cast<TWinControl*>(const_cast<TControl*>(control))) windows.push_back(window);
  for (TWinControl* window : windows) {
    std::vector<TWinControl*> order;
    for (int i = 0; i < window->ControlCount(); ++i)
      if (auto* w = dynamic_cast<TWinControl*>(window->Controls(i)); w && WidgetOf(w)) order.push_back(w);
    std::stable_sort(order.begin(), order.end(),
                     [](const TWinControl* a, const TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(WidgetOf(order[i]), WidgetOf(order[i + 1]));
  }
}

void TQtFormWindow::ApplyStacking() {
  // Labels and bevels are drawn on their window, beneath every control that is a window of its
  // own; among themselves the one made first lies lowest.
  std::vector<const TControl*> graphic;
  for (auto& [control, mirror] : FMirrors)
    if (!dynamic_cast<const TWinControl*>(control)) graphic.push_back(control);
  std::sort(graphic.begin(), graphic.end(),
            [](const TControl* a, const TControl* b) { return a->CreationOrder() > b->CreationOrder(); });
  for (const TControl* control : graphic) WidgetOf(control)->lower();
}

void TQtFormWindow::ApplyFocus() {
  QWidget* target = WidgetOf(FForm.ActiveControl());
  if (target && target != this && target->focusPolicy() != Qt::NoFocus) target->setFocus(Qt::OtherFocusReason);
}

void TQtFormWindow::FocusMoved(QWidget* Now) {
  if (FFormGone || Mirroring() || !Now || Now->window() != this) return;
  auto* control = dynamic_cast<TWinControl*>(ControlOf(Now));
  if (!control || control == &FForm || control == FForm.ActiveControl()) return;
  // Tab, a label's accelerator or a click moved the focus: the form's active control follows.
  UserAction([&] {
    if (control->CanFocus()) FForm.SetActiveControl(control);
  });
}

void TQtFormWindow::UserAction(const std::function<void()>& Action) {
  if (FFormGone || FError) return;
  try {
    Action();
  } catch (...) {
    FError = std::current_exception();
  }
  if (FRunning && !FFormGone && (FError || FForm.ModalResult() != mrNone)) done(FForm.ModalResult());
}

void TQtFormWindow::RunModal() {
  FError = nullptr;
  FRunning = true;
  if (FForm.ModalResult() == mrNone) exec();
  FRunning = false;
  hide();
  if (FError) std::rethrow_exception(std::exchange(FError, nullptr));
}

void TQtFormWindow::showEvent(QShowEvent* Event) {
  QDialog::showEvent(Event);
  // A modal window takes the keyboard when it opens, then the form's active control has it.
  activateWindow();
  TUpdateScope mirroring(&FMirroring);
  ApplyFocus();
}

void TQtFormWindow::keyPressEvent(QKeyEvent* Event) {
  // The dialog keys go to the model's default and cancel buttons, whichever widget has the focus.
  int key = Event->key();
  bool plain = (Event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && key == Qt::Key_F1) {
    // Help on the form's own help context, asked of the application as its Help button does.
    UserAction([&] { Application()->ShowHelp(FForm.HelpContext()); });
    Event->accept();
    return;
  }
  if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
    TDialogKey dialogKey = key == Qt::Key_Escape ? TDialogKey::Escape : TDialogKey::Enter;
    UserAction([&] { FForm.UserKey(dialogKey); });
    Event->accept();
    return;
  }
  // Not QDialog's: it would close the window or press a default button behind the model's back.
  QWidget::keyPressEvent(Event);  // NOLINT(bugprone-parent-virtual-call)
}

void TQtFormWindow::closeEvent(QCloseEvent* Event) {
  if (!FRunning) {
    Event->accept();
    return;
  }
  // The title bar's close button: the form decides, and stays open unless it ends its run.
  Event->ignore();
  UserAction([&] { FForm.UserClose(); });
}

void TQtFormWindow::reject() {
  if (FRunning) UserAction([&] { FForm.UserClose(); });
}
