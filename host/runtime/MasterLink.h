// Writing a table's link to its master (MasterFields and the order it is matched against) in
// one step that either succeeds whole or leaves the table as it was. The Field Link Designer
// writes its result back through it, and so does every tool that links tables, so a link made
// by a tool and one made by hand store the same values.
#pragma once

#include <string>

class TQVRTable;

// Sets MasterFields, then the order: IndexFieldNames when given, else IndexName. An open table
// whose master is open checks MasterFields against its current order, which may have fewer
// fields than the new link needs: then the new order goes first. When both orders of writing
// fail, the table gets its old values back and the first error goes on.
void WriteMasterLink(TQVRTable& Table, const std::string& MasterFields, const std::string& IndexName,
                     const std::string& IndexFieldNames);
