// TUpdateScope: a BeginUpdate/EndUpdate bracket (of a string list, a collection, a count of
// work in progress) as a scope object, so an exception cannot leave the bracket open.
#pragma once

template <class T>
class TUpdateScope {
 public:
  explicit TUpdateScope(T* Target) : FTarget(Target) { FTarget->BeginUpdate(); }
  ~TUpdateScope() { FTarget->EndUpdate(); }
  TUpdateScope(const TUpdateScope&) = delete;
  TUpdateScope& operator=(const TUpdateScope&) = delete;

 private:
  T* FTarget;
};

// How deep some work is in progress ("the list is being refilled", "the window is mirroring
// the model"), so that what it sets off can tell itself from a person's doing. Bracket it
// with TUpdateScope.
class TUpdateCount {
 public:
  void BeginUpdate() { ++FCount; }
  void EndUpdate() { --FCount; }
  bool Updating() const { return FCount > 0; }

 private:
  int FCount = 0;
};
