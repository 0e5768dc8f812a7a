// The edit and gui commands: they need the widget sets, which are not all there yet.
#include "designhost/Commands.h"
#include "designhost/FormDocument.h"

int RunEdit(const TEditOptions& Options) { throw EUsageError("edit is not available in this build"); }

int RunGui(const TGuiOptions& Options) { throw EUsageError("gui is not available in this build"); }
