// TDataModule's class record and its creation and destruction events.
#include "host/visualclx/DataModule.h"

#include "host/rtl/Classes.h"

TClass TDataModule::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDataModule>(TComponent::StaticClass())
                                     .Component()
                                     .Integer("Left", &TDataModule::Left, &TDataModule::SetLeft)
                                     .Integer("Top", &TDataModule::Top, &TDataModule::SetTop)
                                     .Integer("Width", &TDataModule::Width, &TDataModule::SetWidth)
                                     .Integer("Height", &TDataModule::Height, &TDataModule::SetHeight)
                                     .Event("OnCreate", &TDataModule::OnCreate)
                                     .Event("OnDestroy", &TDataModule::OnDestroy)
                                     .Build();
  return &info;
}

void TDataModule::Loaded() {
  TComponent::Loaded();
  if (!ComponentState().Contains(csDesigning)) OnCreate(this);
}

void TDataModule::DoDestroy() {
  if (FDestroyed || ComponentState().Contains(csDesigning)) return;
  FDestroyed = true;
  OnDestroy(this);
}

void RegisterDataModuleClasses() { RegisterClass(TDataModule::StaticClass()); }
