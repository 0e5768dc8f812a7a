// What the Qt tests share: the offscreen application, a person who acts on modal windows from
// inside their event loops, a form with a control of every kind, and a widget set that records
// the message boxes it is asked to show.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QTimer>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/qt/QtApplication.h"
#include "host/visualclx/ExtCtrls.h"
#include "host/visualclx/Forms.h"
#include "host/visualclx/MessageDlg.h"
#include "host/visualclx/StdCtrls.h"
#include "host/visualclx/VisualClasses.h"
#include "host/visualclx/WidgetSet.h"

namespace qttest {

// The offscreen application, made by the first test that needs it and destroyed when the
// tests are over, before the process exits (see QtApplication).
class TQtEnvironment : public ::testing::Environment {
 public:
  static QApplication& Application() {
    static auto* environment =
        static_cast<TQtEnvironment*>(::testing::AddGlobalTestEnvironment(new TQtEnvironment));  // gtest owns it
    if (!environment->FApplication) environment->FApplication = QtApplication(TQtPlatform::Offscreen);
    return *environment->FApplication;
  }
  void TearDown() override { FApplication.reset(); }

 private:
  std::shared_ptr<QApplication> FApplication;
};

inline QApplication& App() { return TQtEnvironment::Application(); }

// Steps a person takes, each run from the event loop that is running when its turn comes. A
// step that opens a modal window is marked Opening: the next step then runs inside that
// window's loop.
class TPerson {
 public:
  TPerson& Then(std::function<void()> Step) {
    FSteps.push_back({std::move(Step), false});
    return *this;
  }
  TPerson& Opening(std::function<void()> Step) {
    FSteps.push_back({std::move(Step), true});
    return *this;
  }
  // The first step runs once an event loop runs (the modal run the test starts next).
  void Start() {
    QTimer::singleShot(0, &FContext, [this] { RunNext(); });
  }
  bool Done() const { return FSteps.empty(); }

 private:
  struct TStep {
    std::function<void()> Run;
    bool Opening;
  };
  void RunNext() {
    if (FSteps.empty()) return;
    // A person acts on the window in front, which has the keyboard once the platform says so.
    QWidget* front = QApplication::activeModalWidget();
    if (front && !front->isActiveWindow() && ++FWaits < 100) {
      front->activateWindow();
      QTimer::singleShot(5, &FContext, [this] { RunNext(); });
      return;
    }
    FWaits = 0;
    TStep step = std::move(FSteps.front());
    FSteps.pop_front();
    if (step.Opening) QTimer::singleShot(0, &FContext, [this] { RunNext(); });
    // An error must not pass through Qt's event loop: it is the test's failure, and the person
    // gives up, closing the modal windows so the run the test started returns.
    try {
      step.Run();
    } catch (const std::exception& e) {
      GiveUp(e.what());
      return;
    } catch (...) {
      GiveUp("an unknown exception");
      return;
    }
    if (!step.Opening) QTimer::singleShot(0, &FContext, [this] { RunNext(); });
  }
  void GiveUp(const std::string& Error) {
    ADD_FAILURE() << "a step of the person failed: " << Error;
    FSteps.clear();
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isModal() && window->isVisible()) window->close();
  }
  std::deque<TStep> FSteps;
  QObject FContext;  // the steps still queued go with the person
  int FWaits = 0;
};

// The window on top of the modal ones.
inline QWidget* ModalWindow() { return QApplication::activeModalWidget(); }

// The number of different colours in Image.
inline size_t ColourCount(const QImage& Image) {
  std::set<QRgb> colours;
  for (int y = 0; y < Image.height(); ++y)
    for (int x = 0; x < Image.width(); ++x) colours.insert(Image.pixel(x, y));
  return colours.size();
}

inline std::vector<std::string> Texts(const QListWidget* List) {
  std::vector<std::string> texts;
  for (int i = 0; i < List->count(); ++i) texts.push_back(List->item(i)->text().toStdString());
  return texts;
}

// A form made in code with one control of every kind the Qt widget set shows.
struct TKindsForm {
  TKindsForm() : Form(CreateForm<TForm>()) {
    RegisterVisualClasses();
    Form->SetName("Kinds");
    Form->SetCaption("Kinds of controls");
    Form->SetBounds(10, 10, 400, 300);
    Form->SetPixelsPerInch(96);
    Form->SetTextHeight(16);
    Form->SetTextWidth(7);
    Bevel = Make<TBevel>("Frame", 4, 4, 392, 200);
    Bevel->SetShape(bsFrame);
    Label = Make<TLabel>("ListLabel", 8, 8, 80, 20);
    Label->SetCaption("&Fields");
    List = Make<TListBox>("List", 8, 30, 150, 120);
    List->SetMultiSelect(true);
    Combo = Make<TComboBox>("Combo", 170, 30, 150, 26);
    Combo->SetStyle(csDropDownList);
    Ok = Make<TButton>("Ok", 170, 100, 75, 25);
    Ok->SetCaption("OK");
    Ok->SetDefault(true);
    Ok->SetModalResult(mrOk);
    Cancel = Make<TButton>("Cancel", 250, 100, 75, 25);
    Cancel->SetCaption("Cancel");
    Cancel->SetCancel(true);
    Cancel->SetModalResult(mrCancel);
    Label->SetFocusControl(List);
  }

  template <class T>
  T* Make(const std::string& Name, int Left, int Top, int Width, int Height) {
    T* control = new T(Form.get());  // owned by the form
    control->SetName(Name);
    control->SetBounds(Left, Top, Width, Height);
    control->SetParent(Form.get());
    return control;
  }

  TFormPtr<TForm> Form;
  TBevel* Bevel;
  TLabel* Label;
  TListBox* List;
  TComboBox* Combo;
  TButton* Ok;
  TButton* Cancel;
};

// Answers every message box with the button Answer (when shown) and records the boxes.
class TRecordingWidgetSet : public TWidgetSet {
 public:
  explicit TRecordingWidgetSet(TModalResult Answer = mrOk) : FAnswer(Answer) {}
  void RunModal(TCustomForm& Form) override { throw ENoUserError("no form expected: " + Form.Name()); }
  TModalResult MessageBox(const TMessageBox& Box) override {
    Boxes.push_back(Box);
    return FAnswer;
  }
  bool ExecuteOpenDialog(TOpenDialog&) override { throw ENoUserError("no open-file dialog expected"); }

  std::vector<TMessageBox> Boxes;

 private:
  TModalResult FAnswer;
};

}  // namespace qttest
