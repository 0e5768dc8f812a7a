// TQVRSession and TQVRSessionList: the sessions in which data sets work, each knowing the
// database components named in it, and the global list of them that always holds "Default".
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/rtl/Object.h"
#include "host/runtime/Forward.h"

class TQVRSession : public TObject {
  TIRVENDAL_CLASS(TQVRSession)

  explicit TQVRSession(std::string SessionName);
  ~TQVRSession() override;

  const std::string& SessionName() const { return FSessionName; }

  // Adds the names of the databases known to this session, in creation order.
  void GetDatabaseNames(TStrings* List) const;
  // Adds the names of the tables in the file of the database of that name, in the order they
  // were created (no views, no sqlite_ tables). A name that no database of this session has
  // adds nothing.
  void GetTableNames(const std::string& DatabaseName, TStrings* List) const;
  // The database of that name (case-insensitive), or nil.
  TQVRDatabase* FindDatabase(std::string_view DatabaseName) const;
  int DatabaseCount() const { return static_cast<int>(FDatabases.size()); }
  TQVRDatabase* Databases(int Index) const;

 private:
  friend class TQVRDatabase;
  // Raises EDatabaseError when another database of the session has the same name.
  void AddDatabase(TQVRDatabase* Database);
  void RemoveDatabase(TQVRDatabase* Database);

  std::string FSessionName;
  std::vector<TQVRDatabase*> FDatabases;  // not owned; in creation order
};

class TQVRSessionList : public TObject {
  TIRVENDAL_CLASS(TQVRSessionList)

  TQVRSessionList();
  ~TQVRSessionList() override;

  int Count() const { return static_cast<int>(FSessions.size()); }
  TQVRSession* Sessions(int Index) const;
  TQVRSession* DefaultSession() const { return FSessions.front().get(); }
  // Adds "Default", then the other session names in creation order.
  void GetSessionNames(TStrings* List) const;
  // The session of that name (case-insensitive; empty names the default session), or nil.
  TQVRSession* FindSession(std::string_view SessionName) const;
  // The session of that name, created when there is none yet.
  TQVRSession* OpenSession(const std::string& SessionName);
  // The session that knows a database of that name; the default session when none does.
  TQVRSession* SessionOfDatabase(std::string_view DatabaseName) const;

 private:
  std::vector<std::unique_ptr<TQVRSession>> FSessions;
};

// The global session list; it lives as long as the run-time package is loaded.
TQVRSessionList& Sessions();
