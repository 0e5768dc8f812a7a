// The design window's undo and redo steps.
#include "designhost/gui/UndoHistory.h"

void TUndoHistory::Record(TStep Step) {
  FSteps.resize(FDone);
  if (FClean && *FClean > FDone) FClean.reset();  // the saved state was among the dropped steps
  FSteps.push_back(std::move(Step));
  ++FDone;
  if (FSteps.size() > FLimit) {
    FSteps.erase(FSteps.begin());
    --FDone;
    if (FClean) FClean = *FClean == 0 ? std::optional<size_t>() : std::optional<size_t>(*FClean - 1);
  }
}

void TUndoHistory::Clear(bool Clean) {
  FSteps.clear();
  FDone = 0;
  FClean = Clean ? std::optional<size_t>(0) : std::nullopt;
}
