// Reading a project's forms and the structure of the databases they name.
#include "designhost/Project.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <unordered_map>

#include "designhost/UsageError.h"
#include "host/dataclx/DataSource.h"
#include "host/dataclx/FieldList.h"
#include "host/rtl/FileLineError.h"
#include "host/rtl/Strings.h"
#include "host/runtime/AdvFieldDefs.h"
#include "host/runtime/Database.h"
#include "host/runtime/Schema.h"
#include "host/runtime/Sqlite.h"
#include "host/runtime/Table.h"
#include "host/visualclx/forms/Builder.h"
#include "host/visualclx/forms/FormDocument.h"
#include "host/visualclx/forms/Parser.h"

namespace fs = std::filesystem;

namespace {

// Where and why a form could not be read: an error at a line of the form keeps its line.
TProjectForm::TFailure FailureOf(const Exception& E, const std::string& File) {
  if (const auto* placed = dynamic_cast<const EFileLineError*>(&E); placed && placed->FileName() == File)
    return {placed->Line(), E.ClassName(), placed->Text()};
  return {1, E.ClassName(), E.Message()};
}

// Tables stored active stay closed: a check reads structure, never rows, and runs nothing that
// opening a data set would run.
void DropActive(TFormObject& Node) {
  std::erase_if(Node.Properties, [](const TFormProperty& p) { return SameText(p.Path, "Active"); });
  for (TFormObject& child : Node.Children) DropActive(child);
}

void CollectNodes(const TFormObject& Node, std::vector<const TFormObject*>& Nodes) {
  for (const TFormObject& child : Node.Children) {
    Nodes.push_back(&child);
    CollectNodes(child, Nodes);
  }
}

TStoredComponent Stored(const TComponent* Component, const TFormObject* Node) {
  TStoredComponent stored;
  stored.Name = Component->Name();
  if (!Node) return stored;
  stored.Line = Node->Line;
  stored.PropertyLines.reserve(Node->Properties.size());
  for (const TFormProperty& property : Node->Properties)
    stored.PropertyLines.emplace_back(property.Path, property.Line);
  return stored;
}

// The database file a database names: relative names are taken from the form's folder.
std::string ResolveDatabaseFile(const std::string& FormFile, const std::string& Name) {
  if (Name.empty()) return {};
  fs::path name(Name);
  if (name.is_absolute()) return Name;
  fs::path folder = fs::path(FormFile).parent_path();
  return folder.empty() ? Name : (folder / name).string();
}

// The databases, tables and master links of a form read into Root.
void Extract(const TComponent* Root, const TFormObject& Tree, TProjectForm& Form) {
  std::vector<const TFormObject*> nodes;
  CollectNodes(Tree, nodes);
  // Components are created in the order of their nodes; a name settles any doubt.
  auto nodeOf = [&](int index, const TComponent* component) -> const TFormObject* {
    if (index < static_cast<int>(nodes.size()) && nodes[static_cast<size_t>(index)]->Name == component->Name())
      return nodes[static_cast<size_t>(index)];
    for (const TFormObject* node : nodes)
      if (!component->Name().empty() && SameText(node->Name, component->Name())) return node;
    return nullptr;
  };

  // Each table's place in the form's Tables, found by its data set: a master is looked up once
  // for each of its details.
  std::unordered_map<const TDataSet*, int> tables;
  for (int i = 0; i < Root->ComponentCount(); ++i)
    if (Is<TQVRTable>(Root->Components(i)))
      tables.emplace(static_cast<const TDataSet*>(Root->Components(i)), static_cast<int>(tables.size()));
  Form.Tables.reserve(tables.size());  // a form of many tables holds no spare room for them

  for (int i = 0; i < Root->ComponentCount(); ++i) {
    TComponent* component = Root->Components(i);
    if (Is<TQVRDatabase>(component)) {
      auto* database = static_cast<TQVRDatabase*>(component);
      TProjectDatabase entry;
      static_cast<TStoredComponent&>(entry) = Stored(component, nodeOf(i, component));
      entry.DatabaseName = database->DatabaseName();
      entry.SessionName = database->SessionName();
      entry.DatabaseFileName = database->DatabaseFileName();
      entry.FilePath = ResolveDatabaseFile(Form.File, entry.DatabaseFileName);
      Form.Databases.push_back(std::move(entry));
    } else if (Is<TQVRTable>(component)) {
      auto* table = static_cast<TQVRTable*>(component);
      TProjectTable entry;
      static_cast<TStoredComponent&>(entry) = Stored(component, nodeOf(i, component));
      entry.DatabaseName = table->DatabaseName();
      entry.TableName = table->TableName();
      entry.IndexName = table->GetIndexName();
      entry.IndexFieldNames = table->GetIndexFieldNames();
      entry.MasterFields = table->GetMasterFields();
      if (TDataSource* source = table->MasterSource()) {
        entry.MasterSource = source->Name();
        entry.MasterHasDataSet = source->DataSet() != nullptr;
        if (auto master = tables.find(source->DataSet()); master != tables.end()) entry.MasterTable = master->second;
      }
      Form.Tables.push_back(std::move(entry));
    }
  }
}

// Reads one form; its components live only as long as it takes to note what a check needs, so
// two forms that declare the same database never meet in the session.
TProjectForm ReadForm(const std::string& File, const TFormTexts* Texts) {
  TProjectForm form;
  form.File = File;
  TFormObject tree;
  try {
    auto text = Texts ? Texts->find(FormKey(File)) : TFormTexts::const_iterator();
    tree = ParseForm(Texts && text != Texts->end() ? text->second : TFormDocument::ReadText(File), File);
    DropActive(tree);
    std::unique_ptr<TComponent> root(CreateFormComponent(tree, nullptr, File));
    BuildComponent(root.get(), tree, File);
    Extract(root.get(), tree, form);
  } catch (const Exception& e) {
    form.Databases.clear();
    form.Tables.clear();
    form.Failure = FailureOf(e, File);
  }
  return form;
}

// The form files a path stands for: itself, or for a folder every *.xfm under it, by path. An
// entry that is named like a form but is no readable regular file (a link that leads nowhere
// or in a loop, a pipe) is listed all the same: reading it fails, naming the system's reason,
// rather than the form being passed over.
std::vector<std::string> FormFiles(const std::string& Path, const TFormTexts* Texts) {
  if (Texts && Texts->contains(FormKey(Path))) return {Path};
  struct stat info {};
  if (::stat(Path.c_str(), &info) != 0) {
    const int error = errno;
    struct stat link {};
    if (::lstat(Path.c_str(), &link) == 0) return {Path};  // a link that leads nowhere: a form that does not read
    if (error == ENOENT || error == ENOTDIR) throw EUsageError("no such file or folder '" + Path + "'");
    throw EInOutError("Cannot read '" + Path + "': " + std::strerror(error));
  }
  if (!S_ISDIR(info.st_mode)) return {Path};
  std::vector<std::string> found;
  std::error_code ec;
  fs::recursive_directory_iterator it(Path, fs::directory_options::skip_permission_denied, ec), end;
  if (ec) throw EInOutError("Cannot read folder '" + Path + "': " + ec.message());
  for (; it != end; it.increment(ec)) {
    if (ec) throw EInOutError("Cannot read folder '" + Path + "': " + ec.message());
    // A folder named like a form is walked into, not read.
    if (it->path().extension() == ".xfm" && !it->is_directory(ec))
      found.push_back((fs::path(Path) / it->path().lexically_relative(Path)).string());
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

std::string FormKey(const std::filesystem::path& File) { return fs::absolute(File).lexically_normal().string(); }

int TStoredComponent::LineOf(std::string_view Property) const {
  for (const auto& [path, line] : PropertyLines)
    if (SameText(path, Property)) return line;
  return Line;
}

// ---------------------------------------------------------------------------------------------
// TDatabaseStructure

TDatabaseStructure::TDatabaseStructure(const std::string& FilePath) {
  try {
    FConnection = TSqliteConnection::OpenReadOnly(FilePath, nullptr);
    // The file is taken as it is at the first look: a command reads one version of it.
    FRead.emplace(*FConnection);
    TStringList names;
    ReadTableNames(*FConnection, &names);
    for (int i = 0; i < names.Count(); ++i) {
      FTableNames.push_back(names.Strings(i));
      FSpelled.emplace(AnsiUpperCase(names.Strings(i)), names.Strings(i));
    }
    TStatementRun views(FConnection->Prepare("SELECT name FROM sqlite_master WHERE type = 'view'"));
    while (views->Step()) FViewNames.emplace_back(views->ColumnText(0));
  } catch (const Exception& e) {
    FRead.reset();
    FConnection.reset();
    FError = e.Message();
  }
}

TDatabaseStructure::~TDatabaseStructure() = default;

bool TDatabaseStructure::IsView(std::string_view Name) const {
  return std::any_of(FViewNames.begin(), FViewNames.end(),
                     [&](const std::string& view) { return SameText(view, Name); });
}

const TTableStructure* TDatabaseStructure::Table(std::string_view Name) {
  if (!FConnection) return nullptr;
  std::string key = AnsiUpperCase(Name);
  if (auto it = FTables.find(key); it != FTables.end()) return it->second.get();
  auto spelled = FSpelled.find(key);
  if (spelled == FSpelled.end()) return nullptr;
  if (!FWholeRead) {
    // Every table at once, whatever the forms name: a few queries instead of a few per table.
    // Should that fail, each table is read on its own and fails on its own.
    FWholeRead = true;
    try {
      ReadWholeSchema(*FConnection);
    } catch (const Exception&) {  // NOLINT(bugprone-empty-catch): the tables' own reads report it
    }
  }
  auto structure = std::make_unique<TTableStructure>();
  structure->Name = spelled->second;
  structure->Fields = std::make_unique<TFieldDefs>(nullptr);
  structure->Indexes = std::make_unique<TIndexDefs>(nullptr);
  try {
    TQVRAdvFieldDefs extended(nullptr);
    ReadFieldDefs(*FConnection, structure->Name, structure->Fields.get(), &extended, nullptr);
    structure->DeclaredTypes.reserve(static_cast<size_t>(extended.Count()));
    for (int i = 0; i < extended.Count(); ++i) structure->DeclaredTypes.push_back(extended.Items(i)->DeclaredType());
    ReadIndexDefs(*FConnection, structure->Name, structure->Indexes.get(), nullptr);
    structure->ForeignKeys = ReadForeignKeys(*FConnection, structure->Name, nullptr);
  } catch (const Exception& e) {
    structure->Error = e.Message();
  }
  return FTables.emplace(std::move(key), std::move(structure)).first->second.get();
}

// ---------------------------------------------------------------------------------------------
// TProject

TProject::TProject(const std::vector<std::string>& Paths, const TFormTexts* Texts) {
  std::vector<std::string> files;
  for (const std::string& path : Paths) {
    std::vector<std::string> found = FormFiles(path, Texts);
    files.insert(files.end(), found.begin(), found.end());
  }
  // A file is known by its device and inode, whatever path names it.
  std::set<std::pair<dev_t, ino_t>> seen;
  for (const std::string& file : files) {
    struct stat info {};
    if (stat(file.c_str(), &info) == 0 && !seen.insert({info.st_dev, info.st_ino}).second) continue;
    FForms.push_back(ReadForm(file, Texts));
  }
  for (const TProjectForm& form : FForms)
    for (const TProjectDatabase& database : form.Databases)
      if (!database.DatabaseName.empty())
        FDatabases.try_emplace(AnsiUpperCase(database.DatabaseName), &database, &form);
}

TProject::~TProject() = default;

const TProjectDatabase* TProject::FindDatabase(std::string_view DatabaseName) const {
  auto it = FDatabases.find(AnsiUpperCase(DatabaseName));
  return it == FDatabases.end() ? nullptr : it->second.first;
}

std::vector<std::string> TProject::DatabaseNames() const {
  std::vector<std::string> names;
  for (const TProjectForm& form : FForms)
    for (const TProjectDatabase& database : form.Databases)
      if (!database.DatabaseName.empty()) names.push_back(database.DatabaseName);
  return names;
}

const TProjectForm& TProject::FormOf(const TProjectDatabase& Database) const {
  for (const TProjectForm& form : FForms)
    if (!form.Databases.empty() && &Database >= &form.Databases.front() && &Database <= &form.Databases.back())
      return form;
  throw EListError("the database " + Database.Name + " is in none of the forms");
}

TDatabaseStructure* TProject::Structure(const TProjectDatabase& Database) {
  if (Database.FilePath.empty()) return nullptr;
  TDatabaseStructure*& structure = FStructures[&Database];
  if (!structure) {
    // Two databases on one file share its structure.
    auto& file = FFiles[fs::absolute(Database.FilePath).lexically_normal().string()];
    if (!file) file = std::make_unique<TDatabaseStructure>(Database.FilePath);
    structure = file.get();
  }
  return structure;
}

const TTableStructure* TProject::Structure(const TProjectTable& Table) {
  const TProjectDatabase* database = FindDatabase(Table.DatabaseName);
  TDatabaseStructure* file = database ? Structure(*database) : nullptr;
  if (!file || !file->Error().empty() || Table.TableName.empty()) return nullptr;
  return file->Table(Table.TableName);
}

std::optional<std::vector<std::string>> OrderFields(const TProjectTable& Table, const TTableStructure* Structure) {
  const TIndexDefs* indexes = Structure && Structure->Error.empty() ? Structure->Indexes.get() : nullptr;
  // Only a field list gives the order without the table's structure.
  if (!indexes && (!Table.IndexName.empty() || Table.IndexFieldNames.empty())) return std::nullopt;
  std::optional<TCurrentOrder> order = CurrentOrder(Table.IndexName, Table.IndexFieldNames, indexes);
  if (!order) return std::nullopt;
  return std::move(order->Keys);
}
