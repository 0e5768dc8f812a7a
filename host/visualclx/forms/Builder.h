// The third stage of reading a form description: the syntax tree applied to components.
#pragma once

#include <string>

#include "host/rtl/Component.h"
#include "host/visualclx/forms/FormTree.h"

// Applies Tree to Root as ReadComponent describes; a failed build frees what it created and
// puts Root's changed properties back, then raises EFormError "FILE:LINE: message".
void BuildComponent(TComponent* Root, const TFormObject& Tree, const std::string& FileName);
// The same for a tree nobody needs afterwards: its nested objects are emptied as their
// components are made, so that a large form is not held as a tree and as components at once.
void BuildComponent(TComponent* Root, TFormObject&& Tree, const std::string& FileName);

// A new component of the class Node names (registered, a component), owned by Owner.
TComponent* CreateFormComponent(const TFormObject& Node, TComponent* Owner, const std::string& FileName);
