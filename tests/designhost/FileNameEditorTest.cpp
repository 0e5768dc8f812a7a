// The database file name editor through designhost edit: the dialog's settings, refusals of
// missing files, Cancel writing nothing, and the chosen name stored.
#include <gtest/gtest.h>

#include "tests/support/Process.h"

namespace fs = std::filesystem;

namespace {

const std::string kDesignhost = TIRVENDAL_BIN_DIR "/designhost";

class FileNameEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RunProgram(kDesignhost, {"new-demo", dir.Path().string()}).Status, 0);
    form = (dir / "demo.xfm").string();
    ExecSql(dir / "other.tvd", "CREATE TABLE x (a);");
  }

  TProcessResult Edit(const std::string& script, const std::vector<std::string>& extra = {}) {
    WriteFile(dir / "script.txt", script);
    std::vector<std::string> args{"edit", form, "Database1.DatabaseFileName", "--script",
                                  (dir / "script.txt").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunProgram(kDesignhost, args);
  }

  TTempDir dir;
  std::string form;
};

TEST_F(FileNameEditor, InspectorRowHasTheDialogAttributesOnly) {
  TProcessResult r = RunProgram(kDesignhost, {"properties", form, "Database1"});
  EXPECT_NE(r.Out.find("DatabaseFileName\tdemo.tvd\tTQVRDatabaseFileNameProperty\tpaDialog,paRevertable\n"),
            std::string::npos)
      << r.Out;
}

TEST_F(FileNameEditor, DialogOpensWithTheDatabaseFilterAndNothingPreselected) {
  TProcessResult r = Edit("dump\ncancel\n");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find(R"({"window":"open-file","filter":"Tirvendal database (*.tvd)|*.tvd|Any files (*.*)|*.*",)"
                       R"("defaultExt":".tvd","options":["ofFileMustExist"],"fileName":""})"),
            std::string::npos)
      << r.Out;
}

TEST_F(FileNameEditor, CancelWritesNothingAndReportsNoModification) {
  std::string before = ReadFile(form);
  TProcessResult r = Edit("file missing.tvd\ncancel\n");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find(R"("refused":"missing.tvd")"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find(R"({"modified":false,"changes":{}})"), std::string::npos) << r.Out;
  EXPECT_EQ(ReadFile(form), before);
  EXPECT_FALSE(fs::exists(dir / "missing.tvd"));
}

TEST_F(FileNameEditor, AChosenFileIsStoredRelativeToTheFormsFolderWhenItLiesBelowIt) {
  // Below the form's folder: relative, so the project can move; the name leads to the file.
  fs::create_directories(dir / "data");
  ExecSql(dir / "data" / "other.tvd", "CREATE TABLE y (a);");
  TProcessResult below = Edit("file data/other.tvd\n");
  ASSERT_EQ(below.Status, 0) << below.Err;
  EXPECT_NE(below.Out.find(R"({"modified":true,"changes":{"Database1.DatabaseFileName":"data/other.tvd"}})"),
            std::string::npos)
      << below.Out;
  EXPECT_NE(ReadFile(form).find("DatabaseFileName = 'data/other.tvd'"), std::string::npos);
  EXPECT_EQ(RunProgram(kDesignhost, {"values", form, "Customers.TableName"}).Out, "y\n");
  // Elsewhere: the absolute path, which a moved project still finds.
  TTempDir elsewhere;
  ExecSql(elsewhere / "far.tvd", "CREATE TABLE z (a);");
  TProcessResult outside = Edit("file " + (elsewhere / "far.tvd").string() + "\n");
  ASSERT_EQ(outside.Status, 0) << outside.Err;
  const std::string chosen = (fs::canonical(elsewhere.Path()) / "far.tvd").string();
  EXPECT_NE(ReadFile(form).find("DatabaseFileName = '" + chosen + "'"), std::string::npos) << ReadFile(form);
}

TEST_F(FileNameEditor, DryRunReportsButSavesNothing) {
  std::string before = ReadFile(form);
  TProcessResult r = Edit("file other.tvd\n", {"--dry-run"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find(R"("modified":true)"), std::string::npos);
  EXPECT_EQ(ReadFile(form), before);
}

TEST_F(FileNameEditor, ScriptErrorsExitWithThreeAndSaveNothing) {
  std::string before = ReadFile(form);
  TProcessResult ended = Edit("file missing.tvd\n");  // the dialog is still open when the script ends
  EXPECT_EQ(ended.Status, 3) << ended.Err;
  TProcessResult leftover = Edit("file other.tvd\nclick Button1\n");
  EXPECT_EQ(leftover.Status, 3) << leftover.Err;
  EXPECT_NE(leftover.Err.find("script.txt:2"), std::string::npos) << leftover.Err;
  TProcessResult wrongWindow = Edit("click AddButton\n");
  EXPECT_EQ(wrongWindow.Status, 3);
  EXPECT_EQ(ReadFile(form), before);
}

TEST_F(FileNameEditor, TypingAPathNeedsNoDialog) {
  TProcessResult r = RunProgram(kDesignhost, {"set", form, "Database1.DatabaseFileName", "other.tvd"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(ReadFile(form).find("DatabaseFileName = 'other.tvd'"), std::string::npos);
  TProcessResult values = RunProgram(kDesignhost, {"values", form, "Customers.TableName"});
  EXPECT_EQ(values.Out, "x\n") << "the database now names the other file";
}

}  // namespace
