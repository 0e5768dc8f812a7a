// Published properties found and read by name through the class records.
#include <gtest/gtest.h>

#include "host/rtl/Classes.h"

namespace {

enum TShade { shLight, shDark };
const TEnumInfo& ShadeInfo() {
  static const TEnumInfo info{"TShade", {"shLight", "shDark"}};
  return info;
}

class TWidgetStub : public TComponent {
  TIRVENDAL_CLASS(TWidgetStub)
  using TComponent::TComponent;
  std::string Caption() const { return FCaption; }
  void SetCaption(const std::string& v) { FCaption = v; }
  int Size() const { return FSize; }
  void SetSize(int v) { FSize = v; }
  TShade Shade() const { return FShade; }
  void SetShade(TShade v) { FShade = v; }
  TStringList* Lines() const { return FLines.get(); }
  TWidgetStub* Buddy() const { return FBuddy; }
  void SetBuddy(TWidgetStub* v) { FBuddy = v; }
  void Clicked(TObject*) { ++FClicks; }
  int FClicks = 0;
  TNotifyEvent OnClick;

 private:
  std::string FCaption;
  int FSize = 3;
  TShade FShade = shLight;
  std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
  TWidgetStub* FBuddy = nullptr;
};

TClass TWidgetStub::StaticClass() {
  static const TClassInfo info = TClassBuilder<TWidgetStub>(TComponent::StaticClass())
                                     .Component()
                                     .String("Caption", &TWidgetStub::Caption, &TWidgetStub::SetCaption)
                                     .Integer("Size", &TWidgetStub::Size, &TWidgetStub::SetSize, 3)
                                     .Enum("Shade", &TWidgetStub::Shade, &TWidgetStub::SetShade, ShadeInfo(), shLight)
                                     .Object<TStringList>("Lines", &TWidgetStub::Lines, nullptr)
                                     .Object<TWidgetStub>("Buddy", &TWidgetStub::Buddy, &TWidgetStub::SetBuddy)
                                     .Event("OnClick", &TWidgetStub::OnClick)
                                     .Method("Clicked", &TWidgetStub::Clicked)
                                     .Build();
  return &info;
}

TEST(TypInfo, FindsPublishedPropertiesByNameWithoutRegardToCase) {
  const TPropInfo* p = GetPropInfo(TWidgetStub::StaticClass(), "caption");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Name, "Caption");
  EXPECT_EQ(GetPropInfo(TWidgetStub::StaticClass(), "Nothing"), nullptr);
  // Inherited from the component class.
  ASSERT_NE(GetPropInfo(TWidgetStub::StaticClass(), "Tag"), nullptr);
  EXPECT_EQ(GetPropInfo(static_cast<TClass>(nullptr), "Tag"), nullptr);
}

TEST(TypInfo, KindsAndOrdinalReads) {
  TWidgetStub w(nullptr);
  const TPropInfo* lines = GetPropInfo(&w, "Lines");
  EXPECT_EQ(lines->Kind, tkClass);
  EXPECT_EQ(static_cast<int>(tkClass), 7);
  auto* read = reinterpret_cast<TObject*>(static_cast<intptr_t>(GetOrdProp(&w, lines)));
  EXPECT_EQ(read, w.Lines());
  EXPECT_EQ(GetPropInfo(&w, "Caption")->Kind, tkLString);
  EXPECT_EQ(GetObjectProp(&w, GetPropInfo(&w, "Buddy")), nullptr);

  SetOrdProp(&w, GetPropInfo(&w, "Shade"), shDark);
  EXPECT_EQ(w.Shade(), shDark);
  EXPECT_EQ(GetPropValueText(&w, GetPropInfo(&w, "Shade")), "shDark");
  EXPECT_THROW(GetStrProp(&w, GetPropInfo(&w, "Size")), EPropertyError);
  EXPECT_THROW(SetObjectProp(&w, lines, nullptr), EPropertyError);  // read-only
}

TEST(TypInfo, ReferencesAreCheckedCasts) {
  TWidgetStub w(nullptr), other(nullptr);
  TStringList notAWidget;
  const TPropInfo* buddy = GetPropInfo(&w, "Buddy");
  SetObjectProp(&w, buddy, &other);
  EXPECT_EQ(w.Buddy(), &other);
  EXPECT_THROW(SetObjectProp(&w, buddy, &notAWidget), EInvalidCast);
  EXPECT_EQ(w.Buddy(), &other);
  EXPECT_THROW(As<TWidgetStub>(static_cast<TObject*>(&notAWidget)), EInvalidCast);
  EXPECT_EQ(As<TWidgetStub>(static_cast<TObject*>(nullptr)), nullptr);
}

TEST(TypInfo, EventsBindToPublishedMethods) {
  TWidgetStub w(nullptr);
  const TMethodInfo* m = w.ClassType()->FindMethod("clicked");
  ASSERT_NE(m, nullptr);
  TNotifyEvent e{[&](TObject* s) { m->Invoke(&w, s); }, &w, m->Name};
  SetMethodProp(&w, GetPropInfo(&w, "OnClick"), e);
  w.OnClick(&w);
  EXPECT_EQ(w.FClicks, 1);
  EXPECT_EQ(GetPropValueText(&w, GetPropInfo(&w, "OnClick")), "Clicked");
}

TEST(TypInfo, PathsReachSubObjects) {
  TWidgetStub w(nullptr), other(nullptr);
  w.SetBuddy(&other);
  auto [holder, prop] = ResolvePropPath(&w, "Buddy.Caption");
  EXPECT_EQ(holder, &other);
  SetStrProp(holder, prop, "x");
  EXPECT_EQ(other.Caption(), "x");
  EXPECT_THROW(ResolvePropPath(&w, "Buddy.Nope"), EPropertyError);
  w.SetBuddy(nullptr);
  EXPECT_THROW(ResolvePropPath(&w, "Buddy.Caption"), EPropertyError);
}

TEST(TypInfo, AllPropertiesListsAncestorsFirst) {
  auto all = TWidgetStub::StaticClass()->AllProperties();
  ASSERT_GE(all.size(), 3u);
  EXPECT_EQ(all[0]->Name, "Name");
  EXPECT_EQ(all[1]->Name, "Tag");
  EXPECT_EQ(all[2]->Name, "Caption");
  EXPECT_TRUE(TWidgetStub::StaticClass()->InheritsFrom(TComponent::StaticClass()));
  EXPECT_FALSE(TComponent::StaticClass()->InheritsFrom(TWidgetStub::StaticClass()));
}

}  // namespace
