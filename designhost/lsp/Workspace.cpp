// The language server's workspace and the look-ups in its syntax trees.
#include "designhost/lsp/Workspace.h"

#include <algorithm>

#include "host/rtl/Classes.h"
#include "host/rtl/SysUtils.h"
#include "host/runtime/Database.h"
#include "host/visualclx/forms/FormDocument.h"
#include "host/visualclx/forms/Parser.h"

namespace fs = std::filesystem;

namespace {

std::shared_ptr<const TFormObject> Parse(const std::string& Text, const fs::path& File) {
  try {
    return std::make_shared<const TFormObject>(ParseForm(Text, File.string()));
  } catch (const Exception&) {
    return nullptr;
  }
}

bool IsUnder(const fs::path& File, const fs::path& Folder) {
  const std::string file = FormKey(File);
  const std::string folder = FormKey(Folder);
  return file.size() > folder.size() && file.compare(0, folder.size(), folder) == 0 &&
         (folder.back() == '/' || file[folder.size()] == '/');
}

std::vector<fs::path> FormFilesUnder(const fs::path& Folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(Folder, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end; it.increment(ec))
    if (it->path().extension() == ".xfm" && !it->is_directory(ec)) files.push_back(it->path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

TTextDocument& TWorkspace::Open(std::string Uri, int Version, std::string Text) {
  auto document = std::make_unique<TTextDocument>(Uri, Version, std::move(Text));
  return *(FDocuments[std::move(Uri)] = std::move(document));
}

void TWorkspace::Close(const std::string& Uri) { FDocuments.erase(Uri); }

TTextDocument* TWorkspace::Find(const std::string& Uri) const {
  auto it = FDocuments.find(Uri);
  return it == FDocuments.end() ? nullptr : it->second.get();
}

TFormTexts TWorkspace::Texts() const {
  TFormTexts texts;
  for (const auto& [uri, document] : FDocuments) texts[FormKey(document->Path())] = document->Text();
  return texts;
}

std::vector<std::string> TWorkspace::CheckPaths() const {
  std::vector<std::string> paths;
  std::error_code ec;
  for (const fs::path& folder : FFolders)
    if (fs::is_directory(folder, ec)) paths.push_back(folder.string());
  for (const auto& entry : FDocuments) {
    const fs::path& file = entry.second->Path();
    if (std::none_of(FFolders.begin(), FFolders.end(), [&](const fs::path& folder) { return IsUnder(file, folder); }) ||
        !fs::exists(file, ec))
      paths.push_back(file.string());
  }
  return paths;
}

std::vector<TWorkspaceForm> TWorkspace::Forms() const {
  std::vector<TWorkspaceForm> forms;
  std::map<std::string, bool> seen;
  for (const auto& [uri, document] : FDocuments) {
    seen[FormKey(document->Path())] = true;
    const TFormObject* tree = document->Tree();
    forms.push_back({document->Path(), uri, std::make_shared<const std::string>(document->Text()),
                     tree ? std::shared_ptr<const TFormObject>(std::shared_ptr<void>(), tree) : nullptr});
  }
  for (const fs::path& folder : FFolders) {
    for (const fs::path& file : FormFilesUnder(folder)) {
      const std::string key = FormKey(file);
      if (seen[key]) continue;
      seen[key] = true;
      std::error_code ec;
      const auto time = fs::last_write_time(file, ec);
      const auto size = fs::file_size(file, ec);
      TCachedFile& cached = FFiles[key];
      if (cached.Form.Uri.empty() || cached.Time != time || cached.Size != size) {
        std::string text;
        try {
          text = TFormDocument::ReadText(file);
        } catch (const Exception&) {  // NOLINT(bugprone-empty-catch): a form that does not read has no tree
        }
        cached = {time, size, {file, UriOfPath(file), std::make_shared<const std::string>(text), Parse(text, file)}};
      }
      forms.push_back(cached.Form);
    }
  }
  return forms;
}

TDatabaseStructure& TWorkspace::Structure(const std::string& File) const {
  TFileStamp stamp;
  for (const std::string& file : {File, File + "-wal"}) {
    std::error_code ec;
    stamp.emplace_back(fs::last_write_time(file, ec), fs::file_size(file, ec));
  }
  TCachedStructure& cached = FStructures[FormKey(File)];
  if (!cached.Structure || cached.Stamp != stamp) cached = {stamp, std::make_unique<TDatabaseStructure>(File)};
  return *cached.Structure;
}

// ---------------------------------------------------------------------------------------------
// Look-ups

const TFormObject* ObjectAtLine(const TFormObject& Root, int Line) {
  if (Line < Root.Line || Line > Root.EndLine) return nullptr;
  for (const TFormObject& child : Root.Children)
    if (const TFormObject* found = ObjectAtLine(child, Line)) return found;
  return &Root;
}

const TFormProperty* PropertyAtLine(const TFormObject& Object, int Line) {
  for (const TFormProperty& property : Object.Properties)
    if (Line >= property.Line && Line <= property.Value.EndLine) return &property;
  return nullptr;
}

const TFormObject* FindObject(const TFormObject& Root, std::string_view Name) {
  if (!Root.Name.empty() && SameText(Root.Name, Name)) return &Root;
  for (const TFormObject& child : Root.Children)
    if (const TFormObject* found = FindObject(child, Name)) return found;
  return nullptr;
}

const TFormProperty* FindProperty(const TFormObject& Object, std::string_view Path) {
  for (const TFormProperty& property : Object.Properties)
    if (SameText(property.Path, Path)) return &property;
  return nullptr;
}

std::string PropertyText(const TFormObject& Object, std::string_view Path) {
  const TFormProperty* property = FindProperty(Object, Path);
  if (!property || (property->Value.Kind != TFormValue::vkString && property->Value.Kind != TFormValue::vkIdent))
    return {};
  return property->Value.Text;
}

bool IsOfClass(const TFormObject& Object, const TClassInfo* Class) {
  TClass found = FindClass(Object.ClassName);
  return found && found->InheritsFrom(Class);
}

void ForEachObject(const TFormObject& Root, const std::function<void(const TFormObject&)>& Visit) {
  Visit(Root);
  for (const TFormObject& child : Root.Children) ForEachObject(child, Visit);
}

std::optional<TDatabaseDeclaration> FindDatabase(const std::vector<TWorkspaceForm>& Forms,
                                                 std::string_view DatabaseName) {
  for (const TWorkspaceForm& form : Forms) {
    if (!form.Tree) continue;
    const TFormObject* found = nullptr;
    ForEachObject(*form.Tree, [&](const TFormObject& object) {
      if (!found && IsOfClass(object, TQVRDatabase::StaticClass()) &&
          SameText(PropertyText(object, "DatabaseName"), DatabaseName))
        found = &object;
    });
    if (found) return TDatabaseDeclaration{&form, found};
  }
  return std::nullopt;
}

std::string DatabaseFile(const TDatabaseDeclaration& Declaration) {
  std::string name = PropertyText(*Declaration.Object, "DatabaseFileName");
  if (name.empty() || fs::path(name).is_absolute()) return name;
  return (Declaration.Form->Path.parent_path() / name).string();
}

TTableLookup::TTableLookup(const TWorkspace& Workspace, const std::vector<TWorkspaceForm>& Forms,
                           const TFormObject& Table)
    : FDatabase(FindDatabase(Forms, PropertyText(Table, "DatabaseName"))) {
  const std::string file = FDatabase ? DatabaseFile(*FDatabase) : std::string();
  const std::string name = PropertyText(Table, "TableName");
  if (file.empty() || name.empty()) return;
  FStructure = Workspace.Structure(file).Table(name);
  if (FStructure && !FStructure->Error.empty()) FStructure = nullptr;
}
