// Unit QVRReg: the package's registration with the designer.
#pragma once

#include <vector>

struct THelpTopic;

namespace QVRReg {

// Puts the table and the database component on the palette page "Tirvendal" and binds the
// property editors to the components' name and link properties.
void Register();

// The topics of the help contexts the package's editors and dialogs ask for.
const std::vector<THelpTopic>& HelpTopics();

}  // namespace QVRReg
