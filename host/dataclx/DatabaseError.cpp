// DatabaseError: raises the data-access layer's error, naming the component it concerns.
#include "host/dataclx/DatabaseError.h"

#include "host/rtl/Component.h"

void DatabaseError(const std::string& Message, TComponent* Component, int ErrorCode) {
  if (Component && !Component->Name().empty()) throw EDatabaseError(Component->Name() + ": " + Message, ErrorCode);
  throw EDatabaseError(Message, ErrorCode);
}
