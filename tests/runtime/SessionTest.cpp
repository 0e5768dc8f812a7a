// Sessions and the databases they know: names in creation order, sessions made by naming them,
// and the session a data set works in.
#include <gtest/gtest.h>

#include "host/runtime/Qvrmain.h"
#include "tests/runtime/TempDatabase.h"

namespace {

std::vector<std::string> DatabaseNames(const TQVRSession* Session) {
  TStringList list;
  Session->GetDatabaseNames(&list);
  return list.ToVector();
}

TEST(Session, SessionListAlwaysStartsWithDefaultAndGrowsByNaming) {
  TStringList names;
  Sessions().GetSessionNames(&names);
  ASSERT_GE(names.Count(), 1);
  EXPECT_EQ(names.Strings(0), "Default");
  EXPECT_EQ(Sessions().FindSession(""), Sessions().DefaultSession());
  EXPECT_EQ(Sessions().FindSession("DEFAULT"), Sessions().DefaultSession());
  EXPECT_EQ(Sessions().FindSession("SessionTestNever"), nullptr);

  TQVRDatabase db(nullptr);
  db.SetSessionName("SessionTestFirst");
  db.SetSessionName("SessionTestSecond");
  TStringList after;
  Sessions().GetSessionNames(&after);
  int first = after.IndexOf("SessionTestFirst"), second = after.IndexOf("SessionTestSecond");
  EXPECT_GT(first, 0);
  EXPECT_EQ(second, first + 1);
  EXPECT_EQ(after.Count(), names.Count() + 2);
}

TEST(Session, DatabasesAreListedInCreationOrderWhateverTheNamingOrder) {
  TQVRDatabase first(nullptr), second(nullptr), third(nullptr);
  third.SetDatabaseName("SessionTestC");
  first.SetDatabaseName("SessionTestA");
  second.SetDatabaseName("SessionTestB");
  TQVRSession* session = Sessions().DefaultSession();
  auto names = DatabaseNames(session);
  auto a = std::find(names.begin(), names.end(), "SessionTestA");
  ASSERT_NE(a, names.end());
  ASSERT_LE(a + 3, names.end());
  EXPECT_EQ(std::vector<std::string>(a, a + 3),
            (std::vector<std::string>{"SessionTestA", "SessionTestB", "SessionTestC"}));

  // Renamed: known only under the new name, in the same place.
  second.SetDatabaseName("SessionTestB2");
  EXPECT_EQ(session->FindDatabase("SessionTestB"), nullptr);
  EXPECT_EQ(session->FindDatabase("sessiontestb2"), &second);
  // Without a name it is not known at all.
  third.SetDatabaseName("");
  EXPECT_EQ(session->FindDatabase("SessionTestC"), nullptr);
  {
    TQVRDatabase gone(nullptr);
    gone.SetDatabaseName("SessionTestGone");
    EXPECT_EQ(session->FindDatabase("SessionTestGone"), &gone);
  }
  EXPECT_EQ(session->FindDatabase("SessionTestGone"), nullptr);
}

TEST(Session, DuplicateNamesAreRefusedWithinASession) {
  TQVRDatabase one(nullptr), two(nullptr);
  one.SetDatabaseName("SessionTestDup");
  EXPECT_THROW(two.SetDatabaseName("SESSIONTESTDUP"), EDatabaseError);
  EXPECT_EQ(two.DatabaseName(), "");
  EXPECT_EQ(Sessions().DefaultSession()->FindDatabase("SessionTestDup"), &one);

  // The same name in another session is another database.
  two.SetSessionName("SessionTestOther");
  two.SetDatabaseName("SessionTestDup");
  EXPECT_EQ(Sessions().FindSession("SessionTestOther")->FindDatabase("SessionTestDup"), &two);
  // Moving it back would make two of that name: refused, and it stays where it was.
  EXPECT_THROW(two.SetSessionName(""), EDatabaseError);
  EXPECT_EQ(two.SessionName(), "SessionTestOther");
  EXPECT_EQ(Sessions().FindSession("SessionTestOther")->FindDatabase("SessionTestDup"), &two);
}

TEST(Session, MovingADatabaseBetweenSessions) {
  TQVRDatabase db(nullptr);
  db.SetDatabaseName("SessionTestMover");
  EXPECT_EQ(db.Session(), Sessions().DefaultSession());
  db.SetSessionName("SessionTestTarget");
  TQVRSession* target = Sessions().FindSession("SessionTestTarget");
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(db.Session(), target);
  EXPECT_EQ(DatabaseNames(target), std::vector<std::string>{"SessionTestMover"});
  EXPECT_EQ(Sessions().DefaultSession()->FindDatabase("SessionTestMover"), nullptr);
}

TEST(Session, DataSetsWorkInTheSessionOfTheirDatabase) {
  TQVRDatabase db(nullptr);
  db.SetSessionName("SessionTestHome");
  db.SetDatabaseName("SessionTestHomeDb");
  TQVRTable table(nullptr);
  EXPECT_EQ(table.GetDBSession(), Sessions().DefaultSession());
  table.SetDatabaseName("sessiontesthomedb");
  EXPECT_EQ(table.GetDBSession(), Sessions().FindSession("SessionTestHome"));
  EXPECT_EQ(table.Database(), &db);
  table.SetDatabaseName("SessionTestNoSuchDb");
  EXPECT_EQ(table.GetDBSession(), Sessions().DefaultSession());
  EXPECT_EQ(table.Database(), nullptr);
}

TEST(Session, TableNamesInCreationOrderWithoutViewsOrSqliteTables) {
  TTempFolder folder;
  std::string file = folder.Database("names.tvd", R"(
    CREATE TABLE Zeta(a);
    CREATE TABLE Alpha(id INTEGER PRIMARY KEY AUTOINCREMENT, b);
    CREATE VIEW Beta AS SELECT * FROM Zeta;
    CREATE TABLE "My ""Odd"" Table"(c);
    CREATE TABLE Dropped(d);
    CREATE INDEX ZetaA ON Zeta(a);
    DROP TABLE Dropped;
    CREATE TABLE Mid(e);
    INSERT INTO Alpha(b) VALUES (1);
    ANALYZE;
  )");
  TQVRDatabase db(nullptr);
  db.SetDatabaseName("SessionTestNames");
  db.SetDatabaseFileName(file);
  TStringList list;
  list.Add("kept");
  Sessions().DefaultSession()->GetTableNames("SESSIONTESTNAMES", &list);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"kept", "Zeta", "Alpha", "My \"Odd\" Table", "Mid"}));

  TStringList none;
  Sessions().DefaultSession()->GetTableNames("SessionTestNoDatabase", &none);
  Sessions().DefaultSession()->GetTableNames("", &none);
  EXPECT_EQ(none.Count(), 0);
}

}  // namespace
