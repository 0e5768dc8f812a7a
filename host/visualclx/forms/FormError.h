// The error raised when a stored form description cannot be read: "FILE:LINE: message",
// naming the file, the line and what was wrong there.
#pragma once

#include <string>

#include "host/rtl/FileLineError.h"

TIRVENDAL_EXCEPTION(EFormError, EFileLineError);

// Raises EFormError "FileName:Line: Message".
[[noreturn]] void FormError(const std::string& FileName, int Line, const std::string& Message);
