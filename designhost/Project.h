// A project's forms, read for the commands that look at many forms at once (check, links): the
// forms named on the command line or found under folders, each read as the designer reads it,
// with the line of every stored property, and the structure of the database files they name,
// read once per file and table, never a row.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/dataclx/FieldDef.h"
#include "host/dataclx/IndexDef.h"
#include "host/runtime/Forward.h"
#include "host/runtime/Schema.h"
#include "host/runtime/Sqlite.h"

// A component of a form as stored: its name, its `object` line and the lines of its properties.
struct TStoredComponent {
  std::string Name;
  int Line = 0;
  std::vector<std::pair<std::string, int>> PropertyLines;  // path as stored, line

  // The line Property is stored on; the `object` line when it is not stored.
  int LineOf(std::string_view Property) const;
};

struct TProjectDatabase : TStoredComponent {
  std::string DatabaseName;
  std::string SessionName;
  std::string DatabaseFileName;  // as stored
  std::string FilePath;          // resolved against the form's folder; empty when not named
};

struct TProjectTable : TStoredComponent {
  std::string DatabaseName;
  std::string TableName;
  std::string IndexName;
  std::string IndexFieldNames;
  std::string MasterFields;
  std::string MasterSource;  // the data source's name; empty when there is none
  bool MasterHasDataSet = false;
  int MasterTable = -1;  // the source's data set when it is a table: its place in the form's Tables
};

struct TProjectForm {
  std::string File;  // as given on the command line, joined with the path under a folder
  // Why the form could not be read; the form holds nothing else then.
  struct TFailure {
    int Line = 1;
    std::string ClassName;  // of the error
    std::string Message;
  };
  std::optional<TFailure> Failure;
  std::vector<TProjectDatabase> Databases;
  std::vector<TProjectTable> Tables;
};

// The structure of one table: its field and index definitions as the run-time reads them.
struct TTableStructure {
  std::string Name;   // as the file spells it
  std::string Error;  // why the structure could not be read; empty when it was
  std::unique_ptr<TFieldDefs> Fields;
  std::unique_ptr<TIndexDefs> Indexes;
  std::vector<TForeignKey> ForeignKeys;    // in declaration order
  std::vector<std::string> DeclaredTypes;  // of each field of Fields, as the table declares it
};

// The structure of one database file, read through a read-only connection that stays open:
// every table's at once, at the first look-up of a table.
class TDatabaseStructure {
 public:
  explicit TDatabaseStructure(const std::string& FilePath);
  ~TDatabaseStructure();

  // Why the file cannot be read (missing, unreadable, no database); empty when it can.
  const std::string& Error() const { return FError; }
  const std::vector<std::string>& TableNames() const { return FTableNames; }
  // Whether the file has a view of that name (without regard to case).
  bool IsView(std::string_view Name) const;
  // The table of that name (without regard to case), its structure read now if need be; nil
  // when the file has no such table.
  const TTableStructure* Table(std::string_view Name);

 private:
  std::string FError;
  std::vector<std::string> FTableNames;
  std::unordered_map<std::string, std::string> FSpelled;  // each table's name by its upper-case name
  std::vector<std::string> FViewNames;
  std::unique_ptr<TSqliteConnection> FConnection;
  std::optional<TSqliteConnection::TStructureRead> FRead;  // for as long as the connection
  bool FWholeRead = false;
  std::unordered_map<std::string, std::unique_ptr<TTableStructure>> FTables;  // by upper-case name
};

// Texts of forms that stand in for their files (an editor's unsaved documents), by the form
// file's absolute, normal path (see FormKey).
using TFormTexts = std::map<std::string, std::string, std::less<>>;

// The key of a form file in TFormTexts.
std::string FormKey(const std::filesystem::path& File);

class TProject {
 public:
  // Reads the forms at Paths: a file is one form, a folder every *.xfm under it in byte order of
  // their paths; a file named twice is read once. A form that cannot be read is kept with its
  // failure. Raises EUsageError for a path that does not exist. A form in Texts is read from
  // there, not from its file, which need not exist.
  explicit TProject(const std::vector<std::string>& Paths, const TFormTexts* Texts = nullptr);
  ~TProject();

  const std::vector<TProjectForm>& Forms() const { return FForms; }

  // The first database of the forms with that DatabaseName (without regard to case), or nil.
  const TProjectDatabase* FindDatabase(std::string_view DatabaseName) const;
  // The DatabaseName of every database of the forms, in form order.
  std::vector<std::string> DatabaseNames() const;
  // The form that holds Database.
  const TProjectForm& FormOf(const TProjectDatabase& Database) const;
  // The structure of a database's file; nil when the database names no file.
  TDatabaseStructure* Structure(const TProjectDatabase& Database);
  // The structure of a table's table, when its database is known, its file readable and the
  // table there; nil otherwise.
  const TTableStructure* Structure(const TProjectTable& Table);

 private:
  std::vector<TProjectForm> FForms;
  // Every database by its upper-case DatabaseName, the first of a name only, with its form.
  std::map<std::string, std::pair<const TProjectDatabase*, const TProjectForm*>, std::less<>> FDatabases;
  std::map<std::string, std::unique_ptr<TDatabaseStructure>> FFiles;   // by absolute path
  std::map<const TProjectDatabase*, TDatabaseStructure*> FStructures;  // each database's file
};

// The keys of a table's current order (see CurrentOrder): its IndexName's fields as the table
// spells them (an expression index's expression as its one key), or its IndexFieldNames as
// stored, or the primary key's fields when both are empty. Nothing when that takes the table's
// structure and Structure is nil or lacks the index.
std::optional<std::vector<std::string>> OrderFields(const TProjectTable& Table, const TTableStructure* Structure);
