// Field list texts: field names joined by ";" ("CustNo;SaleDate"), as MasterFields,
// IndexFieldNames and an index definition's Fields hold them. A name keeps the blanks at its
// edges, since a column's name may have them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "host/dataclx/Forward.h"

// The name that starts at Pos (from 0), up to the next ";" or the end; Pos moves past the name
// and its ";". Empty names are answered as they stand.
std::string NextFieldName(std::string_view Fields, size_t& Pos);

// Every name of the text, one more than it has ";"; none for an empty text.
std::vector<std::string> SplitFieldList(std::string_view Fields);

// The field of DataSet that a name of a field list stands for: the field of exactly that name,
// else the one named as the name reads without its edge blanks, so a hand-typed list such as
// "CustNo; SaleDate" still resolves. Nil when there is neither.
TField* FindListedField(const TDataSet* DataSet, std::string_view Name);
// The same for definitions (field definitions, mostly): the one of exactly that name, else the
// one named as the name reads without its edge blanks; nil when there is neither.
TNamedItem* FindListedDef(const TDefCollection* Defs, std::string_view Name);
