// A form designer for tests: it counts modification notices and answers name look-ups from
// the components its root owns.
#pragma once

#include "host/designide/DesignIntf.h"

class TFakeDesigner : public IDesigner {
 public:
  explicit TFakeDesigner(TComponent* Root = nullptr) : FRoot(Root) {}

  void Modified() override { ++ModifiedCount; }
  TComponent* Root() const override { return FRoot; }
  void GetComponentNames(TClass Class, const TGetStrProc& Proc) override {
    for (int i = 0; FRoot && i < FRoot->ComponentCount(); ++i)
      if (FRoot->Components(i)->InheritsFrom(Class)) Proc(FRoot->Components(i)->Name());
  }
  TComponent* GetComponent(const std::string& Name) override { return FRoot ? FRoot->FindComponent(Name) : nullptr; }

  int ModifiedCount = 0;

 private:
  TComponent* FRoot;
};
