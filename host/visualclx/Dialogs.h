// Unit Dialogs: message boxes and the open-file dialog.
#pragma once

#include "host/visualclx/MessageDlg.h"
#include "host/visualclx/OpenDialog.h"
