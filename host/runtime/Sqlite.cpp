// The SQLite handles: read-only opening with the checks that keep the user's files untouched,
// prepared statements and their cache.
#include "host/runtime/Sqlite.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "host/dataclx/DatabaseError.h"

namespace {

// A database in WAL mode has 2 in both version bytes of its header.
bool IsWalDatabase(const std::string& FileName) {
  unsigned char header[20] = {};
  FILE* file = std::fopen(FileName.c_str(), "rb");
  if (!file) return false;
  size_t read = std::fread(header, 1, sizeof header, file);
  std::fclose(file);
  return read == sizeof header && std::memcmp(header, "SQLite format 3", 16) == 0 && header[18] == 2 && header[19] == 2;
}

bool Exists(const std::string& FileName) {
  struct stat info {};
  return stat(FileName.c_str(), &info) == 0;
}

// A write-ahead log that holds something: an empty one adds nothing to the database file.
bool HasLog(const std::string& FileName) {
  struct stat info {};
  return stat((FileName + "-wal").c_str(), &info) == 0 && info.st_size > 0;
}

// A URI naming the file, with the characters a URI gives a meaning escaped.
std::string FileUri(const std::string& FileName, const char* Query) {
  std::string path = std::filesystem::absolute(FileName).string();
  std::string uri = "file:";
  for (unsigned char c : path) {
    if (c == '%' || c == '?' || c == '#' || c < 0x20 || c >= 0x7f) {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      uri += escaped;
    } else {
      uri += static_cast<char>(c);
    }
  }
  return uri + "?" + Query;
}

// Why SQLite failed: where a system call failed under it (a file that may not be opened, a
// failing disk), the system's reason rather than SQLite's general "unable to open database file".
std::string SqliteReason(sqlite3* Db) {
  const int code = sqlite3_extended_errcode(Db) & 0xFF;
  const int error = sqlite3_system_errno(Db);
  if (error != 0 && (code == SQLITE_CANTOPEN || code == SQLITE_IOERR || code == SQLITE_PERM))
    return std::strerror(error);
  return sqlite3_errmsg(Db);
}

[[noreturn]] void RaiseSqlite(sqlite3* Db, const char* What) {
  throw EDatabaseError(std::string(What) + ": " + (Db ? SqliteReason(Db) : "out of memory"),
                       Db ? sqlite3_extended_errcode(Db) : SQLITE_NOMEM);
}

}  // namespace

void TSqliteStatement::TDeleter::operator()(sqlite3_stmt* Statement) const noexcept { sqlite3_finalize(Statement); }

TSqliteStatement::TSqliteStatement(sqlite3* Db, std::string_view Sql) : FDb(Db) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(Db, Sql.data(), static_cast<int>(Sql.size()), SQLITE_PREPARE_PERSISTENT, &statement,
                         nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    RaiseSqlite(Db, "Cannot prepare a query");
  }
  FStatement.reset(statement);
}

void TSqliteStatement::Bind(int Index, std::string_view Value) {
  if (sqlite3_bind_text(FStatement.get(), Index, Value.data(), static_cast<int>(Value.size()), SQLITE_TRANSIENT) !=
      SQLITE_OK)
    RaiseSqlite(FDb, "Cannot bind a query parameter");
}

void TSqliteStatement::BindNull(int Index) {
  if (sqlite3_bind_null(FStatement.get(), Index) != SQLITE_OK) RaiseSqlite(FDb, "Cannot bind a query parameter");
}

bool TSqliteStatement::Step() {
  int rc = sqlite3_step(FStatement.get());
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  RaiseSqlite(FDb, "Cannot read the database");
}

void TSqliteStatement::Reset() noexcept {
  sqlite3_reset(FStatement.get());
  sqlite3_clear_bindings(FStatement.get());
}

int TSqliteStatement::ColumnCount() const { return sqlite3_column_count(FStatement.get()); }

bool TSqliteStatement::IsNull(int Column) const { return sqlite3_column_type(FStatement.get(), Column) == SQLITE_NULL; }

std::string_view TSqliteStatement::ColumnText(int Column) const {
  auto* text = reinterpret_cast<const char*>(sqlite3_column_text(FStatement.get(), Column));
  if (!text) return {};
  return {text, static_cast<size_t>(sqlite3_column_bytes(FStatement.get(), Column))};
}

int64_t TSqliteStatement::ColumnInt(int Column) const { return sqlite3_column_int64(FStatement.get(), Column); }

void TSqliteConnection::TDeleter::operator()(sqlite3* Db) const noexcept { sqlite3_close_v2(Db); }

TSqliteConnection::TSqliteConnection(std::string FileName, sqlite3* Db) : FFileName(std::move(FileName)), FDb(Db) {
  static uint64_t serial = 0;
  FSerial = ++serial;
}

TSqliteConnection::~TSqliteConnection() = default;

std::unique_ptr<TSqliteConnection> TSqliteConnection::OpenReadOnly(const std::string& FileName, TComponent* Component) {
  if (FileName.empty()) DatabaseError("No database file name given", Component);
  // SQLite would create a missing file or take a name as a URI; look at the file first.
  struct stat info {};
  if (stat(FileName.c_str(), &info) != 0) {
    if (errno == ENOENT) DatabaseError("Database file '" + FileName + "' does not exist", Component);
    DatabaseError("Cannot open database file '" + FileName + "': " + std::strerror(errno), Component);
  }
  if (!S_ISREG(info.st_mode)) DatabaseError("Database file '" + FileName + "' is not a file", Component);

  // Even a read-only connection makes the -wal and -shm files of a WAL database that has none,
  // and leaves them behind. Without a log (or with an empty one) everything is in the database
  // file itself, so it is read as unchanging; Stale notices when that no longer holds.
  const bool wal = IsWalDatabase(FileName);
  bool immutable = wal && !HasLog(FileName);
  // A log without its shared-memory index can only be read by making that index, a file
  // beside the database, and a reader must not leave one behind.
  if (wal && !immutable && !Exists(FileName + "-shm"))
    DatabaseError("Cannot open database file '" + FileName + "': its write-ahead log '" + FileName +
                      "-wal' has no index file '" + FileName +
                      "-shm', which SQLite would have to create to read it; open the database once with a "
                      "program that may write to it",
                  Component);
  // One thread uses a connection: SQLite need not lock it on every call.
  int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX;
  std::string path;
  if (immutable) {
    path = FileUri(FileName, "immutable=1");
    flags |= SQLITE_OPEN_URI;
  } else {
    // A relative name that looks like a URI ("file:...") is still a file name.
    path = FileName.front() == '/' ? FileName : "./" + FileName;
  }
  // Nothing here asks SQLite how much memory it holds: it need not count (and lock) on every
  // allocation. Only possible before SQLite starts; later it declines, and counts.
  static const int kNoMemoryCount = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  (void)kNoMemoryCount;
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  std::unique_ptr<sqlite3, TDeleter> db(raw);
  if (rc != SQLITE_OK)
    DatabaseError("Cannot open database file '" + FileName + "': " + (raw ? SqliteReason(raw) : "out of memory"),
                  Component, raw ? sqlite3_extended_errcode(raw) : SQLITE_NOMEM);
  sqlite3_extended_result_codes(raw, 1);
  sqlite3_busy_timeout(raw, 5000);

  // SQLite reads the header only on first use: do it now, so a file that is no database is
  // reported here, by name.
  sqlite3_stmt* probe = nullptr;
  rc = sqlite3_prepare_v2(raw, "SELECT 1 FROM sqlite_master LIMIT 1", -1, &probe, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_step(probe);
  sqlite3_finalize(probe);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE)
    DatabaseError("Cannot open database file '" + FileName + "': " + SqliteReason(raw), Component,
                  sqlite3_extended_errcode(raw));
  std::unique_ptr<TSqliteConnection> connection(new TSqliteConnection(FileName, db.release()));
  connection->FImmutable = immutable;
  connection->FModified = info.st_mtim;
  connection->FSize = info.st_size;
  connection->FDevice = info.st_dev;
  connection->FInode = info.st_ino;
  return connection;
}

bool TSqliteConnection::Stale() const {
  struct stat info {};
  if (stat(FFileName.c_str(), &info) != 0) return true;
  if (info.st_dev != FDevice || info.st_ino != FInode) return true;
  if (!FImmutable) return false;
  return info.st_size != FSize || info.st_mtim.tv_sec != FModified.tv_sec ||
         info.st_mtim.tv_nsec != FModified.tv_nsec || HasLog(FFileName);
}

TSqliteConnection::TColumnMetadata TSqliteConnection::ColumnMetadata(const std::string& Table,
                                                                     const std::string& Column) {
  const char* collation = nullptr;
  int autoIncrement = 0;
  if (sqlite3_table_column_metadata(FDb.get(), nullptr, Table.c_str(), Column.c_str(), nullptr, &collation, nullptr,
                                    nullptr, &autoIncrement) != SQLITE_OK)
    RaiseSqlite(FDb.get(), "Cannot read the table's columns");
  return {collation ? collation : "BINARY", autoIncrement != 0};
}

TSqliteConnection::TFileVersion TSqliteConnection::CurrentVersion() {
  TFileVersion version;
  struct stat info {};
  if (stat(FFileName.c_str(), &info) != 0) return version;  // gone: matches nothing kept
  version.Device = static_cast<int64_t>(info.st_dev);
  version.Inode = static_cast<int64_t>(info.st_ino);
  version.Size = info.st_size;
  version.Seconds = info.st_mtim.tv_sec;
  version.Nanoseconds = info.st_mtim.tv_nsec;
  TStatementRun run(Prepare("PRAGMA schema_version"));
  if (run->Step()) version.Schema = run->ColumnInt(0);
  return version;
}

int64_t TSqliteConnection::DataVersion() {
  TStatementRun run(Prepare("PRAGMA data_version"));
  return run->Step() ? run->ColumnInt(0) : -1;
}

std::shared_ptr<TDatabaseSchema> TSqliteConnection::KeptSchema() {
  if (FStructureReads == 0 || !FVersionAsked) {
    FVersionAsked = FStructureReads > 0;
    TFileVersion version = CurrentVersion();
    if (!(version == FSchemaVersion)) {
      FSchema.reset();
      FSchemaVersion = version;
      return nullptr;
    }
  }
  return FSchema;
}

void TSqliteConnection::KeepSchema(std::shared_ptr<TDatabaseSchema> Schema) {
  if (FSchemaVersion.Schema < 0) return;  // the file could not be looked at
  FSchema = std::move(Schema);
}

TSqliteStatement& TSqliteConnection::Prepare(std::string_view Sql) {
  auto found = FStatements.find(Sql);
  if (found != FStatements.end()) return found->second;
  TSqliteStatement statement(FDb.get(), Sql);
  ++FCompiled;
  return FStatements.emplace(std::string(Sql), std::move(statement)).first->second;
}

TSqliteStatement TSqliteConnection::PrepareOnce(std::string_view Sql) {
  TSqliteStatement statement(FDb.get(), Sql);
  ++FCompiled;
  return statement;
}

std::string QuoteIdentifier(std::string_view Identifier) {
  std::string quoted;
  quoted.reserve(Identifier.size() + 2);
  quoted += '"';
  for (char c : Identifier) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}
