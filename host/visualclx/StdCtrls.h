// Unit StdCtrls: list box, combo box, button and label.
#pragma once

#include "host/visualclx/Button.h"
#include "host/visualclx/ComboBox.h"
#include "host/visualclx/Label.h"
#include "host/visualclx/ListBox.h"
#include "host/visualclx/ListControlItems.h"
