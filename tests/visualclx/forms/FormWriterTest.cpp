// Writing components as a stored description: what is left out, how values are spelled, how
// components nest, and that reading the text back gives the same text again.
#include <gtest/gtest.h>

#include "host/visualclx/forms/FormDocument.h"
#include "host/visualclx/forms/FormReader.h"
#include "tests/support/Process.h"
#include "tests/visualclx/forms/FormTestClasses.h"

namespace {

class FormWriter : public ::testing::Test {
 protected:
  void SetUp() override { RegisterFormTestClasses(); }

  // Binds an event as the reader does: to a published method of the root.
  static TNotifyEvent Handler(TFtModule* root, const std::string& method) {
    const TMethodInfo* info = root->ClassType()->FindMethod(method);
    return TNotifyEvent{[root, info](TObject* sender) { info->Invoke(root, sender); }, root, info->Name};
  }

  static TFtWidget* AddWidget(TComponent* owner, const std::string& name, TComponent* parent) {
    auto* widget = new TFtWidget(owner);  // owned by owner
    widget->SetName(name);
    widget->SetParentComponent(parent);
    return widget;
  }
};

TEST_F(FormWriter, WritesWhatDiffersFromTheDefaultsNestedUnderParents) {
  TFtModule module(nullptr);
  module.SetName("Demo");
  module.SetTitle("It's\r\nhere");
  module.OnCreate = Handler(&module, "ModuleCreate");
  TFtWidget* panel = AddWidget(&module, "Panel", &module);
  panel->SetCaption("\xC3\xA9t\xC3\xA9");
  panel->SetHint("never stored");
  panel->SetSize(0);  // differs from its default of 10
  panel->SetVisible(false);
  panel->SetColor(ftGreen);
  panel->SetStyles({fsBold, fsUnderline});
  panel->Range()->SetMax(50);
  panel->Items()->SetVector({"one", "", "it's"});
  auto* source = new TFtSource(&module);  // owned by the module
  source->SetName("Source1");
  TFtWidget* button = AddWidget(&module, "Button1", panel);
  button->SetBuddy(panel);
  button->SetSource(source);
  button->SetCount(-4);
  button->SetTag(3);
  button->OnClick = Handler(&module, "ButtonClick");
  TFtWidget* plain = AddWidget(&module, "Plain", nullptr);
  plain->Range()->SetMin(0);  // still at its default: the sub-object is left out
  module.SetMain(button);

  EXPECT_EQ(WriteComponent(&module),
            "object Demo: TFtModule\n"
            "  OnCreate = ModuleCreate\n"
            "  Title = 'It''s'#13#10'here'\n"
            "  Main = Button1\n"
            "  object Panel: TFtWidget\n"
            "    Caption = '\xC3\xA9t\xC3\xA9'\n"
            "    Size = 0\n"
            "    Visible = False\n"
            "    Color = ftGreen\n"
            "    Styles = [fsBold, fsUnderline]\n"
            "    Range.Max = 50\n"
            "    Items.Strings = (\n"
            "      'one'\n"
            "      ''\n"
            "      'it''s')\n"
            "    object Button1: TFtWidget\n"
            "      Tag = 3\n"
            "      Count = -4\n"
            "      Buddy = Panel\n"
            "      Source = Source1\n"
            "      OnClick = ButtonClick\n"
            "    end\n"
            "  end\n"
            "  object Source1: TFtSource\n"
            "  end\n"
            "  object Plain: TFtWidget\n"
            "  end\n"
            "end\n");
}

TEST_F(FormWriter, LeavesOutWhatCannotBeReadBack) {
  TFtModule module(nullptr);
  module.SetName("Demo");
  TComponent outsider(nullptr);
  auto* foreign = new TFtWidget(&outsider);  // owned by outsider, not part of the form
  foreign->SetName("Foreign");
  TFtWidget* widget = AddWidget(&module, "W", foreign);  // a parent outside the form: top level
  widget->SetBuddy(foreign);
  widget->OnChange = TNotifyEvent{[](TObject*) {}, nullptr, ""};  // code without a method name
  EXPECT_EQ(WriteComponent(&module), "object Demo: TFtModule\n  object W: TFtWidget\n  end\nend\n");
}

TEST_F(FormWriter, RoundTripGivesTheSameTextAndState) {
  const std::string text =
      "object Demo: TFtModule\n"
      "  OnCreate = ModuleCreate\n"
      "  Title = #9'tab'#0'nul'#127' '' \xE2\x82\xAC'\n"
      "  Notes.Strings = (\n"
      "    'a'\n"
      "    'b')\n"
      "  Main = Demo2\n"
      "  object First: TFtWidget\n"
      "    Caption = 'x'\n"
      "    Count = -2147483648\n"
      "    Size = 2147483647\n"
      "    Styles = []\n"
      "    Buddy = Demo2\n"
      "    object Inner: TFtWidget\n"
      "      Color = ftBlue\n"
      "      Range.Min = -1\n"
      "      Range.Max = 0\n"
      "      OnClick = ButtonClick\n"
      "      OnChange = ButtonClick\n"
      "    end\n"
      "  end\n"
      "  object Demo2: TFtWidget\n"
      "    Buddy = Inner\n"
      "  end\n"
      "end\n";
  TFtModule first(nullptr);
  ReadComponent(&first, text, "demo.xfm");
  std::string written = WriteComponent(&first);
  TFtModule second(nullptr);
  ReadComponent(&second, written, "demo.xfm");
  EXPECT_EQ(WriteComponent(&second), written);

  EXPECT_EQ(second.Title(), std::string("\ttab\0nul\x7F ' \xE2\x82\xAC", 15));
  EXPECT_EQ(second.Title(), first.Title());
  auto* inner = As<TFtWidget>(second.FindComponent("Inner"));
  EXPECT_EQ(inner->GetParentComponent(), second.FindComponent("First"));
  EXPECT_EQ(As<TFtWidget>(second.FindComponent("Demo2"))->Buddy(), inner);
  EXPECT_EQ(As<TFtWidget>(second.FindComponent("First"))->Count(), INT32_MIN);
  EXPECT_EQ(inner->Range()->Min(), -1);
  EXPECT_EQ(inner->Range()->Max(), 0);
  EXPECT_EQ(inner->OnChange.MethodName, "ButtonClick");
  // "Styles = []" is the default and so is left out; everything else came through.
  EXPECT_EQ(written.find("Styles"), std::string::npos);
  EXPECT_NE(written.find("Range.Max = 0"), std::string::npos);
}

// A document opened read-only, as the commands that only show a form open it, is written by no
// road, changed or not. Opened for reading, the same form is saved only once its text changes:
// a layout of its own is kept until then.
TEST_F(FormWriter, ADocumentOpenedReadOnlyIsNeverSaved) {
  TTempDir dir;
  const std::filesystem::path file = dir / "module.xfm";
  const std::string text = "object Demo: TFtModule\n\n  Title =   'x'\nend\n";
  WriteFile(file, text);
  {
    TFormDocument document(file, TFormDocument::TAccess::ReadOnly);
    static_cast<TFtModule*>(document.Root())->SetTitle("changed");
    EXPECT_THROW(document.Save(), EInvalidOperation);
    EXPECT_THROW(document.SaveIfUnchanged(), EInvalidOperation);
    EXPECT_THROW(document.SaveAs(dir / "copy.xfm"), EInvalidOperation);
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "copy.xfm"));
  EXPECT_EQ(ReadFile(file), text);

  TFormDocument document(file, TFormDocument::TAccess::Read);
  EXPECT_FALSE(document.Save());
  EXPECT_EQ(ReadFile(file), text);
  static_cast<TFtModule*>(document.Root())->SetTitle("changed");
  EXPECT_TRUE(document.Save());
  EXPECT_NE(ReadFile(file).find("Title = 'changed'"), std::string::npos) << ReadFile(file);
}

}  // namespace
