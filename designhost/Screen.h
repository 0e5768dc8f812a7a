// The real screen, for the commands that show windows to a person or render them to pictures.
#pragma once

#include <memory>
#include <string>

#include "host/visualclx/WidgetSet.h"

// The widget set that shows windows to a person on the display; raises EUsageError naming
// what is missing when there is no display.
std::unique_ptr<TWidgetSet> OpenScreenWidgetSet();

// A widget set that passes everything to Inner and renders each window state it passes
// through to a numbered PNG file in Dir.
std::unique_ptr<TWidgetSet> RecordScreenshots(TWidgetSet& Inner, const std::string& Dir);
