// The one-line JSON texts in which the scripted user shows the window on top: a form with its
// controls, an open-file dialog, a message box.
#pragma once

#include <string>

#include "host/visualclx/Forward.h"

// {"window":"form","name":..,"class":..,"caption":..,"helpContext":N,"activeControl":NAME|null,
//  "controls":[...]}: every control in creation order with name, class, visible, enabled, left,
// top, width, height, and by kind: list box items, itemIndex, multiSelect, selected (positions);
// combo box items, itemIndex, text; button caption, default, cancel, modalResult; label caption.
std::string FormJson(const TCustomForm& Form);
// {"window":"open-file","filter":..,"defaultExt":..,"options":[names],"fileName":..}
std::string OpenDialogJson(const TOpenDialog& Dialog);
// {"window":"message","type":"error","text":..,"buttons":["OK"]}
std::string MessageBoxJson(const TMessageBox& Box);
// {"window":"open-file","refused":PATH,"reason":..}: the open-file dialog refused a path.
std::string FileRefusedJson(const std::string& Path, const std::string& Reason);
// {"window":"help","context":N}: help was asked for on the topic of help context N.
std::string HelpJson(int Context);
