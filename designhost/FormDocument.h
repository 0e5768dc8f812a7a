// What the designhost commands do with the form they work on: open it, select from it, take a
// snapshot of its property values.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/rtl/Component.h"
#include "host/visualclx/forms/FormDocument.h"

// A problem with how designhost was called (exit status 2).
TIRVENDAL_EXCEPTION(EUsageError, Exception);

// Reads the form a command works on and prints its load warnings on stderr
// ("warning: COMPONENT: MESSAGE"). A command that may save it opens it for writing.
std::unique_ptr<TFormDocument> OpenForm(const std::filesystem::path& File, TFormDocument::TAccess Access);

// The components of a selection "A[,B...]", first is component 0; raises EUsageError for a
// name that is no component of the form.
std::vector<TComponent*> SelectComponents(const TFormDocument& Document, const std::string& Selection);

// The components of Root's form named by a selection "A[,B...]"; EUsageError naming FormName
// for a name that is no component of it.
std::vector<TComponent*> SelectComponents(TComponent* Root, const std::string& Selection, const std::string& FormName);

// The text of every published property of the form's components, by "Component.Property".
std::map<std::string, std::string> PropertySnapshot(const TFormDocument& Document);

// Splits "SEL.PROP" at its first dot: component names hold none, a property path may.
std::pair<std::string, std::string> SplitSelectionProperty(const std::string& Argument);

// The entries of After that differ from Before (or are new).
std::map<std::string, std::string> Changes(const std::map<std::string, std::string>& Before,
                                           const std::map<std::string, std::string>& After);

// Text for the terminal: control characters (from a form, a script, a file name) as \xNN.
std::string Printable(std::string_view Text);
