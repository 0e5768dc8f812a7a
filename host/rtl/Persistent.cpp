// TPersistent's Assign protocol.
#include "host/rtl/Persistent.h"

#include "host/rtl/TypInfo.h"

TClass TPersistent::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPersistent>(TObject::StaticClass()).Build();
  return &info;
}

void TPersistent::Assign(const TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  AssignTo(this);  // nil source: reported as this class refusing nil
}

void TPersistent::AssignTo(TPersistent* Dest) const {
  std::string from = Dest == this ? "nil" : ClassName();
  throw EConvertError("Cannot assign a " + from + " to a " + Dest->ClassName());
}

std::string TPersistent::GetNamePath() const { return ClassName(); }
