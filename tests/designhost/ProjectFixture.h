// A project of forms in folders for the designhost commands that read many forms at once: a
// database declared in one form and named by the tables of another, files that have moved on
// under them, a form that does not read, and master/detail links of several kinds.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <sstream>
#include <string>

#include "tests/support/Process.h"

namespace project_fixture {

namespace fs = std::filesystem;

inline const std::string kDesignhost = TIRVENDAL_BIN_DIR "/designhost";

constexpr const char* kShared = R"(object Shared: TDataModule
  object ShopDb: TQVRDatabase
    DatabaseName = 'Shop'
    DatabaseFileName = 'data/shop.tvd'
  end
  object LostDb: TQVRDatabase
    DatabaseName = 'Lost'
    DatabaseFileName = 'data/shp.tvd'
  end
  object JunkDb: TQVRDatabase
    DatabaseName = 'Junk'
    DatabaseFileName = 'junk.tvd'
  end
  object NoFileDb: TQVRDatabase
    DatabaseName = 'NoFile'
  end
end
)";

// Orders is stored active with an index that is gone: the form must still be read and checked.
// Customers, Linked and Keyed are a chain of links; the other details pair fields in other ways.
constexpr const char* kOrders = R"(object OrdersModule: TDataModule
  object Customers: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'customers'
  end
  object CustomersSource: TDataSource
    DataSet = Customers
  end
  object Orders: TQVRTable
    Active = True
    DatabaseName = 'shop'
    TableName = 'ORDERS'
    MasterSource = CustomersSource
    IndexName = 'ByCustomr'
    MasterFields = 'CustNo'
  end
  object Items: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'itemz'
  end
  object ByFields: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'orders'
    IndexFieldNames = 'CustNo;SaleDat'
  end
  object Loose: TQVRTable
    DatabaseName = 'Shopp'
    TableName = 'orders'
  end
  object EmptySource: TDataSource
  end
  object Orphan: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'orders'
    MasterSource = EmptySource
  end
  object TooMany: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'orders'
    MasterSource = CustomersSource
    IndexName = 'ByCustNo'
    MasterFields = 'CustNo;Compny'
  end
  object NoTable: TQVRTable
    DatabaseName = 'Shop'
  end
  object Linked: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'orders'
    MasterSource = CustomersSource
    IndexName = 'ByCustomer'
    MasterFields = 'CustNo'
  end
  object LinkedSource: TDataSource
    DataSet = Linked
  end
  object Keyed: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'items'
    MasterSource = LinkedSource
    MasterFields = 'OrderNo'
  end
  object Dated: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'orders'
    MasterSource = CustomersSource
    IndexFieldNames = 'CustNo;SaleDate'
    MasterFields = 'CustNo;City'
  end
end
)";

constexpr const char* kBroken = "object Broken: TDataModule\n  object T: TQVRTable\n    Foo = 1\n  end\nend\n";

// The line (from 1) of the first line of Text that contains Part, after the line From.
inline int LineOf(const std::string& Text, const std::string& Part, const std::string& From = {}) {
  std::istringstream in(Text);
  std::string line;
  bool started = From.empty();
  for (int number = 1; std::getline(in, line); ++number) {
    if (!started && line.find(From) != std::string::npos) started = true;
    if (started && line.find(Part) != std::string::npos) return number;
  }
  ADD_FAILURE() << "no line with " << Part;
  return 0;
}

// Every file under Dir with its size, modification time and bytes.
inline std::map<std::string, std::string> Snapshot(const fs::path& Dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(Dir)) {
    struct stat info {};
    stat(entry.path().c_str(), &info);
    std::ostringstream state;
    state << info.st_size << ' ' << info.st_mtim.tv_sec << '.' << info.st_mtim.tv_nsec << ' ';
    if (entry.is_regular_file()) state << ReadFile(entry.path());
    files[entry.path().string()] = state.str();
  }
  return files;
}

class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "proj" / "data");
    fs::create_directories(dir / "proj" / "forms");
    ExecSql(dir / "proj" / "data" / "shop.tvd", R"sql(
      CREATE TABLE customers (CustNo INTEGER PRIMARY KEY, Company TEXT, City TEXT);
      CREATE TABLE orders (OrderNo INTEGER PRIMARY KEY, CustNo INTEGER, SaleDate DATE);
      CREATE INDEX ByCustomer ON orders (CustNo, SaleDate);
      CREATE INDEX ByCustNo ON orders (CustNo);
      CREATE TABLE items (OrderNo INTEGER, ItemNo INTEGER, PRIMARY KEY (OrderNo, ItemNo));
    )sql");
    WriteFile(dir / "proj" / "junk.tvd", "not a database at all");
    WriteFile(dir / "proj" / "shared.xfm", kShared);
    WriteFile(dir / "proj" / "forms" / "orders.xfm", kOrders);
    WriteFile(dir / "proj" / "forms" / "broken.xfm", kBroken);
    WriteFile(dir / "proj" / "forms" / "notes.txt", "not a form");
  }

  TProcessResult Host(const std::vector<std::string>& args) { return RunProgram(kDesignhost, args, dir.Path()); }

  TTempDir dir;
};

}  // namespace project_fixture
