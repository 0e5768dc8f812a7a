// Without the Qt widget set there is no screen: the commands say so.
#include "designhost/Screen.h"

#include "designhost/FormDocument.h"

std::unique_ptr<TWidgetSet> OpenScreenWidgetSet() {
  throw EUsageError("showing dialogs needs a display; give the answers with --script FILE instead");
}

std::unique_ptr<TWidgetSet> RecordScreenshots(TWidgetSet&, const std::string&) {
  throw EUsageError("--screenshot is not available in this build");
}
