// designhost links: the master/detail map of a set of forms, as lines, JSON or a Graphviz graph.
#pragma once

#include <string>
#include <vector>

enum class TLinksFormat { Text, Json, Dot };

// Prints every table whose master source shows a table, forms in the order given, tables in
// form order; a form that cannot be read is reported on stderr, and so is a link whose pairs
// could not be read from its database file (listed with the pairs it can give). Answers 0, or 1
// when either was reported. Raises EUsageError for a path that does not exist. Suggest: instead
// of the links, the ones the declared foreign keys of tables without a master source would make.
int RunLinks(const std::vector<std::string>& Paths, TLinksFormat Format, bool Suggest = false);
