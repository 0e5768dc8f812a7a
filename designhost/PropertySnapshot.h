// The property values of a form's components, taken before and after an editor ran, and what
// changed between the two.
#pragma once

#include <map>
#include <string>

#include "host/visualclx/forms/FormDocument.h"

// The text of every published property of the form's components, by "Component.Property".
std::map<std::string, std::string> PropertySnapshot(const TFormDocument& Document);

// The entries of After that differ from Before (or are new).
std::map<std::string, std::string> Changes(const std::map<std::string, std::string>& Before,
                                           const std::map<std::string, std::string>& After);
