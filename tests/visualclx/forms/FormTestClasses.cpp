// The form tests' component classes and their class records.
#include "tests/visualclx/forms/FormTestClasses.h"

namespace {

const TEnumInfo& ColorInfo() {
  static const TEnumInfo info{"TFtColor", {"ftRed", "ftGreen", "ftBlue"}};
  return info;
}

const TEnumInfo& StyleInfo() {
  static const TEnumInfo info{"TFtStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
  return info;
}

int NextSerial() {
  static int serial = 0;
  return ++serial;
}

}  // namespace

TClass TFtRange::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFtRange>(TPersistent::StaticClass())
                                     .Integer("Min", &TFtRange::Min, &TFtRange::SetMin)
                                     .Integer("Max", &TFtRange::Max, &TFtRange::SetMax, 100)
                                     .Build();
  return &info;
}

TClass TFtSource::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFtSource>(TComponent::StaticClass())
                                     .Component()
                                     .String("Text", &TFtSource::Text, &TFtSource::SetText)
                                     .Build();
  return &info;
}

TClass TFtWidget::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFtWidget>(TComponent::StaticClass())
                                     .Component()
                                     .String("Caption", &TFtWidget::Caption, &TFtWidget::SetCaption)
                                     .String("Hint", &TFtWidget::Hint, &TFtWidget::SetHint)
                                     .NotStored()
                                     .Integer("Count", &TFtWidget::Count, &TFtWidget::SetCount)
                                     .Integer("Size", &TFtWidget::Size, &TFtWidget::SetSize, 10)
                                     .Integer("Limit", &TFtWidget::Limit, &TFtWidget::SetLimit)
                                     .Integer("Serial", &TFtWidget::Serial, nullptr)
                                     .Boolean("Visible", &TFtWidget::Visible, &TFtWidget::SetVisible, true)
                                     .Boolean("FailOnLoad", &TFtWidget::FailOnLoad, &TFtWidget::SetFailOnLoad)
                                     .Enum("Color", &TFtWidget::Color, &TFtWidget::SetColor, ColorInfo(), ftRed)
                                     .Set("Styles", &TFtWidget::Styles, &TFtWidget::SetStyles, StyleInfo(), "TFtStyles")
                                     .Object<TFtWidget>("Buddy", &TFtWidget::Buddy, &TFtWidget::SetBuddy)
                                     .Object<TFtSource>("Source", &TFtWidget::Source, &TFtWidget::SetSource)
                                     .Object<TFtRange>("Range", &TFtWidget::Range, nullptr)
                                     .Object<TStrings>("Items", &TFtWidget::Items, nullptr)
                                     .Event("OnClick", &TFtWidget::OnClick)
                                     .Event("OnChange", &TFtWidget::OnChange)
                                     .Build();
  return &info;
}

TClass TFtModule::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFtModule>(TDataModule::StaticClass())
                                     .Component()
                                     .String("Title", &TFtModule::Title, &TFtModule::SetTitle)
                                     .Object<TStrings>("Notes", &TFtModule::Notes, nullptr)
                                     .Object<TFtWidget>("Main", &TFtModule::Main, &TFtModule::SetMain)
                                     .Method("ButtonClick", &TFtModule::ButtonClick)
                                     .Method("ModuleCreate", &TFtModule::ModuleCreate)
                                     .Field("Button1", &TFtModule::Button1)
                                     .Field("Source1", &TFtModule::Source1)
                                     .Build();
  return &info;
}

TFtWidget::TFtWidget(TComponent* Owner) : TComponent(Owner), FSerial(NextSerial()) {}

TFtWidget::~TFtWidget() {
  SetBuddy(nullptr);
  SetSource(nullptr);
}

void TFtWidget::SetCaption(const std::string& Value) {
  FCaption = Value;
  FCaptionSetWhileLoading = ComponentState().Contains(csLoading);
}

void TFtWidget::SetLimit(int Value) {
  if (Value < 0) throw EPropertyError("Limit must not be negative");
  FLimit = Value;
}

void TFtWidget::SetBuddy(TFtWidget* Value) {
  if (FBuddy) FBuddy->RemoveFreeNotification(this);
  FBuddy = Value;
  if (FBuddy) FBuddy->FreeNotification(this);
}

void TFtWidget::SetSource(TFtSource* Value) {
  if (FSource) FSource->RemoveFreeNotification(this);
  FSource = Value;
  if (FSource) FSource->FreeNotification(this);
}

void TFtWidget::Loaded() {
  TComponent::Loaded();
  FtLoadLog().push_back(Name());
  if (FFailOnLoad) throw EComponentError("Cannot load " + Name());
}

void TFtWidget::Notification(TComponent* Component, TOperation Operation) {
  TComponent::Notification(Component, Operation);
  if (Operation != opRemove) return;
  if (Component == FBuddy) FBuddy = nullptr;
  if (Component == FSource) FSource = nullptr;
}

void TFtModule::SetMain(TFtWidget* Value) {
  if (FMain) FMain->RemoveFreeNotification(this);
  FMain = Value;
  if (FMain) FMain->FreeNotification(this);
}

void TFtModule::Loaded() {
  FtLoadLog().push_back(Name());
  TDataModule::Loaded();
}

void TFtModule::Notification(TComponent* Component, TOperation Operation) {
  TDataModule::Notification(Component, Operation);
  if (Operation == opRemove && Component == FMain) FMain = nullptr;
}

std::vector<std::string>& FtLoadLog() {
  static std::vector<std::string> log;
  return log;
}

void RegisterFormTestClasses() {
  RegisterRtlClasses();
  RegisterDataModuleClasses();
  RegisterClasses(
      {TFtRange::StaticClass(), TFtWidget::StaticClass(), TFtSource::StaticClass(), TFtModule::StaticClass()});
}
