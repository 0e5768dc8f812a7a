// TDataSet: opening and closing, field creation, the records a descendant supplies (at once or
// through a reader, read as navigation needs them) and the notices its data sources pass on.
#include "host/dataclx/DataSet.h"

#include <algorithm>

#include "host/dataclx/DataSource.h"
#include "host/dataclx/DatabaseError.h"
#include "host/rtl/Strings.h"
#include "host/rtl/TypInfo.h"

TClass TDataSet::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDataSet>(TComponent::StaticClass())
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
  if (!FReader) MoveTo(FRecordData.empty() ? -1 : 0);
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

size_t TDataSet::LoadedCount() const {
  return FRecordFieldCount > 0 ? FRecordData.size() / static_cast<size_t>(FRecordFieldCount) : 0;
}

bool TDataSet::ReadUpTo(size_t Record) const {
  while (LoadedCount() <= Record && FReader) {
    const size_t before = FRecordData.size();
    bool more;
    try {
      more = FReader->Read(FRecordData);
    } catch (...) {
      // The reader keeps its place: asking again reports the failure again rather than
      // taking the records read so far for all there are.
      FRecordData.resize(before);
      throw;
    }
    if (!more) {
      FRecordData.resize(before);
      FReader.reset();
      break;
    }
    if (FRecordData.size() - before != static_cast<size_t>(FRecordFieldCount)) {
      FRecordData.resize(before);
      DatabaseError("Record data does not fit the fields", const_cast<TDataSet*>(this));
    }
    ++FRecordsRead;
  }
  return LoadedCount() > Record;
}

void TDataSet::Settle() const {
  if (!FUnsettled) return;
  FUnsettled = false;
  try {
    MoveTo(ReadUpTo(0) ? 0 : -1);
  } catch (...) {
    FUnsettled = true;
    throw;
  }
}

int TDataSet::RecordCount() const {
  while (FReader) ReadUpTo(LoadedCount());
  return static_cast<int>(LoadedCount());
}

bool TDataSet::IsEmpty() const { return !ReadUpTo(0); }

bool TDataSet::Eof() const {
  Settle();
  return FEof;
}

bool TDataSet::Bof() const {
  Settle();
  return FBof;
}

int TDataSet::RecNo() const {
  Settle();
  return FCurrent + 1;
}

void TDataSet::MoveTo(int Record) const {
  FUnsettled = false;
  FCurrent = Record;
  FBof = true;
  FEof = Record < 0;
}

void TDataSet::First() {
  CheckActive();
  MoveTo(ReadUpTo(0) ? 0 : -1);
  DataEvent(deDataSetScroll);
}

void TDataSet::Last() {
  CheckActive();
  const int count = RecordCount();
  MoveTo(count - 1);
  FBof = count == 0;
  FEof = true;
  DataEvent(deDataSetScroll);
}

void TDataSet::Next() {
  CheckActive();
  Settle();
  if (FCurrent >= 0 && ReadUpTo(static_cast<size_t>(FCurrent) + 1)) {
    ++FCurrent;
    FBof = false;
    DataEvent(deDataSetScroll, 1);
  } else {
    FEof = true;
  }
}

void TDataSet::Prior() {
  CheckActive();
  Settle();
  if (FCurrent > 0) {
    --FCurrent;
    FEof = false;
    DataEvent(deDataSetScroll, -1);
  } else {
    FBof = true;
  }
}

int TDataSet::MoveBy(int Distance) {
  CheckActive();
  int moved = 0;
  {
    TDisableControlsScope quiet(*this);
    for (; moved < Distance && !Eof(); ++moved) {
      int before = RecNo();
      Next();
      if (RecNo() == before) break;
    }
    for (; moved > Distance && !Bof(); --moved) {
      int before = RecNo();
      Prior();
      if (RecNo() == before) break;
    }
    FHeldScroll = false;  // told once, below
  }
  if (moved != 0) DataEvent(deDataSetScroll, moved);
  return moved;
}

void TDataSet::DisableControls() {
  if (FDisableCount++ == 0) {
    FDisabledAtRecNo = RecNo();
    FHeldScroll = false;
    FHeldChange = false;
  }
}

void TDataSet::EnableControls() {
  if (FDisableCount == 0 || --FDisableCount > 0) return;
  bool changed = FHeldChange || (FHeldScroll && RecNo() != FDisabledAtRecNo);
  FHeldScroll = false;
  FHeldChange = false;
  if (changed) DataEvent(deDataSetChange);
}

void TDataSet::SetRecordData(int FieldCount, std::vector<TRecordValue> Values) {
  if (FieldCount <= 0 || Values.size() % static_cast<size_t>(FieldCount) != 0)
    DatabaseError("Record data does not fit the fields", this);
  FReader.reset();
  FRecordFieldCount = FieldCount;
  FRecordData = std::move(Values);
  MoveTo(FRecordData.empty() ? -1 : 0);
  if (Active()) DataEvent(deDataSetChange);
}

void TDataSet::SetRecordReader(int FieldCount, std::unique_ptr<TRecordReader> Reader) {
  if (FieldCount <= 0) DatabaseError("Record data does not fit the fields", this);
  FRecordFieldCount = FieldCount;
  FRecordData.clear();
  FReader = std::move(Reader);
  MoveTo(-1);
  FUnsettled = true;
  if (Active()) DataEvent(deDataSetChange);
}

void TDataSet::ClearRecordData() {
  FReader.reset();
  FRecordData.clear();
  FRecordFieldCount = 0;
  MoveTo(-1);
}

const TRecordValue* TDataSet::CurrentValue(int FieldIndex) const {
  Settle();
  if (FCurrent < 0 || FieldIndex < 0 || FieldIndex >= FRecordFieldCount) return nullptr;
  return &FRecordData[static_cast<size_t>(FCurrent) * static_cast<size_t>(FRecordFieldCount) +
                      static_cast<size_t>(FieldIndex)];
}

void TDataSet::DataEvent(TDataEvent Event, intptr_t Info) {
  // Opening and closing are told at once: a link must never show a closed data set.
  if (FDisableCount > 0 && Event != deUpdateState) {
    (Event == deDataSetScroll ? FHeldScroll : FHeldChange) = true;
    return;
  }
  // A source may leave the list while it is told (a link closing its own data set), so walk a copy.
  std::vector<TDataSource*> sources = FDataSources;
  for (TDataSource* source : sources)
    if (std::find(FDataSources.begin(), FDataSources.end(), source) != FDataSources.end())
      source->NotifyLinks(Event, Info);
}
