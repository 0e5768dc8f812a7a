// TBevel: a drawn frame or line that groups controls; it holds nothing and takes no input.
#pragma once

#include "host/visualclx/Control.h"

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

const TEnumInfo& BevelShapeTypeInfo();
const TEnumInfo& BevelStyleTypeInfo();

class TBevel : public TControl {
  TIRVENDAL_CLASS(TBevel)

  explicit TBevel(TComponent* Owner);

  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};
