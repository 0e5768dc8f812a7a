// TColor: the colours a stored form names. The model keeps colours by name (the widget set
// decides what clButton looks like), so a colour is one of these values, stored as its name.
#pragma once

#include "host/rtl/Object.h"

enum TColor {
  clBlack,
  clMaroon,
  clGreen,
  clOlive,
  clNavy,
  clPurple,
  clTeal,
  clGray,
  clSilver,
  clRed,
  clLime,
  clYellow,
  clBlue,
  clFuchsia,
  clAqua,
  clWhite,
  // The roles of the desktop's colour scheme.
  clBackground,
  clForeground,
  clButton,
  clButtonText,
  clBase,
  clText,
  clHighlight,
  clHighlightedText,
  clLight,
  clMidlight,
  clDark,
  clMid,
  clShadow,
  clWindow,
  clWindowText,
  clNone,
  clDefault
};

const TEnumInfo& ColorTypeInfo();
