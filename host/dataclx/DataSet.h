// TDataSet: the platform's data set. It owns its field definitions and fields, opens and closes
// through overridable steps, and keeps the records a descendant supplies for simple navigation.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/dataclx/Field.h"
#include "host/dataclx/FieldDef.h"
#include "host/rtl/Component.h"

// The platform's data set states and data events, with their ordinals.
enum TDataSetState {
  dsInactive,
  dsBrowse,
  dsEdit,
  dsInsert,
  dsSetKey,
  dsCalcFields,
  dsFilter,
  dsNewValue,
  dsOldValue,
  dsCurValue,
  dsBlockRead,
  dsInternalCalc,
  dsOpening
};

enum TDataEvent {
  deFieldChange,
  deRecordChange,
  deDataSetChange,
  deDataSetScroll,
  deLayoutChange,
  deUpdateRecord,
  deUpdateState,
  deCheckBrowseMode,
  dePropertyChange,
  deFieldListChange,
  deFocusControl,
  deParentScroll,
  deConnectChange,
  deReconcileError,
  deDisabledStateChange
};

class TDataSet : public TComponent {
  TIRVENDAL_CLASS(TDataSet)

  explicit TDataSet(TComponent* Owner);
  ~TDataSet() override;

  // Opening runs InternalOpen, then makes a field per field definition when the descendant
  // made none. An error while opening leaves the data set closed.
  void Open();
  void Close();
  bool Active() const { return FState != dsInactive && FState != dsOpening; }
  // While a stored form is read, Active = True only notes the wish: the data set opens in
  // Loaded, once every property and reference of the form is in place. A data set that cannot
  // open then stays closed, reports a load warning and keeps Active as its stored value, so
  // that saving the form does not lose it; Close (or Active = False) lets go of that wish.
  void SetActive(bool Value);
  // Active as stored: true also for a data set stored open that could not be opened.
  bool StoredActive() const { return Active() || FStreamedActive; }
  TDataSetState State() const { return FState; }

  TFieldDefs* FieldDefs() const { return FFieldDefs.get(); }
  TFields* Fields() const { return FFields.get(); }
  TField* FindField(std::string_view FieldName) const { return FFields->FindField(FieldName); }
  TField* FieldByName(std::string_view FieldName) const { return FFields->FieldByName(FieldName); }
  // Adds the field names in field order: of the fields when the data set is open, else of the
  // field definitions (read first when they are not up to date). List is not cleared.
  void GetFieldNames(TStrings* List);

  // The data source this data set takes its master records from; nil in the base.
  virtual TDataSource* DataSource() const { return nullptr; }
  // True when this data set is DataSource's data set or a master of it, directly or not.
  bool IsLinkedTo(const TDataSource* DataSource) const;

  // Navigation over the records the descendant supplied.
  void First();
  void Next();
  void Prior();
  void Last();
  bool Eof() const { return FEof; }
  bool Bof() const { return FBof; }
  bool IsEmpty() const { return RecordCount() == 0; }
  int RecordCount() const;
  // The current record's number from 1; 0 when there is none.
  int RecNo() const;

  // Raises "Cannot perform this operation on an open dataset" / "... on a closed dataset".
  void CheckInactive() const;
  void CheckActive() const;

  void Loaded() override;

 protected:
  // A record value: the text of a field, or nothing for null.
  using TRecordValue = std::optional<std::string>;

  virtual void InternalOpen() {}
  virtual void InternalClose() {}
  // Reads the field definitions into FieldDefs; the base keeps the ones it was given.
  virtual void InternalInitFieldDefs() {}
  // Reads the index definitions afresh; the base has none.
  virtual void UpdateIndexDefs() {}
  // Makes one field per field definition; Close frees them again. Open does this itself when
  // InternalOpen made no fields.
  void CreateFields();
  // Reads the field definitions and marks them up to date.
  void InitFieldDefs();

  // Replaces the records: Values holds FieldCount values per record, record after record.
  // The cursor moves to the first record and the data links hear of the change.
  void SetRecordData(int FieldCount, std::vector<TRecordValue> Values);
  void ClearRecordData();
  // Told to every data source of this data set, and by them to their data links.
  void DataEvent(TDataEvent Event, intptr_t Info = 0);

 private:
  friend class TField;
  friend class TFieldDefs;
  friend class TIndexDefs;
  friend class TDataSource;

  const TRecordValue* CurrentValue(int FieldIndex) const;
  void MoveTo(int Record);

  std::unique_ptr<TFieldDefs> FFieldDefs;
  std::unique_ptr<TFields> FFields;
  std::vector<TDataSource*> FDataSources;  // not owned: the sources whose DataSet this is
  TDataSetState FState = dsInactive;
  bool FDefaultFields = false;   // the fields were made from the definitions at Open
  bool FStreamedActive = false;  // stored open; opened by Loaded, or kept when that failed
  int FRecordFieldCount = 0;
  std::vector<TRecordValue> FRecordData;
  int FCurrent = -1;
  bool FEof = true;
  bool FBof = true;
};
