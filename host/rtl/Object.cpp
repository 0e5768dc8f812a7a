// TObject's class record and the look-ups of TClassInfo.
#include "host/rtl/Object.h"

#include "host/rtl/TypInfo.h"

int TEnumInfo::ValueOf(std::string_view name) const {
  for (size_t i = 0; i < Names.size(); ++i)
    if (SameText(Names[i], name)) return static_cast<int>(i);
  return -1;
}

bool TClassInfo::InheritsFrom(TClass ancestor) const {
  for (TClass c = this; c; c = c->Parent)
    if (c == ancestor) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (TClass c = this; c; c = c->Parent)
    for (const TPropInfo& p : c->Properties)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  for (TClass c = this; c; c = c->Parent)
    for (const TMethodInfo& m : c->Methods)
      if (SameText(m.Name, name)) return &m;
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
  for (TClass c = this; c; c = c->Parent)
    for (const TFieldInfo& f : c->Fields)
      if (SameText(f.Name, name)) return &f;
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProperties() const {
  std::vector<TClass> chain;
  for (TClass c = this; c; c = c->Parent) chain.push_back(c);
  std::vector<const TPropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const TPropInfo& p : (*it)->Properties) {
      bool redeclared = false;
      for (const TPropInfo*& seen : out)
        if (SameText(seen->Name, p.Name)) {
          seen = &p;  // a descendant's redeclaration replaces the ancestor's in place
          redeclared = true;
        }
      if (!redeclared) out.push_back(&p);
    }
  }
  return out;
}

TClass TObject::StaticClass() {
  static const TClassInfo info = TClassBuilder<TObject>(nullptr).Build();
  return &info;
}
