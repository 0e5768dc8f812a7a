// How designhost prints what it lists: text lines whose fields stay one line each, or JSON.
#pragma once

#include <string>
#include <string_view>

// A value as a field of a line format: a backslash, a tab and a line feed inside it become
// "\\", "\t" and "\n", so one record stays one line and TAB still splits the fields.
std::string EscapeField(std::string_view Text);
