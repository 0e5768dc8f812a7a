// designhost check: every database, table and master link of the forms held against the
// structure of the files they name; each finding names what is wrong, where, and the nearest
// valid name when there is one.
#include "designhost/Check.h"

#include <algorithm>
#include <iostream>

#include "host/dataclx/FieldList.h"
#include "host/rtl/NearestWord.h"
#include "host/rtl/Strings.h"
#include "host/rtl/SysUtils.h"
#include "host/visualclx/JsonLine.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> ItemNames(const TDefCollection& Collection) {
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(Collection.Count()));
  for (int i = 0; i < Collection.Count(); ++i)
    names.push_back(static_cast<const TNamedItem*>(Collection.Items(i))->Name());
  return names;
}

bool SameSession(const std::string& A, const std::string& B) {
  auto normal = [](const std::string& name) { return name.empty() ? std::string("Default") : name; };
  return SameText(normal(A), normal(B));
}

// The database files beside a missing one (its extension or .tvd), for a suggestion.
std::vector<std::string> Neighbours(const std::string& FilePath) {
  std::vector<std::string> names;
  fs::path path(FilePath);
  fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if ((it->path().extension() == path.extension() || it->path().extension() == ".tvd") && it->is_regular_file(ec))
      names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// How the current order of a table reads in a message.
std::string DescribeOrder(const TProjectTable& Table) {
  if (!Table.IndexName.empty()) return "index " + Quoted(Table.IndexName);
  if (!Table.IndexFieldNames.empty()) return "IndexFieldNames " + Quoted(Table.IndexFieldNames);
  return "its primary key";
}

std::string FieldCount(size_t Count) { return std::to_string(Count) + (Count == 1 ? " field" : " fields"); }

class TChecker {
 public:
  explicit TChecker(TProject& Project) : FProject(Project) {}

  std::vector<TFinding> Run() {
    for (const TProjectForm& form : FProject.Forms()) {
      if (form.Failure) {
        FFindings.push_back({form.File, form.Failure->Line, "", "", form.Failure->Message, {}, {}});
        continue;
      }
      for (const TProjectDatabase& database : form.Databases) CheckDatabase(form, database);
      for (const TProjectTable& table : form.Tables) CheckTable(form, table);
    }
    std::stable_sort(FFindings.begin(), FFindings.end(), [](const TFinding& a, const TFinding& b) {
      return a.File != b.File ? a.File < b.File : a.Line < b.Line;
    });
    return std::move(FFindings);
  }

 private:
  void Report(const TProjectForm& Form, const TStoredComponent& Component, const std::string& Property,
              std::string Message) {
    FFindings.push_back({Form.File, Component.LineOf(Property), Component.Name, Property, std::move(Message), {}, {}});
  }

  // A finding on Name, which was not found: the message names the nearest of Candidates.
  void ReportNearest(const TProjectForm& Form, const TStoredComponent& Component, const std::string& Property,
                     const std::string& Message, const std::string& Name, const std::string& Nearest) {
    Report(Form, Component, Property, Nearest.empty() ? Message : Message + "; did you mean " + Quoted(Nearest) + "?");
    FFindings.back().Name = Name;
    FFindings.back().Nearest = Nearest;
  }

  void CheckDatabase(const TProjectForm& Form, const TProjectDatabase& Database) {
    if (const TProjectDatabase* first = FProject.FindDatabase(Database.DatabaseName);
        first != &Database && first && SameSession(first->SessionName, Database.SessionName)) {
      Report(Form, Database, "DatabaseName",
             "database name " + Quoted(Database.DatabaseName) + " is already used by " + first->Name + " (" +
                 FProject.FormOf(*first).File + ":" + std::to_string(first->LineOf("DatabaseName")) + ")");
    }
    if (Database.DatabaseFileName.empty()) {
      Report(Form, Database, "DatabaseFileName", "no database file named");
      return;
    }
    const TDatabaseStructure* structure = FProject.Structure(Database);
    if (structure->Error().empty()) return;
    std::string nearest;
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(Database.FilePath, ec))) {
      nearest = NearestWord(fs::path(Database.FilePath).filename().string(), Neighbours(Database.FilePath));
      if (!nearest.empty()) nearest = (fs::path(Database.DatabaseFileName).parent_path() / nearest).string();
    }
    ReportNearest(Form, Database, "DatabaseFileName", structure->Error(), Database.DatabaseFileName, nearest);
  }

  void CheckTable(const TProjectForm& Form, const TProjectTable& Table) {
    const TTableStructure* structure = CheckTableName(Form, Table);
    if (structure) {
      if (!Table.IndexName.empty() && !structure->Indexes->TDefCollection::Find(Table.IndexName))
        ReportNearest(Form, Table, "IndexName",
                      "no index " + Quoted(Table.IndexName) + " in table " + Quoted(structure->Name), Table.IndexName,
                      NearestWord(Table.IndexName, ItemNames(*structure->Indexes)));
      CheckFieldList(Form, Table, "IndexFieldNames", Table.IndexFieldNames, *structure,
                     "table " + Quoted(structure->Name));
    }
    if (Table.MasterSource.empty()) {
      // Left behind when the data source went: the table follows no master, whatever it says.
      if (!Table.MasterFields.empty())
        Report(Form, Table, "MasterFields",
               "master fields " + Quoted(Table.MasterFields) + " but the table has no MasterSource");
      return;
    }
    if (!Table.MasterHasDataSet) {
      Report(Form, Table, "MasterSource", "data source " + Quoted(Table.MasterSource) + " has no data set");
      return;
    }
    if (Table.MasterFields.empty() || Table.MasterTable < 0) return;
    const TProjectTable& master = Form.Tables[static_cast<size_t>(Table.MasterTable)];
    if (const TTableStructure* masterStructure = FProject.Structure(master);
        masterStructure && masterStructure->Error.empty())
      CheckFieldList(Form, Table, "MasterFields", Table.MasterFields, *masterStructure,
                     "master table " + Quoted(masterStructure->Name) + " (" + master.Name + ")");
    if (!structure) return;
    std::optional<std::vector<std::string>> order = OrderFields(Table, structure);
    size_t masterCount = SplitFieldList(Table.MasterFields).size();
    if (order && masterCount > order->size())
      Report(Form, Table, "MasterFields",
             std::to_string(masterCount) + " master fields but the order of table " + Quoted(structure->Name) + " (" +
                 DescribeOrder(Table) + ") has " + FieldCount(order->size()));
  }

  // Checks DatabaseName and TableName; answers the table's structure when both hold and it
  // could be read, else nil.
  const TTableStructure* CheckTableName(const TProjectForm& Form, const TProjectTable& Table) {
    if (Table.DatabaseName.empty()) {
      Report(Form, Table, "DatabaseName", "the table names no database");
      return nullptr;
    }
    const TProjectDatabase* database = FProject.FindDatabase(Table.DatabaseName);
    if (!database) {
      ReportNearest(Form, Table, "DatabaseName", "no database " + Quoted(Table.DatabaseName) + " in the checked forms",
                    Table.DatabaseName, NearestWord(Table.DatabaseName, FProject.DatabaseNames()));
      return nullptr;
    }
    // A database whose file cannot be read has its own finding.
    TDatabaseStructure* file = FProject.Structure(*database);
    if (!file || !file->Error().empty()) return nullptr;
    if (Table.TableName.empty()) {
      Report(Form, Table, "TableName", "the table names no table");
      return nullptr;
    }
    const TTableStructure* structure = file->Table(Table.TableName);
    if (!structure && file->IsView(Table.TableName)) {
      Report(Form, Table, "TableName", Quoted(Table.TableName) + " is a view, not a table");
      return nullptr;
    }
    if (!structure) {
      ReportNearest(Form, Table, "TableName",
                    "no table " + Quoted(Table.TableName) + " in " + Quoted(database->FilePath), Table.TableName,
                    NearestWord(Table.TableName, file->TableNames()));
      return nullptr;
    }
    if (!structure->Error.empty()) {
      Report(Form, Table, "TableName", "cannot read table " + Quoted(structure->Name) + ": " + structure->Error);
      return nullptr;
    }
    return structure;
  }

  // A finding for every name of List that is no field of Structure, which Where names.
  void CheckFieldList(const TProjectForm& Form, const TProjectTable& Table, const std::string& Property,
                      const std::string& List, const TTableStructure& Structure, const std::string& Where) {
    // A field whose name holds ";" cannot be listed: the list names other fields instead.
    const std::string list = AnsiUpperCase(List);
    for (int i = 0; i < Structure.Fields->Count(); ++i) {
      const std::string& name = Structure.Fields->Items(i)->Name();
      if (name.find(';') != std::string::npos && list.find(AnsiUpperCase(name)) != std::string::npos) {
        Report(Form, Table, Property,
               "field " + Quoted(name) + " of " + Where + " holds ';', which a field list cannot hold");
        return;
      }
    }
    for (const std::string& field : SplitFieldList(List)) {
      if (Trim(field).empty())
        Report(Form, Table, Property, "an empty field name in " + Quoted(List));
      else if (!FindListedDef(Structure.Fields.get(), field))
        ReportNearest(Form, Table, Property, "no field " + Quoted(field) + " in " + Where, field,
                      NearestWord(field, ItemNames(*Structure.Fields)));
    }
  }

  TProject& FProject;
  std::vector<TFinding> FFindings;
};

// One finding stays one line: line breaks inside stored names are shown escaped.
std::string OneLine(const std::string& Text) {
  std::string out;
  for (char c : Text) {
    if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return out;
}

}  // namespace

std::vector<TFinding> CheckProject(TProject& Project) { return TChecker(Project).Run(); }

std::string FindingLine(const TFinding& Finding) {
  return OneLine(Finding.File) + ":" + std::to_string(Finding.Line) + ": error: " + Finding.Component + "." +
         Finding.Property + ": " + OneLine(Finding.Message);
}

std::string FindingJson(const TFinding& Finding) {
  nlohmann::ordered_json object;
  object["file"] = Finding.File;
  object["line"] = Finding.Line;
  object["component"] = Finding.Component;
  object["property"] = Finding.Property;
  object["message"] = Finding.Message;
  return JsonLine(object);
}

int RunCheck(const std::vector<std::string>& Paths, bool Json) {
  TProject project(Paths);
  std::vector<TFinding> findings = CheckProject(project);
  for (const TFinding& finding : findings) std::cout << (Json ? FindingJson(finding) : FindingLine(finding)) << '\n';
  std::cout.flush();
  return findings.empty() ? 0 : 1;
}
