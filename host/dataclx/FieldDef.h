// TFieldType, TFieldDef and TFieldDefs: the structure of a data set's columns.
#pragma once

#include <string>
#include <string_view>

#include "host/dataclx/DefCollection.h"
#include "host/rtl/TypInfo.h"

// The platform's field types, with their ordinals.
enum TFieldType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
  ftFixedChar,
  ftWideString,
  ftLargeint,
  ftADT,
  ftArray,
  ftReference,
  ftDataSet,
  ftOraBlob,
  ftOraClob,
  ftVariant,
  ftInterface,
  ftIDispatch,
  ftGuid,
  ftTimeStamp,
  ftFMTBcd
};

const TEnumInfo& FieldTypeInfo();

class TFieldDef : public TNamedItem {
  TIRVENDAL_CLASS(TFieldDef)

  TFieldDef() = default;
  TFieldType DataType() const { return FDataType; }
  void SetDataType(TFieldType Value) { FDataType = Value; }
  int Size() const { return FSize; }
  void SetSize(int Value) { FSize = Value; }
  bool Required() const { return FRequired; }
  void SetRequired(bool Value) { FRequired = Value; }
  // The column's number in its table, from 1.
  int FieldNo() const { return FFieldNo; }
  void SetFieldNo(int Value) { FFieldNo = Value; }

  void Assign(const TPersistent* Source) override;

 private:
  TFieldType FDataType = ftUnknown;
  int FSize = 0;
  bool FRequired = false;
  int FFieldNo = 0;
};

class TFieldDefs : public TDefCollection {
  TIRVENDAL_CLASS(TFieldDefs)

  explicit TFieldDefs(TDataSet* DataSet);

  TFieldDef* Items(int Index) const;
  TFieldDef* AddFieldDef();
  // Adds a definition; its FieldNo is its position from 1.
  TFieldDef* Add(const std::string& Name, TFieldType DataType, int Size = 0, bool Required = false);
  // The definition of that name; raises EDatabaseError "Field 'X' not found" when there is none
  // (TDefCollection::Find answers nil instead).
  TFieldDef* Find(std::string_view Name) const;
  // Asks the data set to read its field definitions afresh (without opening it) and sets Updated.
  void Update();

 protected:
  using TDefCollection::Update;  // the collection's change notice keeps its name beside Update()
};
