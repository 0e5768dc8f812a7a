// TScrollingWinControl: a window whose contents may be larger than the window, with its two
// scroll bars (TControlScrollBar) as sub-objects that a stored form sets by path
// ("HorzScrollBar.Range = 348").
#pragma once

#include <memory>

#include "host/rtl/Persistent.h"
#include "host/visualclx/WinControl.h"

enum TScrollBarKind { sbHorizontal, sbVertical };

class TControlScrollBar : public TPersistent {
  TIRVENDAL_CLASS(TControlScrollBar)

  TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind) : FControl(Control), FKind(Kind) {}

  TScrollBarKind Kind() const { return FKind; }
  // The extent of the contents along the bar, in pixels; 0: as large as the window.
  int Range() const { return FRange; }
  void SetRange(int Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  void Assign(const TPersistent* Source) override;
  TPersistent* GetOwner() const override;

 private:
  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  int FRange = 0;
  bool FVisible = true;
};

class TScrollingWinControl : public TWinControl {
  TIRVENDAL_CLASS(TScrollingWinControl)

  explicit TScrollingWinControl(TComponent* Owner);
  ~TScrollingWinControl() override;

  TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
  TControlScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }

 private:
  std::unique_ptr<TControlScrollBar> FHorzScrollBar;
  std::unique_ptr<TControlScrollBar> FVertScrollBar;
};
