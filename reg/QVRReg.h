// Unit QVRReg: the package's registration with the designer.
#pragma once

namespace QVRReg {

// Puts the table and the database component on the palette page "Tirvendal" and binds the
// property editors to the components' name and link properties.
void Register();

}  // namespace QVRReg
