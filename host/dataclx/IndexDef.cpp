// TIndexDef and TIndexDefs, with the search for the index that serves a list of fields.
#include "host/dataclx/IndexDef.h"

#include "host/dataclx/DataSet.h"
#include "host/dataclx/DatabaseError.h"

const TEnumInfo& IndexOptionInfo() {
  static const TEnumInfo info{
      "TIndexOption",
      {"ixPrimary", "ixUnique", "ixDescending", "ixCaseInsensitive", "ixExpression", "ixNonMaintained"}};
  return info;
}

TClass TIndexDef::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TIndexDef>(TNamedItem::StaticClass())
          .String("Fields", &TIndexDef::Fields, &TIndexDef::SetFields)
          .String("Expression", &TIndexDef::Expression, &TIndexDef::SetExpression)
          .Set("Options", &TIndexDef::Options, &TIndexDef::SetOptions, IndexOptionInfo(), "TIndexOptions")
          .String("DescFields", &TIndexDef::DescFields, &TIndexDef::SetDescFields)
          .String("CaseInsFields", &TIndexDef::CaseInsFields, &TIndexDef::SetCaseInsFields)
          .String("Source", &TIndexDef::Source, &TIndexDef::SetSource)
          .Build();
  return &info;
}

TClass TIndexDefs::StaticClass() {
  static const TClassInfo info = TClassBuilder<TIndexDefs>(TDefCollection::StaticClass()).Build();
  return &info;
}

const std::string& TIndexDef::NoText() {
  static const std::string empty;
  return empty;
}

void TIndexDef::SetRare(std::string TRare::*Part, const std::string& Value) {
  if (!FRare) {
    if (Value.empty()) return;
    FRare = std::make_unique<TRare>();
  }
  (*FRare).*Part = Value;
  // Held apart only while some part is set.
  if (Value.empty() && *FRare == TRare{}) FRare.reset();
}

void TIndexDef::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TIndexDef*>(Source);
  if (!source) {
    TNamedItem::Assign(Source);
    return;
  }
  if (source == this) return;
  std::unique_ptr<TRare> rare = source->FRare ? std::make_unique<TRare>(*source->FRare) : nullptr;
  SetName(source->Name());
  FFields = source->FFields;
  FOptions = source->FOptions;
  FRare = std::move(rare);
}

bool TIndexDef::SameAs(const TIndexDef& Other) const {
  if (Name() != Other.Name() || FFields != Other.FFields || FOptions != Other.FOptions) return false;
  return FRare && Other.FRare ? *FRare == *Other.FRare : !FRare && !Other.FRare;
}

TIndexDefs::TIndexDefs(TDataSet* DataSet)
    : TDefCollection(DataSet, DataSet, [] { return std::make_unique<TIndexDef>(); }) {}

TIndexDef* TIndexDefs::Items(int Index) const { return static_cast<TIndexDef*>(TCollection::Items(Index)); }

TIndexDef* TIndexDefs::AddIndexDef() { return static_cast<TIndexDef*>(TCollection::Add()); }

TIndexDef* TIndexDefs::Add(const std::string& Name, const std::string& Fields, TIndexOptions Options) {
  TIndexDef* def = AddIndexDef();
  def->SetName(Name);
  def->SetFields(Fields);
  def->SetOptions(Options);
  return def;
}

TIndexDef* TIndexDefs::Find(std::string_view Name) const {
  auto* def = static_cast<TIndexDef*>(TDefCollection::Find(Name));
  if (!def) DatabaseError("Index '" + std::string(Name) + "' not found", DataSet());
  return def;
}

void TIndexDefs::Update() {
  if (DataSet()) DataSet()->UpdateIndexDefs();
  SetUpdated(true);
}

TIndexDef* TIndexDefs::GetIndexForFields(std::string_view Fields, bool CaseInsensitive) const {
  if (Fields.empty()) return nullptr;
  // Only an index that orders as the plain list does answers for it: not one on expressions,
  // nor one with a descending key.
  auto usable = [&](const TIndexDef* def) {
    return !def->Fields().empty() && !def->Options().Contains(ixExpression) && !def->Options().Contains(ixDescending) &&
           (!CaseInsensitive || def->Options().Contains(ixCaseInsensitive));
  };
  // An index over exactly these fields is preferred to one that merely begins with them.
  for (int i = 0; i < Count(); ++i) {
    TIndexDef* def = Items(i);
    if (usable(def) && SameText(def->Fields(), Fields)) return def;
  }
  const size_t length = Fields.size();
  for (int i = 0; i < Count(); ++i) {
    TIndexDef* def = Items(i);
    const std::string& own = def->Fields();
    if (usable(def) && own.size() > length && own[length] == ';' &&
        SameText(std::string_view(own).substr(0, length), Fields))
      return def;
  }
  return nullptr;
}

TIndexDef* TIndexDefs::FindIndexForFields(std::string_view Fields) const {
  TIndexDef* def = GetIndexForFields(Fields, false);
  if (!def) DatabaseError("No index for fields '" + std::string(Fields) + "'", DataSet());
  return def;
}
