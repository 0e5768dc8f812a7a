// TBevel's shape and style.
#include "host/visualclx/Bevel.h"

#include "host/rtl/TypInfo.h"

const TEnumInfo& BevelShapeTypeInfo() {
  static const TEnumInfo info{
      "TBevelShape", {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"}};
  return info;
}

const TEnumInfo& BevelStyleTypeInfo() {
  static const TEnumInfo info{"TBevelStyle", {"bsLowered", "bsRaised"}};
  return info;
}

TClass TBevel::StaticClass() {
  static const TClassInfo info = TClassBuilder<TBevel>(TControl::StaticClass())
                                     .Component()
                                     .Enum("Shape", &TBevel::Shape, &TBevel::SetShape, BevelShapeTypeInfo(), bsBox)
                                     .Enum("Style", &TBevel::Style, &TBevel::SetStyle, BevelStyleTypeInfo(), bsLowered)
                                     .Build();
  return &info;
}

TBevel::TBevel(TComponent* Owner) : TControl(Owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape Value) {
  if (Value == FShape) return;
  FShape = Value;
  Changed(TControlChange::Property);
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed(TControlChange::Property);
}
