// Reading structure from SQLite text: the declared type's field type, the key list of a
// CREATE INDEX statement, the columns' collations and AUTOINCREMENT read from the CREATE TABLE
// statement, and whether an index is unique or the primary key's, read with every table at once.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "host/dataclx/Db.h"
#include "host/dataclx/IndexDef.h"
#include "host/rtl/Classes.h"
#include "host/runtime/Qvrmain.h"
#include "host/runtime/Schema.h"
#include "host/runtime/Sqlite.h"
#include "tests/runtime/TempDatabase.h"

namespace {

TEST(Schema, DeclaredTypesGiveFieldTypesAndSizes) {
  struct {
    const char* Declared;
    TFieldType Type;
    int Size;
  } cases[] = {
      {"INTEGER", ftInteger, 0},
      {"int", ftInteger, 0},
      {"BIGINT", ftLargeint, 0},
      {"SmallInt", ftSmallint, 0},
      {"VARCHAR(40)", ftString, 40},
      {"varchar ( 12 )", ftString, 12},
      {"VARCHAR", ftString, 0},
      {"NVARCHAR(5)", ftWideString, 5},
      {"CHAR(3)", ftFixedChar, 3},
      {"TEXT", ftMemo, 0},
      {"CLOB", ftMemo, 0},
      {"BLOB", ftBlob, 0},
      {"REAL", ftFloat, 0},
      {"DOUBLE PRECISION", ftFloat, 0},
      {"BOOLEAN", ftBoolean, 0},
      {"DATE", ftDate, 0},
      {"TIME", ftTime, 0},
      {"DATETIME", ftDateTime, 0},
      {"TIMESTAMP", ftDateTime, 0},
      {"DECIMAL(10,2)", ftBCD, 2},
      {"MONEY", ftCurrency, 0},
      {"", ftVariant, 0},
      // SQLite's own rule puts INT first, whatever else the name says.
      {"POINT", ftInteger, 0},
  };
  for (const auto& c : cases) {
    int size = -1;
    EXPECT_EQ(FieldTypeOfDeclaration(c.Declared, size), c.Type) << c.Declared;
    EXPECT_EQ(size, c.Size) << c.Declared;
  }
}

TEST(Schema, IndexKeyListIsTheTextBetweenTheOuterParentheses) {
  EXPECT_EQ(IndexKeyList("CREATE INDEX i ON t(a, b)"), "a, b");
  EXPECT_EQ(IndexKeyList("CREATE INDEX i ON t( lower(a) DESC, abs(b + (c * 2)) )"),
            " lower(a) DESC, abs(b + (c * 2)) ");
  // Parentheses inside names, strings and comments do not count.
  EXPECT_EQ(IndexKeyList("CREATE INDEX \"i(\" ON [t(x] /* ( */ (\"a)\", substr(b, ')', 1)) WHERE (c > 0)"),
            "\"a)\", substr(b, ')', 1)");
  EXPECT_EQ(IndexKeyList("CREATE INDEX `i` ON t -- (\n(x || 'it''s (')"), "x || 'it''s ('");
  EXPECT_EQ(IndexKeyList("CREATE INDEX i ON t"), "");
  EXPECT_EQ(IndexKeyList("CREATE INDEX i ON t(a"), "");
}

// What SQLite itself says of each column, asked column by column, is what the definitions say.
TEST(Schema, CollationsAndAutoIncrementAgreeWithSqlite) {
  TTempFolder folder;
  const std::string file = folder.Database("clauses.tvd", R"(
    CREATE TABLE "Odd ""(Name"(a TEXT COLLATE NOCASE, "b,c" INT CHECK ("b,c" > 0 COLLATE RTRIM),
      [d (x)] VARCHAR(10) DEFAULT 'x, COLLATE y' COLLATE rtrim, e GENERATED ALWAYS AS (a || 'z') VIRTUAL,
      f /* COLLATE NOCASE */ TEXT -- COLLATE NOCASE
      , g TEXT COLLATE NOCASE COLLATE RTRIM,
      CONSTRAINT k UNIQUE (a COLLATE BINARY), CHECK (g <> 'x'));
    CREATE TABLE seq(id INTEGER PRIMARY KEY AUTOINCREMENT, v TEXT);
    CREATE TABLE seq2(id INTEGER, v TEXT COLLATE "NoCase", PRIMARY KEY(id AUTOINCREMENT));
    CREATE TABLE keyed(id INTEGER PRIMARY KEY, "autoincrement" TEXT);
    CREATE TABLE plain(x, "y" COLLATE "NoCase", `z` COLLATE `binary`, primaryish INT);
    ALTER TABLE plain ADD COLUMN w TEXT COLLATE RTRIM;
    CREATE TABLE copied AS SELECT * FROM plain;
    CREATE TABLE rates(cur TEXT COLLATE NOCASE, day INT, PRIMARY KEY(cur, day)) WITHOUT ROWID;
  )");
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close);

  TQVRDatabase database(nullptr);
  database.SetDatabaseName("SchemaTestDb");
  database.SetDatabaseFileName(file);
  int columns = 0;
  for (const char* name : {"Odd \"(Name", "seq", "seq2", "keyed", "plain", "copied", "rates"}) {
    TQVRTable table(nullptr);
    table.SetDatabaseName("SchemaTestDb");
    table.SetTableName(name);
    table.FieldDefs()->Update();
    TQVRAdvFieldDefs& defs = *table.AdvFieldDefs();
    for (int i = 0; i < defs.Count(); ++i, ++columns) {
      const TQVRAdvFieldDef* def = defs.Items(i);
      if (def->Generated()) continue;
      const char* collation = nullptr;
      int autoIncrement = 0;
      ASSERT_EQ(sqlite3_table_column_metadata(db.get(), nullptr, name, def->Name().c_str(), nullptr, &collation,
                                              nullptr, nullptr, &autoIncrement),
                SQLITE_OK);
      EXPECT_EQ(def->Collation(), collation) << name << "." << def->Name();
      EXPECT_EQ(def->AutoIncrement(), autoIncrement != 0) << name << "." << def->Name();
      EXPECT_EQ(table.FieldDefs()->Items(i)->DataType() == ftAutoInc, autoIncrement != 0) << name;
    }
  }
  EXPECT_EQ(columns, 24);
}

// Every table read at once tells each index's uniqueness, key columns and the primary key's index
// as SQLite's own index list does, and as reading the table alone does, over keys of every kind:
// keys a statement names plainly, in any case or quotes, and keys only SQLite can tell.
TEST(Schema, IndexesReadAllAtOnceAgreeWithSqlitesIndexList) {
  TTempFolder folder;
  const std::string file = folder.Database("indexes.tvd", R"(
    CREATE TABLE pk_text(id TEXT PRIMARY KEY, b UNIQUE, c, UNIQUE(c, b));
    CREATE TABLE composite(a INT, b INT, c TEXT, PRIMARY KEY(b DESC, a), UNIQUE(a, b), UNIQUE(c COLLATE NOCASE));
    CREATE TABLE plain(id INTEGER PRIMARY KEY, name TEXT, n INT);
    CREATE TABLE kv(k TEXT, v, PRIMARY KEY(k), UNIQUE(k)) WITHOUT ROWID;
    CREATE TABLE "Without"(x INT, "WITHOUT ROWID" INT);
    CREATE TABLE rowid_desc(id INTEGER PRIMARY KEY DESC, q);
    create   unique /* an index */ index  "Odd ""Name" on plain(name);
    Create Unique Index by_lower ON plain(lower(name)) WHERE n > 0;
    CREATE INDEX -- UNIQUE
      by_n ON plain(n DESC, name);
    CREATE INDEX [unique] ON plain(n);
    CREATE INDEX "back\slash	tab" ON plain(n, id);
    CREATE UNIQUE INDEX pk_text_c ON pk_text(c);
    CREATE INDEX kv_v ON kv(v);
    CREATE INDEX late ON composite(c, a);
    CREATE INDEX q ON rowid_desc(q);
    CREATE UNIQUE INDEX w ON "Without"(x, "WITHOUT ROWID");
    CREATE INDEX w2 ON "Without"(x);
    CREATE TABLE keyed(id INTEGER PRIMARY KEY, "Mixed Case" TEXT, lower TEXT, x INT, y INT, "asc" INT,
                       g INT GENERATED ALWAYS AS (x + 1));
    CREATE INDEX k1 ON keyed(X, "mixed case");
    CREATE INDEX k2 ON keyed([lower] COLLATE NOCASE ASC, `y`);
    CREATE INDEX k3 ON keyed(lower(x));
    CREATE INDEX k4 ON keyed(-x);
    CREATE INDEX k5 ON keyed('y');
    CREATE INDEX k6 ON keyed("nosuch");
    CREATE INDEX k8 ON keyed(y /* ( */ DESC, x);
    CREATE INDEX k9 ON keyed(g);
    CREATE INDEX k10 ON keyed(id);
    CREATE INDEX k11 ON keyed(x + y);
    CREATE INDEX k12 ON keyed("asc" asc);
    CREATE INDEX k13 ON keyed(asc);
    CREATE INDEX k14 ON keyed(x COLLATE "binary", 'Y' collate nocase);
  )");
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close);
  auto describe = [](const TIndexDefs& Defs) {
    std::string text;
    for (int i = 0; i < Defs.Count(); ++i) {
      const TIndexDef* def = Defs.Items(i);
      text += def->Name() + " " + def->Fields() + " " + def->DescFields() + " [" + def->Expression() + "] " +
              std::to_string(def->Options().Contains(ixPrimary)) + std::to_string(def->Options().Contains(ixUnique)) +
              std::to_string(def->Options().Contains(ixDescending)) +
              std::to_string(def->Options().Contains(ixExpression)) + "\n";
    }
    return text;
  };

  auto whole = TSqliteConnection::OpenReadOnly(file, nullptr);
  auto alone = TSqliteConnection::OpenReadOnly(file, nullptr);
  ReadWholeSchema(*whole);
  TStringList tables;
  ReadTableNames(*whole, &tables);
  ASSERT_EQ(tables.Count(), 7);
  int checked = 0;
  for (const std::string& table : tables.ToVector()) {
    TIndexDefs defs(nullptr), each(nullptr);
    ReadIndexDefs(*whole, table, &defs, nullptr);
    ReadIndexDefs(*alone, table, &each, nullptr);
    EXPECT_EQ(describe(defs), describe(each)) << table;

    sqlite3_stmt* list = nullptr;
    ASSERT_EQ(
        sqlite3_prepare_v2(db.get(), "SELECT name, \"unique\", origin FROM pragma_index_list(?1)", -1, &list, nullptr),
        SQLITE_OK);
    sqlite3_bind_text(list, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    int others = 0;
    bool primaryIndex = false;
    while (sqlite3_step(list) == SQLITE_ROW) {
      const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(list, 0));
      const bool unique = sqlite3_column_int(list, 1) != 0;
      const std::string origin = reinterpret_cast<const char*>(sqlite3_column_text(list, 2));
      if (origin == "pk") {
        primaryIndex = true;
        continue;
      }
      ++others;
      const auto* def = static_cast<const TIndexDef*>(defs.TDefCollection::Find(name));
      ASSERT_NE(def, nullptr) << table << "." << name;
      EXPECT_EQ(def->Options().Contains(ixUnique), unique) << table << "." << name;
      EXPECT_FALSE(def->Options().Contains(ixPrimary)) << table << "." << name;
      // The key columns as SQLite lists them, as the table spells them.
      sqlite3_stmt* keys = nullptr;
      ASSERT_EQ(sqlite3_prepare_v2(db.get(), "SELECT name, \"desc\" FROM pragma_index_xinfo(?1) WHERE key = 1", -1,
                                   &keys, nullptr),
                SQLITE_OK);
      sqlite3_bind_text(keys, 1, name.c_str(), -1, SQLITE_TRANSIENT);
      std::string fields, descFields;
      bool expression = false;
      while (sqlite3_step(keys) == SQLITE_ROW) {
        const auto* column = reinterpret_cast<const char*>(sqlite3_column_text(keys, 0));
        expression = expression || !column;
        fields += (fields.empty() ? "" : ";") + std::string(column ? column : "");
        if (sqlite3_column_int(keys, 1)) descFields += (descFields.empty() ? "" : ";") + std::string(column);
      }
      sqlite3_finalize(keys);
      EXPECT_EQ(def->Options().Contains(ixExpression), expression) << table << "." << name;
      EXPECT_EQ(def->Fields(), expression ? "" : fields) << table << "." << name;
      EXPECT_EQ(def->DescFields(), expression ? "" : descFields) << table << "." << name;
      ++checked;
    }
    sqlite3_finalize(list);
    // The primary key's own index shows only as PRIMARY, beside every other index.
    const bool primary = defs.Count() > 0 && defs.Items(0)->Options().Contains(ixPrimary);
    EXPECT_EQ(defs.Count(), others + (primary ? 1 : 0)) << table;
    EXPECT_TRUE(primary || !primaryIndex) << table;
  }
  EXPECT_EQ(checked, 28);
}

}  // namespace
