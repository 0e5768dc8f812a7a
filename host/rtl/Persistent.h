// TPersistent: objects that can copy each other's state with Assign.
#pragma once

#include "host/rtl/Object.h"

class TPersistent : public TObject {
  TIRVENDAL_CLASS(TPersistent)

  // Copies Source's state into this object; a class that cannot take it asks Source to
  // AssignTo this object, and raises EConvertError "Cannot assign a X to a Y" if neither can.
  virtual void Assign(const TPersistent* Source);
  // The object this one belongs to, for names such as "Orders.IndexDefs"; nil when none.
  virtual TPersistent* GetOwner() const { return nullptr; }
  virtual std::string GetNamePath() const;

 protected:
  virtual void AssignTo(TPersistent* Dest) const;
};

// Frees an object that nobody else owns (a component frees itself out of its owner's list).
inline void FreeObject(TObject* object) { std::unique_ptr<TObject> doomed(object); }
