// TNestingScope: counts one level of something in progress for the life of a scope, so an
// exception can never leave the counter raised ("the list is being refilled", "the window
// is mirroring the model").
#pragma once

class TNestingScope {
 public:
  explicit TNestingScope(int& Counter) : FCounter(Counter) { ++FCounter; }
  ~TNestingScope() { --FCounter; }
  TNestingScope(const TNestingScope&) = delete;
  TNestingScope& operator=(const TNestingScope&) = delete;

 private:
  int& FCounter;
};
