// The process-wide current widget set; the headless one stands in when none is installed.
#include "host/visualclx/WidgetSet.h"

#include "host/visualclx/HeadlessWidgetSet.h"

namespace {

TWidgetSet*& Current() {
  static TWidgetSet* current = nullptr;
  return current;
}

}  // namespace

TWidgetSet& WidgetSet() {
  static THeadlessWidgetSet headless;
  TWidgetSet* current = Current();
  return current ? *current : headless;
}

TWidgetSet* SetWidgetSet(TWidgetSet* Set) {
  TWidgetSet* previous = Current();
  Current() = Set;
  return previous;
}
