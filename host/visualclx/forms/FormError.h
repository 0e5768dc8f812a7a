// The error raised when a stored form description cannot be read: "FILE:LINE: message",
// naming the file, the line and what was wrong there.
#pragma once

#include <string>

#include "host/rtl/SysUtils.h"

TIRVENDAL_EXCEPTION(EFormError, Exception);

// Raises EFormError "FileName:Line: Message".
[[noreturn]] void FormError(const std::string& FileName, int Line, const std::string& Message);
