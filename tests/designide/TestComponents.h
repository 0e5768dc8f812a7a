// Components with one published property of every kind the inspector deals with, for the
// designer layer's tests.
#pragma once

#include <string>

#include "host/designide/DesignEditors.h"

enum TTestColor { clRed, clGreen, clBlue };
enum TTestStyle { ssBold, ssItalic, ssUnderline };
using TTestStyles = TSet<TTestStyle>;

inline const TEnumInfo& TestColorInfo() {
  static const TEnumInfo info{"TTestColor", {"clRed", "clGreen", "clBlue"}};
  return info;
}

inline const TEnumInfo& TestStyleInfo() {
  static const TEnumInfo info{"TTestStyle", {"ssBold", "ssItalic", "ssUnderline"}};
  return info;
}

// An owned sub-object with a property of its own.
class TTestFont : public TPersistent {
  TIRVENDAL_CLASS(TTestFont)
  int Size() const { return FSize; }
  void SetSize(int v) { FSize = v; }

 private:
  int FSize = 8;
};

inline TClass TTestFont::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestFont>(TPersistent::StaticClass())
                                     .Integer("Size", &TTestFont::Size, &TTestFont::SetSize)
                                     .Build();
  return &info;
}

class TTestBase : public TComponent {
  TIRVENDAL_CLASS(TTestBase)
  explicit TTestBase(TComponent* Owner) : TComponent(Owner) {}

  const std::string& Caption() const { return FCaption; }
  // A component told to refuse takes no caption, as a setter that checks its value would.
  void SetCaption(const std::string& v) {
    if (Refuse) throw EPropertyError("Caption refused");
    FCaption = v;
  }
  int Count() const { return FCount; }
  void SetCount(int v) { FCount = v; }
  TTestColor Color() const { return FColor; }
  void SetColor(TTestColor v) { FColor = v; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v) { FEnabled = v; }
  TTestStyles Styles() const { return FStyles; }
  void SetStyles(TTestStyles v) { FStyles = v; }
  TTestFont* Font() const { return const_cast<TTestFont*>(&FFont); }
  TTestBase* Link() const { return FLink; }
  void SetLink(TTestBase* v) { FLink = v; }
  std::string Status() const { return "ready"; }

  TNotifyEvent OnClick;
  bool Refuse = false;

 private:
  std::string FCaption;
  int FCount = 0;
  TTestColor FColor = clRed;
  bool FEnabled = false;
  TTestStyles FStyles;
  TTestFont FFont;
  TTestBase* FLink = nullptr;
};

inline TClass TTestBase::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TTestBase>(TComponent::StaticClass())
          .Component()
          .String("Caption", &TTestBase::Caption, &TTestBase::SetCaption)
          .Integer("Count", &TTestBase::Count, &TTestBase::SetCount)
          .Enum("Color", &TTestBase::Color, &TTestBase::SetColor, TestColorInfo(), clRed)
          .Boolean("enabled", &TTestBase::Enabled, &TTestBase::SetEnabled)
          .Set("Styles", &TTestBase::Styles, &TTestBase::SetStyles, TestStyleInfo(), "TTestStyles")
          .Object<TTestFont>("Font", &TTestBase::Font, nullptr)
          .Object<TTestBase>("Link", &TTestBase::Link, &TTestBase::SetLink)
          .String("Status", &TTestBase::Status, nullptr)
          .Event("OnClick", &TTestBase::OnClick)
          .Build();
  return &info;
}

class TTestDerived : public TTestBase {
  TIRVENDAL_CLASS(TTestDerived)
  explicit TTestDerived(TComponent* Owner) : TTestBase(Owner) {}
  const std::string& Extra() const { return FExtra; }
  void SetExtra(const std::string& v) { FExtra = v; }

 private:
  std::string FExtra;
};

inline TClass TTestDerived::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestDerived>(TTestBase::StaticClass())
                                     .Component()
                                     .String("Extra", &TTestDerived::Extra, &TTestDerived::SetExtra)
                                     .Build();
  return &info;
}

// Unrelated to TTestBase; its Count is text, not a number.
class TTestOther : public TComponent {
  TIRVENDAL_CLASS(TTestOther)
  explicit TTestOther(TComponent* Owner) : TComponent(Owner) {}
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v) { FCaption = v; }
  const std::string& Count() const { return FCount; }
  void SetCount(const std::string& v) { FCount = v; }

 private:
  std::string FCaption, FCount;
};

inline TClass TTestOther::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestOther>(TComponent::StaticClass())
                                     .Component()
                                     .String("Caption", &TTestOther::Caption, &TTestOther::SetCaption)
                                     .String("Count", &TTestOther::Count, &TTestOther::SetCount)
                                     .Build();
  return &info;
}

// The form being designed: its published methods are the handlers events can name.
class TTestRoot : public TComponent {
  TIRVENDAL_CLASS(TTestRoot)
  explicit TTestRoot(TComponent* Owner = nullptr) : TComponent(Owner) {}
  void ButtonClick(TObject* Sender) { LastSender = Sender; }
  void AnotherClick(TObject*) {}
  TObject* LastSender = nullptr;
};

inline TClass TTestRoot::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestRoot>(TComponent::StaticClass())
                                     .Component()
                                     .Method("ButtonClick", &TTestRoot::ButtonClick)
                                     .Method("AnotherClick", &TTestRoot::AnotherClick)
                                     .Build();
  return &info;
}

// Editor classes to register; each is only told apart by its class.
#define TEST_EDITOR(Name, Base)                                                                      \
  class Name : public Base {                                                                         \
    TIRVENDAL_CLASS(Name)                                                                            \
  };                                                                                                 \
  inline TClass Name::StaticClass() {                                                                \
    static const TClassInfo info = TClassBuilder<Name>(Base::StaticClass()).Constructible().Build(); \
    return &info;                                                                                    \
  }

TEST_EDITOR(TEditorA, TStringProperty)
TEST_EDITOR(TEditorB, TStringProperty)
TEST_EDITOR(TEditorC, TStringProperty)
TEST_EDITOR(TFontEditor, TClassProperty)

// A string editor the inspector does not offer for several components.
class TSingleOnlyEditor : public TStringProperty {
  TIRVENDAL_CLASS(TSingleOnlyEditor)
  TPropertyAttributes GetAttributes() override { return {paDialog}; }
};

inline TClass TSingleOnlyEditor::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TSingleOnlyEditor>(TStringProperty::StaticClass()).Constructible().Build();
  return &info;
}
