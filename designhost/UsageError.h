// The error of a command called wrongly: designhost answers it with the command's usage and
// exit status 2.
#pragma once

#include "host/rtl/SysUtils.h"

// A problem with how designhost was called (exit status 2).
TIRVENDAL_EXCEPTION(EUsageError, Exception);
