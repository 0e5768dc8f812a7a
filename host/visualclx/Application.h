// TApplication: the program's application object, owner of what lives as long as the program
// (the dialogs created with it as owner), and the help context it last showed.
#pragma once

#include <string>

#include "host/rtl/Component.h"

class TApplication : public TComponent {
  TIRVENDAL_CLASS(TApplication)

  explicit TApplication(TComponent* Owner) : TComponent(Owner) {}

  // The help context of the topic the application shows for the window in front; 0: none.
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  // A request for help on the topic of Context: the application shows that topic from now on,
  // and the current widget set opens it. 0 names no topic and asks for nothing.
  void ShowHelp(int Context);
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }

 private:
  int FHelpContext = 0;
  std::string FTitle;
};

// The global application object; it frees what it owns when the program ends.
TApplication* Application();
