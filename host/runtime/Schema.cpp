// Reading names and structure from an SQLite file. Names travel as bound parameters into the
// table-valued pragma functions, so no identifier is pasted into SQL here. The catalogue is read
// once per version of the file; a table's facts take a fixed set of prepared queries, whatever
// the number of its columns or indexes, and every table's together take the same set, but for
// the index lists of tables with constraint indexes, which are asked table by table.
#include "host/runtime/Schema.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/dataclx/DatabaseError.h"
#include "host/dataclx/IndexDef.h"
#include "host/rtl/Strings.h"
#include "host/rtl/UpdateScope.h"
#include "host/runtime/AdvFieldDefs.h"
#include "host/runtime/Sqlite.h"

namespace {

// The catalogue: every table and index in the order they were created, with the statement that
// made it. A table's fourth column marks a virtual table (it has no b-tree of its own), whose
// module may keep its data in shadow tables.
constexpr std::string_view kCatalogue =
    "SELECT type = 'table', name, tbl_name, rootpage = 0, sql, type = 'view' FROM sqlite_master "
    "WHERE type IN ('table', 'index', 'view') ORDER BY rowid";
// The shadow tables, which SQLite's own table list marks.
constexpr std::string_view kShadowTables =
    "SELECT name FROM pragma_table_list WHERE schema = 'main' AND type = 'shadow'";

// The facts of a table's structure, each kind as rows led by the table's name, so that one
// reader takes them whether they come for one table or, joined over the catalogue, for all its
// tables with b-trees at once. Virtual tables are asked one by one: a module that is missing
// fails only its own table.
constexpr std::string_view kColumnsOfTable =
    "SELECT ?1, name, type, \"notnull\", dflt_value, pk, hidden FROM pragma_table_xinfo(?1)";
constexpr std::string_view kColumnsOfAll =
    "SELECT m.name, x.name, x.type, x.\"notnull\", x.dflt_value, x.pk, x.hidden "
    "FROM sqlite_master AS m, pragma_table_xinfo(m.name) AS x WHERE m.type = 'table' AND m.rootpage <> 0";
// Each index's key columns in key order, the rows of one index together.
constexpr std::string_view kIndexKeysOfTable =
    "SELECT ?1, l.name, l.\"unique\", l.origin, x.cid, x.name, x.\"desc\" "
    "FROM pragma_index_list(?1) AS l, pragma_index_xinfo(l.name) AS x WHERE x.key = 1";
// The key columns of the indexes named in ?1, a JSON array of names, in its order, the rows of
// one index together, led by its name: created indexes need not the index list of their table,
// which SQLite builds as a program of its own as long as the list.
constexpr std::string_view kNamedIndexKeys =
    "SELECT j.value, x.cid, x.name, x.\"desc\" FROM json_each(?1) AS j, pragma_index_xinfo(j.value) AS x "
    "WHERE x.key = 1";
// Each foreign key's columns, the keys in the order they were declared (SQLite numbers them from
// the last), the rows of one key together.
constexpr std::string_view kForeignKeysOfTable =
    "SELECT ?1, id, \"table\", \"from\", \"to\" FROM pragma_foreign_key_list(?1) ORDER BY id DESC, seq";
// A foreign key is declared with the word REFERENCES, whose statement alone is asked (LIKE
// compares ASCII letters without regard to case).
constexpr std::string_view kForeignKeysOfAll =
    "SELECT m.name, f.id, f.\"table\", f.\"from\", f.\"to\" "
    "FROM sqlite_master AS m, pragma_foreign_key_list(m.name) AS f "
    "WHERE m.type = 'table' AND m.rootpage <> 0 AND m.sql LIKE '%references%' ORDER BY m.rowid, f.id DESC, f.seq";

[[noreturn]] void NoSuchTable(const std::string& Table, TComponent* Component) {
  DatabaseError("Table '" + Table + "' does not exist", Component);
}

bool Contains(std::string_view Text, std::string_view Part) { return Text.find(Part) != std::string_view::npos; }

// Whether Text holds Word (upper case) in any case of its ASCII letters.
bool ContainsWord(std::string_view Text, std::string_view Word) {
  for (size_t i = 0; i + Word.size() <= Text.size(); ++i) {
    size_t k = 0;
    while (k < Word.size() && std::toupper(static_cast<unsigned char>(Text[i + k])) == Word[k]) ++k;
    if (k == Word.size()) return true;
  }
  return false;
}

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

// Appends Text to Json as a JSON string.
void AppendJsonString(std::string& Json, std::string_view Text) {
  static constexpr char kHex[] = "0123456789abcdef";
  Json += '"';
  for (char c : Text) {
    if (c == '"' || c == '\\') {
      Json += '\\';
      Json += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      Json += "\\u00";
      Json += kHex[(c >> 4) & 0xf];
      Json += kHex[c & 0xf];
    } else {
      Json += c;
    }
  }
  Json += '"';
}

// The text between the outer parentheses of a CREATE INDEX statement's key list.
std::string_view KeyListOf(std::string_view Sql) {
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
      if (--depth == 0) return Sql.substr(start, i - start);
    }
    ++i;
  }
  return {};
}

}  // namespace

std::string IndexKeyList(std::string_view Sql) { return std::string(KeyListOf(Sql)); }

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

namespace {

bool IsWordChar(char C) {
  auto c = static_cast<unsigned char>(C);
  return std::isalnum(c) || c == '_' || c == '$' || c >= 0x80;
}

// Whether a CREATE INDEX statement makes a unique index: its second word is UNIQUE. SQLite
// stores the statement as "CREATE UNIQUE INDEX ...", whatever spelling it was given, but the
// words are read as SQL all the same, comments and any case allowed.
bool DeclaresUnique(std::string_view Sql) {
  int words = 0;
  for (size_t i = 0; i < Sql.size();) {
    if (size_t skipped = SkipQuotedOrComment(Sql, i); skipped != i) {
      i = skipped;
      continue;
    }
    if (!IsWordChar(Sql[i])) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < Sql.size() && IsWordChar(Sql[end])) ++end;
    if (++words == 2) return SameText(Sql.substr(i, end - i), "UNIQUE");
    i = end;
  }
  return false;
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

// SQLite matches table names without regard to ASCII case only, as AnsiUpperCase folds.
std::string NameKey(std::string_view Name) { return AnsiUpperCase(Name); }

// A table's columns found by name without regard to ASCII case, as SQLite finds them.
class TColumnFinder {
 public:
  template <typename TColumns>
  explicit TColumnFinder(const TColumns& Columns) {
    FByKey.reserve(Columns.size());
    for (const auto& column : Columns) FByKey.emplace_back(NameKey(column.Name), &column.Name);
    std::sort(FByKey.begin(), FByKey.end());
  }
  // The column's name as the table spells it; nil when the table has no such column.
  const std::string* Find(std::string_view Name) const {
    const std::string key = NameKey(Name);
    auto found = std::lower_bound(FByKey.begin(), FByKey.end(), key,
                                  [](const auto& Entry, const std::string& Key) { return Entry.first < Key; });
    return found != FByKey.end() && found->first == key ? found->second : nullptr;
  }

 private:
  std::vector<std::pair<std::string, const std::string*>> FByKey;  // sorted by NameKey
};

// The key columns of a CREATE INDEX statement, in order, when every key names one of the
// table's columns, bare or in double quotes, brackets or backquotes, with at most a COLLATE
// clause and ASC after it: the names as the table spells them. Empty when any key is anything
// else, and SQLite is asked then: an expression; a name that is no column (SQLite reads it as
// a string, say, or the rowid); a descending key (files of the oldest format ignore DESC).
std::vector<const std::string*> KeyColumnsOfStatement(std::string_view Sql, const TColumnFinder& Columns) {
  const std::string_view list = KeyListOf(Sql);
  std::vector<const std::string*> keys;
  std::vector<std::string_view> words;  // of the key at hand
  auto takeKey = [&] {
    size_t n = words.size();
    if (n > 0 && SameText(words[n - 1], "ASC")) --n;
    if (n != 1 && !(n == 3 && SameText(words[1], "COLLATE"))) return false;
    if (words[0].front() == '\'') return false;
    const std::string* column = Columns.Find(Dequote(words[0]));
    if (!column) return false;
    keys.push_back(column);
    words.clear();
    return true;
  };
  for (size_t i = 0; i < list.size();) {
    const char c = list[i];
    if (size_t skipped = SkipQuotedOrComment(list, i); skipped != i) {
      if (c != '-' && c != '/') words.push_back(list.substr(i, skipped - i));
      i = skipped;
    } else if (IsWordChar(c)) {
      size_t end = i;
      while (end < list.size() && IsWordChar(list[end])) ++end;
      words.push_back(list.substr(i, end - i));
      i = end;
    } else if (c == ',') {
      if (!takeKey()) return {};
      ++i;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else {
      return {};  // an operator, a nested parenthesis: an expression
    }
  }
  if (!takeKey()) return {};
  return keys;
}

bool StartsConstraint(std::string_view Word) {
  for (std::string_view keyword : {"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK", "FOREIGN"})
    if (SameText(Word, keyword)) return true;
  return false;
}

// Reads each column's collation from the table's CREATE TABLE statement, and whether the word
// AUTOINCREMENT occurs anywhere in its list of columns and constraints, all in one pass over
// it: each part of the list is taken as its words and quoted names outside nested parentheses.
// False when the statement's columns are not exactly Names, by name and in order: a virtual
// table's, for one, come from its module.
bool ColumnClausesFromSql(std::string_view Sql, const std::vector<const std::string*>& Names,
                          std::vector<std::string>& Collations, bool& AutoIncrement) {
  constexpr std::string_view kVirtual = "CREATE VIRTUAL";
  if (Sql.size() >= kVirtual.size() && SameText(Sql.substr(0, kVirtual.size()), kVirtual)) return false;
  Collations.clear();
  Collations.reserve(Names.size());
  AutoIncrement = false;
  std::vector<std::string_view> words;  // of the part at hand
  bool constraints = false;             // the columns are over: table constraints follow
  auto takePart = [&] {
    if (constraints) return true;
    if (words.empty()) return false;
    if (StartsConstraint(words.front())) {
      constraints = true;
      return true;
    }
    std::string collation = "BINARY";
    for (size_t i = 1; i + 1 < words.size(); ++i)
      if (SameText(words[i], "COLLATE")) collation = Dequote(words[i + 1]);
    const size_t column = Collations.size();
    if (column >= Names.size() || !SameText(Dequote(words.front()), *Names[column])) return false;
    Collations.push_back(std::move(collation));
    words.clear();
    return true;
  };
  int depth = 0;
  for (size_t i = 0; i < Sql.size();) {
    const char c = Sql[i];
    if (size_t skipped = SkipQuotedOrComment(Sql, i); skipped != i) {
      if (depth == 1 && c != '-' && c != '/') words.push_back(Sql.substr(i, skipped - i));
      i = skipped;
      continue;
    }
    if (IsWordChar(c)) {
      size_t end = i;
      while (end < Sql.size() && IsWordChar(Sql[end])) ++end;
      std::string_view word = Sql.substr(i, end - i);
      if (depth >= 1 && SameText(word, "AUTOINCREMENT")) AutoIncrement = true;
      if (depth == 1) words.push_back(word);
      i = end;
      continue;
    }
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (--depth == 0) return takePart() && Collations.size() == Names.size();
    } else if (c == ',' && depth == 1) {
      if (!takePart()) return false;
    }
    ++i;
  }
  return false;
}

}  // namespace

// The structure of a database file as the file states it, for one version of the file: the
// catalogue read at once, each table's facts read when first asked for (or every table's at
// once), and the definitions built from them, each when first asked for.
class TDatabaseSchema {
 public:
  // Thousands of them on a wide table: the strings first, the small members packed after.
  struct TColumnFacts {
    std::string Name, Declared;
    std::string Default;  // the DEFAULT clause's expression; empty when there is none
    // Read when the table's definitions are first made (see ReadClauses); empty and false for
    // a generated column.
    std::string Collation;
    int PrimaryKeyIndex = 0;  // the place in the primary key from 1; 0 outside it
    uint8_t Hidden = 0;       // 1 a virtual table's hidden column, 2 or 3 a generated one
    bool NotNull = false;
    bool AutoIncrement = false;
  };
  struct TKeyFacts {
    std::string Column;  // the column's name; empty for an expression
    bool Expression = false;
    bool Descending = false;
  };
  struct TIndexFacts {
    std::string Name, Sql;
    bool Listed = false;  // named by the table's index list, which tells the rest
    bool Unique = false;
    bool PrimaryKey = false;  // the primary key's own index
    std::vector<TKeyFacts> Keys;
  };
  struct TTableFacts {
    std::string Name, Sql;  // as the file spells them
    bool Virtual = false;
    bool Read = false;         // columns and indexes below
    bool ClausesRead = false;  // the columns' collations and AUTOINCREMENT
    std::vector<TColumnFacts> Columns;
    // In the order they were created; the key of a table without rowids, which the catalogue
    // does not list, last.
    std::vector<TIndexFacts> Indexes;
    std::vector<TForeignKey> ForeignKeys;  // in the order they were declared
  };
  struct TTable {
    TTableFacts Facts;
  };

  static std::shared_ptr<TDatabaseSchema> Read(TSqliteConnection& Db);

  const std::vector<std::string>& TableNames() const { return FTableNames; }
  bool IsView(std::string_view Name) const { return FViews.contains(NameKey(Name)); }
  // The table of that name, its facts read if need be; nil when the file has none.
  TTable* Table(TSqliteConnection& Db, std::string_view Name);
  void ReadAllTables(TSqliteConnection& Db);
  bool AllRead() const { return FAllRead; }

 private:
  TTable* Find(std::string_view Name);
  // The readers of each kind of fact: each takes rows led by the table's name.
  using TFindFacts = std::function<TTableFacts*(std::string_view Table)>;
  static void ReadColumnRows(TStatementRun& Run, const TFindFacts& Target);
  static void ReadIndexKeyRows(TStatementRun& Run, const TFindFacts& Target);
  // One key column of Index from the row's columns First (cid), First + 1 (name), First + 2 (desc).
  static void AddKey(TStatementRun& Run, int First, TIndexFacts& Index);
  void ReadAllIndexKeys(TSqliteConnection& Db, const TFindFacts& Target);
  // Whether the table's index list must be asked of SQLite, rather than its created indexes by
  // name (see ReadAllIndexKeys).
  static bool NeedsIndexList(const TTableFacts& Facts);
  // Takes the key columns of the table's created indexes from their statements where these
  // tell them plainly; answers whether any is left to ask SQLite.
  static bool KeysFromStatements(TTableFacts& Facts);
  // Asks SQLite the key columns of these created indexes, all at once.
  static void ReadIndexKeysByName(TSqliteConnection& Db, const std::vector<TIndexFacts*>& Indexes);
  // Forgets what reading a table added to its catalogue facts, the first Catalogued indexes
  // being the catalogue's.
  static void Unread(TTableFacts& Facts, size_t Catalogued);
  static void ReadForeignKeyRows(TStatementRun& Run, const TFindFacts& Target);
  static void Run(TSqliteConnection& Db, std::string_view Sql, const std::string* Table,
                  void (*Reader)(TStatementRun&, const TFindFacts&), const TFindFacts& Target);

  std::deque<TTable> FTables;                       // in the order they were created; tables stay where they are
  std::unordered_map<std::string, size_t> FByName;  // by NameKey
  std::vector<std::string> FTableNames;             // the tables a user made, not SQLite's or a module's
  std::unordered_set<std::string> FViews;           // by NameKey
  bool FAllRead = false;
};

std::shared_ptr<TDatabaseSchema> TDatabaseSchema::Read(TSqliteConnection& Db) {
  auto schema = std::make_shared<TDatabaseSchema>();
  bool anyVirtual = false;
  {
    TStatementRun run(Db.Prepare(kCatalogue));
    while (run->Step()) {
      if (run->ColumnInt(5) != 0) {
        schema->FViews.insert(NameKey(run->ColumnText(1)));
      } else if (run->ColumnInt(0) != 0) {
        TTable& table = schema->FTables.emplace_back();
        table.Facts.Name = run->ColumnText(1);
        table.Facts.Virtual = run->ColumnInt(3) != 0;
        table.Facts.Sql = run->ColumnText(4);
        schema->FByName.emplace(NameKey(table.Facts.Name), schema->FTables.size() - 1);
        anyVirtual = anyVirtual || table.Facts.Virtual;
      } else if (TTable* table = schema->Find(run->ColumnText(2))) {
        // An index follows its table in the catalogue.
        TIndexFacts& index = table->Facts.Indexes.emplace_back();
        index.Name = run->ColumnText(1);
        index.Sql = run->ColumnText(4);
      }
    }
  }
  std::vector<std::string> shadows;
  // Only a virtual table's module makes shadow tables: without one there is nothing to leave out.
  if (anyVirtual) {
    TStatementRun run(Db.Prepare(kShadowTables));
    while (run->Step()) shadows.emplace_back(run->ColumnText(0));
    std::sort(shadows.begin(), shadows.end());
  }
  for (const TTable& table : schema->FTables) {
    const std::string& name = table.Facts.Name;
    // SQLite keeps the prefix to itself in any case ("SQLITE_X" cannot be made either).
    if (name.size() >= 7 && SameText(std::string_view(name).substr(0, 7), "sqlite_")) continue;
    if (!std::binary_search(shadows.begin(), shadows.end(), name)) schema->FTableNames.push_back(name);
  }
  return schema;
}

TDatabaseSchema::TTable* TDatabaseSchema::Find(std::string_view Name) {
  auto found = FByName.find(NameKey(Name));
  return found == FByName.end() ? nullptr : &FTables[found->second];
}

void TDatabaseSchema::Run(TSqliteConnection& Db, std::string_view Sql, const std::string* Table,
                          void (*Reader)(TStatementRun&, const TFindFacts&), const TFindFacts& Target) {
  TStatementRun run(Db.Prepare(Sql));
  if (Table) run->Bind(1, *Table);
  Reader(run, Target);
}

void TDatabaseSchema::ReadColumnRows(TStatementRun& Run, const TFindFacts& Target) {
  TTableFacts* facts = nullptr;
  std::string table;
  while (Run->Step()) {
    if (!facts || Run->ColumnText(0) != table) {
      table = Run->ColumnText(0);
      facts = Target(table);
    }
    if (!facts) continue;
    TColumnFacts& column = facts->Columns.emplace_back();
    column.Name = Run->ColumnText(1);
    column.Declared = Run->ColumnText(2);
    column.NotNull = Run->ColumnInt(3) != 0;
    column.Default = Run->ColumnText(4);
    column.PrimaryKeyIndex = static_cast<int>(Run->ColumnInt(5));
    column.Hidden = static_cast<uint8_t>(Run->ColumnInt(6));
  }
}

// Groups the key rows by index: the rows of one index follow each other, and the index takes
// its place among the table's indexes as the catalogue ordered them.
void TDatabaseSchema::ReadIndexKeyRows(TStatementRun& Run, const TFindFacts& Target) {
  TTableFacts* facts = nullptr;
  std::unordered_map<std::string, size_t> places;  // the table's indexes by name
  TIndexFacts* index = nullptr;
  std::string table;
  while (Run->Step()) {
    if (!facts || Run->ColumnText(0) != table) {
      table = Run->ColumnText(0);
      facts = Target(table);
      index = nullptr;
      places.clear();
      if (facts)
        for (size_t i = 0; i < facts->Indexes.size(); ++i) places.emplace(facts->Indexes[i].Name, i);
    }
    if (!facts) continue;
    if (!index || Run->ColumnText(1) != index->Name) {
      std::string name(Run->ColumnText(1));
      auto [place, added] = places.emplace(name, facts->Indexes.size());
      if (added) facts->Indexes.emplace_back().Name = std::move(name);
      index = &facts->Indexes[place->second];
      index->Listed = true;
      index->Unique = Run->ColumnInt(2) != 0;
      index->PrimaryKey = Run->ColumnText(3) == "pk";
    }
    AddKey(Run, 4, *index);
  }
}

void TDatabaseSchema::AddKey(TStatementRun& Run, int First, TIndexFacts& Index) {
  TKeyFacts& key = Index.Keys.emplace_back();
  key.Expression = Run->ColumnInt(First) == -2 || Run->IsNull(First + 1);
  if (!key.Expression) key.Column = Run->ColumnText(First + 1);
  key.Descending = Run->ColumnInt(First + 2) != 0;
}

bool TDatabaseSchema::NeedsIndexList(const TTableFacts& Facts) {
  // The word alone sends a table to SQLite's list, whether or not it says WITHOUT ROWID.
  if (ContainsWord(Facts.Sql, "WITHOUT")) return true;
  for (const TIndexFacts& index : Facts.Indexes)
    if (index.Sql.empty()) return true;
  return false;
}

bool TDatabaseSchema::KeysFromStatements(TTableFacts& Facts) {
  const TColumnFinder columns(Facts.Columns);
  bool left = false;
  for (TIndexFacts& index : Facts.Indexes) {
    if (index.Listed) continue;
    const std::vector<const std::string*> keys = KeyColumnsOfStatement(index.Sql, columns);
    if (keys.empty()) {
      left = true;
      continue;
    }
    index.Listed = true;
    index.Unique = DeclaresUnique(index.Sql);
    index.Keys.reserve(keys.size());
    for (const std::string* column : keys) index.Keys.push_back({*column, false, false});
  }
  return left;
}

void TDatabaseSchema::ReadIndexKeysByName(TSqliteConnection& Db, const std::vector<TIndexFacts*>& Indexes) {
  if (Indexes.empty()) return;
  std::string names = "[";
  for (const TIndexFacts* index : Indexes) {
    if (names.size() > 1) names += ',';
    AppendJsonString(names, index->Name);
  }
  names += ']';
  TStatementRun run(Db.Prepare(kNamedIndexKeys));
  run->Bind(1, names);
  // The rows come in the order of the names: each index is looked for from the last one on.
  size_t next = 0;
  auto find = [&](std::string_view Name) -> TIndexFacts* {
    for (size_t k = 0; k < Indexes.size(); ++k, ++next) {
      if (next == Indexes.size()) next = 0;
      if (Indexes[next]->Name == Name) return Indexes[next];
    }
    return nullptr;
  };
  TIndexFacts* index = nullptr;
  while (run->Step()) {
    if (!index || run->ColumnText(0) != index->Name) {
      index = find(run->ColumnText(0));
      if (!index) continue;
      index->Listed = true;
      index->Unique = DeclaresUnique(index->Sql);
    }
    AddKey(run, 1, *index);
  }
}

// An index made by CREATE INDEX says in its statement whether it is unique, and is no primary
// key; its key columns, when it lists them plainly. The indexes SQLite makes for a table's
// PRIMARY KEY and UNIQUE constraints have no statement, and a table without rowids keeps its
// key in an index the catalogue does not list: only tables with either have their index list
// asked of SQLite, each on its own.
void TDatabaseSchema::ReadAllIndexKeys(TSqliteConnection& Db, const TFindFacts& Target) {
  std::vector<TIndexFacts*> asked;         // created indexes whose statements do not tell
  std::vector<const std::string*> listed;  // tables whose index list is asked
  for (TTable& table : FTables) {
    TTableFacts& facts = table.Facts;
    if (facts.Read || facts.Virtual) continue;
    if (NeedsIndexList(facts)) {
      listed.push_back(&facts.Name);
    } else if (KeysFromStatements(facts)) {
      for (TIndexFacts& index : facts.Indexes)
        if (!index.Listed) asked.push_back(&index);
    }
  }
  ReadIndexKeysByName(Db, asked);
  for (const std::string* name : listed) Run(Db, kIndexKeysOfTable, name, ReadIndexKeyRows, Target);
}

void TDatabaseSchema::ReadForeignKeyRows(TStatementRun& Run, const TFindFacts& Target) {
  TTableFacts* facts = nullptr;
  std::string table;
  int64_t id = -1;
  while (Run->Step()) {
    if (!facts || Run->ColumnText(0) != table) {
      table = Run->ColumnText(0);
      facts = Target(table);
      id = -1;
    }
    if (!facts) continue;
    if (Run->ColumnInt(1) != id) {
      id = Run->ColumnInt(1);
      facts->ForeignKeys.push_back({{}, std::string(Run->ColumnText(2)), {}});
    }
    TForeignKey& key = facts->ForeignKeys.back();
    key.Columns.emplace_back(Run->ColumnText(3));
    if (!Run->IsNull(4)) key.ParentColumns.emplace_back(Run->ColumnText(4));
  }
  // A key names all its parent's columns or none (then it references the primary key).
  if (facts)
    for (TForeignKey& key : facts->ForeignKeys)
      if (key.ParentColumns.size() != key.Columns.size()) key.ParentColumns.clear();
}

void TDatabaseSchema::Unread(TTableFacts& Facts, size_t Catalogued) {
  Facts.Columns.clear();
  Facts.Indexes.resize(Catalogued);
  for (TIndexFacts& index : Facts.Indexes) {
    index.Listed = index.Unique = index.PrimaryKey = false;
    index.Keys.clear();
  }
  Facts.ForeignKeys.clear();
}

TDatabaseSchema::TTable* TDatabaseSchema::Table(TSqliteConnection& Db, std::string_view Name) {
  TTable* table = Find(Name);
  if (table && table->Facts.Read) return table;
  // A table the catalogue lists is read in place (its facts are undone on an error); one it
  // does not list apart, and kept only when it has columns.
  TTableFacts unlisted;
  if (!table) unlisted.Name = Name;
  TTableFacts& facts = table ? table->Facts : unlisted;
  const size_t catalogued = facts.Indexes.size();
  try {
    const TFindFacts target = [&](std::string_view) { return &facts; };
    const std::string name(Name);
    Run(Db, kColumnsOfTable, &name, ReadColumnRows, target);
    if (facts.Columns.empty()) return nullptr;
    if (!table || NeedsIndexList(facts)) {
      Run(Db, kIndexKeysOfTable, &name, ReadIndexKeyRows, target);
    } else if (KeysFromStatements(facts)) {
      std::vector<TIndexFacts*> asked;
      for (TIndexFacts& index : facts.Indexes)
        if (!index.Listed) asked.push_back(&index);
      ReadIndexKeysByName(Db, asked);
    }
    // A table whose statement never says REFERENCES declares no foreign key.
    if (!table || ContainsWord(facts.Sql, "REFERENCES"))
      Run(Db, kForeignKeysOfTable, &name, ReadForeignKeyRows, target);
  } catch (...) {
    Unread(facts, catalogued);
    throw;
  }
  facts.Read = true;
  if (!table) {
    // Not in the catalogue (SQLite's own master table, say): known from now on all the same.
    table = &FTables.emplace_back();
    FByName.emplace(NameKey(Name), FTables.size() - 1);
    table->Facts = std::move(unlisted);
  }
  return table;
}

void TDatabaseSchema::ReadAllTables(TSqliteConnection& Db) {
  const TFindFacts target = [this](std::string_view Name) -> TTableFacts* {
    TTable* table = Find(Name);
    return table && !table->Facts.Read ? &table->Facts : nullptr;
  };
  Run(Db, kColumnsOfAll, nullptr, ReadColumnRows, target);
  ReadAllIndexKeys(Db, target);
  Run(Db, kForeignKeysOfAll, nullptr, ReadForeignKeyRows, target);
  for (TTable& table : FTables) table.Facts.Read = table.Facts.Read || !table.Facts.Columns.empty();
  FAllRead = true;
}

namespace {

using TTable = TDatabaseSchema::TTable;

// The schema the connection keeps for the file as it is now, its catalogue read if need be.
std::shared_ptr<TDatabaseSchema> SchemaOf(TSqliteConnection& Db) {
  if (auto kept = Db.KeptSchema()) return kept;
  auto schema = TDatabaseSchema::Read(Db);
  Db.KeepSchema(schema);
  return schema;
}

TTable& TableOf(TSqliteConnection& Db, TDatabaseSchema& Schema, const std::string& Name, TComponent* Component) {
  // A view's columns would read as a table's, but it is none.
  if (Schema.IsView(Name)) DatabaseError("'" + Name + "' is a view, not a table", Component);
  TTable* table = Schema.Table(Db, Name);
  if (!table) NoSuchTable(Name, Component);
  return *table;
}

// The columns that are fields: a virtual table's hidden columns are none; generated columns are.
bool IsField(const TDatabaseSchema::TColumnFacts& Column) { return Column.Hidden != 1; }

// The column's field type and Size, as its declared type and AUTOINCREMENT make them.
TFieldType FieldTypeOf(const TDatabaseSchema::TColumnFacts& Column, int& Size) {
  const TFieldType type = FieldTypeOfDeclaration(Column.Declared, Size);
  return Column.AutoIncrement ? ftAutoInc : type;
}

// Raises EDatabaseError "Table 'X' does not exist" when the table has no field.
void RequireFields(const TDatabaseSchema::TTableFacts& Facts, const std::string& Table, TComponent* Component) {
  if (std::none_of(Facts.Columns.begin(), Facts.Columns.end(), IsField)) NoSuchTable(Table, Component);
}

// Sets each column's collation and AUTOINCREMENT, once for the version of the file: from the
// table's statement, or column by column from SQLite where the statement does not tell.
void ReadClauses(TSqliteConnection& Db, TDatabaseSchema::TTableFacts& Facts) {
  if (Facts.ClausesRead) return;
  std::vector<const std::string*> names;
  int keyColumns = 0;
  for (const TDatabaseSchema::TColumnFacts& column : Facts.Columns)
    if (IsField(column)) {
      names.push_back(&column.Name);
      keyColumns += column.PrimaryKeyIndex > 0 ? 1 : 0;
    }
  std::vector<std::string> collations;
  bool autoIncrement = false;
  if (ColumnClausesFromSql(Facts.Sql, names, collations, autoIncrement)) {
    size_t field = 0;
    for (TDatabaseSchema::TColumnFacts& column : Facts.Columns) {
      if (!IsField(column)) continue;
      std::string& collation = collations[field++];
      if (column.Hidden >= 2) continue;  // generated
      column.Collation = std::move(collation);
      // AUTOINCREMENT is allowed only on a table's one INTEGER PRIMARY KEY column.
      column.AutoIncrement = autoIncrement && keyColumns == 1 && column.PrimaryKeyIndex == 1;
    }
  } else {
    for (TDatabaseSchema::TColumnFacts& column : Facts.Columns) {
      if (!IsField(column) || column.Hidden >= 2) continue;  // SQLite keeps no metadata for generated ones
      auto meta = Db.ColumnMetadata(Facts.Name, column.Name);
      column.Collation = std::move(meta.Collation);
      column.AutoIncrement = meta.AutoIncrement;
    }
  }
  Facts.ClausesRead = true;
}

// The table's columns as definitions, made from its facts.
void BuildColumns(const TDatabaseSchema::TTableFacts& Facts, TFieldDefs& Fields, TQVRAdvFieldDefs* Extended) {
  for (const TDatabaseSchema::TColumnFacts& column : Facts.Columns) {
    if (!IsField(column)) continue;
    int size = 0;
    const TFieldType type = FieldTypeOf(column, size);
    Fields.Add(column.Name, type, size, column.NotNull);
    if (!Extended) continue;
    TQVRAdvFieldDef* def = Extended->AddFieldDef();
    def->SetName(column.Name);
    def->SetDeclaredType(column.Declared);
    def->SetDefaultExpression(column.Default);
    def->SetPrimaryKeyIndex(column.PrimaryKeyIndex);
    def->SetGenerated(column.Hidden >= 2);
    def->SetCollation(column.Collation);
    def->SetAutoIncrement(column.AutoIncrement);
  }
}

// Whether Fields (and Extended, when given) hold exactly the definitions the facts make.
bool HoldsFieldDefs(const TFieldDefs& Fields, const TQVRAdvFieldDefs* Extended,
                    const TDatabaseSchema::TTableFacts& Facts) {
  int i = 0;
  for (const TDatabaseSchema::TColumnFacts& column : Facts.Columns) {
    if (!IsField(column)) continue;
    if (i >= Fields.Count() || (Extended && i >= Extended->Count())) return false;
    int size = 0;
    const TFieldType type = FieldTypeOf(column, size);
    const TFieldDef* def = Fields.Items(i);
    if (def->Name() != column.Name || def->DataType() != type || def->Size() != size ||
        def->Required() != column.NotNull || def->FieldNo() != i + 1)
      return false;
    if (Extended) {
      const TQVRAdvFieldDef* more = Extended->Items(i);
      if (more->Name() != column.Name || more->DeclaredType() != column.Declared ||
          more->DefaultExpression() != column.Default || more->PrimaryKeyIndex() != column.PrimaryKeyIndex ||
          more->Generated() != (column.Hidden >= 2) || more->Collation() != column.Collation ||
          more->AutoIncrement() != column.AutoIncrement)
        return false;
    }
    ++i;
  }
  return i == Fields.Count() && (!Extended || i == Extended->Count());
}

void AppendField(std::string& List, std::string_view Field) {
  if (!List.empty()) List += ';';
  List += Field;
}

// The primary key as "PRIMARY" in Def, its descending key columns taken from its own index;
// false when the table has none.
bool BuildPrimaryKey(const TDatabaseSchema::TTableFacts& Facts, TIndexDef& Def) {
  std::vector<std::pair<int, const std::string*>> keyColumns;  // by their place in the key
  for (const TDatabaseSchema::TColumnFacts& column : Facts.Columns)
    if (IsField(column) && column.PrimaryKeyIndex > 0) keyColumns.emplace_back(column.PrimaryKeyIndex, &column.Name);
  if (keyColumns.empty()) return false;
  std::sort(keyColumns.begin(), keyColumns.end());
  std::string fields, descFields;
  for (const auto& column : keyColumns) AppendField(fields, *column.second);
  TIndexOptions options{ixPrimary, ixUnique};
  // The key's own index shows only as PRIMARY; it tells which key columns descend.
  for (const TDatabaseSchema::TIndexFacts& index : Facts.Indexes)
    if (index.Listed && index.PrimaryKey)
      for (const TDatabaseSchema::TKeyFacts& key : index.Keys)
        if (key.Descending) {
          options.Include(ixDescending);
          AppendField(descFields, key.Column);
        }
  Def.SetName("PRIMARY");
  Def.SetFields(fields);
  Def.SetExpression({});
  Def.SetDescFields(descFields);
  Def.SetOptions(options);
  return true;
}

// One index's definition in Def: its key columns as the table spells them, or, when any key is
// an expression, the key list as the statement wrote it.
void BuildIndexDef(const TDatabaseSchema::TIndexFacts& Index, TIndexDef& Def) {
  Def.SetName(Index.Name);
  TIndexOptions options;
  if (Index.Unique) options.Include(ixUnique);
  bool expression = false;
  std::string fields, descFields;
  for (const TDatabaseSchema::TKeyFacts& key : Index.Keys) {
    if (key.Descending) options.Include(ixDescending);
    expression = expression || key.Expression;
    AppendField(fields, key.Column);
    if (key.Descending) AppendField(descFields, key.Column);
  }
  if (expression) {
    options.Include(ixExpression);
    fields.clear();
    descFields.clear();
  }
  Def.SetFields(fields);
  Def.SetExpression(expression ? IndexKeyList(Index.Sql) : std::string());
  Def.SetDescFields(descFields);
  Def.SetOptions(options);
}

// Builds each definition the table's facts make into Def, in order (the primary key first), and
// hands it to Use; stops when Use answers false. The facts are what the connection keeps; the
// definitions exist only where a data set holds them.
template <typename TUse>
void EachIndexDef(const TDatabaseSchema::TTableFacts& Facts, TIndexDef& Def, TUse&& Use) {
  if (BuildPrimaryKey(Facts, Def) && !Use(Def)) return;
  for (const TDatabaseSchema::TIndexFacts& index : Facts.Indexes) {
    if (!index.Listed || index.PrimaryKey) continue;
    BuildIndexDef(index, Def);
    if (!Use(Def)) return;
  }
}

// Whether Defs hold exactly the definitions the facts make.
bool HoldsIndexDefs(const TIndexDefs& Defs, const TDatabaseSchema::TTableFacts& Facts) {
  TIndexDef made;
  int count = 0;
  bool same = true;
  EachIndexDef(Facts, made, [&](const TIndexDef& Def) {
    same = count < Defs.Count() && Defs.Items(count)->SameAs(Def);
    ++count;
    return same;
  });
  return same && count == Defs.Count();
}

}  // namespace

void ReadTableNames(TSqliteConnection& Db, TStrings* List) {
  const auto schema = SchemaOf(Db);
  TUpdateScope update(List);
  for (const std::string& name : schema->TableNames()) List->Add(name);
}

void ReadFieldDefs(TSqliteConnection& Db, const std::string& Table, TFieldDefs* FieldDefs,
                   TQVRAdvFieldDefs* AdvFieldDefs, TComponent* Component) {
  const auto schema = SchemaOf(Db);
  TDatabaseSchema::TTableFacts& facts = TableOf(Db, *schema, Table, Component).Facts;
  RequireFields(facts, Table, Component);
  ReadClauses(Db, facts);
  // As with index definitions, a data set opened and then asked to update its field definitions
  // keeps the ones it holds when they are the ones read.
  if (HoldsFieldDefs(*FieldDefs, AdvFieldDefs, facts)) return;
  // Made apart first, so an error leaves the data set's definitions as they were; the
  // connection keeps the facts alone, not a copy of the definitions (thousands on a wide table).
  TFieldDefs fields(nullptr);
  TQVRAdvFieldDefs extended(nullptr);
  BuildColumns(facts, fields, AdvFieldDefs ? &extended : nullptr);
  FieldDefs->TakeItems(fields);
  if (AdvFieldDefs) AdvFieldDefs->TakeItems(extended);
}

void ReadIndexDefs(TSqliteConnection& Db, const std::string& Table, TIndexDefs* IndexDefs, TComponent* Component) {
  const auto schema = SchemaOf(Db);
  const TDatabaseSchema::TTableFacts& facts = TableOf(Db, *schema, Table, Component).Facts;
  RequireFields(facts, Table, Component);
  // A data set that is opened and then asked to update its index definitions reads the same
  // structure twice; the definitions it holds stay when they are the ones read, rather than
  // being made again (hundreds of them on a table with many indexes).
  if (HoldsIndexDefs(*IndexDefs, facts)) return;
  // Built apart first, so an error leaves the data set's definitions as they were.
  TIndexDefs read(nullptr);
  TIndexDef made;
  EachIndexDef(facts, made, [&](const TIndexDef& Def) {
    read.AddIndexDef()->Assign(&Def);
    return true;
  });
  IndexDefs->TakeItems(read);
}

void ReadWholeSchema(TSqliteConnection& Db) {
  const auto schema = SchemaOf(Db);
  if (schema->AllRead()) return;
  try {
    schema->ReadAllTables(Db);
  } catch (const Exception&) {
    Db.KeepSchema(nullptr);  // half read: the next reader starts afresh
    throw;
  }
}

std::vector<TForeignKey> ReadForeignKeys(TSqliteConnection& Db, const std::string& Table, TComponent* Component) {
  const auto schema = SchemaOf(Db);
  return TableOf(Db, *schema, Table, Component).Facts.ForeignKeys;
}
