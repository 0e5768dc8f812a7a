// Move-only handles on an SQLite connection and its prepared statements. <sqlite3.h> stays in
// the source: callers see only these classes.
#pragma once

#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "host/rtl/Forward.h"

struct sqlite3;
struct sqlite3_stmt;
class TDatabaseSchema;

class TSqliteStatement {
 public:
  TSqliteStatement(sqlite3* Db, std::string_view Sql);
  TSqliteStatement(TSqliteStatement&&) noexcept = default;
  TSqliteStatement& operator=(TSqliteStatement&&) noexcept = default;

  // Binds a parameter (from 1); the text is copied.
  void Bind(int Index, std::string_view Value);
  void BindNull(int Index);
  // Steps to the next row: true when there is one, false when done; raises EDatabaseError.
  bool Step();
  // Makes the statement ready to run again and lets go of the file's read lock.
  void Reset() noexcept;

  int ColumnCount() const;
  bool IsNull(int Column) const;
  // Valid until the next Step or Reset.
  std::string_view ColumnText(int Column) const;
  int64_t ColumnInt(int Column) const;

 private:
  struct TDeleter {
    void operator()(sqlite3_stmt* Statement) const noexcept;
  };
  sqlite3* FDb;
  std::unique_ptr<sqlite3_stmt, TDeleter> FStatement;
};

// Runs a statement for the length of a scope and resets it at the end, errors included, so a
// cached statement never keeps the file locked.
class TStatementRun {
 public:
  explicit TStatementRun(TSqliteStatement& Statement) : FStatement(Statement) { FStatement.Reset(); }
  ~TStatementRun() { FStatement.Reset(); }
  TStatementRun(const TStatementRun&) = delete;
  TStatementRun& operator=(const TStatementRun&) = delete;
  TSqliteStatement* operator->() const { return &FStatement; }
  TSqliteStatement& operator*() const { return FStatement; }

 private:
  TSqliteStatement& FStatement;
};

class TSqliteConnection {
 public:
  // Opens FileName for reading only. A missing file, a folder, an unreadable file or one that is
  // no SQLite database raises EDatabaseError naming the file (prefixed by Component's name);
  // nothing is created or changed.
  static std::unique_ptr<TSqliteConnection> OpenReadOnly(const std::string& FileName, TComponent* Component);
  ~TSqliteConnection();
  TSqliteConnection(const TSqliteConnection&) = delete;
  TSqliteConnection& operator=(const TSqliteConnection&) = delete;

  const std::string& FileName() const { return FFileName; }
  // Tells connections apart over the life of the process, also one made where another was.
  uint64_t Serial() const { return FSerial; }
  // True when the file has changed under a connection that took it as unchanging (see
  // OpenReadOnly), or when its name leads to another file now (one renamed over it); such a
  // connection is to be opened anew.
  bool Stale() const;
  // SQLite's count of the changes other connections made to the file: it differs between two
  // looks when another program wrote in between.
  int64_t DataVersion();

  // What the schema says of a column beyond its name and declared type.
  struct TColumnMetadata {
    std::string Collation;
    bool AutoIncrement = false;
  };
  TColumnMetadata ColumnMetadata(const std::string& Table, const std::string& Column);

  // The structure read from the file (see Schema.h), kept for as long as the file (its identity,
  // size and time) and its schema version stay as they were; nil when none is kept or the file
  // has changed since. Each look-up asks the file afresh, so a schema another program changed
  // is seen at once.
  std::shared_ptr<TDatabaseSchema> KeptSchema();
  // Keeps Schema for the file as KeptSchema last saw it.
  void KeepSchema(std::shared_ptr<TDatabaseSchema> Schema);
  // One reading of structure (a table's fields and its indexes together, or a whole command's):
  // while one lives, the file is asked whether it changed at the first look-up only, not at each.
  class TStructureRead {
   public:
    explicit TStructureRead(TSqliteConnection& Connection) : FConnection(Connection) {
      if (FConnection.FStructureReads++ == 0) FConnection.FVersionAsked = false;
    }
    ~TStructureRead() { --FConnection.FStructureReads; }
    TStructureRead(const TStructureRead&) = delete;
    TStructureRead& operator=(const TStructureRead&) = delete;

   private:
    TSqliteConnection& FConnection;
  };
  // The statement for Sql, prepared on first use and kept while the connection lives.
  TSqliteStatement& Prepare(std::string_view Sql);
  // A statement of its own, for SQL that varies from call to call.
  TSqliteStatement PrepareOnce(std::string_view Sql);
  // How many statements this connection has compiled: what reading has cost in compiles.
  int64_t CompiledCount() const { return FCompiled; }

 private:
  struct TDeleter {
    void operator()(sqlite3* Db) const noexcept;
  };
  TSqliteConnection(std::string FileName, sqlite3* Db);

  std::string FFileName;
  uint64_t FSerial;
  int64_t FCompiled = 0;
  bool FImmutable = false;
  struct timespec FModified {};
  int64_t FSize = 0;
  uint64_t FDevice = 0, FInode = 0;  // the file opened
  // The file as the kept schema was read from it.
  struct TFileVersion {
    int64_t Device = 0, Inode = 0, Size = -1, Seconds = 0, Nanoseconds = 0, Schema = -1;
    bool operator==(const TFileVersion&) const = default;
  };
  TFileVersion CurrentVersion();

  std::unique_ptr<sqlite3, TDeleter> FDb;  // destroyed last, after its statements
  std::map<std::string, TSqliteStatement, std::less<>> FStatements;
  TFileVersion FSchemaVersion;
  std::shared_ptr<TDatabaseSchema> FSchema;
  int FStructureReads = 0;     // TStructureRead scopes alive
  bool FVersionAsked = false;  // within them, whether the file was asked already
};

// An identifier as SQL text: in double quotes, each double quote doubled.
std::string QuoteIdentifier(std::string_view Identifier);
