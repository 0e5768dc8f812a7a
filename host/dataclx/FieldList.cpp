// Field list texts: splitting them, finding their fields, and the current order of a table.
#include "host/dataclx/FieldList.h"

#include <algorithm>

#include "host/dataclx/DataSet.h"
#include "host/dataclx/DefCollection.h"
#include "host/dataclx/IndexDef.h"

std::string NextFieldName(std::string_view Fields, size_t& Pos) {
  size_t start = std::min(Pos, Fields.size());
  size_t stop = Fields.find(';', start);
  if (stop == std::string_view::npos) {
    Pos = Fields.size();
    return std::string(Fields.substr(start));
  }
  Pos = stop + 1;
  return std::string(Fields.substr(start, stop - start));
}

std::vector<std::string> SplitFieldList(std::string_view Fields) {
  std::vector<std::string> names;
  if (Fields.empty()) return names;
  const size_t count = static_cast<size_t>(std::count(Fields.begin(), Fields.end(), ';')) + 1;
  names.reserve(count);
  size_t pos = 0;
  for (size_t i = 0; i < count; ++i) names.push_back(NextFieldName(Fields, pos));
  return names;
}

std::string_view WithoutEdgeBlanks(std::string_view Name) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!Name.empty() && blank(Name.front())) Name.remove_prefix(1);
  while (!Name.empty() && blank(Name.back())) Name.remove_suffix(1);
  return Name;
}

TField* FindListedField(const TDataSet* DataSet, std::string_view Name) {
  return ResolveListedName(Name, [DataSet](std::string_view n) { return DataSet->FindField(n); });
}

TNamedItem* FindListedDef(const TDefCollection* Defs, std::string_view Name) {
  return ResolveListedName(Name, [Defs](std::string_view n) { return Defs->Find(n); });
}

std::optional<TCurrentOrder> CurrentOrder(std::string_view IndexName, std::string_view IndexFieldNames,
                                          const TIndexDefs* Indexes) {
  TCurrentOrder order;
  if (!IndexName.empty()) {
    order.Index = Indexes ? static_cast<const TIndexDef*>(Indexes->TDefCollection::Find(IndexName)) : nullptr;
    if (!order.Index) return std::nullopt;
  } else if (!IndexFieldNames.empty()) {
    order.Keys = SplitFieldList(IndexFieldNames);
    return order;
  } else if (Indexes) {
    // Neither is set: the primary key gives the order, when the table has one.
    for (int i = 0; i < Indexes->Count() && !order.Index; ++i)
      if (Indexes->Items(i)->Options().Contains(ixPrimary)) order.Index = Indexes->Items(i);
  }
  if (!order.Index) return order;
  if (order.Index->Options().Contains(ixExpression)) {
    order.Expression = true;
    order.Keys.push_back(order.Index->Expression());
  } else {
    order.Keys = SplitFieldList(order.Index->Fields());
  }
  return order;
}
