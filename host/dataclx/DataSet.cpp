// TDataSet: opening and closing, field creation, the records a descendant supplies and the
// notices its data sources pass on.
#include "host/dataclx/DataSet.h"

#include <algorithm>

#include "host/dataclx/DataSource.h"
#include "host/dataclx/DatabaseError.h"
#include "host/rtl/Strings.h"
#include "host/rtl/TypInfo.h"

TClass TDataSet::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDataSet>("TDataSet", TComponent::StaticClass())
                                     .Boolean("Active", &TDataSet::StoredActive, &TDataSet::SetActive)
                                     .Build();
  return &info;
}

TDataSet::TDataSet(TComponent* Owner)
    : TComponent(Owner), FFieldDefs(std::make_unique<TFieldDefs>(this)), FFields(std::make_unique<TFields>(this)) {}

TDataSet::~TDataSet() {
  // The descendant has closed itself already (its InternalClose is gone by now); what is left is
  // to let go of the sources that show this data set while this object is still whole.
  // Letting go tells the sources' links, which may read again and fail; nobody is left to hear it.
  while (!FDataSources.empty()) {
    try {
      FDataSources.back()->SetDataSet(nullptr);
    } catch (...) {
    }
  }
}

void TDataSet::SetActive(bool Value) {
  if (ComponentState().Contains(csLoading)) {
    FStreamedActive = Value;
    return;
  }
  Value ? Open() : Close();
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (!FStreamedActive) return;
  try {
    Open();
    FStreamedActive = false;
  } catch (const Exception& e) {
    if (!TLoadWarnings::Report(this, e.Message())) {
      FStreamedActive = false;
      throw;
    }
  }
}

void TDataSet::Open() {
  if (FState != dsInactive) return;
  FState = dsOpening;
  try {
    InternalOpen();
    if (FFields->Count() == 0) CreateFields();
  } catch (...) {
    FState = dsInactive;
    try {
      InternalClose();
    } catch (...) {
      // The opening error is the one to report.
    }
    if (FDefaultFields) FFields->Clear();
    FDefaultFields = false;
    ClearRecordData();
    throw;
  }
  FState = dsBrowse;
  MoveTo(FRecordData.empty() ? -1 : 0);
  DataEvent(deUpdateState);
}

void TDataSet::Close() {
  FStreamedActive = false;
  if (!Active()) return;
  InternalClose();
  FState = dsInactive;
  ClearRecordData();
  if (FDefaultFields) FFields->Clear();
  FDefaultFields = false;
  DataEvent(deUpdateState);
}

void TDataSet::CheckInactive() const {
  if (Active()) DatabaseError("Cannot perform this operation on an open dataset", const_cast<TDataSet*>(this));
}

void TDataSet::CheckActive() const {
  if (!Active()) DatabaseError("Cannot perform this operation on a closed dataset", const_cast<TDataSet*>(this));
}

void TDataSet::GetFieldNames(TStrings* List) {
  if (FFields->Count() > 0) {
    FFields->GetFieldNames(List);
    return;
  }
  if (!FFieldDefs->Updated()) FFieldDefs->Update();
  FFieldDefs->GetItemNames(List);
}

bool TDataSet::IsLinkedTo(const TDataSource* Source) const {
  // Walk up the chain of masters from Source; meeting this data set closes a circle.
  for (int depth = 0; Source && depth < 1000; ++depth) {
    const TDataSet* shown = Source->DataSet();
    if (!shown) return false;
    if (shown == this) return true;
    Source = shown->DataSource();
  }
  return Source != nullptr;
}

void TDataSet::CreateFields() {
  for (int i = 0; i < FFieldDefs->Count(); ++i) {
    const TFieldDef* def = FFieldDefs->Items(i);
    auto field = std::make_unique<TField>(nullptr);
    field->SetFieldName(def->Name());
    field->SetDataType(def->DataType());
    field->SetSize(def->Size());
    field->SetRequired(def->Required());
    FFields->Add(std::move(field));
  }
  FDefaultFields = true;
}

void TDataSet::InitFieldDefs() {
  InternalInitFieldDefs();
  FFieldDefs->SetUpdated(true);
}

int TDataSet::RecordCount() const {
  return FRecordFieldCount > 0 ? static_cast<int>(FRecordData.size()) / FRecordFieldCount : 0;
}

int TDataSet::RecNo() const { return FCurrent + 1; }

void TDataSet::MoveTo(int Record) {
  FCurrent = Record;
  FBof = true;
  FEof = Record < 0;
}

void TDataSet::First() {
  CheckActive();
  MoveTo(RecordCount() > 0 ? 0 : -1);
  DataEvent(deDataSetScroll);
}

void TDataSet::Last() {
  CheckActive();
  MoveTo(RecordCount() - 1);
  FBof = RecordCount() == 0;
  FEof = true;
  DataEvent(deDataSetScroll);
}

void TDataSet::Next() {
  CheckActive();
  if (FCurrent + 1 < RecordCount()) {
    ++FCurrent;
    FBof = false;
    DataEvent(deDataSetScroll, 1);
  } else {
    FEof = true;
  }
}

void TDataSet::Prior() {
  CheckActive();
  if (FCurrent > 0) {
    --FCurrent;
    FEof = false;
    DataEvent(deDataSetScroll, -1);
  } else {
    FBof = true;
  }
}

void TDataSet::SetRecordData(int FieldCount, std::vector<TRecordValue> Values) {
  if (FieldCount <= 0 || Values.size() % static_cast<size_t>(FieldCount) != 0)
    DatabaseError("Record data does not fit the fields", this);
  FRecordFieldCount = FieldCount;
  FRecordData = std::move(Values);
  if (Active()) {
    MoveTo(FRecordData.empty() ? -1 : 0);
    DataEvent(deDataSetChange);
  }
}

void TDataSet::ClearRecordData() {
  FRecordData.clear();
  FRecordFieldCount = 0;
  MoveTo(-1);
}

const TDataSet::TRecordValue* TDataSet::CurrentValue(int FieldIndex) const {
  if (FCurrent < 0 || FieldIndex < 0 || FieldIndex >= FRecordFieldCount) return nullptr;
  return &FRecordData[static_cast<size_t>(FCurrent) * static_cast<size_t>(FRecordFieldCount) +
                      static_cast<size_t>(FieldIndex)];
}

void TDataSet::DataEvent(TDataEvent Event, intptr_t Info) {
  // A source may leave the list while it is told (a link closing its own data set), so walk a copy.
  std::vector<TDataSource*> sources = FDataSources;
  for (TDataSource* source : sources)
    if (std::find(FDataSources.begin(), FDataSources.end(), source) != FDataSources.end())
      source->NotifyLinks(Event, Info);
}
