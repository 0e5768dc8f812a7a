// Locating the cursor in a form file's syntax tree.
#include "designhost/lsp/Syntax.h"

#include "host/rtl/SysUtils.h"

namespace {

// The field name of a quoted field list at Column, and its columns.
std::string ItemAt(const TFormValue& Value, int Column, int& Start, int& End) {
  const int offset = Column - Value.Column - 1;  // into the text, past the opening quote
  const std::string& text = Value.Text;
  if (offset < 0 || offset > static_cast<int>(text.size())) return {};
  size_t first = offset == 0 ? 0 : text.find_last_of(';', static_cast<size_t>(offset) - 1);
  first = first == std::string::npos || offset == 0 ? 0 : first + 1;
  size_t last = text.find(';', static_cast<size_t>(offset));
  if (last == std::string::npos) last = text.size();
  Start = Value.Column + 1 + static_cast<int>(first);
  End = Value.Column + 1 + static_cast<int>(last);
  return Trim(text.substr(first, last - first));
}

}  // namespace

TSyntaxPoint SyntaxAt(const TDocumentRequest& Request) {
  TSyntaxPoint at;
  at.Root = Request.Document.Tree();
  const int line = Request.Point.Line + 1;
  const int column = Request.Point.Column;
  at.Object = at.Root ? ObjectAtLine(*at.Root, line) : nullptr;
  if (!at.Object) return at;
  if (at.Object->Line == line) {
    const int end = at.Object->NameColumn + static_cast<int>(at.Object->Name.size());
    if (at.Object->Name.empty() || column < at.Object->NameColumn || column > end) return at;
    at.OnName = true;
    at.Target = at.Object;
    at.Start = {line - 1, at.Object->NameColumn};
    at.End = {line - 1, end};
    return at;
  }
  const TFormProperty* property = PropertyAtLine(*at.Object, line);
  if (!property || property->Value.Line != line || column < property->Value.Column ||
      column > property->Value.EndColumn)
    return at;
  at.Property = property;
  at.Start = {line - 1, property->Value.Column};
  at.End = {line - 1, property->Value.EndColumn};
  if (property->Value.Kind == TFormValue::vkIdent) at.Target = FindObject(*at.Root, property->Value.Text);
  if (property->Value.Kind == TFormValue::vkString && IsFieldList(property->Path)) {
    int start = 0;
    int end = 0;
    at.Item = ItemAt(property->Value, column, start, end);
    if (!at.Item.empty()) {
      at.Start = {line - 1, start};
      at.End = {line - 1, end};
    }
  }
  return at;
}

const TFormObject* MasterOf(const TFormObject& Root, const TFormObject& Table) {
  const std::string sourceName = PropertyText(Table, "MasterSource");
  const TFormObject* source = sourceName.empty() ? nullptr : FindObject(Root, sourceName);
  const std::string dataSet = source ? PropertyText(*source, "DataSet") : std::string();
  return dataSet.empty() ? nullptr : FindObject(Root, dataSet);
}

bool IsFieldList(const std::string& Path) {
  return SameText(Path, "MasterFields") || SameText(Path, "IndexFieldNames");
}
