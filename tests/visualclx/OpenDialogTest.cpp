// The open-file dialog: what it accepts, what it refuses and keeps open for, and how the
// scripted user answers it.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "host/visualclx/Application.h"
#include "host/visualclx/OpenDialog.h"
#include "host/visualclx/ScriptedUser.h"
#include "host/visualclx/WindowJson.h"
#include "tests/support/Process.h"

namespace {

namespace fs = std::filesystem;

// Works in a fresh folder holding demo.tvd and the folder sub/; the working directory is
// restored afterwards.
struct OpenDialogTest : ::testing::Test {
  fs::path Previous = fs::current_path();
  TTempDir Folder;
  std::ostringstream Out;

  void SetUp() override {
    fs::create_directories(Folder / "sub");
    WriteFile(Folder / "demo.tvd", "x");
    fs::current_path(Folder.Path());
  }
  void TearDown() override { fs::current_path(Previous); }
  std::string Path(const std::string& name) const { return (Folder / name).string(); }
};

TEST_F(OpenDialogTest, DefaultsAndSettings) {
  TOpenDialog dialog(Application());
  EXPECT_EQ(dialog.Owner(), Application());
  EXPECT_FALSE(dialog.Options().Empty());
  EXPECT_EQ(TOpenOptions{ofFileMustExist}.Value(), 0x40u);
  dialog.SetOptions({ofFileMustExist});
  dialog.SetDefaultExt(".tvd");
  dialog.SetFilter("Tirvendal database (*.tvd)|*.tvd|Any files (*.*)|*.*");
  EXPECT_EQ(dialog.FilterEntries(), (std::vector<std::pair<std::string, std::string>>{
                                        {"Tirvendal database (*.tvd)", "*.tvd"}, {"Any files (*.*)", "*.*"}}));
  EXPECT_EQ(OpenDialogJson(dialog),
            R"({"window":"open-file","filter":"Tirvendal database (*.tvd)|*.tvd|Any files (*.*)|*.*",)"
            R"("defaultExt":".tvd","options":["ofFileMustExist"],"fileName":""})");
}

TEST_F(OpenDialogTest, AcceptsExistingFilesAndRefusesMissingOnes) {
  TOpenDialog dialog(nullptr);
  dialog.SetOptions({ofFileMustExist});
  EXPECT_EQ(dialog.UserAccept("missing.tvd"), TFileAcceptance::FileNotFound);
  EXPECT_EQ(dialog.UserAccept("sub"), TFileAcceptance::IsFolder);
  EXPECT_EQ(dialog.UserAccept("sub/"), TFileAcceptance::IsFolder);
  EXPECT_TRUE(dialog.FileName().empty());
  EXPECT_EQ(dialog.UserAccept("sub/../demo.tvd"), TFileAcceptance::Accepted);
  EXPECT_EQ(Utf16ToUtf8(dialog.FileName()), Path("demo.tvd"));

  dialog.SetDefaultExt("tvd");
  dialog.SetFileName(u"");
  EXPECT_EQ(dialog.UserAccept(Path("demo")), TFileAcceptance::Accepted);
  EXPECT_EQ(Utf16ToUtf8(dialog.FileName()), Path("demo.tvd"));

  // Without ofFileMustExist a new name is fine, but its folder must exist with ofPathMustExist.
  dialog.SetOptions({ofPathMustExist});
  EXPECT_EQ(dialog.UserAccept("new.tvd"), TFileAcceptance::Accepted);
  EXPECT_EQ(Utf16ToUtf8(dialog.FileName()), Path("new.tvd"));
  EXPECT_EQ(dialog.UserAccept("nowhere/new.tvd"), TFileAcceptance::PathNotFound);
}

TEST_F(OpenDialogTest, ScriptedUserKeepsTheDialogOpenOnARefusal) {
  TOpenDialog dialog(nullptr);
  dialog.SetOptions({ofFileMustExist});
  dialog.SetDefaultExt(".tvd");
  TScriptedUser user("dump\nfile missing.tvd\nfile demo.tvd\ncancel\nkey escape\nfile sub\nclose\n", Out);
  TWidgetSetScope scope(user);
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(Utf16ToUtf8(dialog.FileName()), Path("demo.tvd"));
  EXPECT_FALSE(dialog.Execute());
  EXPECT_FALSE(dialog.Execute());
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(Utf16ToUtf8(dialog.FileName()), Path("demo.tvd"));  // cancelled runs leave it
  EXPECT_TRUE(user.Finished());

  std::istringstream lines(Out.str());
  std::string dump, refusal, folder;
  std::getline(lines, dump);
  std::getline(lines, refusal);
  std::getline(lines, folder);
  EXPECT_EQ(nlohmann::json::parse(dump)["options"], nlohmann::json({"ofFileMustExist"}));
  EXPECT_EQ(refusal, R"({"window":"open-file","refused":"missing.tvd","reason":"file not found"})");
  EXPECT_EQ(folder, R"({"window":"open-file","refused":"sub","reason":"is a folder"})");
}

TEST_F(OpenDialogTest, ScriptErrorsInTheDialog) {
  TOpenDialog dialog(nullptr);
  TScriptedUser user("click Button1\n", Out);
  TWidgetSetScope scope(user);
  EXPECT_THROW(dialog.Execute(), EScriptError);
  TScriptedUser ends("file missing.tvd\n", Out);
  dialog.SetOptions({ofFileMustExist});
  TWidgetSetScope inner(ends);
  try {
    dialog.Execute();
    ADD_FAILURE() << "the script ended with the dialog open";
  } catch (const EScriptError& e) {
    EXPECT_EQ(e.Line(), 2);
    EXPECT_NE(e.Message().find("open-file dialog"), std::string::npos);
  }
}

}  // namespace
