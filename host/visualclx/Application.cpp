// The global application object.
#include "host/visualclx/Application.h"

#include "host/rtl/TypInfo.h"
#include "host/visualclx/WidgetSet.h"

TClass TApplication::StaticClass() {
  static const TClassInfo info = TClassBuilder<TApplication>(TComponent::StaticClass())
                                     .Integer("HelpContext", &TApplication::HelpContext, &TApplication::SetHelpContext)
                                     .String("Title", &TApplication::Title, &TApplication::SetTitle)
                                     .Build();
  return &info;
}

void TApplication::ShowHelp(int Context) {
  if (Context == 0) return;
  FHelpContext = Context;
  WidgetSet().ShowHelp(Context);
}

TApplication* Application() {
  static TApplication application(nullptr);
  return &application;
}
