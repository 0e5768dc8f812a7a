// The class registry and RegisterComponents.
#include "host/rtl/Classes.h"

#include <map>

namespace {

struct TextLess {
  bool operator()(const std::string& a, const std::string& b) const { return AnsiCompareText(a, b) < 0; }
};

std::map<std::string, TClass, TextLess>& Registry() {
  static std::map<std::string, TClass, TextLess> registry;
  return registry;
}

TRegisterComponentsProc& ComponentsProc() {
  static TRegisterComponentsProc proc;
  return proc;
}

}  // namespace

void RegisterClass(TClass Class) { Registry()[Class->Name] = Class; }

void RegisterClasses(std::initializer_list<TClass> Classes) {
  for (TClass c : Classes) RegisterClass(c);
}

void UnRegisterClass(TClass Class) {
  auto it = Registry().find(Class->Name);
  if (it != Registry().end() && it->second == Class) Registry().erase(it);
}

TClass GetClass(std::string_view Name) {
  auto it = Registry().find(std::string(Name));
  return it == Registry().end() ? nullptr : it->second;
}

TClass FindClass(std::string_view Name) {
  if (TClass c = GetClass(Name)) return c;
  throw EClassNotFound("Class " + std::string(Name) + " not found");
}

void SetRegisterComponentsProc(TRegisterComponentsProc Proc) { ComponentsProc() = std::move(Proc); }

void RegisterComponents(const std::string& Page, std::initializer_list<TClass> Classes) {
  if (!ComponentsProc()) throw EComponentError("Component registration is not available: no designer is loaded");
  std::vector<TClass> list(Classes);
  for (TClass c : list) RegisterClass(c);
  ComponentsProc()(Page, list);
}

void RegisterRtlClasses() {
  RegisterClasses({TObject::StaticClass(), TPersistent::StaticClass(), TComponent::StaticClass(),
                   TStrings::StaticClass(), TStringList::StaticClass(), TCollection::StaticClass(),
                   TCollectionItem::StaticClass(), TOwnedCollection::StaticClass()});
}
