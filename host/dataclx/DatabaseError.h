// The data-access layer's error: EDatabaseError and DatabaseError, which names the component.
#pragma once

#include <string>

#include "host/rtl/Forward.h"
#include "host/rtl/SysUtils.h"

TIRVENDAL_EXCEPTION(EDatabaseError, Exception);

// Raises EDatabaseError with Message, prefixed by the component's name when it has one:
// "Orders: Missing MasterSource or DataSource".
[[noreturn]] void DatabaseError(const std::string& Message, TComponent* Component = nullptr);
