// TQtBevelFrame: the frame of a bevel, drawn as the platform draws it: a box, an etched frame,
// or a line along one edge, lowered or raised.
#pragma once

#include <QFrame>

#include "host/visualclx/Bevel.h"

class TQtBevelFrame : public QFrame {
 public:
  explicit TQtBevelFrame(QWidget* Parent);

  void SetShape(TBevelShape Shape, TBevelStyle Style);
  TBevelShape Shape() const { return FShape; }
  TBevelStyle Style() const { return FStyle; }

 protected:
  void paintEvent(QPaintEvent* Event) override;

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};
