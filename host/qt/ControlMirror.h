// The mirrors: one per control of a shown form, keeping a Qt widget in step with the control
// and passing the widget's user input to the control's User* entry points.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "host/visualclx/Control.h"

class TQtFormWindow;

class TControlMirror {
 public:
  // Widget shows Control and belongs to the mirror; the mirror observes Control until it goes.
  TControlMirror(TQtFormWindow& Window, TControl& Control, QWidget* Widget);
  virtual ~TControlMirror();
  TControlMirror(const TControlMirror&) = delete;
  TControlMirror& operator=(const TControlMirror&) = delete;

  TControl& Control() const { return FControl; }
  // Nil once Qt has deleted it with the widget of a window that went away.
  QWidget* Widget() const { return FWidget.data(); }

  // Applies one change of the control to the widget.
  void Update(TControlChange Change);
  // Brings the widget fully into step with the control.
  void UpdateAll();
  // Places the widget at the control's bounds, scaled for the screen.
  void UpdateGeometry();

 protected:
  virtual void UpdateCaption() {}
  virtual void UpdateItems() {}
  virtual void UpdateItemIndex() {}
  virtual void UpdateSelection() {}
  virtual void UpdateProperties() {}

  TQtFormWindow& FWindow;

 private:
  TControl& FControl;
  QPointer<QWidget> FWidget;  // owned, unless its parent widget was deleted first
  int FObserver;
};

// Makes the mirror that fits Control's kind, its widget a child of Parent.
std::unique_ptr<TControlMirror> MakeMirror(TQtFormWindow& Window, TControl& Control, QWidget* Parent);
