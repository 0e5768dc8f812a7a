// TQVRDatabase: a database file (SQLite) under a name that data sets refer to. It keeps one
// read-only connection, opened on demand and dropped when the file name changes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/rtl/Component.h"
#include "host/runtime/Forward.h"

class TQVRDatabase : public TComponent {
  TIRVENDAL_CLASS(TQVRDatabase)

  explicit TQVRDatabase(TComponent* Owner);
  ~TQVRDatabase() override;

  // The name data sets use; a database with a name is known to its session. Raises
  // EDatabaseError when the session already knows another database of that name.
  const std::string& DatabaseName() const { return FDatabaseName; }
  void SetDatabaseName(const std::string& Value);
  // The SQLite file; a relative name is taken from the folder of the form the database belongs
  // to (FormFolder), or from the working directory for a database made in code.
  const std::string& DatabaseFileName() const { return FDatabaseFileName; }
  void SetDatabaseFileName(const std::string& Value);
  // DatabaseFileName as a path that the process can open.
  std::string DatabaseFilePath() const;
  // Empty names the default session; naming another session creates it.
  const std::string& SessionName() const { return FSessionName; }
  void SetSessionName(const std::string& Value);
  // The session this database belongs to.
  TQVRSession* Session() const;

  // Adds the names of the file's tables in the order they were created.
  void GetTableNames(TStrings* List);

  bool Connected() const { return FConnection != nullptr; }
  // The read-only connection to the file, opened now if need be. Raises EDatabaseError naming
  // the file when it is missing, unreadable or no SQLite database; nothing is created or changed.
  TSqliteConnection& Connection();
  // Drops the connection; the next use opens it again.
  void CloseConnection();

  // Order of construction, which is the order a session lists its databases in.
  uint64_t CreationSerial() const { return FSerial; }

 private:
  void Join(const std::string& DatabaseName, const std::string& SessionName);

  std::string FDatabaseName;
  std::string FDatabaseFileName;
  std::string FSessionName;
  std::unique_ptr<TSqliteConnection> FConnection;
  uint64_t FSerial;
};
