// Field list texts and the current order of a table: the rules every reader of a stored link
// shares (the run-time table, check and links, the Field Link Designer, the language server),
// so that all of them read one stored value the same way.
//
//   - A field list text is field names joined by ";" ("CustNo;SaleDate"), as MasterFields,
//     IndexFieldNames and an index definition's Fields hold them. Splitting keeps every name as
//     it stands: blanks at its edges and empty names included.
//   - A name of a field list stands for the item of exactly that name (compared without regard
//     to case), else for the one named as the name reads without its edge blanks, so a
//     hand-typed "CustNo; SaleDate" still resolves. A name that holds ";" cannot be listed.
//   - A table's current order is its IndexName's index, else its IndexFieldNames, else its
//     primary key; an index on an expression orders by one key, the expression.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/dataclx/Forward.h"

// The name that starts at Pos (from 0), up to the next ";" or the end; Pos moves past the name
// and its ";". Empty names are answered as they stand.
std::string NextFieldName(std::string_view Fields, size_t& Pos);

// Every name of the text, one more than it has ";"; none for an empty text.
std::vector<std::string> SplitFieldList(std::string_view Fields);

// Name without the blanks (and control characters) at its edges.
std::string_view WithoutEdgeBlanks(std::string_view Name);

// The one rule by which a listed name finds what it stands for. Exact answers the item of a name
// compared without regard to case: a pointer (nil for none) or a position (negative for none).
// The item of exactly Name wins; else the item of Name without its edge blanks.
inline bool ListedFound(const void* Item) { return Item != nullptr; }
inline bool ListedFound(int Position) { return Position >= 0; }
template <class Find>
auto ResolveListedName(std::string_view Name, Find&& Exact) -> decltype(Exact(Name)) {
  auto found = Exact(Name);
  if (ListedFound(found)) return found;
  std::string_view trimmed = WithoutEdgeBlanks(Name);
  return trimmed.size() == Name.size() ? found : Exact(trimmed);
}

// The field of DataSet that a listed name stands for; nil when there is none.
TField* FindListedField(const TDataSet* DataSet, std::string_view Name);
// The same for definitions (field definitions, mostly); nil when there is none.
TNamedItem* FindListedDef(const TDefCollection* Defs, std::string_view Name);

// A table's current order as its stored values give it over its index definitions.
struct TCurrentOrder {
  // The index that gives the order: IndexName's, or the primary key when IndexName and
  // IndexFieldNames are both empty; nil when IndexFieldNames gives it or there is no order.
  const TIndexDef* Index = nullptr;
  // The keys in order: the index's fields as it spells them, or IndexFieldNames's names as
  // stored (not yet resolved), or for an index on an expression its expression as the one key.
  std::vector<std::string> Keys;
  bool Expression = false;  // the one key is the index's expression
};

// The current order that IndexName, else IndexFieldNames, else the primary key gives. Nothing
// when IndexName names no index of Indexes (compared without regard to case); Indexes may be nil
// when IndexName is empty (no primary key is known then).
std::optional<TCurrentOrder> CurrentOrder(std::string_view IndexName, std::string_view IndexFieldNames,
                                          const TIndexDefs* Indexes);
