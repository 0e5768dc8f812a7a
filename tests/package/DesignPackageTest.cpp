// The design package as the designer loads it: its metadata, its palette entries and which
// editor each bound property gets.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "editors/QVREdit.h"
#include "fldlinks/QVRLinkFields.h"
#include "host/designide/PackageLoader.h"
#include "host/designide/Palette.h"
#include "host/runtime/Qvrmain.h"
#include "host/visualclx/HelpTopics.h"

namespace {

const std::string kPackage = TIRVENDAL_LIB_DIR "/bpldclTirvendalK3D.so";
const std::string kDescription = "Tirvendal - Design package";

// A data set of the run-time kind that is not a table, publishing names a table also has.
class TTestQuery : public TQVRDataSet {
  TIRVENDAL_CLASS(TTestQuery)
  explicit TTestQuery(TComponent* Owner) : TQVRDataSet(Owner) {}
  const std::string& TableName() const { return FText; }
  void SetTableName(const std::string& v) { FText = v; }

 private:
  std::string FText;
};

TClass TTestQuery::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestQuery>(TQVRDataSet::StaticClass())
                                     .Component()
                                     .String("TableName", &TTestQuery::TableName, &TTestQuery::SetTableName)
                                     .String("IndexName", &TTestQuery::TableName, &TTestQuery::SetTableName)
                                     .String("IndexFieldNames", &TTestQuery::TableName, &TTestQuery::SetTableName)
                                     .String("MasterFields", &TTestQuery::TableName, &TTestQuery::SetTableName)
                                     .Build();
  return &info;
}

std::string EditorOf(TClass cls, const char* prop) {
  const TPropInfo* info = GetPropInfo(cls, prop);
  if (!info) return "no property " + std::string(prop);
  TClass editor = GetEditorClass(info, cls);
  return editor ? editor->Name : "hidden";
}

class DesignPackage : public ::testing::Test {
 protected:
  void SetUp() override { module = LoadPackage(kPackage); }
  void TearDown() override { UnloadPackage(module); }
  HMODULE module = nullptr;
};

TEST_F(DesignPackage, PutsTheTableThenTheDatabaseOnItsPage) {
  std::vector<std::string> entries;
  for (const TPaletteEntry& e : Palette())
    if (e.Module == module) entries.push_back(e.Page + "/" + e.ComponentClass->Name);
  EXPECT_EQ(entries, (std::vector<std::string>{"Tirvendal/TQVRTable", "Tirvendal/TQVRDatabase"}));
  EXPECT_EQ(GetClass("TQVRTable"), TQVRTable::StaticClass());
}

TEST_F(DesignPackage, BindsTheNameEditorsToTheirComponents) {
  TClass table = TQVRTable::StaticClass();
  EXPECT_EQ(EditorOf(table, "DatabaseName"), "TQVRDatabaseNameProperty");
  EXPECT_EQ(EditorOf(table, "TableName"), "TQVRTableNameProperty");
  EXPECT_EQ(EditorOf(table, "IndexName"), "TQVRIndexNameProperty");
  EXPECT_EQ(EditorOf(table, "IndexFieldNames"), "TQVRIndexFieldNamesProperty");
  TClass database = TQVRDatabase::StaticClass();
  EXPECT_EQ(EditorOf(database, "SessionName"), "TQVRSessionNameProperty");
  EXPECT_EQ(EditorOf(database, "DatabaseName"), "TStringProperty");  // the data sets' binding only
}

TEST_F(DesignPackage, AnotherDataSetGetsTheDatabaseNameEditorOnly) {
  TClass query = TTestQuery::StaticClass();
  EXPECT_EQ(EditorOf(query, "DatabaseName"), "TQVRDatabaseNameProperty");
  for (const char* prop : {"TableName", "IndexName", "IndexFieldNames", "MasterFields"}) {
    SCOPED_TRACE(prop);
    EXPECT_EQ(EditorOf(query, prop), "TStringProperty");
  }
}

// The help topics go with the package too: the Field Link Designer's context and an editor's.
TEST_F(DesignPackage, UnloadingTakesTheBindingsAndHelpTopicsAlong) {
  ASSERT_TRUE(FindHelpTopic(kQVRLinkFieldsHelpContext));
  EXPECT_EQ(HelpContextOf("TQVRTableNameProperty"), 27112);
  UnloadPackage(module);
  EXPECT_EQ(EditorOf(TQVRTable::StaticClass(), "TableName"), "TStringProperty");
  EXPECT_EQ(EditorOf(TQVRDatabase::StaticClass(), "SessionName"), "TStringProperty");
  EXPECT_FALSE(FindHelpTopic(kQVRLinkFieldsHelpContext));
  EXPECT_EQ(HelpContextOf("TQVRTableNameProperty"), 0);
  module = LoadPackage(kPackage);
  EXPECT_EQ(EditorOf(TQVRTable::StaticClass(), "TableName"), "TQVRTableNameProperty");
  EXPECT_EQ(FindHelpTopic(kQVRLinkFieldsHelpContext)->Title, "The Field Link Designer");
}

TEST_F(DesignPackage, CarriesItsDescriptionAndFormAsResources) {
  const TResourceEntry* description = FindResource("description");
  ASSERT_NE(description, nullptr);
  EXPECT_EQ(description->Type, "UTF16");
  std::u16string text(description->Data.size() / 2, u'\0');
  std::memcpy(text.data(), description->Data.data(), text.size() * 2);
  EXPECT_EQ(text, u"Tirvendal - Design package");

  const TResourceEntry* options = FindResource("packageoptions");
  ASSERT_NE(options, nullptr);
  EXPECT_NE(options->Data.find(kDescription), std::string_view::npos);

  const TResourceEntry* form = FindResource("tqvrlinkfields");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Data.substr(0, 36), "object QVRLinkFields: TQVRLinkFields");
}

TEST(DesignPackageInfo, DescribesThePackageWithoutStartingIt) {
  TPackageInfo info = ReadPackageInfo(kPackage);
  EXPECT_EQ(info.Name, "dclTirvendalK3D");
  EXPECT_EQ(info.Description, kDescription);
  EXPECT_EQ(info.Flags, (TPackageFlags{pfDesignOnly, pfNeverBuild}));
  EXPECT_EQ(info.Requires, (std::vector<std::string>{"bplvclTirvendalK3D.so", "bpldesignide.so.6.9",
                                                     "bpldataclx.so.6.9", "bplvisualclx.so.6.9", "bplrtl.so.6.9"}));
  std::vector<std::string> units;
  for (const TPackageUnitInfo& u : info.Units) units.push_back(u.Name);
  EXPECT_EQ(units, (std::vector<std::string>{"dclTirvendalK3D", "QVREdit", "QVRFldLinks", "SysInit", "QVRReg"}));
  EXPECT_TRUE(info.Units[1].Flags.Contains(ufImplicitUnit));
  EXPECT_TRUE(info.Units[2].Flags.Contains(ufImplicitUnit));
  EXPECT_FALSE(info.Units[4].Flags.Contains(ufImplicitUnit));
  EXPECT_TRUE(info.Units[0].Flags.Contains(ufMainUnit));

  std::vector<std::string> resources;
  for (const TPackageResourceInfo& r : info.Resources) resources.push_back(r.Name);
  EXPECT_EQ(resources, (std::vector<std::string>{"tqvrlinkfields", "description", "packageoptions", "packageinfo"}));
  EXPECT_EQ(info.Resources[1].Size, kDescription.size() * 2);
  EXPECT_EQ(FindResource("tqvrlinkfields"), nullptr);  // not started, so nothing registered
}

// The library's NEEDED entries name the required packages, in the package's order (system
// libraries, a sanitizer's among them, may come anywhere).
TEST(DesignPackageInfo, TheLibraryNeedsTheRequiredPackagesInOrder) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("readelf -d " + kPackage + " 2>&1").c_str(), "r"), pclose);
  ASSERT_TRUE(pipe);
  std::vector<std::string> needed;
  char line[512];
  while (fgets(line, sizeof line, pipe.get())) {
    const char* open = std::strstr(line, "(NEEDED)");
    const char* bracket = open ? std::strchr(open, '[') : nullptr;
    const char* close = bracket ? std::strchr(bracket, ']') : nullptr;
    if (close && std::strncmp(bracket + 1, "bpl", 3) == 0) needed.emplace_back(bracket + 1, close);
  }
  EXPECT_EQ(needed, ReadPackageInfo(kPackage).Requires);
}

}  // namespace
