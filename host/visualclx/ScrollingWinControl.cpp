// TScrollingWinControl and its scroll bars.
#include "host/visualclx/ScrollingWinControl.h"

#include "host/rtl/TypInfo.h"

TClass TControlScrollBar::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TControlScrollBar>(TPersistent::StaticClass())
          .Integer("Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange)
          .Boolean("Visible", &TControlScrollBar::Visible, &TControlScrollBar::SetVisible, true)
          .Build();
  return &info;
}

void TControlScrollBar::SetRange(int Value) {
  if (Value == FRange) return;
  FRange = Value;
  FControl->Changed(TControlChange::Property);
}

void TControlScrollBar::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  FControl->Changed(TControlChange::Property);
}

void TControlScrollBar::Assign(const TPersistent* Source) {
  if (auto* other = dynamic_cast<const TControlScrollBar*>(Source)) {
    SetRange(other->FRange);
    SetVisible(other->FVisible);
    return;
  }
  TPersistent::Assign(Source);
}

TPersistent* TControlScrollBar::GetOwner() const { return FControl; }

TClass TScrollingWinControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TScrollingWinControl>(TWinControl::StaticClass())
          .Object<TControlScrollBar>("HorzScrollBar", &TScrollingWinControl::HorzScrollBar, nullptr)
          .Object<TControlScrollBar>("VertScrollBar", &TScrollingWinControl::VertScrollBar, nullptr)
          .Build();
  return &info;
}

TScrollingWinControl::TScrollingWinControl(TComponent* Owner)
    : TWinControl(Owner),
      FHorzScrollBar(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      FVertScrollBar(std::make_unique<TControlScrollBar>(this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() = default;
