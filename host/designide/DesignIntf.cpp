// The property editor registry and the attribute names.
#include "host/designide/DesignIntf.h"

#include <algorithm>

#include "host/designide/DesignEditors.h"
#include "host/designide/Palette.h"

namespace {

struct TPropertyEditorRegistration {
  std::string PropertyType;
  TClass ComponentClass;
  std::string PropertyName;
  TClass EditorClass;
  HMODULE Module;
};

std::vector<TPropertyEditorRegistration>& Registrations() {
  static std::vector<TPropertyEditorRegistration> registrations;
  return registrations;
}

HMODULE& RegisteringModule() {
  static HMODULE module = nullptr;
  return module;
}

int ClassDepth(TClass c) {
  int depth = -1;
  for (; c; c = c->Parent) ++depth;
  return depth;
}

// How far the property's type is from the registered type: 0 for the same type, n for a
// class property whose class descends n steps from it; -1 when the registration does not fit.
int TypeDistance(const std::string& registered, const TPropInfo& prop) {
  if (prop.Kind != tkClass) return SameText(registered, prop.TypeName) ? 0 : -1;
  int distance = 0;
  for (TClass c = prop.PropClass(); c; c = c->Parent, ++distance)
    if (SameText(c->Name, registered)) return distance;
  return -1;
}

bool Applies(const TPropertyEditorRegistration& r, const TPropInfo& prop, TClass componentClass) {
  if (r.ComponentClass && !(componentClass && componentClass->InheritsFrom(r.ComponentClass))) return false;
  if (!r.PropertyName.empty() && !SameText(r.PropertyName, prop.Name)) return false;
  return TypeDistance(r.PropertyType, prop) >= 0;
}

// > 0 when a is the more specific registration for the property, < 0 when b is, 0 for a tie.
int CompareSpecificity(const TPropertyEditorRegistration& a, const TPropertyEditorRegistration& b,
                       const TPropInfo& prop) {
  if (int d = ClassDepth(a.ComponentClass) - ClassDepth(b.ComponentClass)) return d;
  if (int d = int(!a.PropertyName.empty()) - int(!b.PropertyName.empty())) return d;
  return TypeDistance(b.PropertyType, prop) - TypeDistance(a.PropertyType, prop);
}

}  // namespace

const TEnumInfo& PropertyAttributeInfo() {
  static const TEnumInfo info{
      "TPropertyAttribute",
      {"paValueList", "paSubProperties", "paDialog", "paMultiSelect", "paAutoUpdate", "paSortList", "paReadOnly",
       "paRevertable", "paFullWidthName", "paVolatileSubProperties", "paReference", "paNotNestable"}};
  return info;
}

std::string PropertyAttributeNames(TPropertyAttributes Attributes) {
  std::string out;
  const auto& names = PropertyAttributeInfo().Names;
  for (size_t i = 0; i < names.size(); ++i)
    if (Attributes.Contains(static_cast<TPropertyAttribute>(i))) out += (out.empty() ? "" : ",") + names[i];
  return out;
}

std::string PropTypeName(const TPropInfo* PropInfo) {
  if (PropInfo->Kind == tkClass) return PropInfo->PropClass() ? PropInfo->PropClass()->Name : std::string();
  return PropInfo->TypeName;
}

void RegisterPropertyEditor(const std::string& PropertyType, TClass ComponentClass, const std::string& PropertyName,
                            TClass EditorClass) {
  if (PropertyType.empty()) throw EPropertyError("A property editor needs a property type");
  if (EditorClass && !EditorClass->InheritsFrom(TPropertyEditor::StaticClass()))
    throw EPropertyError(EditorClass->Name + " is not a property editor");
  Registrations().push_back({PropertyType, ComponentClass, PropertyName, EditorClass, RegisteringModule()});
}

TClass GetEditorClass(const TPropInfo* PropInfo, TClass ComponentClass) {
  const TPropertyEditorRegistration* best = nullptr;
  // Registration order: a later registration as specific as the best so far replaces it.
  for (const auto& r : Registrations()) {
    if (!Applies(r, *PropInfo, ComponentClass)) continue;
    if (!best || CompareSpecificity(r, *best, *PropInfo) >= 0) best = &r;
  }
  if (best) return best->EditorClass;
  // A component's own Name has the editor that keeps it to one component at a time.
  if (ComponentClass && ComponentClass->InheritsFrom(TComponent::StaticClass()) && SameText(PropInfo->Name, "Name") &&
      DefaultEditorClass(PropInfo) == TStringProperty::StaticClass())
    return TComponentNameProperty::StaticClass();
  return DefaultEditorClass(PropInfo);
}

TClass DefaultEditorClass(const TPropInfo* PropInfo) {
  switch (PropInfo->Kind) {
    case tkString:
    case tkLString:
    case tkWString:
      return TStringProperty::StaticClass();
    case tkInteger:
      return TIntegerProperty::StaticClass();
    case tkEnumeration:
      return SameText(PropInfo->TypeName, "Boolean") ? TBoolProperty::StaticClass() : TEnumProperty::StaticClass();
    case tkSet:
      return TSetProperty::StaticClass();
    case tkClass:
      if (PropInfo->PropClass() && PropInfo->PropClass()->InheritsFrom(TComponent::StaticClass()))
        return TComponentProperty::StaticClass();
      return TClassProperty::StaticClass();
    case tkMethod:
      return TMethodProperty::StaticClass();
    default:
      return TPropertyEditor::StaticClass();
  }
}

HMODULE CurrentRegisteringModule() { return RegisteringModule(); }

TRegisteringModule::TRegisteringModule(HMODULE Module) : FPrevious(RegisteringModule()) {
  RegisteringModule() = Module;
}

TRegisteringModule::~TRegisteringModule() { RegisteringModule() = FPrevious; }

void UnregisterModuleEditors(HMODULE Module) {
  auto& r = Registrations();
  r.erase(std::remove_if(r.begin(), r.end(), [&](const auto& e) { return e.Module == Module; }), r.end());
}

void RegisterDesignClasses() {
  RegisterClasses({TPropertyEditor::StaticClass(), TStringProperty::StaticClass(), TOrdinalProperty::StaticClass(),
                   TIntegerProperty::StaticClass(), TEnumProperty::StaticClass(), TBoolProperty::StaticClass(),
                   TSetProperty::StaticClass(), TSetElementProperty::StaticClass(), TClassProperty::StaticClass(),
                   TComponentProperty::StaticClass(), TMethodProperty::StaticClass(),
                   TComponentNameProperty::StaticClass()});
  InstallPalette();
}
