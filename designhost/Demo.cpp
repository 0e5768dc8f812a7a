// The demo database and data module written by `designhost new-demo`.
#include "designhost/Demo.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>

#include "host/rtl/SysUtils.h"
#include "host/runtime/Qvrmain.h"
#include "host/visualclx/VisualClasses.h"
#include "host/visualclx/forms/FormDocument.h"

namespace fs = std::filesystem;

namespace {

// The schema covers every kind of index the designer has to deal with: primary keys (one of
// them over two columns), a multi-field index, a descending one, an expression index and
// unique ones, besides a unique constraint.
constexpr const char* kSchema = R"sql(
CREATE TABLE customers (
  CustNo INTEGER PRIMARY KEY,
  Company VARCHAR(40) NOT NULL,
  City VARCHAR(30),
  Country VARCHAR(30),
  Phone VARCHAR(20) UNIQUE
);
CREATE UNIQUE INDEX ByCompany ON customers (Company);
CREATE INDEX ByCityCountry ON customers (Country, City);

CREATE TABLE orders (
  OrderNo INTEGER PRIMARY KEY,
  CustNo INTEGER NOT NULL REFERENCES customers (CustNo),
  SaleDate DATE,
  ShipVia VARCHAR(20),
  AmountPaid NUMERIC(10, 2)
);
CREATE INDEX ByCustomer ON orders (CustNo, SaleDate);
CREATE INDEX ByDateDesc ON orders (SaleDate DESC);
CREATE INDEX ByShipper ON orders (lower(ShipVia));
CREATE INDEX ByCustNo ON orders (CustNo);

CREATE TABLE items (
  OrderNo INTEGER NOT NULL REFERENCES orders (OrderNo),
  ItemNo INTEGER NOT NULL,
  PartNo INTEGER NOT NULL,
  Qty INTEGER NOT NULL DEFAULT 1,
  PRIMARY KEY (OrderNo, ItemNo)
);
CREATE UNIQUE INDEX ByOrderPart ON items (OrderNo, PartNo);

INSERT INTO customers VALUES
  (1221, 'Kauai Dive Shoppe', 'Kapaa Kauai', 'US', '808-555-0269'),
  (1231, 'Unisco', 'Freeport', 'Bahamas', '809-555-3915'),
  (1351, 'Sight Diver', 'Kato Paphos', 'Cyprus', '357-6-876708'),
  (1354, 'Cayman Divers World Unlimited', 'Grand Cayman', 'British West Indies', '011-5-697044');
INSERT INTO orders VALUES
  (1003, 1351, '2026-04-12', 'UPS', 1250.00),
  (1004, 1221, '2026-05-17', 'UPS', 3615.50),
  (1005, 1354, '2026-01-20', 'Emery', 0.00),
  (1006, 1221, '2026-11-06', 'US Mail', 17.40);
INSERT INTO items VALUES
  (1003, 1, 1313, 5), (1003, 2, 12310, 10),
  (1004, 1, 1313, 1), (1005, 1, 2314, 2), (1006, 1, 5313, 3);
)sql";

constexpr const char* kForm =
    "object Demo: TDataModule\n"
    "  object Database1: TQVRDatabase\n"
    "    DatabaseName = 'Demo'\n"
    "    DatabaseFileName = 'demo.tvd'\n"
    "  end\n"
    "  object Customers: TQVRTable\n"
    "    DatabaseName = 'Demo'\n"
    "    TableName = 'customers'\n"
    "  end\n"
    "  object CustomersSource: TDataSource\n"
    "    DataSet = Customers\n"
    "  end\n"
    "  object Orders: TQVRTable\n"
    "    DatabaseName = 'Demo'\n"
    "    TableName = 'orders'\n"
    "    MasterSource = CustomersSource\n"
    "  end\n"
    "end\n";

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};

// The database being written, in a file beside its place created afresh under a name of its
// own (never through one that exists), removed unless it was moved into place. Messages name
// the file it becomes, with the system's reason.
class TPendingDatabase {
 public:
  explicit TPendingDatabase(fs::path Target) : FTarget(std::move(Target)) {
    std::string name = (FTarget.parent_path() / ("." + FTarget.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(name.data());
    if (fd < 0) Fail(errno);
    FPath = name;
    const mode_t mask = ::umask(022);
    ::umask(mask);
    const bool shared = ::fchmod(fd, 0666 & ~mask) == 0;
    const int error = errno;
    ::close(fd);
    if (!shared) Fail(error);
  }
  ~TPendingDatabase() {
    if (!FPath.empty()) ::unlink(FPath.c_str());
  }
  TPendingDatabase(const TPendingDatabase&) = delete;
  TPendingDatabase& operator=(const TPendingDatabase&) = delete;

  const fs::path& Path() const { return FPath; }
  [[noreturn]] void Fail(const std::string& Reason) const {
    throw EInOutError("Cannot write demo database '" + FTarget.string() + "': " + Reason);
  }
  [[noreturn]] void Fail(int Error) const { Fail(std::string(std::strerror(Error))); }
  void Commit() {
    if (::rename(FPath.c_str(), FTarget.c_str()) != 0) Fail(errno);
    FPath.clear();
  }

 private:
  fs::path FTarget;
  fs::path FPath;
};

void WriteDatabase(const TPendingDatabase& Pending) {
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(Pending.Path().c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  std::unique_ptr<sqlite3, SqliteCloser> db(raw);
  char* message = nullptr;
  if (rc == SQLITE_OK) rc = sqlite3_exec(db.get(), kSchema, nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    // Where a system call failed under SQLite, its reason says more than SQLite's own words.
    const int error = db ? sqlite3_system_errno(db.get()) : 0;
    std::string text = error     ? std::strerror(error)
                       : message ? message
                       : db      ? sqlite3_errmsg(db.get())
                                 : "out of memory";
    sqlite3_free(message);
    Pending.Fail(text);
  }
}

}  // namespace

void WriteDemo(const fs::path& Dir, bool Overwrite) {
  const fs::path database = Dir / "demo.tvd";
  const fs::path form = Dir / "demo.xfm";
  std::error_code ec;
  for (const fs::path& existing : {database, form}) {
    fs::file_status status = fs::symlink_status(existing, ec);
    if (!fs::exists(status)) continue;
    // Only a file is replaced, and only when asked to: a folder of that name is never removed.
    if (!Overwrite)
      throw EInOutError("'" + existing.string() + "' already exists; it is not overwritten without --force");
    if (!fs::is_regular_file(status))
      throw EInOutError("Cannot replace '" + existing.string() + "': not a regular file");
  }
  const bool hadDatabase = fs::exists(database, ec);
  fs::create_directories(Dir, ec);
  if (ec) throw EInOutError("Cannot create folder '" + Dir.string() + "': " + ec.message());

  // The form is read before anything is written, and saved as every form is.
  RegisterVisualClasses();
  RegisterRuntimeClasses();
  TFormDocument document(kForm, form);
  TPendingDatabase pendingDatabase(database);
  WriteDatabase(pendingDatabase);
  pendingDatabase.Commit();
  try {
    document.Save();
  } catch (...) {
    if (!hadDatabase) fs::remove(database, ec);
    throw;
  }
}
