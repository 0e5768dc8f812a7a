// A detail and a master data set held in memory and a field link that keeps its values in
// itself and records every write: enough to run the Field Link Designer without a database.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fldlinks/FieldListText.h"
#include "fldlinks/QVRBaseFieldLinkProperty.h"
#include "fldlinks/QVRLinkFields.h"
#include "host/dataclx/Db.h"
#include "host/rtl/TypInfo.h"

// The design package's start: the platform's classes and the designer's stored description.
extern "C" void Initialize();

namespace qttest {

class TListDataSet : public TDataSet {
 public:
  TListDataSet(const std::string& Name, const std::vector<std::string>& Fields) : TDataSet(nullptr) {
    SetName(Name);
    for (const std::string& field : Fields) FieldDefs()->Add(field, ftString, 20);
  }
  TDataSource* DataSource() const override { return Source; }
  TDataSource* Source = nullptr;

 protected:
  void InternalOpen() override {}
};

// Index-based, as a table: a non-empty IndexName or IndexFieldNames empties the other.
class TMemoryLink : public TQVRBaseFieldLinkProperty {
 public:
  TMemoryLink() : Defs(std::make_unique<TIndexDefs>(nullptr)) {}

  void GetFieldNamesForIndex(TStrings* List) override {
    auto* def = static_cast<TIndexDef*>(Defs->TDefCollection::Find(IndexName));
    for (size_t pos = 0; def && pos < def->Fields().size();) List->Add(NextFieldName(def->Fields(), pos));
  }
  bool GetIndexBased() override { return true; }
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
    IndexName = Value;
    if (!Value.empty()) IndexFieldNames.clear();
  }
  void SetMasterFields(const std::string& Value) override {
    Calls.push_back("SetMasterFields(" + Value + ")");
    MasterFields = Value;
  }

  std::string IndexName;
  std::string IndexFieldNames;
  std::string MasterFields;
  std::unique_ptr<TIndexDefs> Defs;
  std::vector<std::string> Calls;
};

// Orders(F1, F2, F3) through ByF (F1;F2;F3) or ByF2 (F2), master Customers(M1, M2, M3),
// stored link F1 -> M1.
struct TLinkSetup {
  TLinkSetup() : Master("Customers", {"M1", "M2", "M3"}), Source(nullptr), Detail("Orders", {"F1", "F2", "F3"}) {
    Initialize();
    Source.SetDataSet(&Master);
    Detail.Source = &Source;
    Link.Defs->Add("ByF", "F1;F2;F3", {});
    Link.Defs->Add("ByF2", "F2", {});
    Link.IndexFieldNames = "F1";
    Link.MasterFields = "M1";
  }
  bool Run() { return EditMasterFields(&Detail, &Link); }

  TListDataSet Master;
  TDataSource Source;
  TListDataSet Detail;
  TMemoryLink Link;
};

}  // namespace qttest
