// Completion in a form file: the inspector's drop-down lists for a value, field names inside
// a field list, the properties an object does not store yet, and component classes.
#include <algorithm>
#include <optional>
#include <regex>
#include <utility>

#include "designhost/Designer.h"
#include "designhost/lsp/Requests.h"
#include "designhost/lsp/Syntax.h"
#include "host/dataclx/DataSource.h"
#include "host/designide/Palette.h"
#include "host/rtl/Classes.h"
#include "host/rtl/SysUtils.h"
#include "host/runtime/Table.h"
#include "host/visualclx/forms/FormDocument.h"
#include "host/visualclx/forms/Parser.h"

namespace {

using nlohmann::json;

// Completion item kinds of the protocol.
constexpr int kKindProperty = 10;
constexpr int kKindValue = 12;
constexpr int kKindClass = 7;
constexpr int kKindField = 5;

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The name under Cursor in the field list whose opening quote is at Open: from that quote or
// the ';' before the cursor to the ';' or the closing quote after it, a doubled quote being part
// of the name; an unclosed list runs to the line's last non-blank. None when the cursor is not
// inside the quotes.
std::optional<std::pair<int, int>> FieldNameAt(std::string_view Line, size_t Open, size_t Cursor) {
  if (Cursor <= Open) return std::nullopt;
  size_t start = Open + 1;
  size_t i = start;
  for (; i < Line.size() && !(Line[i] == ';' && i >= Cursor); ++i) {
    if (Line[i] == ';') {
      start = i + 1;
    } else if (Line[i] == '\'') {
      if (i + 1 >= Line.size() || Line[i + 1] != '\'') break;  // the closing quote
      ++i;
    }
  }
  if (Cursor > i) return std::nullopt;
  size_t end = i;
  if (i == Line.size()) end = std::max({start, Cursor, Line.find_last_not_of(" \t") + 1});
  return std::make_pair(static_cast<int>(start), static_cast<int>(end));
}

// A name as the quotes of a field list hold it: a quote doubled, a control character written as
// its #N code between the quotes closed and opened again, as the writer writes it.
std::string InQuotes(std::string_view Name) {
  std::string text;
  for (char c : Name) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7F)
      text += "'#" + std::to_string(code) + "'";
    else
      text += c == '\'' ? std::string("''") : std::string(1, c);
  }
  return text;
}

// The text of the form with the cursor's line left blank, and its tree: what the rest of the
// form says while that line is being typed.
std::string TextWithoutLine(const TDocumentRequest& Request) {
  std::string text;
  for (int i = 0; i < Request.Lines.Count(); ++i) {
    if (i != Request.Point.Line) text += Request.Lines.Line(i);
    text += '\n';
  }
  return text;
}

std::optional<TFormObject> TreeWithoutLine(const TDocumentRequest& Request) {
  try {
    return ParseForm(TextWithoutLine(Request), Request.Document.Path().string());
  } catch (const Exception&) {
    return std::nullopt;
  }
}

class TCompletion {
 public:
  explicit TCompletion(const TDocumentRequest& Request) : FRequest(Request) {}

  json Answer() {
    const std::string_view line = FRequest.Lines.Line(FRequest.Point.Line);
    const std::string before(line.substr(0, static_cast<size_t>(FRequest.Point.Column)));
    std::smatch match;
    static const std::regex kClass(R"(^\s*object\s+\w+\s*:\s*\w*$)", std::regex::icase);
    static const std::regex kValue(R"(^\s*([A-Za-z_][\w.]*)\s*=\s*(.*)$)");
    static const std::regex kProperty(R"(^\s*\w*$)");
    if (std::regex_match(before, kClass)) {
      WordRange(line);
      ClassNames();
    } else if (std::regex_match(before, match, kValue)) {
      Values(line, match[1].str(), static_cast<int>(match.position(2)));
    } else if (std::regex_match(before, kProperty)) {
      WordRange(line);
      PropertyNames();
    }
    return Reply();
  }

 private:
  void WordRange(std::string_view Line) {
    int start = FRequest.Point.Column;
    int end = start;
    while (start > 0 && IsWordChar(Line[static_cast<size_t>(start) - 1])) --start;
    while (end < static_cast<int>(Line.size()) && IsWordChar(Line[static_cast<size_t>(end)])) ++end;
    SetRange(start, end);
  }

  void SetRange(int Start, int End) {
    FRange = FRequest.Lines.Range({FRequest.Point.Line, Start}, {FRequest.Point.Line, End});
  }

  void Add(const std::string& Label, int Kind, const std::string& Detail = {}) {
    json item = {{"label", Label}, {"kind", Kind}};
    if (!Detail.empty()) item["detail"] = Detail;
    if (!FRequest.EditRangeDefault) item["textEdit"] = {{"range", FRange}, {"newText", Label}};
    FItems.push_back(std::move(item));
  }

  json Reply() const {
    json reply = {{"isIncomplete", false}, {"items", FItems}};
    if (FRequest.EditRangeDefault && !FItems.empty()) reply["itemDefaults"] = {{"editRange", FRange}};
    return reply;
  }

  void ClassNames() {
    std::vector<std::string> names;
    for (const TPaletteEntry& entry : Palette()) names.push_back(entry.ComponentClass->Name);
    names.push_back(TDataSource::StaticClass()->Name);
    for (const std::string& name : names) Add(name, kKindClass);
  }

  void PropertyNames() {
    std::optional<TFormObject> tree = TreeWithoutLine(FRequest);
    const TFormObject* object = tree ? ObjectAtLine(*tree, FRequest.Point.Line + 1) : nullptr;
    TClass type = object ? FindClass(object->ClassName) : nullptr;
    if (!type || object->Line == FRequest.Point.Line + 1) return;
    for (const TPropInfo* property : type->AllProperties()) {
      if (!property->Stored || property->ReadOnly() || FindProperty(*object, property->Name) ||
          SameText(property->Name, "Name") || SameText(property->Name, "FieldDefs") ||
          SameText(property->Name, "IndexDefs"))
        continue;
      TClass propertyClass = property->PropClass();
      if (property->Kind == tkClass && !(propertyClass && propertyClass->InheritsFrom(TComponent::StaticClass())))
        continue;  // a sub-object is stored as lines of its own properties
      Add(property->Name, kKindProperty, propertyClass ? propertyClass->Name : property->TypeName);
    }
  }

  void Values(std::string_view Line, const std::string& Path, int ValueStart) {
    const auto open = static_cast<size_t>(ValueStart);
    if (IsFieldList(Path) && open < Line.size() && Line[open] == '\'') {
      if (auto name = FieldNameAt(Line, open, static_cast<size_t>(FRequest.Point.Column))) {
        SetRange(name->first, name->second);
        return FieldNames(Path);
      }
    }
    size_t end = Line.find_last_not_of(" \t");
    SetRange(ValueStart, std::max(ValueStart, end == std::string_view::npos ? 0 : static_cast<int>(end) + 1));
    ListedValues(Path);
  }

  // The drop-down list of the property, from the form built as values builds it.
  void ListedValues(const std::string& Path) {
    std::optional<TFormObject> tree = TreeWithoutLine(FRequest);
    const TFormObject* object = tree ? ObjectAtLine(*tree, FRequest.Point.Line + 1) : nullptr;
    if (!object) return;
    try {
      TFormDocument document(TextWithoutLine(FRequest), FRequest.Document.Path());
      TComponent* root = document.Root();
      TComponent* component = SameText(root->Name(), object->Name) ? root : root->FindComponent(object->Name);
      if (!component) return;
      TFormDesigner designer(root);
      auto row = FindInspectorRow(designer, {component}, Path);
      if (!row->GetAttributes().Contains(paValueList)) return;
      const TPropInfo* info = component->ClassType()->FindProperty(Path);
      const bool quoted = info && (info->Kind == tkLString || info->Kind == tkString);
      for (const std::string& value : InspectorValues(*row)) Add(quoted ? QuoteString(value) : value, kKindValue);
    } catch (const std::exception&) {  // NOLINT(bugprone-empty-catch): a form that does not build lists nothing
    }
  }

  // The fields of the table (IndexFieldNames) or of its master's (MasterFields) for the name
  // under the cursor inside the quotes, each as the quotes hold it (a quote doubled).
  void FieldNames(const std::string& Path) {
    std::optional<TFormObject> tree = TreeWithoutLine(FRequest);
    const TFormObject* table = tree ? ObjectAtLine(*tree, FRequest.Point.Line + 1) : nullptr;
    if (table && SameText(Path, "MasterFields")) table = MasterOf(*tree, *table);
    if (!table) return;
    std::vector<TWorkspaceForm> forms = FRequest.Workspace.Forms();
    for (TWorkspaceForm& form : forms)
      if (form.Uri == FRequest.Document.Uri()) form.Tree = std::make_shared<const TFormObject>(*tree);
    TTableLookup lookup(FRequest.Workspace, forms, *table);
    if (const TTableStructure* structure = lookup.Structure())
      for (int i = 0; i < structure->Fields->Count(); ++i)
        Add(InQuotes(structure->Fields->Items(i)->Name()), kKindField,
            structure->DeclaredTypes[static_cast<size_t>(i)]);
  }

  const TDocumentRequest& FRequest;
  json FRange;
  json FItems = json::array();
};

}  // namespace

json Completion(const TDocumentRequest& Request) { return TCompletion(Request).Answer(); }
