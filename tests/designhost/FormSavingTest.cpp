// Saving forms end to end: commands killed at random moments and commands running at the same
// time never leave a damaged form or lose a change, and what a form file is (its mode, its
// link, its byte order mark, its stored open tables) survives a save.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <random>
#include <thread>

#include "tests/designhost/DemoForm.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// More trials for a long run: TIRVENDAL_SAVE_TRIALS=1000.
int Trials(int Default) {
  const char* text = std::getenv("TIRVENDAL_SAVE_TRIALS");
  return text ? std::max(1, std::atoi(text)) : Default;
}

struct timespec ModifiedAt(const fs::path& File) {
  struct stat info {};
  EXPECT_EQ(::stat(File.c_str(), &info), 0);
  return info.st_mtim;
}

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

class FormSaving : public DemoForm {
 protected:
  // The form's text once `set` has given Target the value Value.
  std::string TextWith(const std::string& Target, const std::string& Value) {
    TProcessResult r = Host({"set", form, Target, Value});
    EXPECT_EQ(r.Status, 0) << r.Err;
    return ReadFile(form);
  }
};

TEST_F(FormSaving, ACommandKilledAtAnyMomentLeavesTheOldOrTheNewFormWhole) {
  const std::string values[2] = {"ByCustomer", "ByCustNo"};
  const std::string texts[2] = {TextWith("Orders.IndexName", values[0]), TextWith("Orders.IndexName", values[1])};
  ASSERT_NE(texts[0], texts[1]);
  // How long a whole command takes here: the kills fall anywhere from its start to past its end.
  auto start = std::chrono::steady_clock::now();
  TextWith("Orders.IndexName", values[0]);
  const auto span = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);

  std::random_device seed;
  const unsigned seedValue = seed();
  std::mt19937 random(seedValue);
  std::uniform_int_distribution<long> delay(0, span.count() * 5 / 4);
  int current = 0, finished = 0, killedBeforeSaving = 0;
  const int trials = Trials(150);
  for (int trial = 0; trial < trials; ++trial) {
    const int next = 1 - current;
    TChildProcess child(kDesignhost, {"set", form, "Orders.IndexName", values[next]});
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    child.Kill();
    TProcessResult r = child.Wait();
    const std::string text = ReadFile(form);
    ASSERT_TRUE(text == texts[current] || text == texts[next])
        << "trial " << trial << " (seed " << seedValue << ") left:\n"
        << text;
    if (text == texts[next]) current = next;
    ASSERT_TRUE(r.Status == 0 || r.Status == 128 + SIGKILL) << r.Err;
    r.Status == 0 ? ++finished : ++killedBeforeSaving;
  }
  RecordProperty("trials", trials);
  RecordProperty("finished", finished);
  // Nothing a killed command left blocks the next one, and its leftovers go with that save.
  const std::string last = current == 0 ? values[1] : values[0];
  EXPECT_EQ(TextWith("Orders.IndexName", last), texts[1 - current]);
  EXPECT_EQ(ListDir(dir.Path()), (std::vector<std::string>{"demo.tvd", "demo.xfm"}));
}

TEST_F(FormSaving, TwoCommandsAtOnceBothLandAndNoReaderSeesAPartialForm) {
  const std::string base = ReadFile(form);
  const int trials = Trials(40);
  for (int trial = 0; trial < trials; ++trial) {
    WriteFile(form, base);
    std::vector<std::string> first = {"set", form, "Orders.IndexName", "ByCustomer"};
    std::vector<std::string> second = {"set", form, "Customers.IndexName", "ByCompany"};
    if (trial % 2) std::swap(first, second);
    TChildProcess a(kDesignhost, first);
    TChildProcess b(kDesignhost, second);
    TProcessResult reader = Host({"properties", form, "Orders"});
    TProcessResult ra = a.Wait(), rb = b.Wait();
    ASSERT_EQ(ra.Status, 0) << ra.Err;
    ASSERT_EQ(rb.Status, 0) << rb.Err;
    ASSERT_EQ(reader.Status, 0) << reader.Err;
    const std::string text = ReadFile(form);
    ASSERT_NE(text.find("IndexName = 'ByCustomer'"), std::string::npos) << "trial " << trial << ":\n" << text;
    ASSERT_NE(text.find("IndexName = 'ByCompany'"), std::string::npos) << "trial " << trial << ":\n" << text;
  }
  EXPECT_EQ(ListDir(dir.Path()), (std::vector<std::string>{"demo.tvd", "demo.xfm"}));
}

TEST_F(FormSaving, StoredStateSurvivesASave) {
  // A byte order mark, and a detail stored open with Active before the names it needs.
  const std::string text =
      "\xEF\xBB\xBFobject Demo: TDataModule\n"
      "  object Database1: TQVRDatabase\n    DatabaseName = 'Demo'\n    DatabaseFileName = 'demo.tvd'\n  end\n"
      "  object Orders: TQVRTable\n    Active = True\n    DatabaseName = 'Demo'\n    TableName = 'orders'\n"
      "    MasterSource = CustomersSource\n    IndexName = 'ByCustomer'\n    MasterFields = 'CustNo'\n  end\n"
      "  object Customers: TQVRTable\n    Active = True\n    DatabaseName = 'Demo'\n    TableName = 'customers'\n"
      "  end\n"
      "  object CustomersSource: TDataSource\n    DataSet = Customers\n  end\n"
      "end\n";
  WriteFile(form, text);
  // Run from another folder: the database is found beside the form, not in the working folder.
  TProcessResult props = Host({"properties", form, "Orders"}, "/");
  ASSERT_EQ(props.Status, 0) << props.Err;
  EXPECT_EQ(props.Err, "");
  EXPECT_NE(props.Out.find("Active\tTrue\t"), std::string::npos) << props.Out;

  // A value that is already there changes nothing on disk.
  const auto before = ModifiedAt(form);
  std::this_thread::sleep_for(20ms);
  ASSERT_EQ(Host({"set", form, "Orders.IndexName", "ByCustomer"}, "/").Status, 0);
  EXPECT_EQ(ReadFile(form), text);
  EXPECT_TRUE(SameTime(ModifiedAt(form), before));

  ASSERT_EQ(Host({"set", form, "Customers.IndexName", "ByCompany"}, "/").Status, 0);
  std::string saved = ReadFile(form);
  EXPECT_EQ(saved.rfind("\xEF\xBB\xBFobject Demo: TDataModule\n", 0), 0u) << saved;
  EXPECT_NE(saved.find("object Orders: TQVRTable\n    Active = True\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("object Customers: TQVRTable\n    Active = True\n"), std::string::npos) << saved;

  // Without its database the form still loads for editing: a warning per table, the tables
  // closed, and their stored Active kept by a save.
  fs::rename(dir / "demo.tvd", dir / "elsewhere.tvd");
  TProcessResult r = Host({"set", form, "Orders.ReadOnly", "True"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Err.find("warning: Orders: "), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("warning: Customers: "), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("demo.tvd"), std::string::npos) << r.Err;
  saved = ReadFile(form);
  EXPECT_NE(saved.find("ReadOnly = True"), std::string::npos) << saved;
  EXPECT_NE(saved.find("object Orders: TQVRTable\n    Active = True\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("object Customers: TQVRTable\n    Active = True\n"), std::string::npos) << saved;
}

TEST_F(FormSaving, TheFileKeepsWhatItIsOrTheSaveIsRefused) {
  // A private form stays private; a form reached through a link stays a link.
  ::chmod(form.c_str(), 0600);
  fs::create_symlink("demo.xfm", dir / "link.xfm");
  ASSERT_EQ(Host({"set", (dir / "link.xfm").string(), "Orders.IndexName", "ByCustomer"}).Status, 0);
  EXPECT_TRUE(fs::is_symlink(dir / "link.xfm"));
  EXPECT_NE(ReadFile(form).find("ByCustomer"), std::string::npos);
  struct stat info {};
  ::stat(form.c_str(), &info);
  EXPECT_EQ(info.st_mode & 07777, 0600u);

  // A read-only form and a hard-linked one are refused as they are: exit 1, nothing changed.
  const std::string before = ReadFile(form);
  ::chmod(form.c_str(), 0444);
  TProcessResult readOnly = Host({"set", form, "Orders.IndexName", "ByCustNo"});
  EXPECT_EQ(readOnly.Status, 1);
  EXPECT_EQ(readOnly.Err,
            "error: EInOutError: Cannot write form file '" + form + "': Permission denied (the file is read-only)\n");
  ::chmod(form.c_str(), 0644);
  fs::create_hard_link(form, dir / "hard.xfm");
  TProcessResult linked = Host({"set", form, "Orders.IndexName", "ByCustNo"});
  EXPECT_EQ(linked.Status, 1);
  EXPECT_NE(linked.Err.find("2 hard links"), std::string::npos) << linked.Err;
  EXPECT_EQ(ReadFile(form), before);
  fs::remove(dir / "hard.xfm");

  // Only regular files are forms and scripts, and nothing waits on a pipe or reads forever.
  fs::create_directory(dir / "folder");
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  for (const std::string& bad : {(dir / "folder").string(), (dir / "pipe").string(), std::string("/dev/zero")}) {
    TProcessResult asForm = Host({"properties", bad, "Orders"});
    EXPECT_EQ(asForm.Status, 1) << bad;
    EXPECT_NE(asForm.Err.find("form file '" + bad + "'"), std::string::npos) << asForm.Err;
    TProcessResult asScript = Host({"edit", form, "Orders.MasterFields", "--script", bad});
    EXPECT_EQ(asScript.Status, 1) << bad;
    EXPECT_NE(asScript.Err.find("script '" + bad + "'"), std::string::npos) << asScript.Err;
  }
  EXPECT_EQ(ReadFile(form), before);
}

TEST_F(FormSaving, WhatACommandPrintsIsWholeAndSafeBeforeItSaves) {
  // A master column whose name is no UTF-8: the JSON line carries U+FFFD, the form the bytes.
  ExecSql(dir / "bytes.tvd",
          "CREATE TABLE m (\"k\xFF\" INTEGER PRIMARY KEY); CREATE TABLE d (n INTEGER PRIMARY KEY, mk INTEGER);"
          "CREATE INDEX ByM ON d (mk);");
  const std::string file = (dir / "bytes.xfm").string();
  WriteFile(file,
            "object F: TDataModule\n  object Db: TQVRDatabase\n    DatabaseName = 'B'\n"
            "    DatabaseFileName = 'bytes.tvd'\n  end\n"
            "  object M: TQVRTable\n    DatabaseName = 'B'\n    TableName = 'm'\n  end\n"
            "  object MS: TDataSource\n    DataSet = M\n  end\n"
            "  object D: TQVRTable\n    DatabaseName = 'B'\n    TableName = 'd'\n    MasterSource = MS\n  end\n"
            "end\n");
  WriteFile(dir / "link.txt",
            "select IndexList ByM\nselect DetailList mk\nselect MasterList #0\nclick AddButton\nkey enter\n");
  TProcessResult r = Host({"edit", file, "D.MasterFields", "--script", (dir / "link.txt").string()});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "{\"modified\":true,\"changes\":{\"D.IndexName\":\"ByM\",\"D.MasterFields\":\"k\xEF\xBF\xBD\"}}\n");
  EXPECT_NE(ReadFile(file).find("MasterFields = 'k\xFF'"), std::string::npos) << ReadFile(file);

  // Control characters from a form reach the terminal escaped.
  WriteFile(file, "object F: TDataModule\n  Tag = '\x1B[2J'\nend\n");
  TProcessResult bad = Host({"properties", file, "F"});
  EXPECT_EQ(bad.Status, 1);
  EXPECT_EQ(bad.Err.find('\x1B'), std::string::npos) << bad.Err;
  EXPECT_NE(bad.Err.find("\\x1B[2J"), std::string::npos) << bad.Err;
  TProcessResult links = Host({"links", file});
  EXPECT_EQ(links.Status, 1);
  EXPECT_EQ(links.Err.find('\x1B'), std::string::npos) << links.Err;
  EXPECT_NE(links.Err.find("\\x1B[2J"), std::string::npos) << links.Err;

  // Every command writes bytes that are no UTF-8 as U+FFFD in its JSON lines.
  WriteFile(file,
            "object F: TDataModule\n  object Db: TQVRDatabase\n    DatabaseName = 'B\xFF'\n  end\n"
            "  object T: TQVRTable\n  end\nend\n");
  TProcessResult properties = Host({"properties", "--json", file, "Db"});
  EXPECT_EQ(properties.Status, 0) << properties.Err;
  EXPECT_NE(properties.Out.find("{\"name\":\"DatabaseName\",\"value\":\"B\xEF\xBF\xBD\","), std::string::npos)
      << properties.Out;
  TProcessResult values = Host({"values", "--json", file, "T.DatabaseName"});
  EXPECT_EQ(values.Status, 0) << values.Err;
  EXPECT_EQ(values.Out, "\"B\xEF\xBF\xBD\"\n");
}

// Runs designhost with its standard output on the write end of a pipe whose reader has gone.
TProcessResult IntoClosedPipe(const std::vector<std::string>& Args, bool IgnorePipeSignal) {
  TTempDir capture;
  const fs::path err = capture / "err";
  int ends[2];
  EXPECT_EQ(::pipe(ends), 0);
  ::close(ends[0]);
  pid_t child = ::fork();
  if (child == 0) {
    if (IgnorePipeSignal) ::signal(SIGPIPE, SIG_IGN);
    ::dup2(ends[1], 1);
    int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(errFd, 2);
    std::vector<char*> argv{const_cast<char*>(kDesignhost.c_str())};
    for (const std::string& a : Args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(kDesignhost.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(ends[1]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), "", ReadFile(err)};
}

TEST_F(FormSaving, OutputThatCannotBeWrittenFailsTheCommandAndSavesNothing) {
  WriteFile(dir / "link.txt",
            "select IndexList ByCustNo\nselect DetailList CustNo\nselect MasterList CustNo\n"
            "click AddButton\nkey enter\n");
  fs::create_directory(dir / "stale");
  WriteFile(dir / "stale" / "stale.xfm", "object S: TDataModule\n  object Db: TQVRDatabase\n  end\nend\n");
  const std::string edit[] = {"edit", form, "Orders.MasterFields", "--script", (dir / "link.txt").string()};
  const std::vector<std::vector<std::string>> commands = {{"palette"},
                                                          {"package-info", "--json"},
                                                          {"help", "links"},
                                                          {"properties", form, "Orders"},
                                                          {"values", form, "Orders.IndexName"},
                                                          {"check", (dir / "stale").string()},
                                                          {"links", "--json", form},
                                                          {std::begin(edit), std::end(edit)},
                                                          {"new-demo", (dir / "fresh").string()}};
  const std::string before = ReadFile(form);
  const auto modified = ModifiedAt(form);
  for (const auto& command : commands) {
    std::vector<std::string> args = {"-c", R"(exec "$0" "$@" > /dev/full)", kDesignhost};
    args.insert(args.end(), command.begin(), command.end());
    TProcessResult full = RunProgram("/bin/sh", args);
    EXPECT_EQ(full.Status, 1) << command[0];
    EXPECT_EQ(full.Err, "error: EInOutError: Cannot write standard output: No space left on device\n") << command[0];
  }
  // A reader that goes away ends the command without a word, whether the signal ends it or the
  // write reports the closed pipe.
  for (bool ignored : {false, true}) {
    TProcessResult closed = IntoClosedPipe({std::begin(edit), std::end(edit)}, ignored);
    EXPECT_EQ(closed.Status, ignored ? 1 : 128 + SIGPIPE);
    EXPECT_EQ(closed.Err, "");
  }
  EXPECT_EQ(ReadFile(form), before);
  EXPECT_TRUE(SameTime(ModifiedAt(form), modified));
  EXPECT_FALSE(fs::exists(dir / "fresh"));
  // The same edit with its output written saves the form.
  EXPECT_EQ(Host({std::begin(edit), std::end(edit)}).Status, 0);
  EXPECT_NE(ReadFile(form), before);
}

}  // namespace
