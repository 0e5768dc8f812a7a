// The design window on a real X display: an X server of the test's own (Xvfb), the designhost
// program on it, and real key presses and mouse clicks through the XTEST extension (xdotool)
// along the main road: select the detail table, open its MasterFields' property editor,
// choose an index, join the fields, Enter, Ctrl+S, which finds the form changed on disk by
// another program and asks before saving over it. The saved form is read back at the end.
// Every step has a time limit and names itself when it fails; the X server always goes.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <thread>

#include "tests/designhost/DemoForm.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The longest any one step may take: a step that hangs fails the test, not the suite.
constexpr int kStepSeconds = 30;

// Program on the PATH, or empty.
std::string FindProgram(const std::string& Program) {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');)
    if (!dir.empty() && access((fs::path(dir) / Program).c_str(), X_OK) == 0) return (fs::path(dir) / Program).string();
  return {};
}

// Ends Process politely, then for certain.
void Stop(TChildProcess& Process) {
  Process.Kill(SIGTERM);
  if (!Process.WaitFor(5s)) {
    Process.Kill(SIGKILL);
    Process.Wait();
  }
}

// An X server on a display no one else uses, stopped when it goes out of scope.
class TXServer {
 public:
  TXServer() {
    const std::string xvfb = FindProgram("Xvfb"), xdpyinfo = FindProgram("xdpyinfo");
    if (xvfb.empty() || xdpyinfo.empty()) {
      FError = "Xvfb and xdpyinfo are needed (tools/install-deps.sh installs them)";
      return;
    }
    for (int number = 91; number < 130 && !FServer; ++number) {
      if (fs::exists("/tmp/.X" + std::to_string(number) + "-lock")) continue;
      const std::string display = ":" + std::to_string(number);
      auto server = std::make_unique<TChildProcess>(
          xvfb, std::vector<std::string>{display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-dpi", "96"});
      const auto deadline = std::chrono::steady_clock::now() + 15s;
      while (server && std::chrono::steady_clock::now() < deadline) {
        if (std::optional<TProcessResult> ended = server->WaitFor(50ms)) {
          FError = "Xvfb " + display + " ended at once: " + ended->Err;
          server.reset();
        } else if (RunProgram(xdpyinfo, {"-display", display}).Status == 0) {
          FServer = std::move(server);
          FDisplay = display;
        }
      }
      if (server) {
        FError = "Xvfb " + display + " did not answer within 15 s";
        Stop(*server);
      }
    }
  }
  ~TXServer() {
    if (FServer) Stop(*FServer);
  }

  bool Running() const { return FServer != nullptr; }
  const std::string& Display() const { return FDisplay; }
  const std::string& Error() const { return FError; }

 private:
  std::unique_ptr<TChildProcess> FServer;
  std::string FDisplay;
  std::string FError;
};

// Left, Top, Width and Height of each object of a stored form, by name.
std::map<std::string, std::array<int, 4>> StoredGeometry(const fs::path& File) {
  static const std::regex object(R"(^\s*object (\w+):)"), value(R"(^\s*(Left|Top|Width|Height) = (-?\d+)\s*$)");
  std::map<std::string, std::array<int, 4>> geometry;
  std::string current;
  for (const std::string& line : SplitLines(ReadFile(File))) {
    std::smatch m;
    if (std::regex_search(line, m, object)) {
      current = m[1];
    } else if (std::regex_match(line, m, value) && !current.empty()) {
      static const std::map<std::string, int> slot = {{"Left", 0}, {"Top", 1}, {"Width", 2}, {"Height", 3}};
      geometry[current][static_cast<size_t>(slot.at(m[1]))] = std::stoi(m[2]);
    }
  }
  return geometry;
}

class RealDisplay : public DemoForm {
 protected:
  // Runs xdotool on the display within the step limit; on failure the test fails naming Step
  // (and what designhost said, when it has ended). Answers xdotool's output.
  std::optional<std::string> Do(const std::string& Step, const std::vector<std::string>& Args) {
    std::vector<std::string> args = {
        "-k", "2", std::to_string(kStepSeconds), "/usr/bin/env", "DISPLAY=" + X.Display(), FindProgram("xdotool")};
    args.insert(args.end(), Args.begin(), Args.end());
    TProcessResult r = RunProgram(FindProgram("timeout"), args);
    if (r.Status == 0) return r.Out;
    std::string why = r.Status == 124 || r.Status == 137
                          ? "no answer within " + std::to_string(kStepSeconds) + " s"
                          : "xdotool failed (" + std::to_string(r.Status) + "): " + r.Err;
    if (Designer)
      if (std::optional<TProcessResult> ended = Designer->WaitFor(0ms))
        why += "; designhost ended with " + std::to_string(ended->Status) + ": " + ended->Err;
    ADD_FAILURE() << "step '" << Step << "': " << why;
    return std::nullopt;
  }

  // Clicks the middle of the rectangle (in the form's pixels) of a dialog at Origin, drawn at Scale.
  bool Click(const std::string& Step, const std::array<int, 2>& Origin, double Scale, double X, double Y) {
    return Do(Step, {"mousemove", "--sync", std::to_string(Origin[0] + std::lround(Scale * X)),
                     std::to_string(Origin[1] + std::lround(Scale * Y)), "click", "1"})
        .has_value();
  }

  TXServer X;
  std::unique_ptr<TChildProcess> Designer;
};

TEST_F(RealDisplay, TheMainRoadWithRealKeysAndClicksEndsInASavedLink) {
  if (!X.Running()) GTEST_SKIP() << "no X server could start: " << X.Error();
  if (FindProgram("xdotool").empty() || FindProgram("timeout").empty())
    GTEST_SKIP() << "xdotool and timeout are needed (tools/install-deps.sh installs them)";
  // Nothing of the run reaches the person's settings: the recent forms go to a folder of the test.
  fs::create_directories(dir / "config");
  fs::create_directories(dir / "runtime");
  fs::permissions(dir / "runtime", fs::perms::owner_all);
  Designer = std::make_unique<TChildProcess>(
      "/usr/bin/env",
      std::vector<std::string>{"-u", "QT_QPA_PLATFORM", "DISPLAY=" + X.Display(),
                               "XDG_CONFIG_HOME=" + (dir / "config").string(),
                               "XDG_RUNTIME_DIR=" + (dir / "runtime").string(), kDesignhost, "gui", form});
  std::optional<std::string> window =
      Do("the design window opens", {"search", "--sync", "--name", R"(^Tirvendal Designer - demo\.xfm$)"});
  ASSERT_TRUE(window);
  window = SplitLines(*window).at(0);
  // No window manager gives the window the keyboard: the test does, as a click would.
  ASSERT_TRUE(Do("the design window takes the keyboard", {"windowfocus", "--sync", *window}));
  // Alt+C goes to the components; the first letter picks the table (one key, so no typing
  // pause of a slow build can split the search).
  ASSERT_TRUE(Do("select the detail table Orders", {"key", "alt+c", "key", "o"}));
  // Alt+O goes to the Object Inspector, M to its first row starting so, MasterFields; Enter
  // gives its editor the keyboard and Ctrl+Enter presses its ellipsis button.
  ASSERT_TRUE(Do("open MasterFields' ellipsis", {"key", "alt+o", "key", "m", "key", "Return", "key", "ctrl+Return"}));
  std::optional<std::string> dialog =
      Do("the Field Link Designer opens", {"search", "--sync", "--name", "^Field Link Designer$"});
  ASSERT_TRUE(dialog);
  dialog = SplitLines(*dialog).at(0);

  // Where the dialog's controls are: its form's geometry, scaled as the window is.
  std::optional<std::string> place = Do("read the dialog's place", {"getwindowgeometry", "--shell", *dialog});
  ASSERT_TRUE(place);
  std::map<std::string, int> shell;
  for (const std::string& line : SplitLines(*place))
    if (size_t eq = line.find('=');
        eq != std::string::npos && line.substr(eq + 1).find_first_not_of("-0123456789") == std::string::npos)
      shell[line.substr(0, eq)] = std::stoi(line.substr(eq + 1));
  auto stored = StoredGeometry(fs::path(TIRVENDAL_SOURCE_DIR) / "fldlinks" / "QVRLinkFields.xfm");
  const std::array<int, 4> dialogForm = stored.at("QVRLinkFields");
  const double scale = static_cast<double>(shell["WIDTH"]) / dialogForm[2];
  ASSERT_NEAR(shell["HEIGHT"], scale * dialogForm[3], 3) << "the dialog is not drawn at one scale";
  const std::array<int, 2> origin = {shell["X"], shell["Y"]};
  auto middle = [&](const std::string& Control) {
    const std::array<int, 4>& r = stored.at(Control);
    return std::array<double, 2>{r[0] + r[2] / 2.0, r[1] + r[3] / 2.0};
  };

  // Alt+V goes to the index list; typing picks ByCustNo.
  ASSERT_TRUE(Do("choose the index ByCustNo", {"key", "alt+v", "type", "--delay", "30", "ByCustNo"}));
  // Each list's first entry is CustNo: clicked a little below the list's top edge.
  const std::array<int, 4> detail = stored.at("DetailList"), master = stored.at("MasterList");
  ASSERT_TRUE(Click("click the detail field CustNo", origin, scale, middle("DetailList")[0], detail[1] + 6));
  ASSERT_TRUE(Click("click the master field CustNo", origin, scale, middle("MasterList")[0], master[1] + 6));
  ASSERT_TRUE(Click("click Add", origin, scale, middle("AddButton")[0], middle("AddButton")[1]));
  ASSERT_TRUE(Do("press Enter for OK", {"key", "Return"}));
  // The write-back marks the form modified in the window's title; Ctrl+S then reaches the
  // design window without a click, and the marker goes.
  ASSERT_TRUE(Do("the link is written back", {"search", "--sync", "--name", R"(^Tirvendal Designer - demo\.xfm\*$)"}));
  // Meanwhile another program changes the form on disk. Ctrl+S does not save over it: it asks,
  // and Enter reads the file again; Ctrl+Z brings the link back, and Ctrl+S then saves it.
  TProcessResult set = Host({"set", form, "Customers.Tag", "42"});
  ASSERT_EQ(set.Status, 0) << set.Err;
  ASSERT_TRUE(Do("Ctrl+S finds the change on disk", {"key", "ctrl+s"}));
  ASSERT_TRUE(Do("the save asks what to do", {"search", "--sync", "--name", "^Warning$"}));
  EXPECT_NE(ReadFile(form).find("Tag = 42"), std::string::npos) << "the change on disk was saved over";
  ASSERT_TRUE(Do("Enter reads the file again", {"key", "Return"}));
  ASSERT_TRUE(Do("the form is as on disk", {"search", "--sync", "--name", R"(^Tirvendal Designer - demo\.xfm$)"}));
  ASSERT_TRUE(Do("Ctrl+Z brings the link back", {"key", "ctrl+z"}));
  ASSERT_TRUE(
      Do("the form holds the link again", {"search", "--sync", "--name", R"(^Tirvendal Designer - demo\.xfm\*$)"}));
  ASSERT_TRUE(Do("Ctrl+S saves", {"key", "ctrl+s"}));
  ASSERT_TRUE(Do("the form is saved", {"search", "--sync", "--name", R"(^Tirvendal Designer - demo\.xfm$)"}));
  ASSERT_TRUE(Do("Ctrl+Q ends designhost", {"key", "ctrl+q"}));
  std::optional<TProcessResult> ended = Designer->WaitFor(std::chrono::seconds(kStepSeconds));
  ASSERT_TRUE(ended) << "designhost did not end after Ctrl+Q";
  EXPECT_EQ(ended->Status, 0) << ended->Err;

  std::string saved = ReadFile(form);
  EXPECT_NE(saved.find("    IndexName = 'ByCustNo'\n    MasterFields = 'CustNo'\n"), std::string::npos) << saved;
  // The recent forms and the window's size went to the configuration folder given.
  EXPECT_EQ(ListDir(dir / "config" / "designhost"), (std::vector<std::string>{"designhost.conf", "recent-forms"}));
  EXPECT_NE(ReadFile(dir / "config" / "designhost" / "designhost.conf").find("size="), std::string::npos);
}

}  // namespace
