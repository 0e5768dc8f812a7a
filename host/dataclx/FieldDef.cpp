// TFieldDef and TFieldDefs.
#include "host/dataclx/FieldDef.h"

#include "host/dataclx/DataSet.h"
#include "host/dataclx/DatabaseError.h"

const TEnumInfo& FieldTypeInfo() {
  static const TEnumInfo info{
      "TFieldType",
      {"ftUnknown",     "ftString",    "ftSmallint",  "ftInteger",    "ftWord",     "ftBoolean",    "ftFloat",
       "ftCurrency",    "ftBCD",       "ftDate",      "ftTime",       "ftDateTime", "ftBytes",      "ftVarBytes",
       "ftAutoInc",     "ftBlob",      "ftMemo",      "ftGraphic",    "ftFmtMemo",  "ftParadoxOle", "ftDBaseOle",
       "ftTypedBinary", "ftCursor",    "ftFixedChar", "ftWideString", "ftLargeint", "ftADT",        "ftArray",
       "ftReference",   "ftDataSet",   "ftOraBlob",   "ftOraClob",    "ftVariant",  "ftInterface",  "ftIDispatch",
       "ftGuid",        "ftTimeStamp", "ftFMTBcd"}};
  return info;
}

TClass TFieldDef::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TFieldDef>(TNamedItem::StaticClass())
          .Enum("DataType", &TFieldDef::DataType, &TFieldDef::SetDataType, FieldTypeInfo(), ftUnknown)
          .Integer("Size", &TFieldDef::Size, &TFieldDef::SetSize)
          .Boolean("Required", &TFieldDef::Required, &TFieldDef::SetRequired)
          .Build();
  return &info;
}

TClass TFieldDefs::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFieldDefs>(TDefCollection::StaticClass()).Build();
  return &info;
}

void TFieldDef::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TFieldDef*>(Source);
  if (!source) {
    TNamedItem::Assign(Source);
    return;
  }
  SetName(source->Name());
  FDataType = source->FDataType;
  FSize = source->FSize;
  FRequired = source->FRequired;
  FFieldNo = source->FFieldNo;
}

TFieldDefs::TFieldDefs(TDataSet* DataSet)
    : TDefCollection(DataSet, DataSet, [] { return std::make_unique<TFieldDef>(); }) {}

TFieldDef* TFieldDefs::Items(int Index) const { return static_cast<TFieldDef*>(TCollection::Items(Index)); }

TFieldDef* TFieldDefs::AddFieldDef() {
  auto* def = static_cast<TFieldDef*>(TCollection::Add());
  def->SetFieldNo(Count());
  return def;
}

TFieldDef* TFieldDefs::Add(const std::string& Name, TFieldType DataType, int Size, bool Required) {
  TFieldDef* def = AddFieldDef();
  def->SetName(Name);
  def->SetDataType(DataType);
  def->SetSize(Size);
  def->SetRequired(Required);
  return def;
}

TFieldDef* TFieldDefs::Find(std::string_view Name) const {
  auto* def = static_cast<TFieldDef*>(TDefCollection::Find(Name));
  if (!def) DatabaseError("Field '" + std::string(Name) + "' not found", DataSet());
  return def;
}

void TFieldDefs::Update() {
  if (DataSet()) DataSet()->InitFieldDefs();
  SetUpdated(true);
}
