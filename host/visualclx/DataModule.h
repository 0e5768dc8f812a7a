// TDataModule: the root of a form without a window, holding non-visual components (databases,
// tables, data sources) that a stored description creates and the designer edits.
#pragma once

#include "host/rtl/Component.h"

class TDataModule : public TComponent {
  TIRVENDAL_CLASS(TDataModule)

  explicit TDataModule(TComponent* Owner) : TComponent(Owner) {}

  // Where the designer shows the module; stored with it, meaningless at run time.
  int Left() const { return FLeft; }
  void SetLeft(int Value) { FLeft = Value; }
  int Top() const { return FTop; }
  void SetTop(int Value) { FTop = Value; }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { FHeight = Value; }

  // OnCreate runs once the stored description has been read (not while designing).
  // OnDestroy runs from DoDestroy: a module class calls it at the start of its destructor,
  // while the published methods the handler may name still exist.
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

  void Loaded() override;
  void DoDestroy();

 private:
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  bool FDestroyed = false;
};

// Makes TDataModule known to the class registry, so stored descriptions can name it.
void RegisterDataModuleClasses();
