// The names of TColor's values, as stored forms write them.
#include "host/visualclx/Color.h"

const TEnumInfo& ColorTypeInfo() {
  static const TEnumInfo info{
      "TColor", {"clBlack",      "clMaroon",     "clGreen",  "clOlive", "clNavy",       "clPurple",
                 "clTeal",       "clGray",       "clSilver", "clRed",   "clLime",       "clYellow",
                 "clBlue",       "clFuchsia",    "clAqua",   "clWhite", "clBackground", "clForeground",
                 "clButton",     "clButtonText", "clBase",   "clText",  "clHighlight",  "clHighlightedText",
                 "clLight",      "clMidlight",   "clDark",   "clMid",   "clShadow",     "clWindow",
                 "clWindowText", "clNone",       "clDefault"}};
  return info;
}
