// TDataSet: the platform's data set. It owns its field definitions and fields, opens and closes
// through overridable steps, and keeps the records a descendant supplies for simple navigation:
// all at once, or through a record reader that is asked for a record only when navigation, a
// field's value or a count needs one.
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

// A record value: the text of a field, or nothing for null.
using TRecordValue = std::optional<std::string>;

// Reads a data set's records one at a time, from the first, when the data set needs the next
// one. Nothing is read before the first Read; the data set frees the reader when it has read
// the last record or when its records are replaced.
class TRecordReader {
 public:
  virtual ~TRecordReader() = default;
  // Appends the next record's values (one per field) to Values and answers true; false when
  // there are no more records.
  virtual bool Read(std::vector<TRecordValue>& Values) = 0;
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

  // Navigation over the records the descendant supplied. Records from a reader are read as
  // far as the request needs: the first record for Eof, Bof, IsEmpty or a field's value,
  // the next one for Next, all of them for Last and RecordCount.
  void First();
  void Next();
  void Prior();
  void Last();
  bool Eof() const;
  bool Bof() const;
  bool IsEmpty() const;
  int RecordCount() const;
  // The current record's number from 1; 0 when there is none.
  int RecNo() const;
  // How many records this data set has taken from record readers since it was made: what
  // navigation has cost in reads.
  int64_t RecordsRead() const { return FRecordsRead; }

  // Moves Distance records forward (backward when negative), as far as there are records, with
  // one notice to the data links; answers how far it moved.
  int MoveBy(int Distance);

  // While controls are disabled the data links hear nothing; when the last DisableControls is
  // matched they hear one change, unless only the cursor moved and it is back on the record it
  // started from. A reader walks the records this way without making the details follow.
  // Use TDisableControlsScope.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return FDisableCount > 0; }

  // Raises "Cannot perform this operation on an open dataset" / "... on a closed dataset".
  void CheckInactive() const;
  void CheckActive() const;

  void Loaded() override;

 protected:
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
  // Replaces the records by those Reader will read, FieldCount values each; none is read now.
  // The cursor is on the first record (read when asked for) and the data links hear of the
  // change.
  void SetRecordReader(int FieldCount, std::unique_ptr<TRecordReader> Reader);
  void ClearRecordData();
  // Told to every data source of this data set, and by them to their data links.
  void DataEvent(TDataEvent Event, intptr_t Info = 0);

 private:
  friend class TField;
  friend class TFieldDefs;
  friend class TIndexDefs;
  friend class TDataSource;

  const TRecordValue* CurrentValue(int FieldIndex) const;
  void MoveTo(int Record) const;
  // Puts the cursor on the first record when it waits to be placed there (after new records);
  // reads that record from the reader.
  void Settle() const;
  // Reads from the reader until the record with that number (from 0) is there or the reader
  // has no more; answers whether it is there.
  bool ReadUpTo(size_t Record) const;
  size_t LoadedCount() const;

  std::unique_ptr<TFieldDefs> FFieldDefs;
  std::unique_ptr<TFields> FFields;
  std::vector<TDataSource*> FDataSources;  // not owned: the sources whose DataSet this is
  TDataSetState FState = dsInactive;
  bool FDefaultFields = false;   // the fields were made from the definitions at Open
  bool FStreamedActive = false;  // stored open; opened by Loaded, or kept when that failed
  int FRecordFieldCount = 0;
  // Records read so far, and the reader of the rest (nil when every record is here). They
  // change while reading, which const requests such as Eof may do.
  mutable std::vector<TRecordValue> FRecordData;
  mutable std::unique_ptr<TRecordReader> FReader;
  mutable int64_t FRecordsRead = 0;
  mutable bool FUnsettled = false;  // the cursor waits to go to the first record
  mutable int FCurrent = -1;
  mutable bool FEof = true;
  mutable bool FBof = true;
  int FDisableCount = 0;
  int FDisabledAtRecNo = 0;  // where the cursor stood when controls were disabled
  bool FHeldScroll = false;  // the cursor moved while controls were disabled
  bool FHeldChange = false;  // something else happened meanwhile
};

// Disables a data set's controls for the life of the scope.
class TDisableControlsScope {
 public:
  explicit TDisableControlsScope(TDataSet& DataSet) : FDataSet(DataSet) { FDataSet.DisableControls(); }
  ~TDisableControlsScope() {
    try {
      FDataSet.EnableControls();
    } catch (...) {
      // A link that fails to follow has nobody to tell here; the data set itself is whole.
    }
  }
  TDisableControlsScope(const TDisableControlsScope&) = delete;
  TDisableControlsScope& operator=(const TDisableControlsScope&) = delete;

 private:
  TDataSet& FDataSet;
};
