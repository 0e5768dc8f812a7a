// The database's connection to its file: reading never creates or changes a file, and a file
// that cannot be read is reported by name.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "host/runtime/Qvrmain.h"
#include "tests/runtime/TempDatabase.h"

namespace {

constexpr const char* kSchema = R"(
CREATE TABLE Parts(PartNo INTEGER PRIMARY KEY, Name VARCHAR(20) NOT NULL UNIQUE, Price REAL);
CREATE INDEX ByPrice ON Parts(Price DESC);
INSERT INTO Parts VALUES (1, 'bolt', 0.5), (2, 'nut', 0.25);
)";

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    database.SetName("Database1");
    database.SetDatabaseName("DatabaseTestDb");
    table.SetName("Parts");
    table.SetDatabaseName("DatabaseTestDb");
    table.SetTableName("Parts");
  }

  // Runs Action and answers the message of the EDatabaseError it must raise.
  template <class F>
  std::string ErrorOf(F Action) {
    try {
      Action();
    } catch (const EDatabaseError& e) {
      return e.Message();
    }
    ADD_FAILURE() << "no EDatabaseError";
    return {};
  }

  TTempFolder folder;
  TQVRDatabase database{nullptr};
  TQVRTable table{nullptr};
};

TEST_F(DatabaseTest, ReadingNamesAndStructureLeavesTheFolderAsItWas) {
  std::string file = folder.Database("parts.tvd", kSchema);
  database.SetDatabaseFileName(file);
  auto before = folder.Snapshot();

  TStringList names;
  database.GetTableNames(&names);
  EXPECT_EQ(names.ToVector(), std::vector<std::string>{"Parts"});
  table.FieldDefs()->Update();
  table.IndexDefs()->Update();
  EXPECT_EQ(table.IndexDefs()->Count(), 3);
  table.Open();
  table.SetIndexName("ByPrice");
  EXPECT_EQ(table.FieldByName("Name")->AsString(), "bolt");
  table.Close();
  EXPECT_TRUE(database.Connected());
  EXPECT_THROW(table.SetTableName("Nope"); table.Open(), EDatabaseError);
  database.CloseConnection();

  // No journal, no WAL, no shared memory file, and the database itself untouched.
  EXPECT_EQ(folder.Snapshot(), before);
}

TEST_F(DatabaseTest, AMissingFileIsReportedAndNotCreated) {
  std::string file = folder.File("missing.tvd");
  database.SetDatabaseFileName(file);
  TStringList names;
  EXPECT_EQ(ErrorOf([&] { database.GetTableNames(&names); }), "Database1: Database file '" + file + "' does not exist");
  EXPECT_EQ(ErrorOf([&] { table.Open(); }), "Database1: Database file '" + file + "' does not exist");
  EXPECT_FALSE(table.Active());
  EXPECT_FALSE(database.Connected());
  EXPECT_TRUE(folder.Snapshot().empty());
}

TEST_F(DatabaseTest, AFileThatIsNoDatabaseIsReportedAndLeftAlone) {
  std::string file = folder.WriteFile("notes.tvd", "These are plain notes, not a database at all. Really not.\n");
  database.SetDatabaseFileName(file);
  auto before = folder.Snapshot();
  TStringList names;
  std::string message = ErrorOf([&] { database.GetTableNames(&names); });
  EXPECT_EQ(message.rfind("Database1: Cannot open database file '" + file + "'", 0), 0u) << message;
  EXPECT_EQ(ErrorOf([&] { table.IndexDefs()->Update(); }), message);
  try {
    database.GetTableNames(&names);
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.ErrorCode(), SQLITE_NOTADB);  // SQLite's own code goes along with the message
  }
  EXPECT_EQ(names.Count(), 0);
  EXPECT_EQ(folder.Snapshot(), before);

  std::string empty = folder.WriteFile("empty.tvd", "");
  database.SetDatabaseFileName(empty);
  // An empty file reads as a database without tables; it stays empty.
  database.GetTableNames(&names);
  EXPECT_EQ(names.Count(), 0);
  EXPECT_EQ(std::filesystem::file_size(empty), 0u);

  database.SetDatabaseFileName(folder.Path().string());
  EXPECT_EQ(ErrorOf([&] { database.GetTableNames(&names); }),
            "Database1: Database file '" + folder.Path().string() + "' is not a file");
  database.SetDatabaseFileName("");
  EXPECT_EQ(ErrorOf([&] { database.GetTableNames(&names); }), "Database1: No database file name given");
}

TEST_F(DatabaseTest, MissingTableDatabaseOrNames) {
  database.SetDatabaseFileName(folder.Database("parts.tvd", kSchema));
  auto before = folder.Snapshot();
  table.SetTableName("Invoices");
  EXPECT_EQ(ErrorOf([&] { table.Open(); }), "Parts: Table 'Invoices' does not exist");
  EXPECT_EQ(ErrorOf([&] { table.IndexDefs()->Update(); }), "Parts: Table 'Invoices' does not exist");
  EXPECT_EQ(ErrorOf([&] { table.FieldDefs()->Update(); }), "Parts: Table 'Invoices' does not exist");
  EXPECT_FALSE(table.Active());

  table.SetTableName("");
  EXPECT_EQ(ErrorOf([&] { table.Open(); }), "Parts: Missing TableName");
  table.SetTableName("Parts");
  table.SetDatabaseName("DatabaseTestNowhere");
  EXPECT_EQ(ErrorOf([&] { table.Open(); }), "Parts: Database 'DatabaseTestNowhere' not found");
  table.SetDatabaseName("");
  EXPECT_EQ(ErrorOf([&] { table.Open(); }), "Parts: Missing DatabaseName");
  EXPECT_EQ(folder.Snapshot(), before);
}

TEST_F(DatabaseTest, IdentifiersReachSqlOnlyQuoted) {
  std::string file = folder.Database("odd.tvd", R"(
    CREATE TABLE "Parts; DROP TABLE x; --"("a""b" INTEGER PRIMARY KEY, "select" TEXT);
    CREATE INDEX "by ""select""" ON "Parts; DROP TABLE x; --"("select");
    CREATE TABLE x(y);
    INSERT INTO "Parts; DROP TABLE x; --" VALUES (2, 'two'), (1, 'one');
  )");
  database.SetDatabaseFileName(file);
  auto before = folder.Snapshot();
  table.SetTableName("Parts; DROP TABLE x; --");
  table.Open();
  EXPECT_EQ(table.FieldDefs()->Items(0)->Name(), "a\"b");
  EXPECT_EQ(table.IndexDefs()->Items(1)->Name(), "by \"select\"");
  table.SetIndexName("by \"select\"");
  EXPECT_EQ(table.FieldByName("a\"b")->AsString(), "1");
  table.SetIndexFieldNames("select");
  EXPECT_EQ(table.RecordCount(), 2);
  table.Close();
  TStringList names;
  database.GetTableNames(&names);
  EXPECT_EQ(names.ToVector(), (std::vector<std::string>{"Parts; DROP TABLE x; --", "x"}));
  database.CloseConnection();
  EXPECT_EQ(folder.Snapshot(), before);
}

TEST_F(DatabaseTest, VirtualTablesAreListedButNotTheShadowTablesTheirModulesKeep) {
  database.SetDatabaseFileName(folder.Database("virtual.tvd", R"(
    CREATE TABLE Parts(PartNo INTEGER PRIMARY KEY);
    CREATE VIRTUAL TABLE docs USING fts5(title, body);
    CREATE TABLE docs_notes(a);
    CREATE VIRTUAL TABLE rt USING rtree(id, x0, x1);
    CREATE VIEW v AS SELECT * FROM Parts;
  )"));
  TStringList names;
  database.GetTableNames(&names);
  EXPECT_EQ(names.ToVector(), (std::vector<std::string>{"Parts", "docs", "docs_notes", "rt"}));
  // A virtual table's fields are its columns, without the module's hidden ones.
  table.SetTableName("docs");
  table.Open();
  EXPECT_EQ(table.Fields()->Count(), 2);
  EXPECT_EQ(table.AdvFieldDefs()->Items(1)->Collation(), "BINARY");
}

TEST_F(DatabaseTest, ANewFileNameDropsTheConnection) {
  database.SetDatabaseFileName(folder.Database("one.tvd", "CREATE TABLE One(a);"));
  TStringList names;
  database.GetTableNames(&names);
  EXPECT_TRUE(database.Connected());
  database.SetDatabaseFileName(folder.Database("two.tvd", "CREATE TABLE Two(b);"));
  EXPECT_FALSE(database.Connected());
  database.GetTableNames(&names);
  EXPECT_EQ(names.ToVector(), (std::vector<std::string>{"One", "Two"}));
}

TEST_F(DatabaseTest, WalDatabasesAreReadWithoutLeavingFilesBehind) {
  std::string file =
      folder.Database("wal.tvd", "PRAGMA journal_mode=WAL; CREATE TABLE W(a); INSERT INTO W VALUES (1);");
  database.SetDatabaseFileName(file);
  auto before = folder.Snapshot();
  TStringList names;
  database.GetTableNames(&names);
  EXPECT_EQ(names.ToVector(), std::vector<std::string>{"W"});
  EXPECT_EQ(folder.Snapshot(), before);

  // Changed by someone else while the connection is kept: the change is seen.
  folder.Database("wal.tvd", "CREATE TABLE V(b);");
  names.Clear();
  database.GetTableNames(&names);
  EXPECT_EQ(names.ToVector(), (std::vector<std::string>{"W", "V"}));

  // A writer that is still at work keeps its changes in the -wal file; they are read from there.
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &writer), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(writer, "CREATE TABLE U(c);", nullptr, nullptr, nullptr), SQLITE_OK);
  names.Clear();
  database.GetTableNames(&names);
  EXPECT_EQ(names.ToVector(), (std::vector<std::string>{"W", "V", "U"}));

  // A copy taken while the writer works has a log but no index of it: reading it would make one.
  std::filesystem::copy_file(file, folder.File("copy.tvd"));
  std::filesystem::copy_file(file + "-wal", folder.File("copy.tvd-wal"));
  auto withCopy = folder.Snapshot();
  TQVRDatabase copy(nullptr);
  copy.SetDatabaseFileName(folder.File("copy.tvd"));
  try {
    copy.GetTableNames(&names);
    ADD_FAILURE() << "a log without its index was read";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message().find("copy.tvd-shm"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(folder.Snapshot(), withCopy);
  database.CloseConnection();
  sqlite3_close(writer);
}

TEST_F(DatabaseTest, RelativeFileNamesAreTakenFromTheFormsFolderOrTheWorkingDirectory) {
  folder.Database("file:rel.tvd", "CREATE TABLE Rel(a);");
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  database.SetDatabaseFileName("file:rel.tvd");  // a file name, though it looks like a URI
  TStringList names;
  std::string error;
  try {
    database.GetTableNames(&names);
  } catch (const EDatabaseError& e) {
    error = e.Message();
  }
  std::filesystem::current_path(previous);
  EXPECT_EQ(error, "");
  EXPECT_EQ(names.ToVector(), std::vector<std::string>{"Rel"});

  // A database of a form read from a file takes them from the form's folder instead.
  TComponent form(nullptr);
  form.SetFormFolder(folder.Path());
  auto* owned = new TQVRDatabase(&form);
  owned->SetDatabaseFileName("file:rel.tvd");
  EXPECT_EQ(owned->DatabaseFilePath(), (std::filesystem::path(folder.Path()) / "file:rel.tvd").string());
  names.Clear();
  owned->GetTableNames(&names);
  EXPECT_EQ(names.ToVector(), std::vector<std::string>{"Rel"});
}

}  // namespace
