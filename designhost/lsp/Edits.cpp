// The edits the server proposes on a whole form: formatting as a save writes it, the quick
// fix of a misspelled name, a link by a foreign key, and the outline of the objects.
#include "designhost/KeyLinks.h"
#include "designhost/lsp/Requests.h"
#include "designhost/lsp/Syntax.h"
#include "host/dataclx/FieldList.h"
#include "host/rtl/SysUtils.h"
#include "host/visualclx/forms/FormDocument.h"

namespace {

using nlohmann::json;

constexpr int kSymbolObject = 19;

// The one edit that turns Old into New: the lines between their common beginning and end.
json LineEdit(const TTextLines& OldLines, const std::string& New) {
  const TTextLines newLines(New, OldLines.Encoding());
  int first = 0;
  while (first < OldLines.Count() && first < newLines.Count() && OldLines.Line(first) == newLines.Line(first)) ++first;
  int oldLast = OldLines.Count();
  int newLast = newLines.Count();
  while (oldLast > first && newLast > first && OldLines.Line(oldLast - 1) == newLines.Line(newLast - 1)) {
    --oldLast;
    --newLast;
  }
  std::string text;
  for (int i = first; i < newLast; ++i) text += std::string(newLines.Line(i)) + "\n";
  return {{"range", OldLines.Range({first, 0}, {oldLast, 0})}, {"newText", text}};
}

// The value that puts Nearest in place of the name the diagnostic is about.
std::string Corrected(const TFormProperty& Property, const json& Data) {
  const std::string name = Data.value("name", "");
  const std::string nearest = Data.value("nearest", "");
  if (!IsFieldList(Property.Path)) return QuoteString(nearest);
  std::string list;
  for (const std::string& field : SplitFieldList(Property.Value.Text))
    list += (list.empty() ? "" : ";") + (SameText(Trim(field), name) ? nearest : field);
  return QuoteString(list);
}

void AddQuickFixes(const TDocumentRequest& Request, json& Actions) {
  const TFormObject* root = Request.Document.Tree();
  if (!root) return;
  for (const json& diagnostic : Request.Params.at("context").value("diagnostics", json::array())) {
    if (!diagnostic.contains("data") || !diagnostic["data"].contains("nearest")) continue;
    const int line = diagnostic["range"]["start"]["line"].get<int>() + 1;
    const TFormObject* object = ObjectAtLine(*root, line);
    const TFormProperty* property = object ? PropertyAtLine(*object, line) : nullptr;
    if (!property || property->Value.Kind != TFormValue::vkString) continue;
    const std::string nearest = diagnostic["data"]["nearest"];
    json edit = {{"range", Request.Lines.ValueRange(property->Value)},
                 {"newText", Corrected(*property, diagnostic["data"])}};
    Actions.push_back({{"title", "Change to '" + nearest + "'"},
                       {"kind", "quickfix"},
                       {"diagnostics", {diagnostic}},
                       {"isPreferred", true},
                       {"edit", {{"changes", {{Request.Document.Uri(), {edit}}}}}}});
  }
}

// The keys each unlinked table component of the form could be linked by: the table's place,
// the key's, and the action's title.
struct TLinkOffer {
  size_t Table;
  size_t Choice;
  std::string Title;
};

std::vector<TLinkOffer> LinkOffers(const TDocumentRequest& Request, int FirstLine, int LastLine) {
  const TFormObject* root = Request.Document.Tree();
  std::vector<TLinkOffer> offers;
  TFormDocument document(Request.Document.Text(), Request.Document.Path());
  TLiveForm form(document.Root());
  for (size_t i = 0; i < form.Tables().size(); ++i) {
    const TFormTable& table = form.Tables()[i];
    const TFormObject* object = FindObject(*root, table.Name);
    if (table.HasMasterSource || !object || object->EndLine < FirstLine || object->Line > LastLine) continue;
    std::vector<TKeyChoice> choices = KeyChoices(form.Tables(), i);
    for (size_t k = 0; k < choices.size(); ++k)
      if (!choices[k].ClosesLoop)
        offers.push_back({i, k,
                          "Link to " + form.Tables()[choices[k].Master].Name + " by its foreign key (" +
                              KeyColumns(*choices[k].Key) + ")"});
  }
  return offers;
}

// The form's text after the link of Offer, made as link makes it.
std::string LinkedText(const TDocumentRequest& Request, const TLinkOffer& Offer) {
  TFormDocument document(Request.Document.Text(), Request.Document.Path());
  TLiveForm form(document.Root());
  const std::vector<TKeyChoice> choices = KeyChoices(form.Tables(), Offer.Table);
  ApplyLink(document.Root(), PlanLink(form, Offer.Table, choices.at(Offer.Choice)));
  return document.Text();
}

void AddLinks(const TDocumentRequest& Request, json& Actions) {
  if (!Request.Document.Tree()) return;
  const json& range = Request.Params.at("range");
  const int first = range["start"]["line"].get<int>() + 1;
  const int last = range["end"]["line"].get<int>() + 1;
  for (const TLinkOffer& offer : LinkOffers(Request, first, last)) {
    json edit = LineEdit(Request.Lines, LinkedText(Request, offer));
    Actions.push_back(
        {{"title", offer.Title}, {"kind", "refactor"}, {"edit", {{"changes", {{Request.Document.Uri(), {edit}}}}}}});
  }
}

json Symbol(const TTextLines& Lines, const TFormObject& Object) {
  const int line = Object.Line - 1;
  const std::string name = Object.Name.empty() ? Object.ClassName : Object.Name;
  json symbol = {
      {"name", name},
      {"detail", Object.ClassName},
      {"kind", kSymbolObject},
      {"range", Lines.Range({line, 0}, {Object.EndLine - 1, static_cast<int>(Lines.Line(Object.EndLine - 1).size())})},
      {"selectionRange",
       Lines.Range({line, Object.NameColumn}, {line, Object.NameColumn + static_cast<int>(name.size())})},
      {"children", json::array()}};
  for (const TFormObject& child : Object.Children) symbol["children"].push_back(Symbol(Lines, child));
  return symbol;
}

}  // namespace

json Formatting(const TDocumentRequest& Request) {
  std::string written;
  try {
    written = TFormDocument(Request.Document.Text(), Request.Document.Path()).Text();
  } catch (const Exception& e) {
    throw TLspError(kRequestFailed, "the form does not read: " + e.Message());
  }
  if (written == Request.Document.Text()) return json::array();
  const int last = Request.Lines.Count() - 1;
  return json::array(
      {{{"range", Request.Lines.Range({0, 0}, {last, static_cast<int>(Request.Lines.Line(last).size())})},
        {"newText", written}}});
}

json CodeActions(const TDocumentRequest& Request) {
  json actions = json::array();
  AddQuickFixes(Request, actions);
  try {
    AddLinks(Request, actions);
  } catch (const Exception&) {  // NOLINT(bugprone-empty-catch): a form that does not build offers no link
  }
  return actions;
}

json DocumentSymbols(const TDocumentRequest& Request) {
  const TFormObject* root = Request.Document.Tree();
  if (!root) return json::array();
  return json::array({Symbol(Request.Lines, *root)});
}
