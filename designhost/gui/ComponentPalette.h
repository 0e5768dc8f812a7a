// TComponentPalette: the palette's pages as tabs, each with a button per registered component
// class; pressing one (click, or Space/Enter on the focused button) asks for a component of it.
#pragma once

#include <QTabWidget>
#include <functional>
#include <string>

#include "host/rtl/Forward.h"

class QAbstractButton;

// Puts the platform's own non-visual components that the design window offers on the palette
// (TDataSource, page "Data Access"), unless a package already did. Calling it again is harmless.
void RegisterPlatformComponents();

class TComponentPalette : public QTabWidget {
 public:
  explicit TComponentPalette(QWidget* Parent = nullptr);

  // Shows the palette's pages and classes as they are registered now.
  void Reload();
  // The button of the class of that name, nil when the palette has none.
  QAbstractButton* ButtonOf(const std::string& ClassName) const;

  // Told which class a button asks for.
  std::function<void(TClass)> OnPick;
};
