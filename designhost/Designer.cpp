// The designer interface over designhost's open form.
#include "designhost/Designer.h"

void TFormDesigner::GetComponentNames(TClass Class, const TGetStrProc& Proc) {
  for (int i = 0; i < FRoot->ComponentCount(); ++i) {
    TComponent* c = FRoot->Components(i);
    if (!c->Name().empty() && c->InheritsFrom(Class)) Proc(c->Name());
  }
}

TComponent* TFormDesigner::GetComponent(const std::string& Name) {
  if (SameText(Name, FRoot->Name())) return FRoot;
  return FRoot->FindComponent(Name);
}
