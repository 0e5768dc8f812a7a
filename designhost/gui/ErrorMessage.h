// How the design window reports an error: a message box through the current widget set.
#pragma once

#include <exception>
#include <string>

// Shows Message in an error box; when no box can be shown it goes to stderr instead.
void ShowErrorMessage(const std::string& Message);
// Shows the message of the error in flight (inside a catch block).
void ShowCurrentError();
