// A person's clicks and keys on the Qt window of the Field Link Designer give the model the
// same states, and the field link the same writes, as the scripted user doing the same.
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QTest>
#include <nlohmann/json.hpp>
#include <sstream>

#include "host/qt/FormWindow.h"
#include "host/qt/QtWidgetSet.h"
#include "host/visualclx/ScriptedUser.h"
#include "host/visualclx/WindowJson.h"
#include "tests/qt/LinkFixture.h"
#include "tests/qt/QtTestSupport.h"

namespace {

using namespace qttest;
using json = nlohmann::json;
using Strings = std::vector<std::string>;

// Runs the designer under Script; the JSON lines the script's dumps printed.
std::vector<json> RunScript(TLinkSetup& Setup, const std::string& Script, bool& Result) {
  std::ostringstream out;
  TScriptedUser user(Script, out);
  TWidgetSetScope scope(user);
  Result = Setup.Run();
  user.CheckFinished();
  std::vector<json> lines;
  std::istringstream in(out.str());
  for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
  return lines;
}

// The designer window on top, while the person acts.
TQtFormWindow& Designer() {
  auto* window = dynamic_cast<TQtFormWindow*>(ModalWindow());
  if (!window) throw std::runtime_error("the designer is not on top");
  return *window;
}

template <class T>
T* WidgetOf(const std::string& Name) {
  return static_cast<T*>(Designer().WidgetOf(Designer().Form().FindControl(Name)));
}

void ClickItem(const std::string& List, const std::string& Text, Qt::KeyboardModifiers Modifiers = {}) {
  auto* list = WidgetOf<QListWidget>(List);
  QList<QListWidgetItem*> found = list->findItems(QString::fromStdString(Text), Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << Text;
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Modifiers, list->visualItemRect(found.first()).center());
}

void ClickRow(const std::string& List, int Row, Qt::KeyboardModifiers Modifiers = {}) {
  auto* list = WidgetOf<QListWidget>(List);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Modifiers, list->visualItemRect(list->item(Row)).center());
}

void ClickButton(const std::string& Name) { QTest::mouseClick(WidgetOf<QPushButton>(Name), Qt::LeftButton); }

// The key goes where the keyboard is: the focused widget of the window.
void PressKey(Qt::Key Key, Qt::KeyboardModifiers Modifiers = {}) {
  QWidget* target = Designer().focusWidget();
  QTest::keyClick(target ? target : &Designer(), Key, Modifiers);
}

TEST(Person, ClicksAndKeysGiveTheSameStatesAsTheScriptedUser) {
  App();
  const std::string script =
      "select IndexList ByF2\ndump\n"
      "select IndexList ByF\ndump\n"
      "select DetailList F1\nselect MasterList M2\ndump\n"
      "click AddButton\ndump\n"
      "select DetailList F2\nselect MasterList M3\nclick AddButton\ndump\n"
      "toggle BindList #0\ntoggle BindList #1\ndump\n"
      "toggle BindList #0\ndump\n"
      "click DeleteButton\ndump\n"
      "key enter\n";
  TLinkSetup scripted;
  bool scriptResult = false;
  std::vector<json> expected = RunScript(scripted, script, scriptResult);
  ASSERT_TRUE(scriptResult);

  TLinkSetup person;
  std::vector<json> dumps;
  auto dump = [&] { dumps.push_back(json::parse(FormJson(Designer().Form()))); };
  TPerson steps;
  steps
      .Then([&] {
        // A click in the opened list of the index box.
        auto* combo = WidgetOf<QComboBox>("IndexList");
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        QModelIndex byF2 = view->model()->index(combo->findText("ByF2"), 0);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(byF2).center());
        dump();
      })
      .Then([&] {
        // The keyboard in the opened list: up to ByF, Enter.
        auto* combo = WidgetOf<QComboBox>("IndexList");
        combo->showPopup();
        QTest::keyClick(combo->view(), Qt::Key_Up);
        QTest::keyClick(combo->view(), Qt::Key_Return);
        dump();
      })
      .Then([&] {
        ClickItem("DetailList", "F1");
        ClickItem("MasterList", "M2");
        dump();
      })
      .Then([&] {
        ClickButton("AddButton");
        dump();
      })
      .Then([&] {
        ClickItem("DetailList", "F2");
        ClickItem("MasterList", "M3");
        // Add from the keyboard: the focus on the button, Space.
        auto* add = WidgetOf<QPushButton>("AddButton");
        add->setFocus();
        QTest::keyClick(add, Qt::Key_Space);
        dump();
      })
      .Then([&] {
        ClickRow("BindList", 0, Qt::ControlModifier);
        ClickRow("BindList", 1, Qt::ControlModifier);
        dump();
      })
      .Then([&] {
        ClickRow("BindList", 0, Qt::ControlModifier);
        dump();
      })
      .Then([&] {
        ClickButton("DeleteButton");
        dump();
      })
      .Then([&] { PressKey(Qt::Key_Return); });
  TQtWidgetSet widgets;
  TWidgetSetScope scope(widgets);
  steps.Start();
  ASSERT_TRUE(person.Run());
  EXPECT_TRUE(steps.Done());

  ASSERT_EQ(dumps.size(), expected.size());
  for (size_t i = 0; i < dumps.size(); ++i) {
    // Control by control, so a difference reads.
    EXPECT_EQ(dumps[i]["activeControl"], expected[i]["activeControl"]) << "dump " << i;
    for (size_t c = 0; c < expected[i]["controls"].size(); ++c)
      EXPECT_EQ(dumps[i]["controls"][c], expected[i]["controls"][c]) << "dump " << i;
  }
  EXPECT_EQ(person.Link.Calls, scripted.Link.Calls);
  EXPECT_EQ(person.Link.MasterFields, "M2");
}

TEST(Person, EscapeAndTheTitleBarCancelLikeTheScriptedUser) {
  App();
  for (bool escape : {true, false}) {
    SCOPED_TRACE(escape ? "escape" : "close");
    TLinkSetup scripted;
    bool scriptResult = true;
    RunScript(scripted, escape ? "select IndexList ByF2\nkey escape\n" : "select IndexList ByF2\nclose\n",
              scriptResult);
    EXPECT_FALSE(scriptResult);

    TLinkSetup person;
    TPerson steps;
    steps
        .Then([&] {
          // Browsing with the arrow key in the closed box chooses as the script's select does.
          auto* combo = WidgetOf<QComboBox>("IndexList");
          combo->setFocus();
          QTest::keyClick(combo, Qt::Key_Down);
        })
        .Then([&] {
          if (escape)
            PressKey(Qt::Key_Escape);
          else
            Designer().close();
        });
    TQtWidgetSet widgets;
    TWidgetSetScope scope(widgets);
    steps.Start();
    EXPECT_FALSE(person.Run());
    EXPECT_EQ(person.Link.Calls, scripted.Link.Calls);
    EXPECT_EQ(person.Link.MasterFields, "M1");
  }
}

TEST(Person, TheRefusalShowsAMessageBoxAndTheDesignerStaysOpen) {
  App();
  TLinkSetup person;
  person.Link.IndexFieldNames.clear();
  person.Link.MasterFields.clear();
  std::string message;
  TPerson steps;
  steps
      .Then([&] {
        // F2 joined without F1: a gap in the index ByF.
        ClickItem("DetailList", "F2");
        ClickItem("MasterList", "M2");
        ClickButton("AddButton");
      })
      .Opening([&] { ClickButton("Button1"); })
      .Then([&] {
        auto* box = qobject_cast<QMessageBox*>(ModalWindow());
        ASSERT_NE(box, nullptr);
        message = box->text().toStdString();
        QTest::keyClick(box, Qt::Key_Return);  // the box's default button, OK
      })
      .Then([&] {
        EXPECT_NE(dynamic_cast<TQtFormWindow*>(ModalWindow()), nullptr) << "the designer stays open";
        ClickButton("Button2");
      });
  TQtWidgetSet widgets;
  TWidgetSetScope scope(widgets);
  steps.Start();
  EXPECT_FALSE(person.Run());
  EXPECT_EQ(message, "Field F1, from the Detail Fields list, must be linked");
  EXPECT_EQ(person.Link.MasterFields, "");
}

TEST(Person, TabMovesTheFocusAndTheActiveControlFollows) {
  App();
  TLinkSetup person;
  std::vector<std::string> active;
  auto activeName = [] {
    TWinControl* control = Designer().Form().ActiveControl();
    return control ? control->Name() : std::string("none");
  };
  TPerson steps;
  steps
      .Then([&] {
        active.push_back(activeName());
        PressKey(Qt::Key_Tab);
        active.push_back(activeName());
        PressKey(Qt::Key_Tab);
        active.push_back(activeName());
        PressKey(Qt::Key_Backtab);
        active.push_back(activeName());
      })
      .Then([&] { ClickButton("Button2"); });
  TQtWidgetSet widgets;
  TWidgetSetScope scope(widgets);
  steps.Start();
  EXPECT_FALSE(person.Run());
  // The tab order: IndexList, DetailList, MasterList, ...
  EXPECT_EQ(active, (Strings{"IndexList", "DetailList", "MasterList", "DetailList"}));
}

// An error raised by the form's code during a person's action ends the run and reaches the
// caller of ShowModal, as it would from the scripted user.
TEST(Person, AnErrorInAHandlerEndsTheRunAndReachesTheCaller) {
  App();
  TKindsForm kinds;
  kinds.Ok->OnClick.Code = [](TObject*) { throw EInvalidOperation("the handler failed"); };
  TPerson steps;
  steps.Then(
      [&] { QTest::mouseClick(static_cast<TQtFormWindow*>(ModalWindow())->WidgetOf(kinds.Ok), Qt::LeftButton); });
  TQtWidgetSet widgets;
  TWidgetSetScope scope(widgets);
  steps.Start();
  EXPECT_THROW(kinds.Form->ShowModal(), EInvalidOperation);
  EXPECT_FALSE(kinds.Form->Modal());
  EXPECT_EQ(ModalWindow(), nullptr);
}

}  // namespace
