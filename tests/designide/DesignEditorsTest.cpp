// The default property editors as the inspector uses them: text shown and typed, value lists,
// writing to every selected component with one modification notice, and the inspector's rows.
#include <gtest/gtest.h>

#include "tests/designide/FakeDesigner.h"
#include "tests/designide/TestComponents.h"

namespace {

class Editors : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterDesignClasses();
    a = new TTestBase(&root);
    a->SetName("A");
    b = new TTestDerived(&root);
    b->SetName("B");
    other = new TTestOther(&root);
    other->SetName("Other");
  }

  std::unique_ptr<TPropertyEditor> Editor(std::vector<TPersistent*> selection, const char* prop) {
    const TPropInfo* info = GetPropInfo(selection[0]->ClassType(), prop);
    return CreatePropertyEditor(GetEditorClass(info, selection[0]->ClassType()), &designer, selection, info);
  }
  static std::vector<std::string> Values(TPropertyEditor& editor) {
    std::vector<std::string> out;
    editor.GetValues([&](const std::string& s) { out.push_back(s); });
    return out;
  }
  static std::vector<std::string> Rows(const std::vector<std::unique_ptr<TPropertyEditor>>& rows) {
    std::vector<std::string> out;
    for (const auto& row : rows) out.push_back(row->GetName() + ":" + row->ClassName());
    return out;
  }

  TTestRoot root;
  TFakeDesigner designer{&root};
  TTestBase* a;
  TTestDerived* b;
  TTestOther* other;
};

TEST_F(Editors, AStringIsWrittenToEverySelectedComponentWithOneNotice) {
  auto editor = Editor({a, b}, "Caption");
  EXPECT_EQ(editor->GetAttributes(), (TPropertyAttributes{paMultiSelect, paRevertable}));
  EXPECT_EQ(editor->GetComponent(0), a);
  EXPECT_EQ(editor->GetComponent(1), b);
  EXPECT_THROW(editor->GetComponent(2), EListError);
  editor->SetValue("Hello");
  EXPECT_EQ(a->Caption(), "Hello");
  EXPECT_EQ(b->Caption(), "Hello");
  EXPECT_EQ(editor->GetValue(), "Hello");
  EXPECT_TRUE(editor->AllEqual());
  EXPECT_EQ(designer.ModifiedCount, 1);
  b->SetCaption("other");
  EXPECT_FALSE(editor->AllEqual());
}

TEST_F(Editors, ARefusedValueLeavesEveryComponentAsItWasAndReportsNothing) {
  a->SetCaption("old a");
  b->SetCaption("old b");
  b->Refuse = true;
  auto editor = Editor({a, b}, "Caption");
  EXPECT_THROW(editor->SetValue("new"), EPropertyError);
  EXPECT_EQ(a->Caption(), "old a");
  EXPECT_EQ(b->Caption(), "old b");
  EXPECT_EQ(designer.ModifiedCount, 0);
}

TEST_F(Editors, AnEditorWithoutDesignerChangesNothing) {
  const TPropInfo* info = GetPropInfo(a, "Caption");
  auto editor = CreatePropertyEditor(TStringProperty::StaticClass(), nullptr, {a}, info);
  EXPECT_THROW(editor->SetValue("x"), EInvalidOperation);
  EXPECT_EQ(a->Caption(), "");
}

TEST_F(Editors, EditorsAreBoundOnlyToPropertiesEverySelectedComponentHas) {
  const TPropInfo* extra = GetPropInfo(b, "Extra");
  EXPECT_THROW(CreatePropertyEditor(TStringProperty::StaticClass(), &designer, {b, a}, extra), EPropertyError);
  EXPECT_THROW(CreatePropertyEditor(TTestBase::StaticClass(), &designer, {a}, GetPropInfo(a, "Caption")),
               EPropertyError);
  const TPropInfo* count = GetPropInfo(a, "Count");
  EXPECT_THROW(CreatePropertyEditor(TIntegerProperty::StaticClass(), &designer, {a, other}, count), EPropertyError);
}

TEST_F(Editors, IntegersAreTypedAsDecimalTextWithinRange) {
  auto editor = Editor({a}, "Count");
  editor->SetValue(" 42 ");
  EXPECT_EQ(a->Count(), 42);
  EXPECT_EQ(editor->GetValue(), "42");
  EXPECT_THROW(editor->SetValue("forty"), EConvertError);
  EXPECT_THROW(editor->SetValue("4294967296"), EPropertyError);
  EXPECT_EQ(a->Count(), 42);
}

TEST_F(Editors, EnumerationsOfferTheirNamesAndRefuseOthers) {
  auto editor = Editor({a}, "Color");
  EXPECT_TRUE(editor->GetAttributes().Contains(paValueList));
  EXPECT_TRUE(editor->GetAttributes().Contains(paSortList));
  EXPECT_EQ(Values(*editor), (std::vector<std::string>{"clRed", "clGreen", "clBlue"}));
  editor->SetValue("CLBLUE");
  EXPECT_EQ(a->Color(), clBlue);
  EXPECT_EQ(editor->GetValue(), "clBlue");
  try {
    editor->SetValue("clPurple");
    FAIL() << "an unknown name was taken";
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message(), "Invalid property value");
  }
  // A double click moves to the next value of the sorted list, round to the first.
  editor->Edit();
  EXPECT_EQ(a->Color(), clGreen);
  editor->Edit();
  editor->Edit();
  EXPECT_EQ(a->Color(), clBlue);
}

TEST_F(Editors, BooleansAreFalseOrTrue) {
  auto editor = Editor({a, b}, "Enabled");
  EXPECT_EQ(Values(*editor), (std::vector<std::string>{"False", "True"}));
  editor->SetValue("true");
  EXPECT_TRUE(a->Enabled());
  EXPECT_TRUE(b->Enabled());
  EXPECT_EQ(editor->GetValue(), "True");
  EXPECT_THROW(editor->SetValue("yes"), EPropertyError);
}

TEST_F(Editors, SetsAreShownAsAListAndEditedElementByElement) {
  a->SetStyles({ssBold, ssUnderline});
  b->SetStyles({ssItalic});
  auto editor = Editor({a, b}, "Styles");
  EXPECT_EQ(editor->GetValue(), "[ssBold,ssUnderline]");
  EXPECT_TRUE(editor->GetAttributes().Contains(paSubProperties));
  EXPECT_FALSE(editor->AllEqual());

  auto elements = editor->GetProperties();
  ASSERT_EQ(elements.size(), 3u);
  EXPECT_EQ(elements[2]->GetName(), "ssUnderline");
  EXPECT_EQ(elements[2]->GetValue(), "True");
  EXPECT_FALSE(elements[2]->AllEqual());
  // Each component keeps its other elements.
  elements[2]->SetValue("True");
  EXPECT_EQ(a->Styles(), (TTestStyles{ssBold, ssUnderline}));
  EXPECT_EQ(b->Styles(), (TTestStyles{ssItalic, ssUnderline}));
  EXPECT_EQ(designer.ModifiedCount, 1);

  editor->SetValue("[ ssItalic , ssBold ]");
  EXPECT_EQ(a->Styles(), (TTestStyles{ssBold, ssItalic}));
  editor->SetValue("[]");
  EXPECT_TRUE(a->Styles().Empty());
  EXPECT_THROW(editor->SetValue("[ssBold,ssStrike]"), EPropertyError);
  EXPECT_THROW(editor->SetValue("[ssBold,,ssItalic]"), EPropertyError);
  EXPECT_TRUE(a->Styles().Empty());
}

TEST_F(Editors, AnOwnedObjectShowsItsClassAndItsPropertiesBelow) {
  auto editor = Editor({a, b}, "Font");
  EXPECT_EQ(editor->GetValue(), "(TTestFont)");
  EXPECT_TRUE(editor->GetAttributes().Contains(paReadOnly));
  EXPECT_THROW(editor->SetValue("x"), EPropertyError);
  auto sub = editor->GetProperties();
  ASSERT_EQ(Rows(sub), (std::vector<std::string>{"Size:TIntegerProperty"}));
  sub[0]->SetValue("12");
  EXPECT_EQ(a->Font()->Size(), 12);
  EXPECT_EQ(b->Font()->Size(), 12);
}

TEST_F(Editors, AReferenceIsChosenAmongTheFormsComponentsOfItsClass) {
  auto editor = Editor({a}, "Link");
  EXPECT_EQ(Values(*editor), (std::vector<std::string>{"A", "B"}));
  editor->SetValue("b");
  EXPECT_EQ(a->Link(), b);
  EXPECT_EQ(editor->GetValue(), "B");
  for (const char* wrong : {"Other", "Nobody"}) {
    SCOPED_TRACE(wrong);
    EXPECT_THROW(editor->SetValue(wrong), EPropertyError);
    EXPECT_EQ(a->Link(), b);
  }
  editor->SetValue("");
  EXPECT_EQ(a->Link(), nullptr);
  EXPECT_EQ(designer.ModifiedCount, 2);
}

TEST_F(Editors, AnEventNamesAPublishedMethodOfTheRoot) {
  auto editor = Editor({a}, "OnClick");
  EXPECT_EQ(Values(*editor), (std::vector<std::string>{"ButtonClick", "AnotherClick"}));
  editor->SetValue("buttonclick");
  EXPECT_EQ(editor->GetValue(), "ButtonClick");
  a->OnClick(a);
  EXPECT_EQ(root.LastSender, a);
  EXPECT_THROW(editor->SetValue("Missing"), EPropertyError);
  EXPECT_EQ(editor->GetValue(), "ButtonClick");
  editor->SetValue("");
  EXPECT_FALSE(a->OnClick);
}

TEST_F(Editors, TheInspectorListsOneComponentsShownPropertiesByName) {
  auto rows = GetComponentProperties(&designer, {a});
  // Status cannot be written, so it is left out; Font cannot either but is an object.
  EXPECT_EQ(Rows(rows),
            (std::vector<std::string>{"Caption:TStringProperty", "Color:TEnumProperty", "Count:TIntegerProperty",
                                      "enabled:TBoolProperty", "Font:TClassProperty", "Link:TComponentProperty",
                                      "Name:TComponentNameProperty", "OnClick:TMethodProperty", "Styles:TSetProperty",
                                      "Tag:TIntegerProperty"}));
  EXPECT_EQ(rows[6]->GetValue(), "A");
}

TEST_F(Editors, WithSeveralSelectedOnlyCommonMultiSelectPropertiesRemain) {
  EXPECT_EQ(Rows(GetComponentProperties(&designer, {a, other})),
            (std::vector<std::string>{"Caption:TStringProperty", "Tag:TIntegerProperty"}));
  auto rows = GetComponentProperties(&designer, {b, a});
  EXPECT_EQ(rows.size(), 9u);  // b's Extra is not a's; one name is never given to several

  {
    TRegisteringModule registering(&designer);
    RegisterPropertyEditor("string", TTestBase::StaticClass(), "Caption", TSingleOnlyEditor::StaticClass());
  }
  EXPECT_EQ(Rows(GetComponentProperties(&designer, {a}))[0], "Caption:TSingleOnlyEditor");
  EXPECT_EQ(Rows(GetComponentProperties(&designer, {a, b}))[0], "Color:TEnumProperty");
  // The table's editor is not the other component's: the row is left out rather than shared.
  EXPECT_EQ(Rows(GetComponentProperties(&designer, {a, other}))[0], "Tag:TIntegerProperty");
  UnregisterModuleEditors(&designer);
  EXPECT_TRUE(GetComponentProperties(&designer, {}).empty());
}

}  // namespace
