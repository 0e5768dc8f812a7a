// Reading a stored form description into components, and writing components back as one.
// The text format: `object NAME: CLASS` ... `end`, property lines `PATH = VALUE`.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/rtl/Component.h"
#include "host/visualclx/forms/FormError.h"

// Reads Text into Root: Root's own properties, then each nested object, created through the
// class registry with Root as owner, in stored order. A nested object's enclosing object
// becomes its parent component (SetParentComponent). Events bind to published methods of Root,
// published fields of Root are filled by component name, and component references are resolved
// after the whole text is read; then every created component and Root get Loaded().
// The root's stored class must be Root's class or an ancestor of it.
// Errors raise EFormError with "FILE:LINE: message"; Root keeps nothing of a failed read
// (the components it created are freed again).
void ReadComponent(TComponent* Root, std::string_view Text, const std::string& FileName);

// Creates the root object of the stored class (which must be registered and a component),
// owned by Owner, and reads Text into it. Folder becomes the root's FormFolder before
// anything of it loads.
std::unique_ptr<TComponent> ReadRootComponent(std::string_view Text, const std::string& FileName,
                                              TComponent* Owner = nullptr, const std::string& Folder = {});

// True for a class property that names another component of the form (a component class with
// a setter); any other class property holds a sub-object whose properties are stored as paths.
bool IsComponentReference(const TPropInfo* Prop);

// Writes Root and the components it owns (nested under their parent component when that is
// not Root), leaving out properties at their default; reading the text back gives the same state.
std::string WriteComponent(const TComponent* Root);

// A string value as a form stores it: quoted pieces with '' for a quote, control characters as
// #N codes.
std::string QuoteString(std::string_view Text);
