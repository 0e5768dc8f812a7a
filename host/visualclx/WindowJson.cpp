// JSON shapes of the windows, written with insertion-ordered keys as the lines promise them.
#include "host/visualclx/WindowJson.h"

#include <nlohmann/json.hpp>

#include "host/rtl/Strings.h"
#include "host/visualclx/Button.h"
#include "host/visualclx/ComboBox.h"
#include "host/visualclx/Form.h"
#include "host/visualclx/JsonLine.h"
#include "host/visualclx/Label.h"
#include "host/visualclx/ListBox.h"
#include "host/visualclx/MessageDlg.h"
#include "host/visualclx/OpenDialog.h"

using json = nlohmann::ordered_json;

namespace {

std::string Line(const json& value) { return JsonLine(value); }

json ItemsOf(const TStrings* items) {
  json result = json::array();
  for (int i = 0; i < items->Count(); ++i) result.push_back(items->Get(i));
  return result;
}

json ControlOf(const TControl* control) {
  json c;
  c["name"] = control->Name();
  c["class"] = control->ClassName();
  c["visible"] = control->Visible();
  c["enabled"] = control->Enabled();
  c["left"] = control->Left();
  c["top"] = control->Top();
  c["width"] = control->Width();
  c["height"] = control->Height();
  if (auto* list = dynamic_cast<const TListBox*>(control)) {
    c["items"] = ItemsOf(list->Items());
    c["itemIndex"] = list->ItemIndex();
    c["multiSelect"] = list->MultiSelect();
    c["selected"] = list->SelectedIndexes();
  } else if (auto* combo = dynamic_cast<const TComboBox*>(control)) {
    c["items"] = ItemsOf(combo->Items());
    c["itemIndex"] = combo->ItemIndex();
    c["text"] = combo->Text();
  } else if (auto* button = dynamic_cast<const TButton*>(control)) {
    c["caption"] = button->Caption();
    c["default"] = button->Default();
    c["cancel"] = button->Cancel();
    c["modalResult"] = button->ModalResult();
  } else if (auto* label = dynamic_cast<const TLabel*>(control)) {
    c["caption"] = label->Caption();
  }
  return c;
}

}  // namespace

std::string FormJson(const TCustomForm& Form) {
  json f;
  f["window"] = "form";
  f["name"] = Form.Name();
  f["class"] = Form.ClassName();
  f["caption"] = Form.Caption();
  f["helpContext"] = Form.HelpContext();
  f["activeControl"] = Form.ActiveControl() ? json(Form.ActiveControl()->Name()) : json(nullptr);
  json controls = json::array();
  for (const TControl* control : Form.AllControls()) controls.push_back(ControlOf(control));
  f["controls"] = std::move(controls);
  return Line(f);
}

std::string OpenDialogJson(const TOpenDialog& Dialog) {
  json d;
  d["window"] = "open-file";
  d["filter"] = Dialog.Filter();
  d["defaultExt"] = Dialog.DefaultExt();
  json options = json::array();
  const TEnumInfo& names = OpenOptionTypeInfo();
  for (size_t i = 0; i < names.Names.size(); ++i)
    if (Dialog.Options().Contains(static_cast<TOpenOption>(i))) options.push_back(names.Names[i]);
  d["options"] = std::move(options);
  d["fileName"] = Utf16ToUtf8(Dialog.FileName());
  return Line(d);
}

std::string MessageBoxJson(const TMessageBox& Box) {
  json m;
  m["window"] = "message";
  m["type"] = MsgDlgTypeName(Box.DlgType);
  m["text"] = Box.Text;
  json buttons = json::array();
  for (TMsgDlgBtn b : Box.ButtonList()) buttons.push_back(MsgDlgBtnCaption(b));
  m["buttons"] = std::move(buttons);
  return Line(m);
}

std::string FileRefusedJson(const std::string& Path, const std::string& Reason) {
  json r;
  r["window"] = "open-file";
  r["refused"] = Path;
  r["reason"] = Reason;
  return Line(r);
}

std::string HelpJson(int Context) {
  json h;
  h["window"] = "help";
  h["context"] = Context;
  return Line(h);
}
