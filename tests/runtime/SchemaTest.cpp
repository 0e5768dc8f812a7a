// Reading structure from SQLite text: the declared type's field type and the key list of a
// CREATE INDEX statement.
#include <gtest/gtest.h>

#include "host/runtime/Schema.h"

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

}  // namespace
