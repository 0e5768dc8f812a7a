// Unit Controls: the control base classes, colours and modal results.
#pragma once

#include "host/visualclx/Color.h"
#include "host/visualclx/Control.h"
#include "host/visualclx/ModalResult.h"
#include "host/visualclx/WinControl.h"
