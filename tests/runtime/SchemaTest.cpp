// Reading structure from SQLite text: the declared type's field type, the key list of a
// CREATE INDEX statement, and the columns' collations and AUTOINCREMENT read from the CREATE
// TABLE statement.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "host/dataclx/Db.h"
#include "host/runtime/Qvrmain.h"
#include "host/runtime/Schema.h"
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

}  // namespace
