// Message boxes and the open-file dialog in Qt: the buttons a person presses give the modal
// results the model's boxes answer; the open-file dialog lets the model judge the path.
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QTest>

#include "host/qt/MessageBox.h"
#include "host/qt/OpenFileDialog.h"
#include "host/qt/QtWidgetSet.h"
#include "host/visualclx/OpenDialog.h"
#include "tests/qt/QtTestSupport.h"
#include "tests/support/Process.h"

namespace {

using namespace qttest;
namespace fs = std::filesystem;

QMessageBox& Box() {
  auto* box = qobject_cast<QMessageBox*>(ModalWindow());
  if (!box) throw std::runtime_error("no message box on top");
  return *box;
}

QAbstractButton* ButtonCaptioned(const QString& Caption) {
  for (QAbstractButton* button : Box().buttons())
    if (button->text() == Caption) return button;
  throw std::runtime_error("no button " + Caption.toStdString());
}

struct MessageBoxes : ::testing::Test {
  QApplication& Application = App();
  TQtWidgetSet Widgets;
  TWidgetSetScope Scope{Widgets};
  TPerson Person;

  TModalResult Ask(TMsgDlgType Type, TMsgDlgButtons Buttons) {
    Person.Start();
    TModalResult result = MessageDlg("Save changes?", Type, Buttons, 0);
    EXPECT_TRUE(Person.Done());
    return result;
  }
};

TEST_F(MessageBoxes, ShowTheTextAndTheButtonsInTheModelsOrder) {
  QStringList captions;
  QString text;
  Person.Then([&] {
    text = Box().text();
    for (TMsgDlgBtn b : TMessageBox{"", mtConfirmation, mbYesNoCancel, 0}.ButtonList())
      captions << ButtonCaptioned(MsgDlgBtnCaption(b))->text();
    EXPECT_EQ(Box().icon(), QMessageBox::Question);
    EXPECT_EQ(Box().defaultButton(), ButtonCaptioned("Yes"));
    ButtonCaptioned("No")->click();
  });
  EXPECT_EQ(Ask(mtConfirmation, mbYesNoCancel), mrNo);
  EXPECT_EQ(text, "Save changes?");
  EXPECT_EQ(captions, (QStringList{"Yes", "No", "Cancel"}));
}

TEST_F(MessageBoxes, EnterPressesTheDefaultAndEscapeTheCancelButton) {
  Person.Then([&] { QTest::keyClick(&Box(), Qt::Key_Return); });
  EXPECT_EQ(Ask(mtConfirmation, mbYesNoCancel), mrYes);
  Person.Then([&] { QTest::keyClick(&Box(), Qt::Key_Escape); });
  EXPECT_EQ(Ask(mtConfirmation, mbYesNoCancel), mrCancel);
  // Without Cancel, Escape is No.
  Person.Then([&] { QTest::keyClick(&Box(), Qt::Key_Escape); });
  EXPECT_EQ(Ask(mtConfirmation, {mbYes, mbNo}), mrNo);
  // Abort, Retry, Ignore: the model's box has no cancel button, so Escape leaves it open.
  Person.Then([&] { QTest::keyClick(&Box(), Qt::Key_Escape); }).Then([&] { ButtonCaptioned("Ignore")->click(); });
  EXPECT_EQ(Ask(mtWarning, mbAbortRetryIgnore), mrIgnore);
  // The title bar's close button cancels.
  Person.Then([&] { Box().close(); });
  EXPECT_EQ(Ask(mtError, {mbOK}), mrCancel);
}

TEST_F(MessageBoxes, HelpLeavesTheBoxOpen) {
  int shown = 0;
  Person
      .Then([&] {
        ++shown;
        ButtonCaptioned("Help")->click();
      })
      .Then([&] {
        ++shown;
        ButtonCaptioned("OK")->click();
      });
  EXPECT_EQ(Ask(mtInformation, {mbOK, mbHelp}), mrOk);
  EXPECT_EQ(shown, 2);
}

TEST(QtNameFilters, TurnThePlatformsFilterIntoQtsForm) {
  EXPECT_EQ(QtNameFilters("Tirvendal database (*.tvd)|*.tvd|Any files (*.*)|*.*"),
            "Tirvendal database (*.tvd);;Any files (*)");
  // Patterns missing from the description are added; several are separated by blanks.
  EXPECT_EQ(QtNameFilters("Forms|*.xfm;*.dfm|Texts (text files)|*.txt"), "Forms (*.xfm *.dfm);;Texts (*.txt)");
  EXPECT_EQ(QtNameFilters("Odd|"), "Odd (*)");
  EXPECT_EQ(QtNameFilters(""), "");
}

struct OpenFile : ::testing::Test {
  QApplication& Application = App();
  TQtWidgetSet Widgets;
  TWidgetSetScope Scope{Widgets};
  TPerson Person;
  TTempDir Dir;
  TOpenDialog Dialog{nullptr};

  void SetUp() override {
    WriteFile(Dir / "demo.tvd", "");
    fs::create_directory(Dir / "sub");
    Dialog.SetFilter("Tirvendal database (*.tvd)|*.tvd|Any files (*.*)|*.*");
    Dialog.SetDefaultExt("tvd");
    Dialog.SetOptions({ofFileMustExist, ofEnableSizing});
    Dialog.SetInitialDir(Dir.Path().string());
  }
  static QFileDialog& FileDialog() {
    auto* dialog = qobject_cast<QFileDialog*>(ModalWindow());
    if (!dialog) throw std::runtime_error("no file dialog on top");
    return *dialog;
  }
  // Types Path into the file name field and presses Enter.
  static void Type(const QString& Path) {
    auto* field = FileDialog().findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(field, nullptr);
    field->setText(Path);
    QTest::keyClick(field, Qt::Key_Return);
  }
};

TEST_F(OpenFile, AnExistingFileIsAcceptedWithTheDefaultExtension) {
  Person.Then([&] {
    QFileDialog& dialog = FileDialog();
    EXPECT_EQ(dialog.nameFilters(), (QStringList{"Tirvendal database (*.tvd)", "Any files (*)"}));
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(fs::path(dialog.directory().absolutePath().toStdString()), Dir.Path());
    Type("demo");
  });
  Person.Start();
  ASSERT_TRUE(Dialog.Execute());
  EXPECT_EQ(fs::path(Utf16ToUtf8(Dialog.FileName())), Dir / "demo.tvd");
}

TEST_F(OpenFile, AMissingFileIsRefusedAndTheDialogStaysOpen) {
  Dialog.SetFileName(u"before.tvd");
  QString warning;
  // Qt's Open button stays disabled for a missing file; the model refuses it as well.
  Person
      .Opening([&] {
        auto& dialog = static_cast<TQtOpenFileDialog&>(FileDialog());
        EXPECT_FALSE(dialog.AcceptPath(QString::fromStdString((Dir / "missing.tvd").string())));
      })
      .Then([&] {
        auto* box = qobject_cast<QMessageBox*>(ModalWindow());
        ASSERT_NE(box, nullptr);
        warning = box->text();
        box->accept();
      })
      .Then([&] {
        // Still open: a folder opens instead of being accepted, then the person cancels.
        Type(QString::fromStdString((Dir / "sub").string()));
        EXPECT_EQ(fs::path(FileDialog().directory().absolutePath().toStdString()), Dir / "sub");
        FileDialog().reject();
      });
  Person.Start();
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_TRUE(warning.contains("File not found")) << warning.toStdString();
  EXPECT_EQ(Dialog.FileName(), u"before.tvd");
}

}  // namespace
