// How designhost prints: the fields of its line formats, and text for the terminal.
#pragma once

#include <string>
#include <string_view>

// A value as a field of a line format: a backslash, a tab and a line feed inside it become
// "\\", "\t" and "\n", so one record stays one line and TAB still splits the fields.
std::string EscapeField(std::string_view Text);

// Text for the terminal: control characters (from a form, a script, a file name) as \xNN.
std::string Printable(std::string_view Text);
