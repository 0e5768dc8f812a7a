// DatabaseError: raises the data-access layer's error, naming the component it concerns.
#include "host/dataclx/DatabaseError.h"

#include "host/rtl/Component.h"

void DatabaseError(const std::string& Message, TComponent* Component) {
  if (Component && !Component->Name().empty()) throw EDatabaseError(Component->Name() + ": " + Message);
  throw EDatabaseError(Message);
}
