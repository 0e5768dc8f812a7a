// designhost lsp through a real editor: headless Neovim edits a form of a project of three
// forms on two databases (tools/lsp-session.sh, the run make demo records) and writes what it
// saw. Every step depends on the ones before: the edits the server proposed were applied.
#include <gtest/gtest.h>

#include "tests/support/Process.h"

namespace {

TEST(LspEditor, NeovimEditsAFormWithFindingsCompletionJumpsRenameAndFormatting) {
  TTempDir dir;
  const std::string out = (dir / "seen.txt").string();
  TProcessResult run = RunProgram("/bin/bash", {TIRVENDAL_SOURCE_DIR "/tools/lsp-session.sh", TIRVENDAL_BIN_DIR "/..",
                                                (dir / "project").string(), out});
  const std::string seen = ReadFile(out);
  ASSERT_EQ(run.Status, 0) << run.Err << seen;
  const std::string expected =
      "diagnostic 5:16 no index 'ByCompny' in table 'customers'; did you mean 'ByCompany'?\n"
      "code actions: Change to 'ByCompany'\n"
      "complete property: Tag Active InMemory Temporary ReadOnly MasterSource IndexName IndexFieldNames MasterFields\n"
      "complete field: loan_id member_id branch_id copy_no issued_by returned_to due\n"
      "complete value: Clients Loans\n";
  EXPECT_EQ(seen.substr(0, expected.size()), expected) << seen;
  for (const char* part :
       {"hover customers: **customers**", "| CustNo (key) | INTEGER | ftInteger |",
        "definition library: library.xfm:", "references Demo: demo.xfm:14 demo.xfm:3 demo.xfm:7 reports.xfm:3",
        "prepare rename: Clients", "rename to Loans: the name 'Loans' is taken by Loans",
        "rename library to nothing: a database name cannot be empty",
        "rename library to Lending: library.xfm:13 reports.xfm:1", "formatting: 1 edit(s)",
        "diagnostics after the edits: 0"})
    EXPECT_NE(seen.find(part), std::string::npos) << part << "\n" << seen;
  const std::string form = seen.substr(seen.find("--- the form in the editor\n") + 27);
  EXPECT_EQ(form,
            "object Reports: TDataModule\n"
            "  object Buyers: TQVRTable\n"
            "    DatabaseName = 'Demo'\n"
            "    TableName = 'customers'\n"
            "    IndexName = 'ByCompany'\n"
            "  end\n"
            "  object ClientsSource: TDataSource\n"
            "    DataSet = Buyers\n"
            "  end\n"
            "  object Loans: TQVRTable\n"
            "    DatabaseName = 'library'\n"
            "    TableName = 'loan'\n"
            "    IndexFieldNames = 'member_id'\n"
            "  end\n"
            "end\n");
}

}  // namespace
