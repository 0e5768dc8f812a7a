// How a stored form's pixels become screen pixels. The font is the largest whose line height
// and average character width fit the form's TextHeight and TextWidth at the screen's
// resolution; the geometry grows by the screen's resolution over the form's PixelsPerInch, and
// further when a caption would not fit its control in that font, so nothing is clipped and the
// form keeps its proportions.
#pragma once

#include <QFont>
#include <QRect>

#include "host/visualclx/Forward.h"

class TFormScale {
 public:
  TFormScale() = default;
  // The scale of Form on a screen of ScreenDpi logical dots per inch, starting from BaseFont.
  TFormScale(const TCustomForm& Form, double ScreenDpi, const QFont& BaseFont);

  double Factor() const { return FFactor; }
  const QFont& Font() const { return FFont; }

  int Map(int Pixels) const;
  QRect Map(int Left, int Top, int Width, int Height) const;

 private:
  double FFactor = 1.0;
  QFont FFont;
};

// The largest pixel size of Base (at least 6) whose line height is at most MaxHeight and whose
// average character width is at most MaxAverageWidth (a limit of 0 or less does not apply).
QFont FitFont(const QFont& Base, double MaxHeight, double MaxAverageWidth);
// The average width of the letters a-z and A-Z in Font.
double AverageCharWidth(const QFont& Font);
