// Master/detail links made from the foreign keys that the tables of a database declare: the
// data module `new` writes for a whole database, the link `link` and the design window's
// "Link by Foreign Key" make on a form, and the links `links --suggest` offers. What a link
// would set is planned apart from setting it, so an editor can offer the same edits.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "designhost/Project.h"
#include "host/runtime/Schema.h"

class TComponent;
class TDataSource;
class TQVRTable;

// What a link by one foreign key sets on the detail table.
struct TKeyLink {
  std::string MasterFields;                                // the parent's columns the key references, joined by ";"
  std::string IndexName;                                   // the index that orders the detail by the key's columns
  std::string IndexFieldNames;                             // the key's columns, when no index does
  std::vector<std::pair<std::string, std::string>> Pairs;  // key column, master field
};

// The link Key makes: MasterFields the columns it references (the parent's primary key when it
// names none), the order the index FindIndexForFields answers for the key's columns, or those
// columns. Nothing when the parent's columns cannot be known (no primary key to reference).
std::optional<TKeyLink> PlanKeyLink(const TForeignKey& Key, const TTableStructure& Detail,
                                    const TTableStructure* Parent);

// Text made an identifier: every character that is not a letter, digit or '_' becomes '_', and
// a leading digit gets 'M' before it.
std::string MakeIdentifier(std::string_view Text);

// The columns of a key joined by ";", as the notes and messages name a key.
std::string KeyColumns(const TForeignKey& Key);

// ---------------------------------------------------------------------------------------------
// new

// The data module for a database file: its text and the notes on the keys it did not link.
struct TNewForm {
  std::string Text;
  std::vector<std::string> Notes;  // "note: TABLE: ..." lines, in order
};

// Plans the data module named RootName for the database at DatabaseFile, stored in the form as
// DatabaseFileName, holding Tables (all the file's tables when empty; raises EDatabaseError for
// a name that is no table of the file) linked by their keys.
TNewForm PlanNewForm(const std::string& RootName, const std::filesystem::path& DatabaseFile,
                     const std::string& DatabaseFileName, const std::vector<std::string>& Tables);

// ---------------------------------------------------------------------------------------------
// Keys between the table components of one form

// A table component as the planning sees it.
struct TFormTable {
  std::string Name;                            // the component's
  std::string TableName;                       // as stored
  const void* File = nullptr;                  // its database file, to tell files apart; nil when unknown
  const TTableStructure* Structure = nullptr;  // nil when it cannot be read
  int Master = -1;                             // the table component its master source shows
  bool HasMasterSource = false;
};

// A foreign key of one component's table to the table of another component of the form.
struct TKeyChoice {
  const TForeignKey* Key = nullptr;
  size_t Master = 0;  // in the form's tables
  TKeyLink Link;
  bool ClosesLoop = false;  // the master is already, through its masters, a detail of the table
};

// The keys from the table of Tables[Detail] to the tables of the other components of the form
// on the same file, keys in declaration order, each with every component that holds its table.
std::vector<TKeyChoice> KeyChoices(const std::vector<TFormTable>& Tables, size_t Detail);

// The table components of a form held in memory, with their tables' structure read through
// structures kept here, one per database file.
class TLiveForm {
 public:
  explicit TLiveForm(TComponent* Root);
  ~TLiveForm();

  const std::vector<TFormTable>& Tables() const { return FTables; }
  TQVRTable* Component(size_t Index) const { return FComponents[Index]; }
  // The place of Table among Tables, or none.
  std::optional<size_t> IndexOf(const TQVRTable* Table) const;

 private:
  std::vector<TFormTable> FTables;
  std::vector<TQVRTable*> FComponents;
  std::map<std::string, std::unique_ptr<TDatabaseStructure>> FFiles;  // by absolute path
};

// The edits a link by Choice makes on a form, computed without making them.
struct TLinkPlan {
  TQVRTable* Detail = nullptr;
  TQVRTable* Master = nullptr;
  TDataSource* Source = nullptr;  // the master's data source; nil when one is to be made
  std::string SourceName;         // its name, or the name the one to be made gets
  TKeyLink Link;

  // The property values set, "COMPONENT.PROPERTY" and text, in the order they are set; a data
  // source to be made comes first with its DataSet.
  std::vector<std::pair<std::string, std::string>> Values() const;
};

TLinkPlan PlanLink(const TLiveForm& Form, size_t Detail, const TKeyChoice& Choice);

// Chooses the key `link DETAIL [MASTER]` links by (Master: none when left out); raises
// EDatabaseError naming what stands in the way: no key, several keys, keys to several tables, a
// loop.
TKeyChoice ChooseKey(const TLiveForm& Form, size_t Detail, std::optional<size_t> Master);

// Makes the edits of Plan: the data source when there is none, the detail's MasterSource, then
// MasterFields and the order through the Field Link Designer's write-back. The form's root
// owns what is made.
void ApplyLink(TComponent* Root, const TLinkPlan& Plan);
