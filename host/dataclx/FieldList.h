// Field list texts ("CustNo;SaleDate"): the names that MasterFields, IndexFieldNames and an
// index definition's Fields hold, joined by ";".
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The names of a field list text, in order; blanks around a name are not part of it. An empty
// text has no names; "a;;b" has an empty one in the middle.
std::vector<std::string> SplitFieldList(std::string_view Text);
