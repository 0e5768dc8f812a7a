// TUndoHistory: the design window's undo and redo. Every change of the form (a property value,
// a component added, deleted or renamed, what a dialog wrote back) is one step holding the
// form's text and selection before and after it, so undoing reads the form back as it was,
// whatever the change touched. It also knows the step at which the form was last saved, so the
// modified marker is exact after undoing back to it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class TUndoHistory {
 public:
  // A state of the form: its text as stored, and the names of the selected components.
  struct TState {
    std::string Text;
    std::vector<std::string> Selection;
  };
  struct TStep {
    std::string Label;  // what the change was, for the menu: "set IndexName"
    TState Before;
    TState After;
  };

  // At most Limit steps are kept; the oldest go first.
  explicit TUndoHistory(size_t Limit = 100) : FLimit(Limit) {}

  // A change was made: the steps undone so far are dropped, Step becomes the one to undo.
  void Record(TStep Step);
  bool CanUndo() const { return FDone > 0; }
  bool CanRedo() const { return FDone < FSteps.size(); }
  // The step Undo or Redo would take back or make again; only when CanUndo / CanRedo.
  const TStep& UndoStep() const { return FSteps[FDone - 1]; }
  const TStep& RedoStep() const { return FSteps[FDone]; }
  // Moves past the step once it was taken back or made again.
  void Undone() { --FDone; }
  void Redone() { ++FDone; }

  // The form as it is now was saved (or read).
  void MarkClean() { FClean = FDone; }
  // The form is as it was when last saved: no step lies between.
  bool Clean() const { return FClean == FDone; }
  // Forgets every step: another form was read. Clean: it is as saved (else it holds changes
  // that were never saved and cannot be undone).
  void Clear(bool Clean = true);

 private:
  size_t FLimit;
  std::vector<TStep> FSteps;
  size_t FDone = 0;
  std::optional<size_t> FClean = 0;  // none: the saved state's steps were dropped
};
