// How the design window reports an error: a message box through the current widget set.
#pragma once

#include <exception>
#include <functional>
#include <string>

// Shows Message in an error box; when no box can be shown it goes to stderr instead.
void ShowErrorMessage(const std::string& Message);
// Shows the message of the error in flight (inside a catch block).
void ShowCurrentError();
// Runs Action; an error it raises is shown and makes the answer false.
bool RunShowingErrors(const std::function<void()>& Action);
