// TField and TFields.
#include "host/dataclx/Field.h"

#include "host/dataclx/DataSet.h"
#include "host/dataclx/DatabaseError.h"
#include "host/rtl/Strings.h"
#include "host/rtl/UpdateScope.h"

TClass TField::StaticClass() {
  static const TClassInfo info = TClassBuilder<TField>(TComponent::StaticClass())
                                     .String("FieldName", &TField::FieldName, &TField::SetFieldName)
                                     .Integer("Size", &TField::Size, &TField::SetSize)
                                     .Boolean("Required", &TField::Required, &TField::SetRequired)
                                     .Build();
  return &info;
}

TClass TFields::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFields>(TObject::StaticClass()).Build();
  return &info;
}

TField::TField(TComponent* Owner) : TComponent(Owner) {}

int TField::Index() const { return FDataSet ? FIndex : -1; }

bool TField::IsNull() const {
  const auto* value = FDataSet ? FDataSet->CurrentValue(Index()) : nullptr;
  return !value || !value->has_value();
}

std::string TField::AsString() const {
  const auto* value = FDataSet ? FDataSet->CurrentValue(Index()) : nullptr;
  return value && value->has_value() ? **value : std::string();
}

int64_t TField::AsInteger() const {
  std::string text = AsString();
  return text.empty() ? 0 : StrToInt(text);
}

TFields::TFields(TDataSet* DataSet) : FDataSet(DataSet) {}

TFields::~TFields() = default;

TField* TFields::Fields(int Index) const {
  if (Index < 0 || Index >= Count()) DatabaseError(Format("Field index out of range (%d)", {Index}), FDataSet);
  return FList[static_cast<size_t>(Index)].get();
}

TField* TFields::Add(std::unique_ptr<TField> Field) {
  Field->FDataSet = FDataSet;
  Field->FIndex = static_cast<int>(FList.size());
  FList.push_back(std::move(Field));
  if (FByNameValid) FByName.emplace(AnsiLowerCase(FList.back()->FieldName()), FList.size() - 1);
  return FList.back().get();
}

void TFields::Clear() {
  FList.clear();
  FByNameValid = false;
}

TField* TFields::FindField(std::string_view FieldName) const {
  if (!FByNameValid) {
    FByName.clear();
    for (size_t i = 0; i < FList.size(); ++i) FByName.emplace(AnsiLowerCase(FList[i]->FieldName()), i);
    FByNameValid = true;
  }
  auto hit = FByName.find(AnsiLowerCase(FieldName));
  if (hit != FByName.end() && hit->second < FList.size() && SameText(FList[hit->second]->FieldName(), FieldName))
    return FList[hit->second].get();
  for (const auto& field : FList)
    if (SameText(field->FieldName(), FieldName)) {
      FByNameValid = false;  // renamed since the map was built
      return field.get();
    }
  return nullptr;
}

TField* TFields::FieldByName(std::string_view FieldName) const {
  TField* field = FindField(FieldName);
  if (!field) DatabaseError("Field '" + std::string(FieldName) + "' not found", FDataSet);
  return field;
}

int TFields::IndexOf(const TField* Field) const {
  if (!Field || Field->FIndex < 0 || static_cast<size_t>(Field->FIndex) >= FList.size()) return -1;
  return FList[static_cast<size_t>(Field->FIndex)].get() == Field ? Field->FIndex : -1;
}

void TFields::GetFieldNames(TStrings* List) const {
  TUpdateScope update(List);
  for (const auto& field : FList) List->Add(field->FieldName());
}
