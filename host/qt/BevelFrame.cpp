// TQtBevelFrame: drawing a bevel.
#include "host/qt/BevelFrame.h"

#include <QPainter>

TQtBevelFrame::TQtBevelFrame(QWidget* Parent) : QFrame(Parent) {
  setFrameShape(QFrame::NoFrame);
  setAttribute(Qt::WA_TransparentForMouseEvents);  // it takes no input
  setFocusPolicy(Qt::NoFocus);
}

void TQtBevelFrame::SetShape(TBevelShape Shape, TBevelStyle Style) {
  if (Shape == FShape && Style == FStyle) return;
  FShape = Shape;
  FStyle = Style;
  update();
}

void TQtBevelFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Lowered: shadow on the top and left edges, light on the bottom and right; raised: reversed.
  QColor shadow = palette().color(QPalette::Dark);
  QColor light = palette().color(QPalette::Light);
  if (FStyle == bsRaised) std::swap(shadow, light);
  int right = width() - 1;
  int bottom = height() - 1;
  auto box = [&](int l, int t, int r, int b, const QColor& topLeft, const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(l, t, r, t);
    painter.drawLine(l, t, l, b);
    painter.setPen(bottomRight);
    painter.drawLine(l, b, r, b);
    painter.drawLine(r, t, r, b);
  };
  auto line = [&](int x1, int y1, int x2, int y2, int dx, int dy) {
    painter.setPen(shadow);
    painter.drawLine(x1, y1, x2, y2);
    painter.setPen(light);
    painter.drawLine(x1 + dx, y1 + dy, x2 + dx, y2 + dy);
  };
  switch (FShape) {
    case bsBox:
      box(0, 0, right, bottom, shadow, light);
      break;
    case bsFrame:
      // Etched: a shadow frame with a light one beside it.
      box(0, 0, right - 1, bottom - 1, shadow, shadow);
      box(1, 1, right, bottom, light, light);
      break;
    case bsTopLine:
      line(0, 0, right, 0, 0, 1);
      break;
    case bsBottomLine:
      line(0, bottom - 1, right, bottom - 1, 0, 1);
      break;
    case bsLeftLine:
      line(0, 0, 0, bottom, 1, 0);
      break;
    case bsRightLine:
      line(right - 1, 0, right - 1, bottom, 1, 0);
      break;
    case bsSpacer:
      break;
  }
}
