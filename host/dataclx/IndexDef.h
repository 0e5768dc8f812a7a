// TIndexOption, TIndexDef and TIndexDefs: the indexes of a data set and the search for the
// index that serves a list of fields.
#pragma once

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
  const std::string& Expression() const { return FExpression; }
  void SetExpression(const std::string& Value) { FExpression = Value; }
  TIndexOptions Options() const { return FOptions; }
  void SetOptions(TIndexOptions Value) { FOptions = Value; }
  const std::string& DescFields() const { return FDescFields; }
  void SetDescFields(const std::string& Value) { FDescFields = Value; }
  const std::string& CaseInsFields() const { return FCaseInsFields; }
  void SetCaseInsFields(const std::string& Value) { FCaseInsFields = Value; }
  const std::string& Source() const { return FSource; }
  void SetSource(const std::string& Value) { FSource = Value; }

  void Assign(const TPersistent* Source) override;
  // Whether Assign from Other would change nothing.
  bool SameAs(const TIndexDef& Other) const;

 private:
  std::string FFields;
  std::string FExpression;
  TIndexOptions FOptions;
  std::string FDescFields;
  std::string FCaseInsFields;
  std::string FSource;
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
