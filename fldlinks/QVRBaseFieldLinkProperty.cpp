// The field-link contract's defaults: a link that is not index-based.
#include "fldlinks/QVRBaseFieldLinkProperty.h"

#include "fldlinks/QVRLinkFields.h"
#include "host/dataclx/Db.h"

TClass TQVRBaseFieldLinkProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TQVRBaseFieldLinkProperty>(TStringProperty::StaticClass()).Constructible().Build();
  return &info;
}

std::unique_ptr<TQVRBaseFieldLinkProperty> TQVRBaseFieldLinkProperty::CreateForDataSet(TClass LinkClass,
                                                                                       TDataSet* DataSet) {
  if (!LinkClass || !LinkClass->InheritsFrom(StaticClass()) || !LinkClass->NewObject)
    throw EInvalidOperation("CreateForDataSet needs a constructible field link class");
  std::unique_ptr<TObject> made = LinkClass->NewObject();
  As<TQVRBaseFieldLinkProperty>(made.get());  // checked before the ownership moves
  std::unique_ptr<TQVRBaseFieldLinkProperty> link(static_cast<TQVRBaseFieldLinkProperty*>(made.release()));
  link->FLinkDataSet = DataSet;
  return link;
}

TPropertyAttributes TQVRBaseFieldLinkProperty::GetAttributes() { return {paDialog}; }

void TQVRBaseFieldLinkProperty::CheckDesigner() const {
  if (!Designer() || PropCount() == 0)
    throw EInvalidOperation(ClassName() +
                            " was made for a data set, not by the Object Inspector: it has no designer to edit "
                            "the link in or to report a change to");
}

void TQVRBaseFieldLinkProperty::Edit() {
  CheckDesigner();
  FLinkChanged = EditMasterFields(GetDataSet(), this);
  if (FLinkChanged) Modified();
}

void TQVRBaseFieldLinkProperty::GetFieldNamesForIndex(TStrings* List) {}

bool TQVRBaseFieldLinkProperty::GetIndexBased() { return false; }

TIndexDefs* TQVRBaseFieldLinkProperty::GetIndexDefs() { return nullptr; }

std::string TQVRBaseFieldLinkProperty::GetIndexFieldNames() { return {}; }

std::string TQVRBaseFieldLinkProperty::GetIndexName() { return {}; }

std::string TQVRBaseFieldLinkProperty::GetMasterFields() { AbstractError(); }

void TQVRBaseFieldLinkProperty::SetIndexFieldNames(const std::string& Value) {}

void TQVRBaseFieldLinkProperty::SetIndexName(const std::string& Value) {}

void TQVRBaseFieldLinkProperty::SetMasterFields(const std::string& Value) { AbstractError(); }

void TQVRBaseFieldLinkProperty::GetIndexNames(TStrings* List) {
  TIndexDefs* defs = GetIndexDefs();
  if (!defs) return;
  for (int i = 0, n = defs->Count(); i < n; ++i) List->Add(defs->Items(i)->Name());
}

TDataSet* TQVRBaseFieldLinkProperty::GetDataSet() {
  // A checked cast: a selected component that is no data set is an invalid cast, not a wild
  // pointer.
  if (!FLinkDataSet) FLinkDataSet = As<TDataSet>(GetComponent(0));
  return FLinkDataSet;
}
