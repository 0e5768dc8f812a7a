// TQVRAdvFieldDef and TQVRAdvFieldDefs: what SQLite knows of a column beyond its field
// definition (declared type, default expression, collation, place in the primary key).
#pragma once

#include <string>
#include <string_view>

#include "host/dataclx/DefCollection.h"
#include "host/runtime/Forward.h"

class TQVRAdvFieldDef : public TNamedItem {
  TIRVENDAL_CLASS(TQVRAdvFieldDef)

  TQVRAdvFieldDef() = default;
  // The type as the table declares it ("VARCHAR(40)"), possibly empty.
  const std::string& DeclaredType() const { return FDeclaredType; }
  void SetDeclaredType(const std::string& Value) { FDeclaredType = Value; }
  // The DEFAULT clause's expression as written; empty when the column has none.
  const std::string& DefaultExpression() const { return FDefaultExpression; }
  void SetDefaultExpression(const std::string& Value) { FDefaultExpression = Value; }
  // The collating sequence ("BINARY", "NOCASE", ...).
  const std::string& Collation() const { return FCollation; }
  void SetCollation(const std::string& Value) { FCollation = Value; }
  // The column's position in the primary key from 1; 0 when it is not part of it.
  int PrimaryKeyIndex() const { return FPrimaryKeyIndex; }
  void SetPrimaryKeyIndex(int Value) { FPrimaryKeyIndex = Value; }
  bool AutoIncrement() const { return FAutoIncrement; }
  void SetAutoIncrement(bool Value) { FAutoIncrement = Value; }
  // A generated column (its value computed from the others).
  bool Generated() const { return FGenerated; }
  void SetGenerated(bool Value) { FGenerated = Value; }

  void Assign(const TPersistent* Source) override;

 private:
  std::string FDeclaredType;
  std::string FDefaultExpression;
  std::string FCollation;
  int FPrimaryKeyIndex = 0;
  bool FAutoIncrement = false;
  bool FGenerated = false;
};

class TQVRAdvFieldDefs : public TDefCollection {
  TIRVENDAL_CLASS(TQVRAdvFieldDefs)

  explicit TQVRAdvFieldDefs(TDataSet* DataSet);

  TQVRAdvFieldDef* Items(int Index) const;
  TQVRAdvFieldDef* AddFieldDef();
  // The definition of that name (case-insensitive), or nil.
  TQVRAdvFieldDef* Find(std::string_view Name) const;
};
