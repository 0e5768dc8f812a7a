// Unit ExtCtrls: the bevel.
#pragma once

#include "host/visualclx/Bevel.h"
