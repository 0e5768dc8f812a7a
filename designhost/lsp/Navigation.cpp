// Going from a name to what it names, finding every use of a component or a database name,
// and renaming them all at once.
#include <regex>

#include "designhost/lsp/Requests.h"
#include "designhost/lsp/Syntax.h"
#include "host/rtl/SysUtils.h"
#include "host/runtime/Database.h"

namespace {

using nlohmann::json;

json Location(const std::string& Uri, const json& Range) { return {{"uri", Uri}, {"range", Range}}; }

// A place that names what is renamed or looked for.
struct TUse {
  std::string Uri;
  json Range;
  bool Declaration = false;
};

// The component's name on its object line and every reference to it in the document.
std::vector<TUse> ComponentUses(const TDocumentRequest& Request, const TFormObject& Root, const TFormObject& Target) {
  std::vector<TUse> uses;
  const std::string& uri = Request.Document.Uri();
  const int line = Target.Line - 1;
  uses.push_back(
      {uri,
       Request.Lines.Range({line, Target.NameColumn}, {line, Target.NameColumn + static_cast<int>(Target.Name.size())}),
       true});
  ForEachObject(Root, [&](const TFormObject& object) {
    for (const TFormProperty& property : object.Properties)
      if (property.Value.Kind == TFormValue::vkIdent && SameText(property.Value.Text, Target.Name))
        uses.push_back({uri, Request.Lines.ValueRange(property.Value), false});
  });
  return uses;
}

// Every DatabaseName of the workspace that names Name, the declaring databases' marked.
std::vector<TUse> DatabaseUses(const std::vector<TWorkspaceForm>& Forms, const std::string& Name,
                               TPositionEncoding Encoding) {
  std::vector<TUse> uses;
  for (const TWorkspaceForm& form : Forms) {
    if (!form.Tree) continue;
    const TTextLines lines(*form.Text, Encoding);
    ForEachObject(*form.Tree, [&](const TFormObject& object) {
      const TFormProperty* property = FindProperty(object, "DatabaseName");
      if (property && property->Value.Kind == TFormValue::vkString && SameText(property->Value.Text, Name))
        uses.push_back({form.Uri, lines.ValueRange(property->Value), IsOfClass(object, TQVRDatabase::StaticClass())});
    });
  }
  return uses;
}

bool OnDatabaseName(const TSyntaxPoint& At) {
  return At.Property && SameText(At.Property->Path, "DatabaseName") && At.Property->Value.Kind == TFormValue::vkString;
}

json EditsOf(const std::vector<TUse>& Uses, const std::string& NewText) {
  json changes = json::object();
  for (const TUse& use : Uses) changes[use.Uri].push_back({{"range", use.Range}, {"newText", NewText}});
  return {{"changes", changes}};
}

json RenameComponent(const TDocumentRequest& Request, const TSyntaxPoint& At, const std::string& NewName) {
  static const std::regex kIdentifier("[A-Za-z_][A-Za-z0-9_]*");
  if (!std::regex_match(NewName, kIdentifier))
    throw TLspError(kRequestFailed, "'" + NewName + "' is not an identifier");
  if (const TFormObject* other = FindObject(*At.Root, NewName); other && other != At.Target)
    throw TLspError(kRequestFailed, "the name '" + NewName + "' is taken by " + other->Name);
  return EditsOf(ComponentUses(Request, *At.Root, *At.Target), NewName);
}

json RenameDatabase(const TDocumentRequest& Request, const TSyntaxPoint& At, const std::string& NewName) {
  if (NewName.empty()) throw TLspError(kRequestFailed, "a database name cannot be empty");
  if (NewName.find_first_of("\r\n") != std::string::npos)
    throw TLspError(kRequestFailed, "a database name cannot hold a line break");
  const std::vector<TWorkspaceForm> forms = Request.Workspace.Forms();
  const std::string& old = At.Property->Value.Text;
  if (!SameText(old, NewName) && FindDatabase(forms, NewName))
    throw TLspError(kRequestFailed, "the database name '" + NewName + "' is taken");
  return EditsOf(DatabaseUses(forms, old, Request.Lines.Encoding()), QuoteString(NewName));
}

}  // namespace

json Definition(const TDocumentRequest& Request) {
  const TSyntaxPoint at = SyntaxAt(Request);
  const std::string& uri = Request.Document.Uri();
  if (at.Target && !at.OnName) {
    const int line = at.Target->Line - 1;
    return Location(uri, Request.Lines.Range({line, at.Target->NameColumn},
                                             {line, at.Target->NameColumn + static_cast<int>(at.Target->Name.size())}));
  }
  if (!at.Property) return nullptr;
  if (OnDatabaseName(at)) {
    const std::vector<TWorkspaceForm> forms = Request.Workspace.Forms();
    std::optional<TDatabaseDeclaration> database = FindDatabase(forms, at.Property->Value.Text);
    const TFormProperty* name = database ? FindProperty(*database->Object, "DatabaseName") : nullptr;
    if (!name) return nullptr;
    return Location(database->Form->Uri,
                    TTextLines(*database->Form->Text, Request.Lines.Encoding()).ValueRange(name->Value));
  }
  if (SameText(at.Property->Path, "DatabaseFileName") && !at.Property->Value.Text.empty()) {
    std::filesystem::path file = at.Property->Value.Text;
    if (file.is_relative()) file = Request.Document.Path().parent_path() / file;
    return Location(UriOfPath(file), Request.Lines.Range({0, 0}, {0, 0}));
  }
  return nullptr;
}

json References(const TDocumentRequest& Request) {
  const TSyntaxPoint at = SyntaxAt(Request);
  const bool declaration = Request.Params.value("context", json::object()).value("includeDeclaration", true);
  std::vector<TUse> uses;
  if (at.Target)
    uses = ComponentUses(Request, *at.Root, *at.Target);
  else if (OnDatabaseName(at))
    uses = DatabaseUses(Request.Workspace.Forms(), at.Property->Value.Text, Request.Lines.Encoding());
  json locations = json::array();
  for (const TUse& use : uses)
    if (declaration || !use.Declaration) locations.push_back(Location(use.Uri, use.Range));
  return locations;
}

json PrepareRename(const TDocumentRequest& Request) {
  const TSyntaxPoint at = SyntaxAt(Request);
  if (at.Target) return {{"range", Request.Lines.Range(at.Start, at.End)}, {"placeholder", at.Target->Name}};
  if (OnDatabaseName(at))
    return {{"range", Request.Lines.Range(at.Start, at.End)}, {"placeholder", at.Property->Value.Text}};
  throw TLspError(kRequestFailed, "only a component or a database name can be renamed here");
}

json Rename(const TDocumentRequest& Request) {
  const TSyntaxPoint at = SyntaxAt(Request);
  const std::string newName = Request.Params.at("newName").get<std::string>();
  if (at.Target) return RenameComponent(Request, at, newName);
  if (OnDatabaseName(at)) return RenameDatabase(Request, at, newName);
  throw TLspError(kRequestFailed, "only a component or a database name can be renamed here");
}
