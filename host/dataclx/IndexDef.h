// TIndexOption, TIndexDef and TIndexDefs: the indexes of a data set and the search for the
// index that serves a list of fields.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/dataclx/DefCollection.h"
#include "host/rtl/TypInfo.h"

enum TIndexOption { ixPrimary, ixUnique, ixDescending, ixCaseInsensitive, ixExpression, ixNonMaintained };
using TIndexOptions = TSet<TIndexOption>;

const TEnumInfo& IndexOptionInfo();

class TIndexDef : public TNamedItem {
  TIRVENDAL_CLASS(TIndexDef)

  TIndexDef() = default;
  // The indexed field names joined by ";"; empty for an index on an expression.
  const std::string& Fields() const { return FFields; }
  void SetFields(const std::string& Value) { FFields = Value; }
  // The key list as written, for an index on an expression.
  const std::string& Expression() const { return FRare ? FRare->Expression : NoText(); }
  void SetExpression(const std::string& Value) { SetRare(&TRare::Expression, Value); }
  TIndexOptions Options() const { return FOptions; }
  void SetOptions(TIndexOptions Value) { FOptions = Value; }
  const std::string& DescFields() const { return FRare ? FRare->DescFields : NoText(); }
  void SetDescFields(const std::string& Value) { SetRare(&TRare::DescFields, Value); }
  const std::string& CaseInsFields() const { return FRare ? FRare->CaseInsFields : NoText(); }
  void SetCaseInsFields(const std::string& Value) { SetRare(&TRare::CaseInsFields, Value); }
  const std::string& Source() const { return FRare ? FRare->Source : NoText(); }
  void SetSource(const std::string& Value) { SetRare(&TRare::Source, Value); }

  void Assign(const TPersistent* Source) override;
  // Whether Assign from Other would change nothing.
  bool SameAs(const TIndexDef& Other) const;

 private:
  // What most indexes leave empty, held apart (only while one is set) so that a table's
  // hundreds of plain definitions stay small.
  struct TRare {
    std::string Expression, DescFields, CaseInsFields, Source;
    bool operator==(const TRare&) const = default;
  };
  static const std::string& NoText();
  void SetRare(std::string TRare::*Part, const std::string& Value);

  std::string FFields;
  TIndexOptions FOptions;
  std::unique_ptr<TRare> FRare;
};

class TIndexDefs : public TDefCollection {
  TIRVENDAL_CLASS(TIndexDefs)

  explicit TIndexDefs(TDataSet* DataSet);

  TIndexDef* Items(int Index) const;
  TIndexDef* AddIndexDef();
  TIndexDef* Add(const std::string& Name, const std::string& Fields, TIndexOptions Options);
  // The definition of that name; raises EDatabaseError "Index 'X' not found" when there is none
  // (TDefCollection::Find answers nil instead).
  TIndexDef* Find(std::string_view Name) const;
  // Asks the data set to read its index definitions afresh and sets Updated.
  void Update();

  // The first definition whose Fields equal Fields, else the first whose Fields begin with them
  // (whole names, without regard to case); definitions on expressions or with a descending key
  // never match, as they do not order as the plain list does. With
  // CaseInsensitive only ixCaseInsensitive definitions count. Nil when none does.
  TIndexDef* GetIndexForFields(std::string_view Fields, bool CaseInsensitive) const;
  // As GetIndexForFields without the case restriction, but raises EDatabaseError
  // "No index for fields 'X'" when none does.
  TIndexDef* FindIndexForFields(std::string_view Fields) const;

 protected:
  using TDefCollection::Update;  // the collection's change notice keeps its name beside Update()
};
