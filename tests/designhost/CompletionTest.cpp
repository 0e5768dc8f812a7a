// The bash completion, run in bash as it runs on a TAB: commands, options, form files, the
// components of the form given, the properties of the selection and the live values of a
// property's drop-down list.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/Process.h"

namespace {

const std::string kDesignhost = TIRVENDAL_BIN_DIR "/designhost";
const std::string kCompletion = TIRVENDAL_SOURCE_DIR "/designhost/completion/designhost.bash";

std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class Completion : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(RunProgram(kDesignhost, {"new-demo", dir.Path().string()}).Status, 0); }

  // What a TAB offers after "designhost WORDS...", the last word being the one typed so far,
  // in the demo's folder; sorted.
  std::vector<std::string> Complete(const std::vector<std::string>& words) {
    std::string script = "source " + Quoted(kCompletion) + " || exit 9\nCOMP_WORDS=(" + Quoted(kDesignhost);
    for (const std::string& word : words) script += " " + Quoted(word);
    script += ")\nCOMP_CWORD=" + std::to_string(words.size()) + "\n_designhost\nprintf '%s\\n' \"${COMPREPLY[@]}\"\n";
    TProcessResult r = RunProgram("/bin/bash", {"-c", script}, dir.Path());
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    std::vector<std::string> offered;
    for (const std::string& line : SplitLines(r.Out))
      if (!line.empty()) offered.push_back(line);
    std::sort(offered.begin(), offered.end());
    return offered;
  }

  TTempDir dir;
};

using Words = std::vector<std::string>;

TEST_F(Completion, CommandsOptionsAndFiles) {
  EXPECT_EQ(Complete({"pal"}), Words{"palette"});
  EXPECT_EQ(Complete({"help", "pa"}), (Words{"package-info", "palette"}));
  Words all = Complete({""});
  for (const char* command : {"palette", "properties", "values", "set", "edit", "new-demo", "help"})
    EXPECT_NE(std::find(all.begin(), all.end(), command), all.end()) << command;
  EXPECT_EQ(Complete({"--package", "x.so", "pal"}), Words{"palette"});
  EXPECT_EQ(Complete({"--"}), (Words{"--help", "--package", "--version"}));
  EXPECT_EQ(Complete({"values", "--"}), (Words{"--help", "--json", "--package", "--raw"}));
  EXPECT_EQ(Complete({"new-demo", "--f"}), Words{"--force"});
  // A form is a .xfm file; a script any file.
  EXPECT_EQ(Complete({"set", "de"}), Words{"demo.xfm"});
  EXPECT_EQ(Complete({"edit", "demo.xfm", "Orders.MasterFields", "--script", "de"}), (Words{"demo.tvd", "demo.xfm"}));
}

TEST_F(Completion, ComponentsPropertiesAndLiveValues) {
  EXPECT_EQ(Complete({"properties", "demo.xfm", "Cu"}), (Words{"Customers", "CustomersSource"}));
  EXPECT_EQ(Complete({"properties", "demo.xfm", "Customers,Or"}), Words{"Customers,Orders"});
  EXPECT_EQ(Complete({"values", "--raw", "demo.xfm", "Or"}), Words{"Orders."});
  // A component the list already names is not offered again.
  EXPECT_EQ(Complete({"properties", "demo.xfm", "Customers,Cu"}), Words{"Customers,CustomersSource"});
  EXPECT_EQ(Complete({"set", "demo.xfm", "Orders,Customers,"}),
            (Words{"Orders,Customers,CustomersSource.", "Orders,Customers,Database1.", "Orders,Customers,Demo."}));
  // edit presses an ellipsis button: only the properties with a dialog have one.
  EXPECT_EQ(Complete({"edit", "demo.xfm", "Orders."}), Words{"Orders.MasterFields"});
  EXPECT_EQ(Complete({"edit", "demo.xfm", "Orders.Mas"}), Words{"Orders.MasterFields"});
  EXPECT_EQ(Complete({"values", "demo.xfm", "Orders.Ind"}),
            (Words{"Orders.IndexDefs", "Orders.IndexFieldNames", "Orders.IndexName"}));
  EXPECT_EQ(Complete({"set", "demo.xfm", "Orders.TableName", ""}), (Words{"customers", "items", "orders"}));
  EXPECT_EQ(Complete({"set", "demo.xfm", "Orders.IndexName", "ByC"}), (Words{"ByCustNo", "ByCustomer"}));
  // Nothing to offer for a form that is not there, and no error shown.
  EXPECT_EQ(Complete({"set", "none.xfm", "Or"}), Words{});
}

}  // namespace
