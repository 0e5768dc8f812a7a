// Hover in a form file: a table's columns, an index's fields, a listed field's type, and what
// a component is.
#include "designhost/lsp/Requests.h"
#include "designhost/lsp/Syntax.h"
#include "host/dataclx/FieldList.h"
#include "host/rtl/TypInfo.h"
#include "host/runtime/Table.h"

namespace {

using nlohmann::json;

std::string FieldType(const TFieldDef& Field) {
  std::string type = GetEnumName(FieldTypeInfo(), Field.DataType());
  return Field.Size() > 0 ? type + "(" + std::to_string(Field.Size()) + ")" : type;
}

// The names of the primary key's fields, upper case.
std::vector<std::string> PrimaryKey(const TTableStructure& Structure) {
  for (int i = 0; i < Structure.Indexes->Count(); ++i)
    if (const TIndexDef* index = Structure.Indexes->Items(i); index->Options().Contains(ixPrimary))
      return SplitFieldList(AnsiUpperCase(index->Fields()));
  return {};
}

std::string Columns(const TTableStructure& Structure) {
  const std::vector<std::string> key = PrimaryKey(Structure);
  std::string text = "**" + Structure.Name + "**\n\n| column | declared | field |\n|---|---|---|\n";
  for (int i = 0; i < Structure.Fields->Count(); ++i) {
    const TFieldDef* field = Structure.Fields->Items(i);
    const bool primary = std::find(key.begin(), key.end(), AnsiUpperCase(field->Name())) != key.end();
    text += "| " + field->Name() + (primary ? " (key)" : "") + " | " + Structure.DeclaredTypes[static_cast<size_t>(i)] +
            " | " + FieldType(*field) + " |\n";
  }
  return text;
}

std::string Index(const TTableStructure& Structure, const std::string& Name) {
  const auto* index = static_cast<const TIndexDef*>(Structure.Indexes->TDefCollection::Find(Name));
  if (!index) return {};
  std::string options;
  for (int option = ixPrimary; option <= ixNonMaintained; ++option)
    if (index->Options().Contains(static_cast<TIndexOption>(option)))
      options += (options.empty() ? "" : ", ") + GetEnumName(IndexOptionInfo(), option);
  return "**" + index->Name() + "** on `" + Structure.Name + "`\n\nfields: `" +
         (index->Fields().empty() ? index->Expression() : index->Fields()) + "`\n\noptions: [" + options + "]";
}

std::string Field(const TTableStructure& Structure, const std::string& Name) {
  const TFieldDef* field = static_cast<const TFieldDef*>(FindListedDef(Structure.Fields.get(), Name));
  if (!field) return {};
  const size_t i = static_cast<size_t>(field->Index());
  return "**" + field->Name() + "** of `" + Structure.Name + "`: " + Structure.DeclaredTypes[i] + " (" +
         FieldType(*field) + ")";
}

std::string Component(const TFormObject& Object) {
  std::string text = "**" + Object.Name + "**: " + Object.ClassName;
  if (!IsOfClass(Object, TQVRTable::StaticClass())) return text;
  text += "\n\ndatabase `" + PropertyText(Object, "DatabaseName") + "`, table `" + PropertyText(Object, "TableName") +
          "`, order ";
  if (std::string index = PropertyText(Object, "IndexName"); !index.empty()) return text + "index `" + index + "`";
  if (std::string fields = PropertyText(Object, "IndexFieldNames"); !fields.empty()) return text + "`" + fields + "`";
  return text + "its primary key";
}

}  // namespace

json Hover(const TDocumentRequest& Request) {
  const TSyntaxPoint at = SyntaxAt(Request);
  if (!at.Object) return nullptr;
  const std::vector<TWorkspaceForm> forms = Request.Workspace.Forms();
  std::string text;
  if (at.Target) {
    text = Component(*at.Target);
  } else if (at.Property) {
    const std::string path = at.Property->Path;
    const TFormObject* table = SameText(path, "MasterFields") ? MasterOf(*at.Root, *at.Object) : at.Object;
    if (!table) return nullptr;
    TTableLookup lookup(Request.Workspace, forms, *table);
    const TTableStructure* structure = lookup.Structure();
    if (!structure) return nullptr;
    if (SameText(path, "TableName"))
      text = Columns(*structure);
    else if (SameText(path, "IndexName"))
      text = Index(*structure, at.Property->Value.Text);
    else if (!at.Item.empty())
      text = Field(*structure, at.Item);
  }
  if (text.empty()) return nullptr;
  return {{"contents", {{"kind", "markdown"}, {"value", text}}}, {"range", Request.Lines.Range(at.Start, at.End)}};
}
