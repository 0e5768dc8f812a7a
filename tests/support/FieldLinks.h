// What stands in for a field link where the Field Link Designer runs without the Object
// Inspector: data sets held in memory with a link that keeps its values in itself and records
// every write (the designer's and the Qt widget set's tests), and a link that reads and writes
// a table itself (the designer's benchmark).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fldlinks/FieldListText.h"
#include "fldlinks/QVRBaseFieldLinkProperty.h"
#include "host/dataclx/Db.h"
#include "host/rtl/TypInfo.h"
#include "host/runtime/Table.h"

namespace fixtures {

using Strings = std::vector<std::string>;

// A data set with the given fields whose master is what Source shows; it publishes
// MasterFields so an Object Inspector editor can be made for it.
class TMemoryDataSet : public TDataSet {
  TIRVENDAL_CLASS(TMemoryDataSet)
  TMemoryDataSet(const std::string& Name, const Strings& Fields) : TDataSet(nullptr) {
    SetName(Name);
    for (const std::string& field : Fields) FieldDefs()->Add(field, ftString, 20);
  }
  TDataSource* DataSource() const override { return Source; }
  std::string MasterFields() const { return {}; }
  void SetMasterFields(const std::string&) {}

  TDataSource* Source = nullptr;
  int OpenCount = 0;

 protected:
  void InternalOpen() override { ++OpenCount; }
};

inline TClass TMemoryDataSet::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TMemoryDataSet>(TDataSet::StaticClass())
          .String("MasterFields", &TMemoryDataSet::MasterFields, &TMemoryDataSet::SetMasterFields)
          .Build();
  return &info;
}

// An index-based field link whose values live in the object, kept as a table keeps them (a
// non-empty IndexName or IndexFieldNames empties the other). Calls lists every write.
class TRecordingLink : public TQVRBaseFieldLinkProperty {
 public:
  void GetFieldNamesForIndex(TStrings* List) override {
    auto* def = static_cast<TIndexDef*>(Defs->TDefCollection::Find(IndexName));
    for (size_t pos = 0; def && pos < def->Fields().size();) List->Add(NextFieldName(def->Fields(), pos));
  }
  bool GetIndexBased() override { return IndexBased; }
  TIndexDefs* GetIndexDefs() override { return Defs.get(); }
  std::string GetIndexFieldNames() override { return IndexFieldNames; }
  std::string GetIndexName() override { return IndexName; }
  std::string GetMasterFields() override { return MasterFields; }
  void SetIndexFieldNames(const std::string& Value) override {
    Calls.push_back("SetIndexFieldNames(" + Value + ")");
    IndexFieldNames = Value;
    IndexName.clear();
  }
  void SetIndexName(const std::string& Value) override {
    Calls.push_back("SetIndexName(" + Value + ")");
    if (!Refused.empty() && Value == Refused) DatabaseError("Index '" + Value + "' cannot be read");
    IndexName = Value;
    if (!Value.empty()) IndexFieldNames.clear();
  }
  void SetMasterFields(const std::string& Value) override {
    Calls.push_back("SetMasterFields(" + Value + ")");
    MasterFields = Value;
  }

  bool IndexBased = true;
  std::string IndexName, IndexFieldNames, MasterFields;
  std::string Refused;  // an index name SetIndexName raises for
  std::unique_ptr<TIndexDefs> Defs = std::make_unique<TIndexDefs>(nullptr);
  Strings Calls;
};

// A detail data set bound to a master data set through a data source.
struct TLinkedPair {
  TLinkedPair(const Strings& DetailFields, const Strings& MasterFieldNames)
      : Master("Customers", MasterFieldNames), Source(nullptr), Detail("Orders", DetailFields) {
    Source.SetDataSet(&Master);
    Detail.Source = &Source;
  }
  TMemoryDataSet Master;
  TDataSource Source;
  TMemoryDataSet Detail;
};

// A link that reads and writes the detail table itself, as the table's own editor does on its
// work copy.
class TTableLink : public TQVRBaseFieldLinkProperty {
 public:
  TQVRTable* Table = nullptr;
  void GetFieldNamesForIndex(TStrings* List) override {
    for (int i = 0, n = Table->GetIndexFieldCount(); i < n; ++i) List->Add(Table->GetIndexField(i)->FieldName());
  }
  bool GetIndexBased() override { return true; }
  TIndexDefs* GetIndexDefs() override { return Table->IndexDefs(); }
  std::string GetIndexFieldNames() override { return Table->GetIndexFieldNames(); }
  std::string GetIndexName() override { return Table->GetIndexName(); }
  std::string GetMasterFields() override { return Table->GetMasterFields(); }
  void SetIndexFieldNames(const std::string& Value) override { Table->SetIndexFieldNames(Value); }
  void SetIndexName(const std::string& Value) override { Table->SetIndexName(Value); }
  void SetMasterFields(const std::string& Value) override { Table->SetMasterFields(Value); }
};

}  // namespace fixtures
