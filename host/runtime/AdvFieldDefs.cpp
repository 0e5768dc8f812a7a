// TQVRAdvFieldDef and TQVRAdvFieldDefs.
#include "host/runtime/AdvFieldDefs.h"

#include "host/dataclx/DataSet.h"
#include "host/rtl/TypInfo.h"

TClass TQVRAdvFieldDef::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TQVRAdvFieldDef>(TNamedItem::StaticClass())
          .String("DeclaredType", &TQVRAdvFieldDef::DeclaredType, &TQVRAdvFieldDef::SetDeclaredType)
          .String("DefaultExpression", &TQVRAdvFieldDef::DefaultExpression, &TQVRAdvFieldDef::SetDefaultExpression)
          .String("Collation", &TQVRAdvFieldDef::Collation, &TQVRAdvFieldDef::SetCollation)
          .Integer("PrimaryKeyIndex", &TQVRAdvFieldDef::PrimaryKeyIndex, &TQVRAdvFieldDef::SetPrimaryKeyIndex)
          .Boolean("AutoIncrement", &TQVRAdvFieldDef::AutoIncrement, &TQVRAdvFieldDef::SetAutoIncrement)
          .Boolean("Generated", &TQVRAdvFieldDef::Generated, &TQVRAdvFieldDef::SetGenerated)
          .Build();
  return &info;
}

TClass TQVRAdvFieldDefs::StaticClass() {
  static const TClassInfo info = TClassBuilder<TQVRAdvFieldDefs>(TDefCollection::StaticClass()).Build();
  return &info;
}

void TQVRAdvFieldDef::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TQVRAdvFieldDef*>(Source);
  if (!source) {
    TNamedItem::Assign(Source);
    return;
  }
  SetName(source->Name());
  FDeclaredType = source->FDeclaredType;
  FDefaultExpression = source->FDefaultExpression;
  FCollation = source->FCollation;
  FPrimaryKeyIndex = source->FPrimaryKeyIndex;
  FAutoIncrement = source->FAutoIncrement;
  FGenerated = source->FGenerated;
}

TQVRAdvFieldDefs::TQVRAdvFieldDefs(TDataSet* DataSet)
    : TDefCollection(DataSet, DataSet, [] { return std::make_unique<TQVRAdvFieldDef>(); }) {}

TQVRAdvFieldDef* TQVRAdvFieldDefs::Items(int Index) const {
  return static_cast<TQVRAdvFieldDef*>(TCollection::Items(Index));
}

TQVRAdvFieldDef* TQVRAdvFieldDefs::AddFieldDef() { return static_cast<TQVRAdvFieldDef*>(TCollection::Add()); }

TQVRAdvFieldDef* TQVRAdvFieldDefs::Find(std::string_view Name) const {
  return static_cast<TQVRAdvFieldDef*>(TDefCollection::Find(Name));
}
