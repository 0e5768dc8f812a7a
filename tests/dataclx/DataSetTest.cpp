// The data set: opening through a descendant's steps, fields made from definitions, field names
// open and closed, navigation over supplied records, and the data source that shows it.
#include <gtest/gtest.h>

#include "host/dataclx/Db.h"
#include "host/rtl/Classes.h"

namespace {

// A data set whose descendant part supplies two columns and three records, and can be told to
// fail while opening.
class TTestDataSet : public TDataSet {
 public:
  using TDataSet::TDataSet;
  int InitCount = 0;
  int IndexUpdates = 0;
  bool FailOpen = false;

 protected:
  void InternalInitFieldDefs() override {
    ++InitCount;
    FieldDefs()->Clear();
    FieldDefs()->Add("Id", ftInteger, 0, true);
    FieldDefs()->Add("Name", ftString, 20);
  }
  void UpdateIndexDefs() override { ++IndexUpdates; }
  void InternalOpen() override {
    InitFieldDefs();
    if (FailOpen) DatabaseError("cannot open", this);
    SetRecordData(2, {"1", "one", "2", std::nullopt, "3", "three"});
  }
};

class TRecordingLink : public TDataLink {
 public:
  std::vector<std::string> Heard;

 protected:
  void ActiveChanged() override { Heard.push_back(Active() ? "active" : "inactive"); }
  void DataSetChanged() override { Heard.push_back("changed"); }
  void DataSetScrolled(int Distance) override { Heard.push_back("scrolled " + std::to_string(Distance)); }
};

TEST(DataSet, OpenMakesFieldsFromTheDefinitionsAndCloseFreesThem) {
  TTestDataSet dataSet(nullptr);
  dataSet.Open();
  ASSERT_TRUE(dataSet.Active());
  ASSERT_EQ(dataSet.Fields()->Count(), 2);
  TField* id = dataSet.FieldByName("ID");
  EXPECT_EQ(id->FieldName(), "Id");
  EXPECT_EQ(id->DataType(), ftInteger);
  EXPECT_TRUE(id->Required());
  EXPECT_EQ(dataSet.FindField("Name")->Size(), 20);
  EXPECT_EQ(dataSet.FindField("Name")->Index(), 1);
  EXPECT_EQ(dataSet.FindField("Name")->DataSet(), &dataSet);
  EXPECT_EQ(dataSet.FindField("Nope"), nullptr);
  EXPECT_THROW(dataSet.FieldByName("Nope"), EDatabaseError);
  dataSet.Open();  // already open: nothing happens
  EXPECT_EQ(dataSet.InitCount, 1);
  dataSet.SetActive(false);
  EXPECT_FALSE(dataSet.Active());
  EXPECT_EQ(dataSet.Fields()->Count(), 0);
  EXPECT_EQ(dataSet.FieldDefs()->Count(), 2);
}

TEST(DataSet, AFailedOpenLeavesTheDataSetClosedAndEmpty) {
  TTestDataSet dataSet(nullptr);
  dataSet.SetName("Broken");
  dataSet.FailOpen = true;
  try {
    dataSet.Open();
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Broken: cannot open");
  }
  EXPECT_FALSE(dataSet.Active());
  EXPECT_EQ(dataSet.Fields()->Count(), 0);
  EXPECT_EQ(dataSet.RecordCount(), 0);
  dataSet.FailOpen = false;
  dataSet.Open();
  EXPECT_EQ(dataSet.RecordCount(), 3);
}

TEST(DataSet, NavigationOverTheSuppliedRecords) {
  TTestDataSet dataSet(nullptr);
  EXPECT_THROW(dataSet.First(), EDatabaseError);
  dataSet.Open();
  EXPECT_EQ(dataSet.RecordCount(), 3);
  EXPECT_TRUE(dataSet.Bof());
  std::vector<std::string> names;
  for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) names.push_back(dataSet.FieldByName("Name")->AsString());
  EXPECT_EQ(names, (std::vector<std::string>{"one", "", "three"}));
  EXPECT_EQ(dataSet.RecNo(), 3);
  dataSet.Prior();
  EXPECT_EQ(dataSet.RecNo(), 2);
  EXPECT_TRUE(dataSet.FieldByName("Name")->IsNull());
  EXPECT_EQ(dataSet.FieldByName("Id")->AsInteger(), 2);
  dataSet.Last();
  EXPECT_TRUE(dataSet.Eof());
  EXPECT_EQ(dataSet.FieldByName("Id")->AsInteger(), 3);
  dataSet.Close();
  TDataSet empty(nullptr);
  empty.FieldDefs()->Add("X", ftString, 5);
  empty.Open();
  EXPECT_TRUE(empty.Eof());
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_TRUE(empty.FieldByName("X")->IsNull());
  EXPECT_EQ(empty.FieldByName("X")->AsInteger(), 0);
}

// Reads Count records of one field ("1", "2", ...), failing at record FailAt when asked to; its
// data set counts what it took.
class TCountingReader : public TRecordReader {
 public:
  TCountingReader(int Count, bool* Freed, int FailAt = 0) : FCount(Count), FFreed(Freed), FFailAt(FailAt) {}
  ~TCountingReader() override { *FFreed = true; }
  bool Read(std::vector<TRecordValue>& Values) override {
    if (FNext == FFailAt) {
      Values.emplace_back("half a record");
      FFailAt = 0;  // once
      DatabaseError("the disk went away");
    }
    if (FNext > FCount) return false;
    Values.emplace_back(std::to_string(FNext++));
    return true;
  }

 private:
  int FCount;
  int FNext = 1;
  bool* FFreed;
  int FFailAt;
};

class TLazyDataSet : public TDataSet {
 public:
  using TDataSet::TDataSet;
  int Records = 3;
  int FailAt = 0;
  bool ReaderFreed = false;
  void Restart() { SetRecordReader(1, std::make_unique<TCountingReader>(Records, &ReaderFreed, FailAt)); }

 protected:
  void InternalOpen() override {
    FieldDefs()->Clear();
    FieldDefs()->Add("N", ftInteger);
    CreateFields();
    Restart();
  }
};

TEST(DataSet, RecordsFromAReaderAreReadOnlyAsFarAsNavigationNeeds) {
  TLazyDataSet dataSet(nullptr);
  TDataSource source(nullptr);
  TRecordingLink link;
  link.SetDataSource(&source);
  source.SetDataSet(&dataSet);
  dataSet.Open();
  EXPECT_EQ(dataSet.RecordsRead(), 0);  // open, nothing asked for yet
  EXPECT_FALSE(dataSet.Eof());
  EXPECT_EQ(dataSet.FieldByName("N")->AsString(), "1");
  EXPECT_EQ(dataSet.RecordsRead(), 1);
  dataSet.Next();
  EXPECT_EQ(dataSet.RecNo(), 2);
  EXPECT_EQ(dataSet.RecordsRead(), 2);
  EXPECT_FALSE(dataSet.ReaderFreed);
  EXPECT_EQ(dataSet.RecordCount(), 3);  // counting reads the rest, and the reader is done
  EXPECT_TRUE(dataSet.ReaderFreed);
  EXPECT_EQ(dataSet.FieldByName("N")->AsInteger(), 2);  // the cursor stayed where it was
  dataSet.Last();
  EXPECT_EQ(dataSet.FieldByName("N")->AsInteger(), 3);
  dataSet.Prior();
  EXPECT_EQ(dataSet.FieldByName("N")->AsInteger(), 2);
  EXPECT_EQ(dataSet.RecordsRead(), 3);

  // New records: the old ones are gone, the links hear of it, and nothing is read until asked.
  link.Heard.clear();
  dataSet.Records = 0;
  dataSet.Restart();
  EXPECT_EQ(link.Heard, std::vector<std::string>{"changed"});
  EXPECT_EQ(dataSet.RecordsRead(), 3);
  EXPECT_TRUE(dataSet.IsEmpty());
  EXPECT_TRUE(dataSet.Eof());
  EXPECT_TRUE(dataSet.FieldByName("N")->IsNull());
  dataSet.Next();
  EXPECT_TRUE(dataSet.Eof());

  // A failing read is reported each time it is asked again, never taken for the end.
  dataSet.Records = 5;
  dataSet.FailAt = 2;
  dataSet.Restart();
  dataSet.First();
  EXPECT_THROW(dataSet.Next(), EDatabaseError);
  EXPECT_EQ(dataSet.RecNo(), 1);
  dataSet.Next();  // this reader fails once, then goes on where it stood
  EXPECT_EQ(dataSet.FieldByName("N")->AsInteger(), 2);
  dataSet.ReaderFreed = false;
  dataSet.Close();  // closing half way lets go of the reader
  EXPECT_TRUE(dataSet.ReaderFreed);
  EXPECT_EQ(dataSet.RecordCount(), 0);
}

// A reader of the rows (the design window's data view) walks the cursor with controls disabled
// and moves by whole distances, so the links (a detail) hear one notice, or none when the
// cursor came back.
TEST(DataSet, MoveByReadsOnlyAsFarAsItGoesAndTheLinksHearOnce) {
  TLazyDataSet dataSet(nullptr);
  dataSet.Records = 10;
  TDataSource source(nullptr);
  TRecordingLink link;
  link.SetDataSource(&source);
  source.SetDataSet(&dataSet);
  dataSet.Open();
  link.Heard.clear();
  EXPECT_EQ(dataSet.MoveBy(4), 4);
  EXPECT_EQ(dataSet.RecNo(), 5);
  EXPECT_EQ(dataSet.RecordsRead(), 5);
  EXPECT_EQ(dataSet.MoveBy(20), 5);  // as far as there are records
  EXPECT_EQ(dataSet.FieldByName("N")->AsInteger(), 10);
  EXPECT_EQ(dataSet.MoveBy(-3), -3);
  EXPECT_EQ(dataSet.MoveBy(0), 0);
  EXPECT_EQ(link.Heard, (std::vector<std::string>{"scrolled 4", "scrolled 5", "scrolled -3"}));

  link.Heard.clear();
  {
    TDisableControlsScope outer(dataSet);
    {
      TDisableControlsScope inner(dataSet);
      dataSet.MoveBy(-6);
      dataSet.First();
    }
    EXPECT_TRUE(dataSet.ControlsDisabled());
    dataSet.MoveBy(6);  // back where it started
  }
  EXPECT_FALSE(dataSet.ControlsDisabled());
  EXPECT_TRUE(link.Heard.empty());
  {
    TDisableControlsScope quiet(dataSet);
    dataSet.Prior();
  }
  EXPECT_EQ(link.Heard, std::vector<std::string>{"changed"});

  // A read failing half way: the error goes on, the controls are enabled again and the links
  // hear where the cursor stopped.
  dataSet.FailAt = 4;
  dataSet.Restart();
  link.Heard.clear();
  EXPECT_THROW(dataSet.MoveBy(5), EDatabaseError);
  EXPECT_FALSE(dataSet.ControlsDisabled());
  EXPECT_EQ(dataSet.RecNo(), 3);
  EXPECT_EQ(link.Heard, std::vector<std::string>{"changed"});
}

TEST(DataSet, FieldNamesComeFromTheFieldsOrTheDefinitions) {
  TTestDataSet dataSet(nullptr);
  TStringList names;
  names.Add("kept");
  dataSet.GetFieldNames(&names);  // closed: the definitions are read first
  EXPECT_EQ(names.ToVector(), (std::vector<std::string>{"kept", "Id", "Name"}));
  EXPECT_EQ(dataSet.InitCount, 1);
  EXPECT_TRUE(dataSet.FieldDefs()->Updated());
  names.Clear();
  dataSet.GetFieldNames(&names);  // up to date: not read again
  EXPECT_EQ(dataSet.InitCount, 1);
  dataSet.FieldDefs()->Update();  // asked for: read again
  EXPECT_EQ(dataSet.InitCount, 2);
  EXPECT_EQ(dataSet.FieldDefs()->Count(), 2);

  dataSet.Open();
  dataSet.FieldDefs()->Clear();
  names.Clear();
  dataSet.GetFieldNames(&names);  // open: the fields
  EXPECT_EQ(names.ToVector(), (std::vector<std::string>{"Id", "Name"}));
}

TEST(DataSet, IndexDefinitionsAreUpdatedByTheirDataSet) {
  TTestDataSet dataSet(nullptr);
  TIndexDefs defs(&dataSet);
  EXPECT_FALSE(defs.Updated());
  defs.Update();
  EXPECT_EQ(dataSet.IndexUpdates, 1);
  EXPECT_TRUE(defs.Updated());
  TIndexDefs loose(nullptr);
  loose.Update();
  EXPECT_TRUE(loose.Updated());
}

TEST(DataSet, FieldDefinitionsAddNumberAndCopy) {
  TFieldDefs defs(nullptr);
  defs.Add("A", ftString, 10, true);
  defs.Add("B", ftFloat);
  EXPECT_EQ(defs.Items(1)->FieldNo(), 2);
  EXPECT_EQ(defs.Find("b"), defs.Items(1));
  EXPECT_THROW(defs.Find("C"), EDatabaseError);
  TFieldDefs copy(nullptr);
  copy.Assign(&defs);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Items(0)->Name(), "A");
  EXPECT_EQ(copy.Items(0)->DataType(), ftString);
  EXPECT_EQ(copy.Items(0)->Size(), 10);
  EXPECT_TRUE(copy.Items(0)->Required());
  EXPECT_EQ(copy.Items(1)->FieldNo(), 2);
}

TEST(DataSet, DataSourceForgetsADestroyedDataSet) {
  auto dataSet = std::make_unique<TTestDataSet>(nullptr);
  TDataSource source(nullptr);
  TRecordingLink link;
  link.SetDataSource(&source);
  source.SetDataSet(dataSet.get());
  dataSet->Open();
  dataSet->Next();
  EXPECT_EQ(link.DataSet(), dataSet.get());
  dataSet.reset();
  EXPECT_EQ(source.DataSet(), nullptr);
  EXPECT_EQ(link.DataSet(), nullptr);
  EXPECT_EQ(link.Heard, (std::vector<std::string>{"inactive", "inactive", "active", "scrolled 1", "inactive"}));
}

TEST(DataSet, ADestroyedDataSourceLeavesItsDataSetAndLinksAlone) {
  TTestDataSet dataSet(nullptr);
  TRecordingLink link;
  {
    TDataSource source(nullptr);
    source.SetDataSet(&dataSet);
    link.SetDataSource(&source);
  }
  EXPECT_EQ(link.DataSource(), nullptr);
  dataSet.Open();  // no source left to tell
  dataSet.Next();
  EXPECT_EQ(link.Heard, (std::vector<std::string>{"inactive", "inactive"}));
}

TEST(DataSet, DataSourcesAreStoredByReference) {
  RegisterDataClasses();
  TComponent form(nullptr);
  auto* dataSet = new TTestDataSet(&form);
  dataSet->SetName("Customers");
  auto* source = As<TDataSource>(GetClass("TDataSource")->NewComponent(&form));
  const TPropInfo* prop = GetPropInfo(source, "DataSet");
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(prop->Kind, tkClass);
  SetObjectProp(source, prop, dataSet);
  EXPECT_EQ(source->DataSet(), dataSet);
  EXPECT_EQ(GetPropValueText(source, prop), "Customers");
  FreeObject(dataSet);
  EXPECT_EQ(source->DataSet(), nullptr);
}

TEST(DataSet, ActiveStoredInAFormOpensOnceTheFormIsReadOrStaysAWish) {
  const TPropInfo* active = GetPropInfo(TDataSet::StaticClass(), "Active");
  ASSERT_TRUE(active->Stored);
  for (bool fails : {false, true}) {
    TTestDataSet dataSet(nullptr);
    dataSet.SetName("Orders");
    dataSet.FailOpen = fails;
    TLoadWarnings warnings;
    dataSet.SetLoading(true);
    SetOrdProp(&dataSet, active, 1);
    EXPECT_FALSE(dataSet.Active());  // nothing opens before the whole form is read
    EXPECT_EQ(dataSet.InitCount, 0);
    dataSet.Loaded();
    EXPECT_EQ(dataSet.Active(), !fails);
    EXPECT_EQ(GetOrdProp(&dataSet, active), 1);  // stored as it was read, opened or not
    ASSERT_EQ(warnings.Items().size(), fails ? 1u : 0u);
    if (fails) {
      EXPECT_EQ(warnings.Items()[0].Component, "Orders");
      EXPECT_EQ(warnings.Items()[0].Message, "cannot open");  // not "Orders: cannot open"
      dataSet.Close();
      EXPECT_EQ(GetOrdProp(&dataSet, active), 0);
    }
  }
  // With nobody gathering warnings, a data set that cannot open fails the read.
  TTestDataSet alone(nullptr);
  alone.FailOpen = true;
  alone.SetLoading(true);
  alone.SetActive(true);
  EXPECT_THROW(alone.Loaded(), EDatabaseError);
  EXPECT_FALSE(alone.StoredActive());
}

TEST(DataSet, CircularMasterLinksAreRecognised) {
  TTestDataSet a(nullptr), b(nullptr);
  TDataSource showsA(nullptr), showsB(nullptr);
  showsA.SetDataSet(&a);
  showsB.SetDataSet(&b);
  EXPECT_TRUE(a.IsLinkedTo(&showsA));
  EXPECT_FALSE(a.IsLinkedTo(&showsB));
  EXPECT_FALSE(a.IsLinkedTo(nullptr));
}

TEST(DataSet, DatabaseErrorNamesTheComponent) {
  TComponent named(nullptr), unnamed(nullptr);
  named.SetName("Orders");
  try {
    DatabaseError("Missing MasterSource or DataSource", &named);
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Orders: Missing MasterSource or DataSource");
    EXPECT_STREQ(e.ClassName(), "EDatabaseError");
  }
  EXPECT_THROW(DatabaseError("x", &unnamed), EDatabaseError);
  try {
    DatabaseError("plain");
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "plain");
  }
}

}  // namespace
