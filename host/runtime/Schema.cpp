// Reading names and structure from an SQLite file. Names travel as bound parameters into the
// table-valued pragma functions, so no identifier is pasted into SQL here. Each reader runs a
// fixed set of prepared queries, whatever the number of columns or indexes.
#include "host/runtime/Schema.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "host/dataclx/DatabaseError.h"
#include "host/dataclx/IndexDef.h"
#include "host/rtl/Strings.h"
#include "host/rtl/UpdateScope.h"
#include "host/runtime/AdvFieldDefs.h"
#include "host/runtime/Sqlite.h"

namespace {

// The second column marks a virtual table (it has no b-tree of its own), whose module may keep
// its data in shadow tables. SQLite's own tables (sqlite_...) are left out as they are read:
// comparing the prefix costs less than LIKE on every row.
constexpr std::string_view kTableNames =
    "SELECT name, rootpage = 0 FROM sqlite_master WHERE type = 'table' ORDER BY rowid";
// The shadow tables, which SQLite's own table list marks.
constexpr std::string_view kShadowTables =
    "SELECT name FROM pragma_table_list WHERE schema = 'main' AND type = 'shadow'";
// The statement that made a table, for what the column list does not tell (collations).
constexpr std::string_view kTableSql =
    "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE";
constexpr std::string_view kColumns =
    "SELECT name, type, \"notnull\", dflt_value, pk, hidden FROM pragma_table_xinfo(?1)";
constexpr std::string_view kIndexList = "SELECT name, \"unique\", origin FROM pragma_index_list(?1)";
// The descending key columns of one index.
constexpr std::string_view kDescendingKeys =
    "SELECT name FROM pragma_index_xinfo(?1) WHERE key = 1 AND \"desc\" = 1 ORDER BY seqno";
// sqlite_master is the outer loop (its rowid order is the order of creation); each index's
// key columns follow in key order.
constexpr std::string_view kIndexColumns =
    "SELECT m.name, m.sql, x.cid, x.name, x.\"desc\" "
    "FROM sqlite_master AS m, pragma_index_xinfo(m.name) AS x "
    "WHERE m.type = 'index' AND m.tbl_name = ?1 COLLATE NOCASE AND x.key = 1 "
    "ORDER BY m.rowid";

[[noreturn]] void NoSuchTable(const std::string& Table, TComponent* Component) {
  DatabaseError("Table '" + Table + "' does not exist", Component);
}

bool Contains(std::string_view Text, std::string_view Part) { return Text.find(Part) != std::string_view::npos; }

// The declared type's first number in parentheses ("DECIMAL(10,2)": 10) and the second (2).
void TypeArguments(std::string_view Declared, int& First, int& Second) {
  First = Second = 0;
  size_t open = Declared.find('(');
  if (open == std::string_view::npos) return;
  int* target = &First;
  for (size_t i = open + 1; i < Declared.size() && Declared[i] != ')'; ++i) {
    char c = Declared[i];
    if (std::isdigit(static_cast<unsigned char>(c)))
      *target = std::min(*target * 10 + (c - '0'), 1 << 24);
    else if (c == ',')
      target = &Second;
  }
}

// Skips a quoted string or identifier, or a comment, that starts at Pos; answers the position
// after it, or Pos when none starts there.
size_t SkipQuotedOrComment(std::string_view Sql, size_t Pos) {
  char c = Sql[Pos];
  if (c == '\'' || c == '"' || c == '`' || c == '[') {
    char close = c == '[' ? ']' : c;
    size_t i = Pos + 1;
    while (i < Sql.size()) {
      if (Sql[i] == close) {
        // A doubled quote stands for itself inside the quotes.
        if (close != ']' && i + 1 < Sql.size() && Sql[i + 1] == close) {
          i += 2;
          continue;
        }
        return i + 1;
      }
      ++i;
    }
    return Sql.size();
  }
  if (c == '-' && Pos + 1 < Sql.size() && Sql[Pos + 1] == '-') {
    size_t end = Sql.find('\n', Pos);
    return end == std::string_view::npos ? Sql.size() : end + 1;
  }
  if (c == '/' && Pos + 1 < Sql.size() && Sql[Pos + 1] == '*') {
    size_t end = Sql.find("*/", Pos + 2);
    return end == std::string_view::npos ? Sql.size() : end + 2;
  }
  return Pos;
}

// Notes a descending key column of the primary key, whose own index shows only as PRIMARY.
void MarkDescending(TIndexDef* Primary, std::string_view Column) {
  Primary->SetOptions(Primary->Options() + TIndexOptions{ixDescending});
  std::string fields = Primary->DescFields();
  if (!fields.empty()) fields += ';';
  fields += Column;
  Primary->SetDescFields(fields);
}

struct TIndexListEntry {
  std::string Name;
  bool Unique;
  bool PrimaryKey;
};

}  // namespace

std::string IndexKeyList(std::string_view Sql) {
  size_t start = std::string_view::npos;
  int depth = 0;
  for (size_t i = 0; i < Sql.size();) {
    size_t skipped = SkipQuotedOrComment(Sql, i);
    if (skipped != i) {
      i = skipped;
      continue;
    }
    if (Sql[i] == '(') {
      if (depth++ == 0) start = i + 1;
    } else if (Sql[i] == ')' && depth > 0) {
      if (--depth == 0) return std::string(Sql.substr(start, i - start));
    }
    ++i;
  }
  return {};
}

TFieldType FieldTypeOfDeclaration(std::string_view Declared, int& Size) {
  std::string type = AnsiUpperCase(Declared);
  int first = 0, second = 0;
  TypeArguments(type, first, second);
  Size = 0;
  // SQLite's own rules decide the affinity (INT first, then CHAR/CLOB/TEXT, BLOB, REAL); the
  // names within each family pick the platform's type.
  if (Contains(type, "INT")) {
    if (Contains(type, "BIGINT") || Contains(type, "INT8")) return ftLargeint;
    if (Contains(type, "SMALLINT") || Contains(type, "TINYINT") || Contains(type, "INT2")) return ftSmallint;
    return ftInteger;
  }
  if (Contains(type, "CHAR") || Contains(type, "CLOB") || Contains(type, "TEXT")) {
    if (Contains(type, "CLOB") || Contains(type, "TEXT")) return ftMemo;
    Size = first;
    if (Contains(type, "VAR")) return Contains(type, "NVAR") || Contains(type, "NATIVE") ? ftWideString : ftString;
    return ftFixedChar;
  }
  if (Contains(type, "BLOB")) return ftBlob;
  if (Contains(type, "REAL") || Contains(type, "FLOA") || Contains(type, "DOUB")) return ftFloat;
  if (Contains(type, "BOOL")) return ftBoolean;
  if (Contains(type, "DATETIME") || Contains(type, "TIMESTAMP")) return ftDateTime;
  if (Contains(type, "DATE")) return ftDate;
  if (Contains(type, "TIME")) return ftTime;
  if (Contains(type, "MONEY") || Contains(type, "CURRENCY")) return ftCurrency;
  if (Contains(type, "DECIMAL") || Contains(type, "NUMERIC")) {
    Size = second;
    return ftBCD;
  }
  if (Contains(type, "VARBINARY")) {
    Size = first;
    return ftVarBytes;
  }
  if (Contains(type, "BINARY")) {
    Size = first;
    return ftBytes;
  }
  if (Contains(type, "GUID") || Contains(type, "UUID")) return ftGuid;
  // No declared type, or one SQLite takes any value for.
  return ftVariant;
}

void ReadTableNames(TSqliteConnection& Db, TStrings* List) {
  TUpdateScope update(List);
  const int first = List->Count();
  bool anyVirtual = false;
  {
    TStatementRun run(Db.Prepare(kTableNames));
    while (run->Step()) {
      std::string_view name = run->ColumnText(0);
      // SQLite keeps the prefix to itself in any case ("SQLITE_X" cannot be made either).
      if (name.size() >= 7 && SameText(name.substr(0, 7), "sqlite_")) continue;
      List->Add(std::string(name));
      anyVirtual = anyVirtual || run->ColumnInt(1) != 0;
    }
  }
  // Only a virtual table's module makes shadow tables: without one there is nothing to leave out.
  if (!anyVirtual) return;
  std::vector<std::string> shadows;
  {
    TStatementRun run(Db.Prepare(kShadowTables));
    while (run->Step()) shadows.emplace_back(run->ColumnText(0));
  }
  std::sort(shadows.begin(), shadows.end());
  for (int i = List->Count() - 1; i >= first; --i)
    if (std::binary_search(shadows.begin(), shadows.end(), List->Get(i))) List->Delete(i);
}

namespace {

bool IsWordChar(char C) {
  auto c = static_cast<unsigned char>(C);
  return std::isalnum(c) || c == '_' || c == '$' || c >= 0x80;
}

// An identifier as SQL spells it, without its quotes.
std::string Dequote(std::string_view Token) {
  if (Token.empty()) return {};
  char open = Token.front();
  if (open == '[') return std::string(Token.substr(1, Token.size() - 2));
  if (open != '"' && open != '`' && open != '\'') return std::string(Token);
  std::string name;
  for (size_t i = 1; i + 1 < Token.size(); ++i) {
    name += Token[i];
    if (Token[i] == open) ++i;  // a doubled quote stands for one
  }
  return name;
}

// The parts of a CREATE TABLE statement's list of columns and constraints, each as its words
// and quoted names outside nested parentheses; AutoIncrement tells whether the word
// AUTOINCREMENT occurs anywhere in the list. Empty when the statement has no such list.
std::vector<std::vector<std::string_view>> DefinitionParts(std::string_view Sql, bool& AutoIncrement) {
  std::vector<std::vector<std::string_view>> parts;
  AutoIncrement = false;
  int depth = 0;
  for (size_t i = 0; i < Sql.size();) {
    const char c = Sql[i];
    if (size_t skipped = SkipQuotedOrComment(Sql, i); skipped != i) {
      if (depth == 1 && c != '-' && c != '/') parts.back().push_back(Sql.substr(i, skipped - i));
      i = skipped;
      continue;
    }
    if (IsWordChar(c)) {
      size_t end = i;
      while (end < Sql.size() && IsWordChar(Sql[end])) ++end;
      std::string_view word = Sql.substr(i, end - i);
      if (depth >= 1 && SameText(word, "AUTOINCREMENT")) AutoIncrement = true;
      if (depth == 1) parts.back().push_back(word);
      i = end;
      continue;
    }
    if (c == '(') {
      if (++depth == 1) parts.emplace_back();
    } else if (c == ')') {
      if (--depth == 0) return parts;
    } else if (c == ',' && depth == 1) {
      parts.emplace_back();
    }
    ++i;
  }
  return {};
}

bool StartsConstraint(std::string_view Word) {
  for (std::string_view keyword : {"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK", "FOREIGN"})
    if (SameText(Word, keyword)) return true;
  return false;
}

// Sets each column's collation and AUTOINCREMENT from the table's CREATE TABLE statement, all
// in one pass over it. False (and nothing set) when the statement's columns are not exactly
// Extended's, by name and in order: a virtual table's, for one, come from its module.
bool ColumnClausesFromSql(std::string_view Sql, TQVRAdvFieldDefs& Extended) {
  constexpr std::string_view kVirtual = "CREATE VIRTUAL";
  if (Sql.size() >= kVirtual.size() && SameText(Sql.substr(0, kVirtual.size()), kVirtual)) return false;
  bool autoIncrement = false;
  const auto parts = DefinitionParts(Sql, autoIncrement);
  std::vector<std::string> collations;
  for (const auto& words : parts) {
    if (words.empty()) return false;
    if (StartsConstraint(words.front())) break;
    std::string collation = "BINARY";
    for (size_t i = 1; i + 1 < words.size(); ++i)
      if (SameText(words[i], "COLLATE")) collation = Dequote(words[i + 1]);
    size_t column = collations.size();
    if (static_cast<int>(column) >= Extended.Count() ||
        !SameText(Dequote(words.front()), Extended.Items(static_cast<int>(column))->Name()))
      return false;
    collations.push_back(std::move(collation));
  }
  if (static_cast<int>(collations.size()) != Extended.Count()) return false;
  // AUTOINCREMENT is allowed only on a table's one INTEGER PRIMARY KEY column.
  int keyColumns = 0;
  for (int i = 0; i < Extended.Count(); ++i) keyColumns += Extended.Items(i)->PrimaryKeyIndex() > 0 ? 1 : 0;
  for (int i = 0; i < Extended.Count(); ++i) {
    TQVRAdvFieldDef* def = Extended.Items(i);
    if (def->Generated()) continue;
    def->SetCollation(collations[static_cast<size_t>(i)]);
    def->SetAutoIncrement(autoIncrement && keyColumns == 1 && def->PrimaryKeyIndex() == 1);
  }
  return true;
}

// A table's columns as read from the file, kept while the file stays as it was.
struct TColumnDefinitions {
  TFieldDefs Fields{nullptr};
  TQVRAdvFieldDefs Extended{nullptr};
};

std::shared_ptr<const TColumnDefinitions> ReadColumns(TSqliteConnection& Db, const std::string& Table,
                                                      TComponent* Component) {
  const std::string key = "columns\n" + Table;
  if (auto kept = Db.FindDerived(key)) return std::static_pointer_cast<const TColumnDefinitions>(kept);
  auto read = std::make_shared<TColumnDefinitions>();
  TFieldDefs& fields = read->Fields;
  TQVRAdvFieldDefs& extended = read->Extended;
  {
    TStatementRun run(Db.Prepare(kColumns));
    run->Bind(1, Table);
    while (run->Step()) {
      // Hidden columns of virtual tables are no fields; generated columns are.
      int64_t hidden = run->ColumnInt(5);
      if (hidden == 1) continue;
      std::string name(run->ColumnText(0));
      std::string declared(run->ColumnText(1));
      int size = 0;
      TFieldType type = FieldTypeOfDeclaration(declared, size);
      fields.Add(name, type, size, run->ColumnInt(2) != 0);

      TQVRAdvFieldDef* def = extended.AddFieldDef();
      def->SetName(name);
      def->SetDeclaredType(declared);
      if (!run->IsNull(3)) def->SetDefaultExpression(std::string(run->ColumnText(3)));
      def->SetPrimaryKeyIndex(static_cast<int>(run->ColumnInt(4)));
      def->SetGenerated(hidden >= 2);
    }
  }
  if (fields.Count() == 0) NoSuchTable(Table, Component);
  std::string sql;
  {
    TStatementRun run(Db.Prepare(kTableSql));
    run->Bind(1, Table);
    if (run->Step()) sql = run->ColumnText(0);
  }
  if (!ColumnClausesFromSql(sql, extended)) {
    // SQLite is asked column by column where the statement does not tell.
    for (int i = 0; i < extended.Count(); ++i) {
      TQVRAdvFieldDef* def = extended.Items(i);
      if (def->Generated()) continue;  // SQLite keeps no metadata for them
      auto meta = Db.ColumnMetadata(Table, def->Name());
      def->SetCollation(meta.Collation);
      def->SetAutoIncrement(meta.AutoIncrement);
    }
  }
  for (int i = 0; i < extended.Count(); ++i)
    if (extended.Items(i)->AutoIncrement()) fields.Items(i)->SetDataType(ftAutoInc);
  Db.KeepDerived(key, read);
  return read;
}

}  // namespace

void ReadFieldDefs(TSqliteConnection& Db, const std::string& Table, TFieldDefs* FieldDefs,
                   TQVRAdvFieldDefs* AdvFieldDefs, TComponent* Component) {
  const auto columns = ReadColumns(Db, Table, Component);
  FieldDefs->Assign(&columns->Fields);
  if (AdvFieldDefs) AdvFieldDefs->Assign(&columns->Extended);
}

namespace {

// Adds the primary key as "PRIMARY" when the table has one and answers it; raises when there is
// no such table. The key's columns come from the table's column definitions, read once per
// version of the file.
TIndexDef* AddPrimaryKey(TSqliteConnection& Db, const std::string& Table, TIndexDefs& Defs, TComponent* Component) {
  const auto columns = ReadColumns(Db, Table, Component);
  std::vector<std::pair<int, std::string>> keyColumns;  // by their place in the key
  for (int i = 0, n = columns->Extended.Count(); i < n; ++i) {
    const TQVRAdvFieldDef* def = columns->Extended.Items(i);
    if (def->PrimaryKeyIndex() > 0) keyColumns.emplace_back(def->PrimaryKeyIndex(), def->Name());
  }
  if (keyColumns.empty()) return nullptr;
  std::sort(keyColumns.begin(), keyColumns.end());
  std::string fields;
  for (const auto& column : keyColumns) {
    if (!fields.empty()) fields += ';';
    fields += column.second;
  }
  return Defs.Add("PRIMARY", fields, {ixPrimary, ixUnique});
}

bool ByName(const TIndexListEntry& a, const TIndexListEntry& b) { return a.Name < b.Name; }

// Which of the table's indexes are unique and which one is the primary key's own, by name.
std::vector<TIndexListEntry> ReadIndexList(TSqliteConnection& Db, const std::string& Table) {
  std::vector<TIndexListEntry> list;
  TStatementRun run(Db.Prepare(kIndexList));
  run->Bind(1, Table);
  while (run->Step())
    list.push_back({std::string(run->ColumnText(0)), run->ColumnInt(1) != 0, run->ColumnText(2) == "pk"});
  std::sort(list.begin(), list.end(), ByName);
  return list;
}

}  // namespace

void ReadIndexDefs(TSqliteConnection& Db, const std::string& Table, TIndexDefs* IndexDefs, TComponent* Component) {
  const std::string cacheKey = "indexes\n" + Table;
  TSqliteConnection::TStructureRead structure(Db);  // the primary key comes from the columns
  if (auto kept = Db.FindDerived(cacheKey)) {
    IndexDefs->Assign(static_cast<const TIndexDefs*>(kept.get()));
    return;
  }
  // Read into a copy first, so an error leaves the data set's definitions as they were.
  auto read = std::make_shared<TIndexDefs>(nullptr);
  TIndexDefs& result = *read;
  TIndexDef* primary = AddPrimaryKey(Db, Table, result, Component);
  const std::vector<TIndexListEntry> list = ReadIndexList(Db, Table);

  // One row per key column; the rows of an index follow each other.
  TStatementRun run(Db.Prepare(kIndexColumns));
  run->Bind(1, Table);
  std::string indexName, createSql, fields, descFields;
  bool haveIndex = false, expression = false, descending = false, primaryKeySeen = false;
  const TIndexListEntry* entry = nullptr;
  TIndexDef* current = nullptr;
  auto finish = [&] {
    if (!current) return;
    TIndexOptions options;
    if (entry->Unique) options.Include(ixUnique);
    if (descending) options.Include(ixDescending);
    if (expression) {
      options.Include(ixExpression);
      current->SetExpression(IndexKeyList(createSql));
    } else {
      current->SetFields(fields);
      current->SetDescFields(descFields);
    }
    current->SetOptions(options);
    current = nullptr;
  };
  while (run->Step()) {
    std::string_view name = run->ColumnText(0);
    if (!haveIndex || name != indexName) {
      finish();
      haveIndex = true;
      indexName.assign(name);
      auto found = std::lower_bound(list.begin(), list.end(), indexName,
                                    [](const TIndexListEntry& e, const std::string& n) { return e.Name < n; });
      entry = found != list.end() && found->Name == indexName ? &*found : nullptr;
      if (entry && !entry->PrimaryKey) {
        current = result.AddIndexDef();
        current->SetName(indexName);
        createSql.assign(run->ColumnText(1));
        fields.clear();
        descFields.clear();
        expression = descending = false;
      }
    }
    bool isDescending = run->ColumnInt(4) != 0;
    if (!current) {
      if (entry && entry->PrimaryKey) primaryKeySeen = true;
      if (entry && entry->PrimaryKey && primary && isDescending) MarkDescending(primary, run->ColumnText(3));
      continue;
    }
    descending = descending || isDescending;
    if (run->ColumnInt(2) == -2 || run->IsNull(3)) {
      expression = true;
      continue;
    }
    std::string_view column = run->ColumnText(3);
    if (!fields.empty()) fields += ';';
    fields += column;
    if (isDescending) {
      if (!descFields.empty()) descFields += ';';
      descFields += column;
    }
  }
  finish();

  // The primary key's own index is listed in sqlite_master only for a table with rowids; a
  // WITHOUT ROWID table's key is asked for its descending columns directly.
  const auto key = std::find_if(list.begin(), list.end(), [](const TIndexListEntry& e) { return e.PrimaryKey; });
  if (primary && key != list.end() && !primaryKeySeen) {
    TStatementRun keys(Db.Prepare(kDescendingKeys));
    keys->Bind(1, key->Name);
    while (keys->Step()) MarkDescending(primary, keys->ColumnText(0));
  }
  Db.KeepDerived(cacheKey, read);
  IndexDefs->Assign(&result);
}
