// Component classes that the form reader and writer tests (and the reader's fuzz target) read
// and write: one of each kind of published property, a parent relation, and a module root
// with published methods and fields.
#pragma once

#include <string>
#include <vector>

#include "host/rtl/Classes.h"
#include "host/visualclx/DataModule.h"

enum TFtColor { ftRed, ftGreen, ftBlue };
enum TFtStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFtStyles = TSet<TFtStyle>;

// A sub-object: its properties are stored as "Range.Min".
class TFtRange : public TPersistent {
  TIRVENDAL_CLASS(TFtRange)

  int Min() const { return FMin; }
  void SetMin(int Value) { FMin = Value; }
  int Max() const { return FMax; }
  void SetMax(int Value) { FMax = Value; }

 private:
  int FMin = 0;
  int FMax = 100;
};

class TFtSource : public TComponent {
  TIRVENDAL_CLASS(TFtSource)

  explicit TFtSource(TComponent* Owner) : TComponent(Owner) {}
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value) { FText = Value; }

 private:
  std::string FText;
};

class TFtWidget : public TComponent {
  TIRVENDAL_CLASS(TFtWidget)

  explicit TFtWidget(TComponent* Owner);
  ~TFtWidget() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  const std::string& Hint() const { return FHint; }  // published but never stored
  void SetHint(const std::string& Value) { FHint = Value; }
  int Count() const { return FCount; }
  void SetCount(int Value) { FCount = Value; }
  int Size() const { return FSize; }  // default 10
  void SetSize(int Value) { FSize = Value; }
  // Refuses negative values, as a setter that checks its input does.
  int Limit() const { return FLimit; }
  void SetLimit(int Value);
  int Serial() const { return FSerial; }     // read-only
  bool Visible() const { return FVisible; }  // default True
  void SetVisible(bool Value) { FVisible = Value; }
  bool FailOnLoad() const { return FFailOnLoad; }  // makes Loaded raise
  void SetFailOnLoad(bool Value) { FFailOnLoad = Value; }
  TFtColor Color() const { return FColor; }
  void SetColor(TFtColor Value) { FColor = Value; }
  TFtStyles Styles() const { return FStyles; }
  void SetStyles(TFtStyles Value) { FStyles = Value; }
  TFtWidget* Buddy() const { return FBuddy; }
  void SetBuddy(TFtWidget* Value);
  TFtSource* Source() const { return FSource; }
  void SetSource(TFtSource* Value);
  TFtRange* Range() const { return FRange.get(); }
  TStrings* Items() const { return FItems.get(); }

  TNotifyEvent OnClick;
  TNotifyEvent OnChange;

  // What the reader made of it: the parent it was given, and whether it was loading when its
  // caption was set.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* Value) override { FParent = Value; }
  bool CaptionSetWhileLoading() const { return FCaptionSetWhileLoading; }

  void Loaded() override;

 protected:
  void Notification(TComponent* Component, TOperation Operation) override;

 private:
  std::string FCaption;
  std::string FHint;
  int FCount = 0;
  int FSize = 10;
  int FLimit = 0;
  int FSerial = 7;
  bool FVisible = true;
  bool FFailOnLoad = false;
  bool FCaptionSetWhileLoading = false;
  TFtColor FColor = ftRed;
  TFtStyles FStyles;
  TFtWidget* FBuddy = nullptr;
  TFtSource* FSource = nullptr;
  TComponent* FParent = nullptr;
  std::unique_ptr<TFtRange> FRange = std::make_unique<TFtRange>();
  std::unique_ptr<TStringList> FItems = std::make_unique<TStringList>();
};

// A module root with published handlers and fields.
class TFtModule : public TDataModule {
  TIRVENDAL_CLASS(TFtModule)

  explicit TFtModule(TComponent* Owner) : TDataModule(Owner) {}

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  TStrings* Notes() const { return FNotes.get(); }
  TFtWidget* Main() const { return FMain; }
  void SetMain(TFtWidget* Value);

  void ButtonClick(TObject* Sender) { Clicks.push_back("ButtonClick:" + As<TComponent>(Sender)->Name()); }
  void ModuleCreate(TObject* Sender) { Clicks.push_back("ModuleCreate"); }
  void Loaded() override;

  TFtWidget* Button1 = nullptr;  // published fields
  TFtSource* Source1 = nullptr;
  std::vector<std::string> Clicks;

 protected:
  void Notification(TComponent* Component, TOperation Operation) override;

 private:
  std::string FTitle;
  std::unique_ptr<TStringList> FNotes = std::make_unique<TStringList>();
  TFtWidget* FMain = nullptr;
};

// Every Loaded call of the test classes, as "Name" in call order.
std::vector<std::string>& FtLoadLog();

void RegisterFormTestClasses();
