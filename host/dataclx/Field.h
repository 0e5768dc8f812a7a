// TField and TFields: the columns of an open data set and their values in the current record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/dataclx/FieldDef.h"
#include "host/rtl/Component.h"

class TField : public TComponent {
  TIRVENDAL_CLASS(TField)

  explicit TField(TComponent* Owner);

  const std::string& FieldName() const { return FFieldName; }
  void SetFieldName(const std::string& Value) { FFieldName = Value; }
  TFieldType DataType() const { return FDataType; }
  void SetDataType(TFieldType Value) { FDataType = Value; }
  int Size() const { return FSize; }
  void SetSize(int Value) { FSize = Value; }
  bool Required() const { return FRequired; }
  void SetRequired(bool Value) { FRequired = Value; }
  // The field's position in its data set's Fields, from 0; -1 when it belongs to none.
  int Index() const;
  TDataSet* DataSet() const { return FDataSet; }

  // The value in the data set's current record; a null value (or no current record) reads as
  // IsNull, an empty text and 0.
  bool IsNull() const;
  std::string AsString() const;
  // Raises EConvertError when the value is not an integer.
  int64_t AsInteger() const;

 private:
  friend class TFields;
  std::string FFieldName;
  TFieldType FDataType = ftUnknown;
  int FSize = 0;
  bool FRequired = false;
  TDataSet* FDataSet = nullptr;
  int FIndex = -1;  // the place TFields gave it
};

class TFields : public TObject {
  TIRVENDAL_CLASS(TFields)

  explicit TFields(TDataSet* DataSet);
  ~TFields() override;

  int Count() const { return static_cast<int>(FList.size()); }
  TField* Fields(int Index) const;
  TField* operator[](int Index) const { return Fields(Index); }
  // Takes ownership of Field and appends it.
  TField* Add(std::unique_ptr<TField> Field);
  void Clear();
  // The field of that name (case-insensitive), or nil.
  TField* FindField(std::string_view FieldName) const;
  // As FindField, but raises EDatabaseError "Field 'X' not found".
  TField* FieldByName(std::string_view FieldName) const;
  int IndexOf(const TField* Field) const;
  // Adds the field names in field order; List is not cleared.
  void GetFieldNames(TStrings* List) const;
  TDataSet* DataSet() const { return FDataSet; }

 private:
  TDataSet* FDataSet;
  std::vector<std::unique_ptr<TField>> FList;
  // Lower-case name to the first field of that name, built on demand: wide tables look their
  // fields up by name once per index field. A field may be renamed, so a hit is checked and a
  // miss falls back to the plain scan.
  mutable std::unordered_map<std::string, size_t> FByName;
  mutable bool FByNameValid = false;
};
