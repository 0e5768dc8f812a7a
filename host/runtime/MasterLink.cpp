// The one write-back of a master link, shared by the Field Link Designer and the tools.
#include "host/runtime/MasterLink.h"

#include <exception>

#include "host/dataclx/DatabaseError.h"
#include "host/runtime/Table.h"

namespace {

struct TTableLink {
  std::string MasterFields;
  std::string IndexName;
  std::string IndexFieldNames;
};

TTableLink ReadLink(const TQVRTable& Table) {
  return {Table.GetMasterFields(), Table.GetIndexName(), Table.GetIndexFieldNames()};
}

// Gives Table the link values it had before a write-back failed. Each step is tried on its
// own; the write-back's error is the one to report, so a failure here goes no further. An open
// table with an open master may refuse the old MasterFields until its old order is back, so
// MasterFields is tried again after the index.
void RestoreLink(TQVRTable& Table, const TTableLink& Old) {
  auto restoreMasterFields = [&] {
    try {
      if (Table.GetMasterFields() != Old.MasterFields) Table.SetMasterFields(Old.MasterFields);
    } catch (...) {
    }
  };
  restoreMasterFields();
  try {
    if (Table.GetIndexName() != Old.IndexName || Table.GetIndexFieldNames() != Old.IndexFieldNames) {
      if (!Old.IndexFieldNames.empty())
        Table.SetIndexFieldNames(Old.IndexFieldNames);
      else if (!Old.IndexName.empty())
        Table.SetIndexName(Old.IndexName);
      else
        Table.SetIndexFieldNames({});  // empties both
    }
  } catch (...) {
  }
  restoreMasterFields();
}

}  // namespace

void WriteMasterLink(TQVRTable& Table, const std::string& MasterFields, const std::string& IndexName,
                     const std::string& IndexFieldNames) {
  TTableLink old = ReadLink(Table);
  auto writeIndex = [&] {
    if (!IndexFieldNames.empty())
      Table.SetIndexFieldNames(IndexFieldNames);
    else
      Table.SetIndexName(IndexName);
  };
  try {
    Table.SetMasterFields(MasterFields);
    writeIndex();
  } catch (const EDatabaseError&) {
    RestoreLink(Table, old);
    // One of the two orders of writing always fits a link that the new order accepts.
    if (!Table.Active()) throw;
    std::exception_ptr first = std::current_exception();
    try {
      writeIndex();
      Table.SetMasterFields(MasterFields);
    } catch (...) {
      RestoreLink(Table, old);
      std::rethrow_exception(first);
    }
  } catch (...) {
    RestoreLink(Table, old);
    throw;
  }
}
