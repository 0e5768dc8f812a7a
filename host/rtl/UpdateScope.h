// TUpdateScope: a BeginUpdate/EndUpdate bracket (of a string list, a collection) as a scope
// object, so an exception cannot leave the bracket open.
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
