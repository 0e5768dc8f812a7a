// Reading a database file's structure: its tables, a table's columns as field definitions and
// its indexes as index definitions. What is read is kept by the connection for as long as the
// file stays as it was, so each is read once per version of the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/dataclx/FieldDef.h"
#include "host/runtime/Forward.h"

// Adds the names of the tables, in the order they were created; views and SQLite's own
// sqlite_ tables are left out.
void ReadTableNames(TSqliteConnection& Db, TStrings* List);

// Replaces FieldDefs (and AdvFieldDefs, when given) by the table's columns, in order. Raises
// EDatabaseError "Table 'X' does not exist", or "'X' is a view, not a table" (prefixed by
// Component's name).
void ReadFieldDefs(TSqliteConnection& Db, const std::string& Table, TFieldDefs* FieldDefs,
                   TQVRAdvFieldDefs* AdvFieldDefs, TComponent* Component);

// Replaces IndexDefs by the table's indexes: the primary key as "PRIMARY", then every other
// index in the order it was created, automatic indexes of UNIQUE constraints included.
void ReadIndexDefs(TSqliteConnection& Db, const std::string& Table, TIndexDefs* IndexDefs, TComponent* Component);

// Reads every table's structure at once, in a few queries whatever the number of tables, so that
// the readers above answer any table of the file from memory until the file changes.
void ReadWholeSchema(TSqliteConnection& Db);

// The field type of a declared column type and the size it gives ("VARCHAR(40)": ftString, 40).
TFieldType FieldTypeOfDeclaration(std::string_view Declared, int& Size);

// The text between the outer parentheses of a CREATE INDEX statement's key list, as written;
// empty when there is none.
std::string IndexKeyList(std::string_view CreateIndexSql);

// A foreign key that a table declares: its own columns, the table it references and that
// table's columns, empty when the key names none (it then references the primary key).
struct TForeignKey {
  std::vector<std::string> Columns;
  std::string ParentTable;  // as the declaration spells it
  std::vector<std::string> ParentColumns;
};

// The table's foreign keys in the order its CREATE TABLE statement declares them, read with the
// rest of its structure. Raises as ReadFieldDefs does for a table that does not exist.
std::vector<TForeignKey> ReadForeignKeys(TSqliteConnection& Db, const std::string& Table, TComponent* Component);
