// Which editor a property gets: the defaults by type kind, and the registration that is most
// specific for the component's class, the property's name and its type.
#include <gtest/gtest.h>

#include "tests/designide/TestComponents.h"

namespace {

class EditorRegistry : public ::testing::Test {
 protected:
  void SetUp() override { RegisterDesignClasses(); }
  void TearDown() override {
    UnregisterModuleEditors(Module(1));
    UnregisterModuleEditors(Module(2));
  }

  static HMODULE Module(int n) { return &Keys[n]; }
  static void Register(int module, const std::string& type, TClass cls, const std::string& name, TClass editor) {
    TRegisteringModule registering(Module(module));
    RegisterPropertyEditor(type, cls, name, editor);
  }
  static TClass EditorOf(TClass cls, const char* prop) { return GetEditorClass(GetPropInfo(cls, prop), cls); }

  static inline int Keys[3];
};

TEST_F(EditorRegistry, EachTypeKindHasItsDefaultEditor) {
  TClass c = TTestBase::StaticClass();
  EXPECT_EQ(EditorOf(c, "Caption"), TStringProperty::StaticClass());
  EXPECT_EQ(EditorOf(c, "Count"), TIntegerProperty::StaticClass());
  EXPECT_EQ(EditorOf(c, "Color"), TEnumProperty::StaticClass());
  EXPECT_EQ(EditorOf(c, "Enabled"), TBoolProperty::StaticClass());
  EXPECT_EQ(EditorOf(c, "Styles"), TSetProperty::StaticClass());
  EXPECT_EQ(EditorOf(c, "Font"), TClassProperty::StaticClass());
  EXPECT_EQ(EditorOf(c, "Link"), TComponentProperty::StaticClass());
  EXPECT_EQ(EditorOf(c, "OnClick"), TMethodProperty::StaticClass());
}

TEST_F(EditorRegistry, ARegistrationCoversItsClassAndDescendantsOnly) {
  Register(1, "string", TTestBase::StaticClass(), "Caption", TEditorA::StaticClass());
  EXPECT_EQ(EditorOf(TTestBase::StaticClass(), "Caption"), TEditorA::StaticClass());
  EXPECT_EQ(EditorOf(TTestDerived::StaticClass(), "caption"), TEditorA::StaticClass());
  EXPECT_EQ(EditorOf(TTestOther::StaticClass(), "Caption"), TStringProperty::StaticClass());
  // Another property of the same type keeps its default.
  EXPECT_EQ(EditorOf(TTestDerived::StaticClass(), "Extra"), TStringProperty::StaticClass());
}

TEST_F(EditorRegistry, TheMostDerivedClassWinsWhateverTheOrder) {
  for (bool derivedFirst : {false, true}) {
    SCOPED_TRACE(derivedFirst);
    if (derivedFirst) Register(1, "string", TTestDerived::StaticClass(), "Caption", TEditorB::StaticClass());
    Register(1, "string", TTestBase::StaticClass(), "Caption", TEditorA::StaticClass());
    if (!derivedFirst) Register(1, "string", TTestDerived::StaticClass(), "Caption", TEditorB::StaticClass());
    EXPECT_EQ(EditorOf(TTestDerived::StaticClass(), "Caption"), TEditorB::StaticClass());
    EXPECT_EQ(EditorOf(TTestBase::StaticClass(), "Caption"), TEditorA::StaticClass());
    UnregisterModuleEditors(Module(1));
  }
}

TEST_F(EditorRegistry, TheClassCountsBeforeTheName) {
  Register(1, "string", TTestBase::StaticClass(), "", TEditorA::StaticClass());
  Register(1, "string", nullptr, "Caption", TEditorB::StaticClass());
  EXPECT_EQ(EditorOf(TTestBase::StaticClass(), "Caption"), TEditorA::StaticClass());
  EXPECT_EQ(EditorOf(TTestOther::StaticClass(), "Caption"), TEditorB::StaticClass());
}

TEST_F(EditorRegistry, OfOneClassANamedRegistrationBeatsALaterOneForAnyName) {
  Register(1, "string", TTestBase::StaticClass(), "Caption", TEditorC::StaticClass());
  Register(1, "string", TTestBase::StaticClass(), "", TEditorA::StaticClass());
  EXPECT_EQ(EditorOf(TTestBase::StaticClass(), "Caption"), TEditorC::StaticClass());
  EXPECT_EQ(EditorOf(TTestBase::StaticClass(), "Name"), TEditorA::StaticClass());
}

TEST_F(EditorRegistry, OfEqualRegistrationsTheLaterWinsAndUnloadingRestoresTheEarlier) {
  Register(1, "string", TTestBase::StaticClass(), "Caption", TEditorA::StaticClass());
  Register(2, "string", TTestBase::StaticClass(), "Caption", TEditorB::StaticClass());
  EXPECT_EQ(EditorOf(TTestBase::StaticClass(), "Caption"), TEditorB::StaticClass());
  UnregisterModuleEditors(Module(2));
  EXPECT_EQ(EditorOf(TTestBase::StaticClass(), "Caption"), TEditorA::StaticClass());
  UnregisterModuleEditors(Module(1));
  EXPECT_EQ(EditorOf(TTestBase::StaticClass(), "Caption"), TStringProperty::StaticClass());
}

TEST_F(EditorRegistry, TheTypeMustMatchAndAClassTypeCoversItsDescendants) {
  Register(1, "Integer", TTestBase::StaticClass(), "Caption", TEditorA::StaticClass());
  EXPECT_EQ(EditorOf(TTestBase::StaticClass(), "Caption"), TStringProperty::StaticClass());

  Register(1, "TPersistent", nullptr, "", TFontEditor::StaticClass());
  EXPECT_EQ(EditorOf(TTestBase::StaticClass(), "Font"), TFontEditor::StaticClass());
  // The closer type wins over an ancestor type registered later.
  Register(1, "TTestFont", nullptr, "", TClassProperty::StaticClass());
  Register(2, "TPersistent", nullptr, "", TFontEditor::StaticClass());
  EXPECT_EQ(EditorOf(TTestBase::StaticClass(), "Font"), TClassProperty::StaticClass());
}

TEST_F(EditorRegistry, ANilEditorHidesTheProperty) {
  Register(1, "string", TTestBase::StaticClass(), "Caption", nullptr);
  EXPECT_EQ(EditorOf(TTestBase::StaticClass(), "Caption"), nullptr);
}

TEST_F(EditorRegistry, OnlyPropertyEditorsCanBeRegistered) {
  EXPECT_THROW(Register(1, "string", nullptr, "", TTestBase::StaticClass()), EPropertyError);
  EXPECT_THROW(Register(1, "", nullptr, "", TEditorA::StaticClass()), EPropertyError);
}

TEST(PropertyAttributes, NamesComeInOrdinalOrder) {
  TPropertyAttributes list{paSortList, paMultiSelect, paValueList};
  EXPECT_EQ(list.Value(), 0x29u);
  EXPECT_EQ(PropertyAttributeNames(list), "paValueList,paMultiSelect,paSortList");
  EXPECT_EQ(PropertyAttributeNames(TPropertyAttributes{paRevertable, paDialog}), "paDialog,paRevertable");
  EXPECT_EQ(PropertyAttributeNames({}), "");
  EXPECT_EQ(PropertyAttributeNames(TPropertyAttributes{paNotNestable, paReadOnly, paSubProperties}),
            "paSubProperties,paReadOnly,paNotNestable");
}

}  // namespace
