// The property editors: the base editor and the defaults for each type kind.
#include "host/designide/DesignEditors.h"

#include <algorithm>
#include <climits>

namespace {

const char* const SInvalidPropertyValue = "Invalid property value";

bool Readable(const TPropInfo& p) { return p.GetOrd || p.GetStr || p.GetMethod; }

bool SameType(const TPropInfo& a, const TPropInfo& b) {
  return a.Kind == b.Kind && SameText(PropTypeName(&a), PropTypeName(&b));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TPropertyEditor

TClass TPropertyEditor::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPropertyEditor>(TPersistent::StaticClass()).Constructible().Build();
  return &info;
}

void TPropertyEditor::Initialize(IDesigner* Designer, const std::vector<TPersistent*>& Selection,
                                 const TPropInfo* PropInfo) {
  if (Selection.empty() || !PropInfo) throw EPropertyError("A property editor needs a component and a property");
  std::vector<TInstProp> list;
  list.reserve(Selection.size());
  for (TPersistent* instance : Selection) {
    if (!instance) throw EPropertyError("A property editor needs a component and a property");
    const TPropInfo* own = list.empty() ? PropInfo : ::GetPropInfo(instance->ClassType(), PropInfo->Name);
    if (!own || !SameType(*own, *PropInfo))
      throw EPropertyError(instance->ClassName() + " has no property '" + PropInfo->Name + "'");
    list.push_back({instance, own});
  }
  FDesigner = Designer;
  FPropList = std::move(list);
}

const TPropertyEditor::TInstProp& TPropertyEditor::Entry(int Index) const {
  if (Index < 0 || Index >= PropCount()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FPropList[static_cast<size_t>(Index)];
}

TPersistent* TPropertyEditor::GetComponent(int Index) const { return Entry(Index).Instance; }

std::string TPropertyEditor::GetName() const { return Entry(0).PropInfo->Name; }

const TPropInfo* TPropertyEditor::GetPropInfo() const { return Entry(0).PropInfo; }

IDesigner& TPropertyEditor::RequireDesigner() const {
  if (!FDesigner) throw EInvalidOperation("The property editor " + ClassName() + " has no designer");
  return *FDesigner;
}

TPropertyAttributes TPropertyEditor::GetAttributes() { return {paMultiSelect, paRevertable}; }

std::string TPropertyEditor::GetValue() { return "(unknown)"; }

void TPropertyEditor::SetValue(const std::string& Value) {
  throw EPropertyError("Property " + GetName() + " cannot be set as text");
}

void TPropertyEditor::GetValues(const TGetStrProc& Proc) {}

void TPropertyEditor::Edit() {
  TPropertyAttributes attributes = GetAttributes();
  if (!attributes.Contains(paValueList) || attributes.Contains(paReadOnly)) return;
  TStringList values;
  values.SetSorted(attributes.Contains(paSortList));
  GetValues([&](const std::string& s) { values.Add(s); });
  if (values.Count() == 0) return;
  int next = values.IndexOf(GetValue()) + 1;
  if (next == values.Count()) next = 0;
  SetValue(values.Strings(next));
}

bool TPropertyEditor::AllEqual() { return PropCount() == 1; }

int TPropertyEditor::GetEditLimit() { return 255; }

std::vector<std::unique_ptr<TPropertyEditor>> TPropertyEditor::GetProperties() { return {}; }

void TPropertyEditor::Modified() { RequireDesigner().Modified(); }

std::string TPropertyEditor::GetStrValueAt(int Index) const {
  const TInstProp& e = Entry(Index);
  return GetStrProp(e.Instance, e.PropInfo);
}

int64_t TPropertyEditor::GetOrdValueAt(int Index) const {
  const TInstProp& e = Entry(Index);
  return GetOrdProp(e.Instance, e.PropInfo);
}

TNotifyEvent TPropertyEditor::GetMethodValueAt(int Index) const {
  const TInstProp& e = Entry(Index);
  return GetMethodProp(e.Instance, e.PropInfo);
}

// Writes into every selected component the value made from its current one; when one
// refuses, the ones already written get their old values back (as well as they take them)
// and the error goes on unreported.
template <class V, class Get, class Put, class Make>
void TPropertyEditor::SetEach(Get get, Put put, Make make) {
  RequireDesigner();
  std::vector<V> old;
  old.reserve(FPropList.size());
  try {
    for (const TInstProp& e : FPropList) {
      old.push_back(get(e.Instance, e.PropInfo));
      put(e.Instance, e.PropInfo, make(old.back()));
    }
  } catch (...) {
    for (size_t i = old.size(); i-- > 0;) {
      try {
        put(FPropList[i].Instance, FPropList[i].PropInfo, old[i]);
      } catch (...) {  // the first error is the one to report
      }
    }
    throw;
  }
  Modified();
}

void TPropertyEditor::SetStrValue(const std::string& Value) {
  SetEach<std::string>(GetStrProp, SetStrProp, [&](const std::string&) { return Value; });
}

void TPropertyEditor::SetOrdValue(int64_t Value) {
  SetOrdValues([Value](int64_t) { return Value; });
}

void TPropertyEditor::SetOrdValues(const std::function<int64_t(int64_t)>& Make) {
  SetEach<int64_t>(GetOrdProp, SetOrdProp, Make);
}

void TPropertyEditor::SetMethodValue(const TNotifyEvent& Value) {
  SetEach<TNotifyEvent>(GetMethodProp, SetMethodProp, [&](const TNotifyEvent&) { return Value; });
}

// ---------------------------------------------------------------------------------------------
// TStringProperty

TClass TStringProperty::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStringProperty>(TPropertyEditor::StaticClass()).Constructible().Build();
  return &info;
}

TPropertyAttributes TStringProperty::GetAttributes() { return {paMultiSelect, paRevertable}; }

std::string TStringProperty::GetValue() { return GetStrValue(); }

void TStringProperty::SetValue(const std::string& Value) { SetStrValue(Value); }

bool TStringProperty::AllEqual() {
  std::string first = GetStrValue();
  for (int i = 1; i < PropCount(); ++i)
    if (GetStrValueAt(i) != first) return false;
  return true;
}

// ---------------------------------------------------------------------------------------------
// TComponentNameProperty

TClass TComponentNameProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TComponentNameProperty>(TStringProperty::StaticClass()).Constructible().Build();
  return &info;
}

TPropertyAttributes TComponentNameProperty::GetAttributes() {
  TPropertyAttributes attributes = TStringProperty::GetAttributes();
  attributes.Exclude(paMultiSelect);
  return attributes;
}

// ---------------------------------------------------------------------------------------------
// Ordinal properties

TClass TOrdinalProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TOrdinalProperty>(TPropertyEditor::StaticClass()).Constructible().Build();
  return &info;
}

bool TOrdinalProperty::AllEqual() {
  int64_t first = GetOrdValue();
  for (int i = 1; i < PropCount(); ++i)
    if (GetOrdValueAt(i) != first) return false;
  return true;
}

TClass TIntegerProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TIntegerProperty>(TOrdinalProperty::StaticClass()).Constructible().Build();
  return &info;
}

std::string TIntegerProperty::GetValue() { return IntToStr(GetOrdValue()); }

void TIntegerProperty::SetValue(const std::string& Value) {
  int64_t v = StrToInt(Trim(Value));
  if (v < INT_MIN || v > INT_MAX) throw EPropertyError(Format("Value must be between %d and %d", {INT_MIN, INT_MAX}));
  SetOrdValue(v);
}

TClass TEnumProperty::StaticClass() {
  static const TClassInfo info = TClassBuilder<TEnumProperty>(TOrdinalProperty::StaticClass()).Constructible().Build();
  return &info;
}

TPropertyAttributes TEnumProperty::GetAttributes() { return {paMultiSelect, paValueList, paSortList, paRevertable}; }

std::string TEnumProperty::GetValue() { return GetEnumName(*GetPropInfo()->Enum, static_cast<int>(GetOrdValue())); }

void TEnumProperty::GetValues(const TGetStrProc& Proc) {
  for (const std::string& name : GetPropInfo()->Enum->Names) Proc(name);
}

void TEnumProperty::SetValue(const std::string& Value) {
  int v = GetEnumValue(*GetPropInfo()->Enum, Trim(Value));
  if (v < 0) throw EPropertyError(SInvalidPropertyValue);
  SetOrdValue(v);
}

TClass TBoolProperty::StaticClass() {
  static const TClassInfo info = TClassBuilder<TBoolProperty>(TEnumProperty::StaticClass()).Constructible().Build();
  return &info;
}

std::string TBoolProperty::GetValue() { return GetOrdValue() ? "True" : "False"; }

void TBoolProperty::GetValues(const TGetStrProc& Proc) {
  Proc("False");
  Proc("True");
}

void TBoolProperty::SetValue(const std::string& Value) {
  std::string text = Trim(Value);
  if (SameText(text, "False"))
    SetOrdValue(0);
  else if (SameText(text, "True"))
    SetOrdValue(1);
  else
    throw EPropertyError(SInvalidPropertyValue);
}

// ---------------------------------------------------------------------------------------------
// Sets

TClass TSetProperty::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSetProperty>(TOrdinalProperty::StaticClass()).Constructible().Build();
  return &info;
}

TPropertyAttributes TSetProperty::GetAttributes() { return {paMultiSelect, paSubProperties, paReadOnly, paRevertable}; }

std::string TSetProperty::GetValue() { return GetPropValueText(GetComponent(0), GetPropInfo()); }

void TSetProperty::SetValue(const std::string& Value) {
  std::string text = Trim(Value);
  if (text.size() >= 2 && text.front() == '[' && text.back() == ']') text = text.substr(1, text.size() - 2);
  const TEnumInfo& elements = *GetPropInfo()->Enum;
  uint32_t bits = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    std::string name = Trim(std::string_view(text).substr(start, comma == std::string::npos ? comma : comma - start));
    if (!name.empty()) {
      int e = GetEnumValue(elements, name);
      if (e < 0) throw EPropertyError("Invalid property value: " + name);
      bits |= uint32_t{1} << e;
    } else if (comma != std::string::npos) {
      throw EPropertyError(SInvalidPropertyValue);
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  SetOrdValue(bits);
}

std::vector<std::unique_ptr<TPropertyEditor>> TSetProperty::GetProperties() {
  std::vector<TPersistent*> selection;
  selection.reserve(PropCount());
  for (int i = 0; i < PropCount(); ++i) selection.push_back(GetComponent(i));
  std::vector<std::unique_ptr<TPropertyEditor>> out;
  out.reserve(GetPropInfo()->Enum->Names.size());
  for (size_t e = 0; e < GetPropInfo()->Enum->Names.size(); ++e) {
    auto editor = std::make_unique<TSetElementProperty>();
    editor->Initialize(Designer(), selection, GetPropInfo());
    editor->SetElement(static_cast<int>(e));
    out.push_back(std::move(editor));
  }
  return out;
}

TClass TSetElementProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TSetElementProperty>(TPropertyEditor::StaticClass()).Constructible().Build();
  return &info;
}

std::string TSetElementProperty::GetName() const { return GetEnumName(*GetPropInfo()->Enum, FElement); }

TPropertyAttributes TSetElementProperty::GetAttributes() { return {paMultiSelect, paValueList, paSortList}; }

std::string TSetElementProperty::GetValue() { return (GetOrdValue() >> FElement) & 1 ? "True" : "False"; }

void TSetElementProperty::GetValues(const TGetStrProc& Proc) {
  Proc("False");
  Proc("True");
}

void TSetElementProperty::SetValue(const std::string& Value) {
  std::string text = Trim(Value);
  if (!SameText(text, "False") && !SameText(text, "True")) throw EPropertyError(SInvalidPropertyValue);
  int64_t bit = int64_t{1} << FElement;
  bool on = SameText(text, "True");
  SetOrdValues([&](int64_t old) { return on ? old | bit : old & ~bit; });  // each keeps its other elements
}

bool TSetElementProperty::AllEqual() {
  int64_t bit = int64_t{1} << FElement;
  for (int i = 1; i < PropCount(); ++i)
    if ((GetOrdValueAt(i) & bit) != (GetOrdValue() & bit)) return false;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Object properties

TClass TClassProperty::StaticClass() {
  static const TClassInfo info = TClassBuilder<TClassProperty>(TPropertyEditor::StaticClass()).Constructible().Build();
  return &info;
}

TPropertyAttributes TClassProperty::GetAttributes() { return {paMultiSelect, paSubProperties, paReadOnly}; }

std::string TClassProperty::GetValue() { return "(" + PropTypeName(GetPropInfo()) + ")"; }

std::vector<std::unique_ptr<TPropertyEditor>> TClassProperty::GetProperties() {
  std::vector<TPersistent*> objects;
  for (int i = 0; i < PropCount(); ++i) {
    auto* object = As<TPersistent>(GetObjectProp(GetComponent(i), GetPropInfo()));
    if (!object) return {};
    objects.push_back(object);
  }
  return GetComponentProperties(Designer(), objects);
}

TClass TComponentProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TComponentProperty>(TPropertyEditor::StaticClass()).Constructible().Build();
  return &info;
}

TPropertyAttributes TComponentProperty::GetAttributes() {
  if (GetPropInfo()->ReadOnly()) return {paMultiSelect, paReadOnly};
  return {paMultiSelect, paValueList, paSortList, paRevertable};
}

std::string TComponentProperty::GetValue() { return GetPropValueText(GetComponent(0), GetPropInfo()); }

void TComponentProperty::GetValues(const TGetStrProc& Proc) {
  RequireDesigner().GetComponentNames(GetPropInfo()->PropClass(), Proc);
}

void TComponentProperty::SetValue(const std::string& Value) {
  std::string name = Trim(Value);
  TComponent* component = nullptr;
  if (!name.empty()) {
    component = RequireDesigner().GetComponent(name);
    if (!component || !component->InheritsFrom(GetPropInfo()->PropClass())) throw EPropertyError(SInvalidPropertyValue);
  }
  SetOrdValue(OrdOfObject(component));
}

bool TComponentProperty::AllEqual() {
  for (int i = 1; i < PropCount(); ++i)
    if (GetOrdValueAt(i) != GetOrdValue()) return false;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Events

TClass TMethodProperty::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMethodProperty>(TPropertyEditor::StaticClass()).Constructible().Build();
  return &info;
}

TPropertyAttributes TMethodProperty::GetAttributes() { return {paMultiSelect, paValueList, paSortList, paRevertable}; }

std::string TMethodProperty::GetValue() { return GetMethodValue().MethodName; }

void TMethodProperty::GetValues(const TGetStrProc& Proc) {
  TComponent* root = RequireDesigner().Root();
  if (!root) return;
  std::vector<std::string> seen;
  for (TClass c = root->ClassType(); c; c = c->Parent)
    for (const TMethodInfo& m : c->Methods)
      if (std::none_of(seen.begin(), seen.end(), [&](const std::string& s) { return SameText(s, m.Name); })) {
        seen.push_back(m.Name);
        Proc(m.Name);
      }
}

void TMethodProperty::SetValue(const std::string& Value) {
  std::string name = Trim(Value);
  if (name.empty()) return SetMethodValue(TNotifyEvent{});
  TComponent* root = RequireDesigner().Root();
  const TMethodInfo* method = root ? root->ClassType()->FindMethod(name) : nullptr;
  if (!method) throw EPropertyError(SInvalidPropertyValue);
  TNotifyEvent event;
  event.Code = [root, invoke = method->Invoke](TObject* Sender) { invoke(root, Sender); };
  event.Data = root;
  event.MethodName = method->Name;
  SetMethodValue(event);
}

bool TMethodProperty::AllEqual() {
  TNotifyEvent first = GetMethodValue();
  for (int i = 1; i < PropCount(); ++i) {
    TNotifyEvent other = GetMethodValueAt(i);
    if (other.Data != first.Data || !SameText(other.MethodName, first.MethodName)) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Making editors

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(TClass EditorClass, IDesigner* Designer,
                                                      const std::vector<TPersistent*>& Selection,
                                                      const TPropInfo* PropInfo) {
  if (!EditorClass || !EditorClass->InheritsFrom(TPropertyEditor::StaticClass()) || !EditorClass->NewObject)
    throw EPropertyError((EditorClass ? EditorClass->Name : std::string("nil")) +
                         " is not a property editor that can be created");
  std::unique_ptr<TPropertyEditor> editor = OwnedAs<TPropertyEditor>(EditorClass->NewObject());
  editor->Initialize(Designer, Selection, PropInfo);
  return editor;
}

std::vector<std::unique_ptr<TPropertyEditor>> GetComponentProperties(IDesigner* Designer,
                                                                     const std::vector<TPersistent*>& Selection) {
  std::vector<std::unique_ptr<TPropertyEditor>> rows;
  if (Selection.empty()) return rows;
  if (std::find(Selection.begin(), Selection.end(), nullptr) != Selection.end())
    throw EPropertyError("The selection holds a nil component");
  std::vector<const TPropInfo*> props = Selection[0]->ClassType()->AllProperties();
  std::stable_sort(props.begin(), props.end(),
                   [](const TPropInfo* a, const TPropInfo* b) { return AnsiCompareText(a->Name, b->Name) < 0; });
  for (const TPropInfo* prop : props) {
    if (!Readable(*prop) || (prop->Kind != tkClass && prop->ReadOnly())) continue;
    TClass editorClass = GetEditorClass(prop, Selection[0]->ClassType());
    if (!editorClass) continue;
    bool everywhere = true;
    for (size_t i = 1; i < Selection.size() && everywhere; ++i) {
      const TPropInfo* other = GetPropInfo(Selection[i]->ClassType(), prop->Name);
      everywhere = other && SameType(*other, *prop) && Readable(*other) &&
                   GetEditorClass(other, Selection[i]->ClassType()) == editorClass;
    }
    if (!everywhere) continue;
    auto editor = CreatePropertyEditor(editorClass, Designer, Selection, prop);
    if (Selection.size() > 1 && !editor->GetAttributes().Contains(paMultiSelect)) continue;
    rows.push_back(std::move(editor));
  }
  return rows;
}
