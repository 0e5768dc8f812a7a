// The second stage of reading a form description: tokens to the syntax tree.
#pragma once

#include <string>
#include <string_view>

#include "host/visualclx/forms/FormTree.h"

// Parses a whole description, one root object and nothing after it. Raises EFormError
// "FILE:LINE: message" naming the offending token: "expected '=' but found 'x'".
TFormObject ParseForm(std::string_view Text, const std::string& FileName);
