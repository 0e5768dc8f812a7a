// Links made from declared foreign keys: planning them for a whole database or one form, and
// making them on a form held in memory.
#include "designhost/KeyLinks.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "host/dataclx/DataSource.h"
#include "host/dataclx/DatabaseError.h"
#include "host/dataclx/FieldList.h"
#include "host/rtl/Strings.h"
#include "host/rtl/SysUtils.h"
#include "host/runtime/Database.h"
#include "host/runtime/MasterLink.h"
#include "host/runtime/Table.h"
#include "host/visualclx/forms/FormReader.h"

namespace fs = std::filesystem;

namespace {

std::string Joined(const std::vector<std::string>& Names) {
  std::string text;
  for (const std::string& name : Names) text += (text.empty() ? "" : ";") + name;
  return text;
}

// A column as its table spells it (a key may spell it in another case); as given when the
// table has no such field.
std::string Spelled(const TTableStructure* Table, const std::string& Column) {
  if (Table && Table->Fields)
    if (const TNamedItem* def = FindListedDef(Table->Fields.get(), Column)) return def->Name();
  return Column;
}

std::vector<std::string> PrimaryKeyFields(const TTableStructure* Table) {
  if (!Table || !Table->Error.empty() || !Table->Indexes) return {};
  for (int i = 0; i < Table->Indexes->Count(); ++i)
    if (Table->Indexes->Items(i)->Options().Contains(ixPrimary))
      return SplitFieldList(Table->Indexes->Items(i)->Fields());
  return {};
}

const std::vector<TForeignKey>& KeysOf(const TTableStructure* Table) {
  static const std::vector<TForeignKey> none;
  return Table ? Table->ForeignKeys : none;
}

// Names made unique without regard to case, in the order they are asked for.
class TNames {
 public:
  std::string Unique(const std::string& Base) {
    std::string name = Base;
    for (int n = 2; FTaken.contains(AnsiUpperCase(name)); ++n) name = Base + std::to_string(n);
    Take(name);
    return name;
  }
  void Take(const std::string& Name) { FTaken.insert(AnsiUpperCase(Name)); }

 private:
  std::set<std::string> FTaken;
};

// Whether Master is, through the masters of Masters, a detail of Detail (or Detail itself).
bool ClosesLoop(const std::vector<int>& Masters, size_t Detail, size_t Master) {
  for (int k = static_cast<int>(Master); k != -1; k = Masters[static_cast<size_t>(k)])
    if (static_cast<size_t>(k) == Detail) return true;
  return false;
}

}  // namespace

std::string MakeIdentifier(std::string_view Text) {
  std::string name;
  for (size_t i = 0; i < Text.size(); ++i) {
    auto c = static_cast<unsigned char>(Text[i]);
    if (std::isalnum(c) || c == '_') {
      name += static_cast<char>(c);
      continue;
    }
    name += '_';
    // A character of several bytes (UTF-8) is one character.
    if (c >= 0xC0)
      while (i + 1 < Text.size() && (static_cast<unsigned char>(Text[i + 1]) & 0xC0) == 0x80) ++i;
  }
  if (name.empty()) return "_";
  if (std::isdigit(static_cast<unsigned char>(name.front()))) name.insert(0, "M");
  return name;
}

std::string KeyColumns(const TForeignKey& Key) { return Joined(Key.Columns); }

std::optional<TKeyLink> PlanKeyLink(const TForeignKey& Key, const TTableStructure& Detail,
                                    const TTableStructure* Parent) {
  std::vector<std::string> masters;
  if (!Key.ParentColumns.empty()) {
    for (const std::string& column : Key.ParentColumns) masters.push_back(Spelled(Parent, column));
  } else {
    masters = PrimaryKeyFields(Parent);
  }
  if (masters.empty() || masters.size() != Key.Columns.size()) return std::nullopt;
  std::vector<std::string> columns;
  for (const std::string& column : Key.Columns) columns.push_back(Spelled(&Detail, column));

  TKeyLink link;
  link.MasterFields = Joined(masters);
  const std::string fields = Joined(columns);
  if (const TIndexDef* index = Detail.Indexes ? Detail.Indexes->GetIndexForFields(fields, false) : nullptr)
    link.IndexName = index->Name();
  else
    link.IndexFieldNames = fields;
  for (size_t i = 0; i < columns.size(); ++i) link.Pairs.emplace_back(columns[i], masters[i]);
  return link;
}

// ---------------------------------------------------------------------------------------------
// new

TNewForm PlanNewForm(const std::string& RootName, const fs::path& DatabaseFile, const std::string& DatabaseFileName,
                     const std::vector<std::string>& Tables) {
  TDatabaseStructure file(DatabaseFile.string());
  if (!file.Error().empty()) DatabaseError(file.Error());

  std::vector<std::string> chosen;
  if (Tables.empty()) chosen = file.TableNames();
  for (const std::string& asked : Tables) {
    auto found = std::find_if(file.TableNames().begin(), file.TableNames().end(),
                              [&](const std::string& table) { return SameText(table, asked); });
    if (found == file.TableNames().end()) {
      if (file.IsView(asked)) DatabaseError("'" + asked + "' is a view, not a table");
      DatabaseError("'" + asked + "' is not a table of '" + DatabaseFile.string() + "'");
    }
    if (std::none_of(chosen.begin(), chosen.end(), [&](const std::string& c) { return SameText(c, *found); }))
      chosen.push_back(*found);
  }
  std::vector<const TTableStructure*> structures;
  for (const std::string& table : chosen) {
    const TTableStructure* structure = file.Table(table);
    if (!structure->Error.empty()) DatabaseError("Cannot read table '" + table + "': " + structure->Error);
    structures.push_back(structure);
  }
  auto chosenIndex = [&](const std::string& Name) -> int {
    for (size_t i = 0; i < chosen.size(); ++i)
      if (SameText(chosen[i], Name)) return static_cast<int>(i);
    return -1;
  };

  // Links first, in table order, each table's keys in declaration order.
  TNewForm result;
  std::vector<int> masters(chosen.size(), -1);
  std::vector<TKeyLink> links(chosen.size());
  for (size_t i = 0; i < chosen.size(); ++i) {
    for (const TForeignKey& key : KeysOf(structures[i])) {
      const int parent = chosenIndex(key.ParentTable);
      if (parent < 0) continue;
      const std::string columns = KeyColumns(key);
      if (static_cast<size_t>(parent) == i) {
        result.Notes.push_back(Format("note: %s: references itself (%s); not linked", {chosen[i], columns}));
        continue;
      }
      const std::string& parentName = chosen[static_cast<size_t>(parent)];
      if (ClosesLoop(masters, i, static_cast<size_t>(parent))) {
        result.Notes.push_back(Format("note: %s: references %s (%s); not linked: it would close a loop",
                                      {chosen[i], parentName, columns}));
        continue;
      }
      std::optional<TKeyLink> link;
      if (masters[i] == -1) link = PlanKeyLink(key, *structures[i], structures[static_cast<size_t>(parent)]);
      if (!link) {
        result.Notes.push_back(
            Format("note: %s: also references %s (%s); not linked", {chosen[i], parentName, columns}));
        continue;
      }
      masters[i] = parent;
      links[i] = std::move(*link);
    }
  }

  // Then the names, in form order, and the text.
  TNames names;
  names.Take(RootName);
  names.Take("Database1");
  const std::string databaseName = MakeIdentifier(DatabaseFile.stem().string());
  std::vector<std::string> tableNames, sourceNames(chosen.size());
  for (size_t i = 0; i < chosen.size(); ++i) {
    tableNames.push_back(names.Unique(MakeIdentifier(chosen[i])));
    if (std::find(masters.begin(), masters.end(), static_cast<int>(i)) != masters.end())
      sourceNames[i] = names.Unique(tableNames[i] + "Source");
  }
  std::string& text = result.Text;
  text = "object " + RootName +
         ": TDataModule\n  object Database1: TQVRDatabase\n    DatabaseName = " + QuoteString(databaseName) +
         "\n    DatabaseFileName = " + QuoteString(DatabaseFileName) + "\n  end\n";
  for (size_t i = 0; i < chosen.size(); ++i) {
    text += "  object " + tableNames[i] + ": TQVRTable\n    DatabaseName = " + QuoteString(databaseName) +
            "\n    TableName = " + QuoteString(chosen[i]) + "\n";
    if (masters[i] != -1) {
      const TKeyLink& link = links[i];
      text += "    MasterSource = " + sourceNames[static_cast<size_t>(masters[i])] + "\n";
      if (!link.IndexName.empty()) text += "    IndexName = " + QuoteString(link.IndexName) + "\n";
      if (!link.IndexFieldNames.empty()) text += "    IndexFieldNames = " + QuoteString(link.IndexFieldNames) + "\n";
      text += "    MasterFields = " + QuoteString(link.MasterFields) + "\n";
    }
    text += "  end\n";
    if (!sourceNames[i].empty())
      text += "  object " + sourceNames[i] + ": TDataSource\n    DataSet = " + tableNames[i] + "\n  end\n";
  }
  text += "end\n";
  return result;
}

// ---------------------------------------------------------------------------------------------
// Keys between the table components of one form

std::vector<TKeyChoice> KeyChoices(const std::vector<TFormTable>& Tables, size_t Detail) {
  std::vector<TKeyChoice> choices;
  const TFormTable& detail = Tables[Detail];
  if (!detail.Structure || !detail.Structure->Error.empty() || !detail.File) return choices;
  std::vector<int> masters;
  masters.reserve(Tables.size());
  for (const TFormTable& table : Tables) masters.push_back(table.Master);
  for (const TForeignKey& key : KeysOf(detail.Structure)) {
    for (size_t j = 0; j < Tables.size(); ++j) {
      const TFormTable& master = Tables[j];
      if (j == Detail || master.File != detail.File || !SameText(master.TableName, key.ParentTable)) continue;
      std::optional<TKeyLink> link = PlanKeyLink(key, *detail.Structure, master.Structure);
      if (!link) continue;
      choices.push_back({&key, j, std::move(*link), ClosesLoop(masters, Detail, j)});
    }
  }
  return choices;
}

TLiveForm::TLiveForm(TComponent* Root) {
  for (int i = 0; i < Root->ComponentCount(); ++i)
    if (auto* table = dynamic_cast<TQVRTable*>(Root->Components(i))) FComponents.push_back(table);
  for (TQVRTable* table : FComponents) {
    TFormTable entry;
    entry.Name = table->Name();
    entry.TableName = table->TableName();
    entry.HasMasterSource = table->MasterSource() != nullptr;
    if (TDataSource* source = table->MasterSource()) {
      auto master = std::find(FComponents.begin(), FComponents.end(), source->DataSet());
      if (master != FComponents.end()) entry.Master = static_cast<int>(master - FComponents.begin());
    }
    TQVRDatabase* database = table->Database();
    std::string path = database ? database->DatabaseFilePath() : std::string();
    if (!path.empty() && !entry.TableName.empty()) {
      auto& file = FFiles[fs::absolute(path).lexically_normal().string()];
      if (!file) file = std::make_unique<TDatabaseStructure>(path);
      if (file->Error().empty()) {
        entry.File = file.get();
        entry.Structure = file->Table(entry.TableName);
      }
    }
    FTables.push_back(std::move(entry));
  }
}

TLiveForm::~TLiveForm() = default;

std::optional<size_t> TLiveForm::IndexOf(const TQVRTable* Table) const {
  auto found = std::find(FComponents.begin(), FComponents.end(), Table);
  if (found == FComponents.end()) return std::nullopt;
  return static_cast<size_t>(found - FComponents.begin());
}

std::vector<std::pair<std::string, std::string>> TLinkPlan::Values() const {
  std::vector<std::pair<std::string, std::string>> values;
  if (!Source) values.emplace_back(SourceName + ".DataSet", Master->Name());
  const std::string detail = Detail->Name() + ".";
  values.emplace_back(detail + "MasterSource", SourceName);
  values.emplace_back(detail + "MasterFields", Link.MasterFields);
  if (!Link.IndexFieldNames.empty())
    values.emplace_back(detail + "IndexFieldNames", Link.IndexFieldNames);
  else
    values.emplace_back(detail + "IndexName", Link.IndexName);
  return values;
}

TLinkPlan PlanLink(const TLiveForm& Form, size_t Detail, const TKeyChoice& Choice) {
  TLinkPlan plan;
  plan.Detail = Form.Component(Detail);
  plan.Master = Form.Component(Choice.Master);
  plan.Link = Choice.Link;
  TComponent* root = plan.Detail->Owner();
  for (int i = 0; root && i < root->ComponentCount() && !plan.Source; ++i)
    if (auto* source = dynamic_cast<TDataSource*>(root->Components(i)); source && source->DataSet() == plan.Master)
      plan.Source = source;
  if (plan.Source) {
    plan.SourceName = plan.Source->Name();
  } else {
    TNames names;
    if (root) {
      names.Take(root->Name());
      for (int i = 0; i < root->ComponentCount(); ++i) names.Take(root->Components(i)->Name());
    }
    plan.SourceName = names.Unique(plan.Master->Name() + "Source");
  }
  return plan;
}

TKeyChoice ChooseKey(const TLiveForm& Form, size_t Detail, std::optional<size_t> Master) {
  const TFormTable& detail = Form.Tables()[Detail];
  if (!detail.Structure || !detail.Structure->Error.empty())
    DatabaseError("Cannot read the structure of " + detail.Name + "'s table '" + detail.TableName + "'" +
                  (detail.Structure ? ": " + detail.Structure->Error : std::string()));
  if (Master && *Master == Detail) DatabaseError(detail.Name + " cannot be linked to itself: it would close a loop");
  std::vector<TKeyChoice> choices = KeyChoices(Form.Tables(), Detail);
  if (Master) {
    const TFormTable& master = Form.Tables()[*Master];
    std::erase_if(choices, [&](const TKeyChoice& c) { return c.Master != *Master; });
    if (choices.empty())
      DatabaseError("table '" + detail.TableName + "' (" + detail.Name + ") declares no foreign key to table '" +
                    master.TableName + "' (" + master.Name + ")");
  } else {
    if (choices.empty())
      DatabaseError("table '" + detail.TableName + "' (" + detail.Name +
                    ") declares no foreign key to a table of another component of the form");
    std::vector<size_t> masters;
    for (const TKeyChoice& choice : choices)
      if (std::find(masters.begin(), masters.end(), choice.Master) == masters.end()) masters.push_back(choice.Master);
    if (masters.size() > 1) {
      std::string names;
      for (size_t m : masters)
        names += (names.empty() ? "" : ", ") + Form.Tables()[m].Name + " ('" + Form.Tables()[m].TableName + "')";
      DatabaseError("table '" + detail.TableName + "' (" + detail.Name +
                    ") has keys to several tables of the form: " + names + "; name the master");
    }
  }
  if (choices.size() > 1) {
    std::string keys;
    for (const TKeyChoice& choice : choices) keys += (keys.empty() ? "(" : ", (") + KeyColumns(*choice.Key) + ")";
    DatabaseError("table '" + detail.TableName + "' (" + detail.Name + ") declares " + std::to_string(choices.size()) +
                  " foreign keys to table '" + Form.Tables()[choices.front().Master].TableName + "': " + keys);
  }
  const TKeyChoice& choice = choices.front();
  if (choice.ClosesLoop)
    DatabaseError("linking " + detail.Name + " to " + Form.Tables()[choice.Master].Name + " would close a loop: " +
                  Form.Tables()[choice.Master].Name + " is already a detail of " + detail.Name);
  return choice;
}

void ApplyLink(TComponent* Root, const TLinkPlan& Plan) {
  std::unique_ptr<TDataSource> made;
  TDataSource* source = Plan.Source;
  if (!source) {
    made = std::make_unique<TDataSource>(Root);
    made->SetName(Plan.SourceName);
    made->SetDataSet(Plan.Master);
    made->SetDesigning(Root->ComponentState().Contains(csDesigning));
    source = made.get();
  }
  TDataSource* oldSource = Plan.Detail->MasterSource();
  Plan.Detail->SetMasterSource(source);
  try {
    WriteMasterLink(*Plan.Detail, Plan.Link.MasterFields, Plan.Link.IndexName, Plan.Link.IndexFieldNames);
  } catch (...) {
    // The write-back left MasterFields and the order as they were; the source goes back too.
    Plan.Detail->SetMasterSource(oldSource);
    throw;
  }
  static_cast<void>(made.release());  // the root owns the new source from here
}
