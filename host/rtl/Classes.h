// Classes: the class registry (names to class records) and component registration.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "host/rtl/Collection.h"
#include "host/rtl/Component.h"
#include "host/rtl/Strings.h"
#include "host/rtl/TypInfo.h"

// Makes a class findable by name (as stored forms name it). Registering again is harmless.
void RegisterClass(TClass Class);
void RegisterClasses(std::initializer_list<TClass> Classes);
void UnRegisterClass(TClass Class);
// The registered class of that name (case-insensitive), or nil.
TClass GetClass(std::string_view Name);
// As GetClass, but raises EClassNotFound "Class X not found".
TClass FindClass(std::string_view Name);

// Puts component classes on a palette page. The designer installs the procedure that does it;
// without one, registration raises EComponentError.
using TRegisterComponentsProc = std::function<void(const std::string& Page, const std::vector<TClass>& Classes)>;
void SetRegisterComponentsProc(TRegisterComponentsProc Proc);
void RegisterComponents(const std::string& Page, std::initializer_list<TClass> Classes);

// Registers the run-time library's own classes; each library has such a call, so nothing
// depends on the order of static initialisation.
void RegisterRtlClasses();
