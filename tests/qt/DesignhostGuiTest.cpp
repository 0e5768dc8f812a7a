// designhost's windows end to end: the design window rendered to a picture, the pictures of a
// scripted edit, and the clear refusal to show windows where there is no display.
#include <QImage>
#include <cctype>

#include "tests/qt/QtTestSupport.h"
#include "tests/support/Process.h"

namespace {

using namespace qttest;
namespace fs = std::filesystem;

// designhost with no display in its environment, or with the settings Environment gives.
TProcessResult Designhost(const std::vector<std::string>& Args, const fs::path& Dir,
                          std::vector<std::string> Environment = {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY"}) {
  std::vector<std::string> args = std::move(Environment);
  args.push_back(TIRVENDAL_BIN_DIR "/designhost");
  args.insert(args.end(), Args.begin(), Args.end());
  return RunProgram("/usr/bin/env", args, Dir);
}

struct DesignhostWindows : ::testing::Test {
  TTempDir Dir;
  void SetUp() override {
    App();
    ASSERT_EQ(Designhost({"new-demo", "demo"}, Dir.Path()).Status, 0);
  }
};

TEST_F(DesignhostWindows, TheDesignWindowRendersToAPictureWithoutADisplay) {
  // The picture's relative path is taken from where designhost was started, not the form's folder.
  TProcessResult result = Designhost({"gui", "demo/demo.xfm", "--screenshot", "window.png"}, Dir.Path());
  ASSERT_EQ(result.Status, 0) << result.Err;
  QImage picture(QString::fromStdString((Dir / "window.png").string()));
  ASSERT_FALSE(picture.isNull());
  EXPECT_GT(picture.width(), 400);
  EXPECT_GT(ColourCount(picture), 32u);
  EXPECT_FALSE(fs::exists(Dir / "demo" / "window.png"));
  // --select chooses what the inspector shows; a name that is no component is wrong usage.
  result = Designhost({"gui", "demo/demo.xfm", "--select", "Orders", "--screenshot", "orders.png"}, Dir.Path());
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_NE(QImage(QString::fromStdString((Dir / "orders.png").string())), picture);
  result = Designhost({"gui", "demo/demo.xfm", "--select", "Nobody", "--screenshot", "nobody.png"}, Dir.Path());
  EXPECT_EQ(result.Status, 2);
  EXPECT_NE(result.Err.find("no component 'Nobody'"), std::string::npos) << result.Err;
  EXPECT_FALSE(fs::exists(Dir / "nobody.png"));
  // --expand opens the structure rows (the picture differs); a row the
  // selection has not is wrong usage.
  result = Designhost({"gui", "demo/demo.xfm", "--select", "Orders", "--expand", "FieldDefs, IndexDefs", "--screenshot",
                       "structure.png"},
                      Dir.Path());
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_NE(QImage(QString::fromStdString((Dir / "structure.png").string())),
            QImage(QString::fromStdString((Dir / "orders.png").string())));
  result = Designhost({"gui", "demo/demo.xfm", "--select", "Orders", "--expand", "Fields", "--screenshot", "no.png"},
                      Dir.Path());
  EXPECT_EQ(result.Status, 2);
  EXPECT_NE(result.Err.find("no inspector row 'Fields'"), std::string::npos) << result.Err;
  // --help-topic pictures the help window, opened with no other window in front; a topic is
  // named as gui's help lists them, a name near one is answered with it, another with them all.
  result =
      Designhost({"gui", "demo/demo.xfm", "--help-topic", "fieldlinkdesigner", "--screenshot", "help.png"}, Dir.Path());
  ASSERT_EQ(result.Status, 0) << result.Err;
  result = Designhost({"gui", "demo/demo.xfm", "--help-topic", "IndexNam", "--screenshot", "no.png"}, Dir.Path());
  EXPECT_EQ(result.Status, 2);
  EXPECT_EQ(result.Err.rfind("designhost gui: no help topic 'IndexNam'; did you mean 'IndexName'?\n", 0), 0u)
      << result.Err;
  result = Designhost({"gui", "demo/demo.xfm", "--help-topic", "abc", "--screenshot", "no.png"}, Dir.Path());
  EXPECT_EQ(result.Status, 2);
  const std::string listed = result.Err.substr(0, result.Err.find('\n'));
  ASSERT_EQ(listed.rfind("designhost gui: no help topic 'abc'; the topics are ", 0), 0u) << result.Err;
  std::string guiHelp;  // the help's words, one blank between them
  for (char c : Designhost({"gui", "--help"}, Dir.Path()).Out)
    if (!std::isspace(static_cast<unsigned char>(c)) || (!guiHelp.empty() && guiHelp.back() != ' '))
      guiHelp += std::isspace(static_cast<unsigned char>(c)) ? ' ' : c;
  std::string names = listed.substr(listed.find("are ") + 4);
  EXPECT_NE(guiHelp.find(names), std::string::npos) << names << "\n" << guiHelp;
  EXPECT_FALSE(fs::exists(Dir / "no.png"));
  QImage help(QString::fromStdString((Dir / "help.png").string()));
  EXPECT_FALSE(help.isNull());
  EXPECT_NE(help.size(), picture.size());

  WriteFile(Dir / "broken.xfm", "object X: TDataModule\n  Bogus = 1\nend\n");
  result = Designhost({"gui", "broken.xfm", "--screenshot", "broken.png"}, Dir.Path());
  EXPECT_EQ(result.Status, 1);
  EXPECT_NE(result.Err.find("broken.xfm:2: error: EFormError: "), std::string::npos) << result.Err;
}

TEST_F(DesignhostWindows, WithoutADisplayTheWindowsAskForOneOrAScript) {
  std::string form = ReadFile(Dir / "demo" / "demo.xfm");
  TProcessResult result = Designhost({"gui", "demo/demo.xfm"}, Dir.Path());
  EXPECT_EQ(result.Status, 2);
  EXPECT_NE(result.Err.find("needs a display"), std::string::npos) << result.Err;
  result = Designhost({"edit", "demo/demo.xfm", "Orders.MasterFields"}, Dir.Path());
  EXPECT_EQ(result.Status, 2);
  EXPECT_NE(result.Err.find("needs a display"), std::string::npos) << result.Err;
  EXPECT_NE(result.Err.find("--script"), std::string::npos) << result.Err;
  EXPECT_EQ(result.Out, "");
  EXPECT_EQ(ReadFile(Dir / "demo" / "demo.xfm"), form);
  // A display that cannot be reached is refused as clearly, without Qt aborting the program.
  result = Designhost({"gui", "demo/demo.xfm"}, Dir.Path(),
                      {"-u", "QT_QPA_PLATFORM", "-u", "WAYLAND_DISPLAY", "DISPLAY=:4711"});
  EXPECT_EQ(result.Status, 2);
  EXPECT_NE(result.Err.find("cannot open the display ':4711'"), std::string::npos) << result.Err;
}

TEST_F(DesignhostWindows, AScriptedEditIsPicturedStepByStep) {
  WriteFile(Dir / "link.txt",
            "select IndexList ByCustNo\n# the join\nselect DetailList CustNo\nselect MasterList CustNo\n"
            "click AddButton\nclick Button1\n");
  TProcessResult result = Designhost(
      {"edit", "demo/demo.xfm", "Orders.MasterFields", "--script", "link.txt", "--screenshot", "shots"}, Dir.Path());
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_NE(result.Out.find("\"Orders.MasterFields\":\"CustNo\""), std::string::npos) << result.Out;
  std::vector<std::string> files = ListDir(Dir / "shots");
  // Opening, then after each of the four actions that leave the designer open, named after
  // the script's lines (the comment is line 2).
  EXPECT_EQ(files, (std::vector<std::string>{"001-form-QVRLinkFields.png", "002-line1-form-QVRLinkFields.png",
                                             "003-line3-form-QVRLinkFields.png", "004-line4-form-QVRLinkFields.png",
                                             "005-line5-form-QVRLinkFields.png"}));
  for (const std::string& file : files)
    EXPECT_GT(ColourCount(QImage(QString::fromStdString((Dir / "shots" / file).string()))), 16u) << file;

  // Pictures need a script to picture.
  result = Designhost({"edit", "demo/demo.xfm", "Orders.MasterFields", "--screenshot", "more"}, Dir.Path());
  EXPECT_EQ(result.Status, 2);
  EXPECT_FALSE(fs::exists(Dir / "more"));
}

}  // namespace
