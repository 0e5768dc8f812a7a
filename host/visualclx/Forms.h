// Unit Forms: forms, their scroll bars, CreateForm and the application object.
#pragma once

#include "host/visualclx/Application.h"
#include "host/visualclx/Controls.h"
#include "host/visualclx/Form.h"
#include "host/visualclx/ScrollingWinControl.h"
