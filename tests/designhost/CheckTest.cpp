// designhost check end to end: a project of forms in folders, whose tables name a database of
// another form, held against database files that have moved on; every kind of finding at its
// line, as text and as JSON, the exit statuses, and that nothing is written.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "tests/designhost/ProjectFixture.h"

namespace {

using namespace project_fixture;

class Check : public ProjectTest {};

TEST_F(Check, FindsEveryKindOfStaleNameAtItsLineAcrossTheFormsOfAFolder) {
  auto before = Snapshot(dir.Path());
  TProcessResult text = Host({"check", "proj"});
  EXPECT_EQ(text.Status, 1) << text.Err;
  EXPECT_EQ(text.Err, "");

  auto at = [](const std::string& file, int line, const std::string& rest) {
    return "proj/" + file + ":" + std::to_string(line) + ": error: " + rest + "\n";
  };
  const std::string o = kOrders;
  const std::string s = kShared;
  const std::string expected =
      at("forms/broken.xfm", 3, ".: TQVRTable has no property 'Foo'") +
      at("forms/orders.xfm", LineOf(o, "IndexName = 'ByCustomr'"),
         "Orders.IndexName: no index 'ByCustomr' in table 'orders'; did you mean 'ByCustomer'?") +
      at("forms/orders.xfm", LineOf(o, "'itemz'"),
         "Items.TableName: no table 'itemz' in 'proj/data/shop.tvd'; did you mean 'items'?") +
      at("forms/orders.xfm", LineOf(o, "'CustNo;SaleDat'"),
         "ByFields.IndexFieldNames: no field 'SaleDat' in table 'orders'; did you mean 'SaleDate'?") +
      at("forms/orders.xfm", LineOf(o, "'Shopp'"),
         "Loose.DatabaseName: no database 'Shopp' in the checked forms; did you mean 'Shop'?") +
      at("forms/orders.xfm", LineOf(o, "MasterSource = EmptySource"),
         "Orphan.MasterSource: data source 'EmptySource' has no data set") +
      at("forms/orders.xfm", LineOf(o, "'CustNo;Compny'"),
         "TooMany.MasterFields: no field 'Compny' in master table 'customers' (Customers); did you mean 'Company'?") +
      at("forms/orders.xfm", LineOf(o, "'CustNo;Compny'"),
         "TooMany.MasterFields: 2 master fields but the order of table 'orders' (index 'ByCustNo') has 1 field") +
      // A property that is not stored is reported at its component's object line.
      at("forms/orders.xfm", LineOf(o, "object NoTable"), "NoTable.TableName: the table names no table") +
      at("shared.xfm", LineOf(s, "'data/shp.tvd'"),
         "LostDb.DatabaseFileName: Database file 'proj/data/shp.tvd' does not exist; did you mean "
         "'data/shop.tvd'?") +
      at("shared.xfm", LineOf(s, "'junk.tvd'"),
         "JunkDb.DatabaseFileName: Cannot open database file 'proj/junk.tvd': file is not a database") +
      at("shared.xfm", LineOf(s, "object NoFileDb"), "NoFileDb.DatabaseFileName: no database file named");
  EXPECT_EQ(text.Out, expected);

  // The same findings as JSON, one object a line, in the same order.
  TProcessResult json = Host({"check", "--json", "proj"});
  EXPECT_EQ(json.Status, 1);
  EXPECT_EQ(json.Out.rfind(R"({"file":"proj/forms/broken.xfm","line":3,"component":"","property":"",)", 0), 0u)
      << json.Out;
  std::istringstream lines(json.Out);
  std::string rebuilt;
  for (std::string line; std::getline(lines, line);) {
    auto f = nlohmann::json::parse(line);
    rebuilt += f["file"].get<std::string>() + ":" + std::to_string(f["line"].get<int>()) +
               ": error: " + f["component"].get<std::string>() + "." + f["property"].get<std::string>() + ": " +
               f["message"].get<std::string>() + "\n";
  }
  EXPECT_EQ(rebuilt, expected);

  // A form named twice, and its folder besides, is checked once.
  TProcessResult twice = Host({"check", "proj/shared.xfm", "proj", "proj/shared.xfm"});
  EXPECT_EQ(twice.Out, expected);

  // Without the form that declares the database, the tables name no database the check knows.
  TProcessResult alone = Host({"check", "proj/forms/orders.xfm"});
  EXPECT_EQ(alone.Status, 1);
  EXPECT_NE(alone.Out.find(at("forms/orders.xfm", LineOf(o, "'Shop'", "object Customers"),
                              "Customers.DatabaseName: no database 'Shop' in the checked forms")),
            std::string::npos)
      << alone.Out;

  // Nothing was created, changed or even touched.
  EXPECT_EQ(Snapshot(dir.Path()), before);
}

TEST_F(Check, ASoundProjectPassesAndWrongUsageIsTwo) {
  ASSERT_EQ(Host({"new-demo", "demo"}).Status, 0);
  TProcessResult sound = Host({"check", "demo", "--json"});
  EXPECT_EQ(sound.Status, 0) << sound.Out << sound.Err;
  EXPECT_EQ(sound.Out, "");

  EXPECT_EQ(Host({"check"}).Status, 2);
  TProcessResult missing = Host({"check", "demo", "nowhere"});
  EXPECT_EQ(missing.Status, 2);
  EXPECT_NE(missing.Err.find("nowhere"), std::string::npos);
  EXPECT_EQ(missing.Out, "");
}

TEST_F(Check, FormsAreReadAsEveryCommandReadsThem) {
  // Only regular files of reasonable size: a pipe is refused without waiting for a writer, a
  // huge file without reading it all.
  ASSERT_EQ(::mkfifo((dir / "proj" / "pipe.xfm").c_str(), 0600), 0);
  fs::resize_file(dir / "proj" / "forms" / "orders.xfm", (size_t{16} << 20) + 1);
  TProcessResult refused = Host({"check", "proj/pipe.xfm", "proj/forms/orders.xfm"});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_EQ(refused.Out,
            "proj/forms/orders.xfm:1: error: .: Cannot read form file 'proj/forms/orders.xfm': larger than "
            "16777216 bytes, the most that is read\n"
            "proj/pipe.xfm:1: error: .: Cannot read form file 'proj/pipe.xfm': not a regular file\n");
  TProcessResult links = Host({"links", "proj/pipe.xfm"});
  EXPECT_EQ(links.Status, 1);
  EXPECT_EQ(links.Err,
            "proj/pipe.xfm:1: error: EInOutError: Cannot read form file 'proj/pipe.xfm': not a regular file\n");

  // Under a folder, an entry named like a form that is no readable regular file is a form that
  // does not read, with the system's reason; a folder so named is walked into. A database file
  // that cannot be looked at is named with the reason too, never as missing.
  fs::create_directories(dir / "odd" / "folder.xfm");
  fs::create_symlink("gone.xfm", dir / "odd" / "dangling.xfm");
  fs::create_symlink("loop.xfm", dir / "odd" / "loop.xfm");
  ASSERT_EQ(::mkfifo((dir / "odd" / "folder.xfm" / "pipe.xfm").c_str(), 0600), 0);
  fs::create_symlink("loop.tvd", dir / "odd" / "loop.tvd");
  WriteFile(dir / "odd" / "db.xfm",
            "object M: TDataModule\n  object Db: TQVRDatabase\n    DatabaseName = 'L'\n"
            "    DatabaseFileName = 'loop.tvd'\n  end\nend\n");
  TProcessResult odd = Host({"check", "odd"});
  EXPECT_EQ(odd.Status, 1);
  EXPECT_EQ(odd.Out,
            "odd/dangling.xfm:1: error: .: Cannot open form file 'odd/dangling.xfm': No such file or directory\n"
            "odd/db.xfm:4: error: Db.DatabaseFileName: Cannot open database file 'odd/loop.tvd': Too many levels of "
            "symbolic links\n"
            "odd/folder.xfm/pipe.xfm:1: error: .: Cannot read form file 'odd/folder.xfm/pipe.xfm': not a regular file\n"
            "odd/loop.xfm:1: error: .: Cannot open form file 'odd/loop.xfm': Too many levels of symbolic links\n")
      << odd.Err;
  TProcessResult oddLinks = Host({"links", "odd"});
  EXPECT_EQ(oddLinks.Status, 1);
  EXPECT_EQ(std::count(oddLinks.Err.begin(), oddLinks.Err.end(), '\n'), 3) << oddLinks.Err;
  const std::string tooLong(300, 'x');
  TProcessResult unnamed = Host({"check", tooLong + ".xfm"});
  EXPECT_EQ(unnamed.Status, 1);
  EXPECT_EQ(unnamed.Err, "error: EInOutError: Cannot read '" + tooLong + ".xfm': File name too long\n");

  // A form that another command is saving is read once that command is done: the check waits
  // for the lock and reads the saved form, not the one that was there when it started.
  const fs::path form = dir / "proj" / "shared.xfm";
  int held = ::open(form.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  TChildProcess check(kDesignhost, {"check", "proj/shared.xfm"}, dir.Path());
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  WriteFile(dir / "proj" / "saved.tmp", "object Shared: TDataModule\n  object Db: TQVRDatabase\n  end\nend\n");
  fs::rename(dir / "proj" / "saved.tmp", form);
  ::close(held);
  TProcessResult r = check.Wait();
  EXPECT_EQ(r.Status, 1) << r.Err;
  EXPECT_EQ(r.Out, "proj/shared.xfm:2: error: Db.DatabaseFileName: no database file named\n");
}

}  // namespace

namespace {

using namespace project_fixture;

// Links that the tool itself could leave behind: field names a field list cannot hold, master
// fields whose data source was deleted, and a loop of links in either order of the objects.
TEST_F(Check, LinksNoTableCanFollowAreFoundWhateverTheirOrder) {
  ExecSql(dir / "odd.tvd", R"sql(
    CREATE TABLE m ("f;s" TEXT, "f->a" TEXT, "a\b" TEXT);
    CREATE TABLE d (Id INTEGER PRIMARY KEY, "f=e" TEXT, "x\y" TEXT);
    CREATE INDEX ByOdd ON d ("f=e", "x\y");
  )sql");
  const std::string odd = R"(object Odd: TDataModule
  object Db: TQVRDatabase
    DatabaseName = 'Odd'
    DatabaseFileName = 'odd.tvd'
  end
  object M: TQVRTable
    DatabaseName = 'Odd'
    TableName = 'm'
  end
  object MS: TDataSource
    DataSet = M
  end
  object D: TQVRTable
    DatabaseName = 'Odd'
    TableName = 'd'
    MasterSource = MS
    IndexName = 'ByOdd'
    MasterFields = 'a\b;f->a'
  end
  object Split: TQVRTable
    DatabaseName = 'Odd'
    TableName = 'd'
    MasterSource = MS
    IndexName = 'ByOdd'
    MasterFields = 'f;s'
  end
  object Left: TQVRTable
    DatabaseName = 'Odd'
    TableName = 'd'
    MasterFields = 'f->a'
  end
end
)";
  WriteFile(dir / "odd.xfm", odd);
  TProcessResult found = Host({"check", "odd.xfm"});
  EXPECT_EQ(found.Status, 1);
  EXPECT_EQ(found.Out, "odd.xfm:" + std::to_string(LineOf(odd, "'f;s'")) +
                           ": error: Split.MasterFields: field 'f;s' of master table 'm' (M) holds ';', which a "
                           "field list cannot hold\n"
                           "odd.xfm:" +
                           std::to_string(LineOf(odd, "MasterFields = 'f->a'")) +
                           ": error: Left.MasterFields: master fields 'f->a' but the table has no MasterSource\n");
  // Names are escaped so that the pairs split back into the names they were made of.
  TProcessResult links = Host({"links", "odd.xfm"});
  EXPECT_EQ(links.Status, 0) << links.Err;
  EXPECT_EQ(links.Out, "odd.xfm\tD\tM\tf\\=e=a\\\\b;x\\\\y=f->a\nodd.xfm\tSplit\tM\tf\\=e=f;x\\\\y=s\n");

  // A loop of links does not read, whichever object comes first: the error is at the
  // MasterSource that closes it in form order.
  auto table = [](const std::string& name, const std::string& source) {
    return "  object " + name + ": TQVRTable\n    MasterSource = " + source + "\n  end\n";
  };
  auto dataSource = [](const std::string& name, const std::string& dataSet) {
    return "  object " + name + ": TDataSource\n    DataSet = " + dataSet + "\n  end\n";
  };
  const std::string third = table("Third", "StaffSource"), staff = table("Staff", "StoreSource"),
                    store = table("Store", "StaffSource"), staffSource = dataSource("StaffSource", "Staff"),
                    storeSource = dataSource("StoreSource", "Store");
  for (const auto& [body, closing] :
       {std::pair{third + staffSource + staff + storeSource + store, "Store: TQVRTable"},
        std::pair{store + storeSource + staff + staffSource + third, "Staff: TQVRTable"},
        std::pair{staffSource + storeSource + third + store + staff, "Staff: TQVRTable"}}) {
    const std::string form = "object Loop: TDataModule\n" + body + "end\n";
    WriteFile(dir / "loop.xfm", form);
    TProcessResult loop = Host({"check", "loop.xfm"});
    EXPECT_EQ(loop.Status, 1);
    const std::string at = "loop.xfm:" + std::to_string(LineOf(form, "MasterSource", closing)) + ": error: .: ";
    EXPECT_EQ(loop.Out.rfind(at, 0), 0u) << form << loop.Out;
    EXPECT_NE(loop.Out.find("Circular datalinks are not allowed"), std::string::npos) << loop.Out;
  }
}

}  // namespace
