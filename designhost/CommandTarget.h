// What a designhost command works on: the form it opens, the components it selects from it and
// the property it names.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "designhost/UsageError.h"
#include "host/rtl/Component.h"
#include "host/visualclx/forms/FormDocument.h"

// Reads the form a command works on and prints its load warnings on stderr
// ("warning: COMPONENT: MESSAGE"). A command that may save it opens it for writing.
std::unique_ptr<TFormDocument> OpenForm(const std::filesystem::path& File, TFormDocument::TAccess Access);

// The components of a selection "A[,B...]", first is component 0; raises EUsageError for a
// name that is no component of the form.
std::vector<TComponent*> SelectComponents(const TFormDocument& Document, const std::string& Selection);

// The components of Root's form named by a selection "A[,B...]"; EUsageError naming FormName
// for a name that is no component of it.
std::vector<TComponent*> SelectComponents(TComponent* Root, const std::string& Selection, const std::string& FormName);

// Splits "SEL.PROP" at its first dot: component names hold none, a property path may.
std::pair<std::string, std::string> SplitSelectionProperty(const std::string& Argument);
