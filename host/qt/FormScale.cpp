// Font and geometry of a stored form on the screen.
#include "host/qt/FormScale.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "host/qt/QtText.h"
#include "host/visualclx/Button.h"
#include "host/visualclx/Form.h"
#include "host/visualclx/Label.h"

namespace {

constexpr int kSmallestFont = 6;
constexpr int kLargestFont = 200;

// The room a caption needs beyond its text: a button's frame and margins, nothing for a label.
double CaptionMargin(const TControl& control, const QFontMetricsF& metrics) {
  return dynamic_cast<const TButton*>(&control) ? 2 * metrics.averageCharWidth() + 4 : 0;
}

}  // namespace

double AverageCharWidth(const QFont& Font) {
  static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
  return QFontMetricsF(Font).horizontalAdvance(letters) / static_cast<double>(letters.size());
}

QFont FitFont(const QFont& Base, double MaxHeight, double MaxAverageWidth) {
  QFont font = Base;
  int best = kSmallestFont;
  for (int pixels = kSmallestFont; pixels <= kLargestFont; ++pixels) {
    font.setPixelSize(pixels);
    if (MaxHeight > 0 && QFontMetricsF(font).height() > MaxHeight) break;
    if (MaxAverageWidth > 0 && AverageCharWidth(font) > MaxAverageWidth) break;
    best = pixels;
  }
  font.setPixelSize(best);
  return font;
}

TFormScale::TFormScale(const TCustomForm& Form, double ScreenDpi, const QFont& BaseFont) {
  double base = Form.PixelsPerInch() > 0 && ScreenDpi > 0 ? ScreenDpi / Form.PixelsPerInch() : 1.0;
  FFont = Form.TextHeight() > 0 || Form.TextWidth() > 0
              ? FitFont(BaseFont, Form.TextHeight() * base, Form.TextWidth() * base)
              : BaseFont;
  // Grow the geometry until the widest and the tallest caption fit their controls.
  QFontMetricsF metrics(FFont);
  double grow = 1.0;
  for (const TControl* control : Form.AllControls()) {
    bool captioned = dynamic_cast<const TButton*>(control) || dynamic_cast<const TLabel*>(control);
    if (!captioned || control->Caption().empty()) continue;
    double width = control->Width() * base;
    double height = control->Height() * base;
    // One pixel more than the text, as mapped edges may round the width down.
    double neededWidth =
        metrics.horizontalAdvance(VisibleCaption(control->Caption())) + CaptionMargin(*control, metrics) + 1;
    if (width > 0) grow = std::max(grow, neededWidth / width);
    if (height > 0) grow = std::max(grow, (metrics.height() + 1) / height);
  }
  FFactor = base * grow;
}

int TFormScale::Map(int Pixels) const { return static_cast<int>(std::lround(Pixels * FFactor)); }

QRect TFormScale::Map(int Left, int Top, int Width, int Height) const {
  // Edges are mapped, not sizes, so neighbouring controls stay neighbours.
  int left = Map(Left), top = Map(Top);
  return QRect(left, top, Map(Left + Width) - left, Map(Top + Height) - top);
}
