// Reading stored descriptions into components: every kind of value, references resolved
// whatever their order, parents, fields and events, the loading protocol, the errors with their
// lines, and a failed read that leaves the root as it was.
#include <gtest/gtest.h>

#include "host/visualclx/forms/FormReader.h"
#include "tests/visualclx/forms/FormTestClasses.h"

namespace {

class FormReader : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterFormTestClasses();
    FtLoadLog().clear();
  }

  TFtWidget* Widget(const TComponent* root, const std::string& name) {
    return As<TFtWidget>(root->FindComponent(name));
  }

  std::string ReadError(TComponent* root, const std::string& text) {
    try {
      ReadComponent(root, text, "demo.xfm");
    } catch (const EFormError& e) {
      return e.Message();
    }
    return "(no error)";
  }
};

TEST_F(FormReader, ReadsEveryKindOfValue) {
  TFtModule module(nullptr);
  ReadComponent(&module,
                "object Demo: TFtModule\n"
                "  Title = 'Orders ''n'' ' +\n"
                "    'customers'\n"
                "  Notes.Strings = (\n"
                "    'first'\n"
                "    'second')\n"
                "  object Button1: TFtWidget\n"
                "    Caption = '\xC3\x84nderung'\n"
                "    Count = -3\n"
                "    Size = 0\n"
                "    Visible = False\n"
                "    Color = ftBlue\n"
                "    Styles = [fsItalic, fsStrikeOut]\n"
                "    Range.Min = 5\n"
                "    Range.Max = 50\n"
                "    Items.Strings = ('one' 'two')\n"
                "    Tag = 9\n"
                "  end\n"
                "end\n",
                "demo.xfm");
  EXPECT_EQ(module.Name(), "Demo");
  EXPECT_EQ(module.Title(), "Orders 'n' customers");
  EXPECT_EQ(module.Notes()->ToVector(), (std::vector<std::string>{"first", "second"}));
  ASSERT_EQ(module.ComponentCount(), 1);
  TFtWidget* w = Widget(&module, "Button1");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Owner(), &module);
  EXPECT_EQ(w->Caption(), "\xC3\x84nderung");
  EXPECT_EQ(w->Count(), -3);
  EXPECT_EQ(w->Size(), 0);
  EXPECT_FALSE(w->Visible());
  EXPECT_EQ(w->Color(), ftBlue);
  EXPECT_EQ(w->Styles(), (TFtStyles{fsItalic, fsStrikeOut}));
  EXPECT_EQ(w->Range()->Min(), 5);
  EXPECT_EQ(w->Range()->Max(), 50);
  EXPECT_EQ(w->Items()->ToVector(), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(w->Tag(), 9);
  EXPECT_EQ(module.Button1, w);  // the published field of the same name
}

TEST_F(FormReader, ResolvesReferencesWhateverTheirOrder) {
  TFtModule module(nullptr);
  ReadComponent(&module,
                "object Demo: TFtModule\n"
                "  Main = second\n"  // before it exists
                "  object First: TFtWidget\n"
                "    Buddy = Second\n"
                "    Source = SOURCE1\n"
                "  end\n"
                "  object Second: TFtWidget\n"
                "    Buddy = First\n"
                "  end\n"
                "  object Source1: TFtSource\n"
                "    Text = 'x'\n"
                "  end\n"
                "  object Third: TFtWidget\n"
                "    Buddy = Third\n"
                "    Source = nil\n"
                "  end\n"
                "end\n",
                "demo.xfm");
  TFtWidget* first = Widget(&module, "First");
  TFtWidget* second = Widget(&module, "Second");
  TFtWidget* third = Widget(&module, "Third");
  EXPECT_EQ(module.Main(), second);
  EXPECT_EQ(first->Buddy(), second);
  EXPECT_EQ(second->Buddy(), first);
  EXPECT_EQ(third->Buddy(), third);
  EXPECT_EQ(first->Source(), module.FindComponent("Source1"));
  EXPECT_EQ(module.Source1, first->Source());
  EXPECT_EQ(third->Source(), nullptr);
}

TEST_F(FormReader, NestsParentsBindsEventsAndLoadsChildrenFirst) {
  TFtModule module(nullptr);
  ReadComponent(&module,
                "object Demo: TFtModule\n"
                "  OnCreate = ModuleCreate\n"
                "  object Panel: TFtWidget\n"
                "    Caption = 'panel'\n"
                "    object Button1: TFtWidget\n"
                "      OnClick = buttonclick\n"
                "    end\n"
                "  end\n"
                "  object Other: TFtWidget\n"
                "    OnChange = ButtonClick\n"
                "  end\n"
                "end\n",
                "demo.xfm");
  TFtWidget* panel = Widget(&module, "Panel");
  TFtWidget* button = Widget(&module, "Button1");
  TFtWidget* other = Widget(&module, "Other");
  EXPECT_EQ(panel->GetParentComponent(), &module);
  EXPECT_EQ(button->GetParentComponent(), panel);
  EXPECT_EQ(button->Owner(), &module);  // the root owns every component, nested or not

  EXPECT_EQ(FtLoadLog(), (std::vector<std::string>{"Panel", "Button1", "Other", "Demo"}));
  EXPECT_TRUE(panel->CaptionSetWhileLoading());
  for (const TComponent* c : {static_cast<const TComponent*>(&module), static_cast<const TComponent*>(panel),
                              static_cast<const TComponent*>(button)})
    EXPECT_FALSE(c->ComponentState().Contains(csLoading)) << c->Name();
  EXPECT_EQ(module.Clicks, (std::vector<std::string>{"ModuleCreate"}));  // the root's Loaded fired OnCreate

  EXPECT_EQ(button->OnClick.MethodName, "ButtonClick");
  EXPECT_EQ(button->OnClick.Data, &module);
  button->OnClick(button);
  other->OnChange(other);
  EXPECT_EQ(module.Clicks, (std::vector<std::string>{"ModuleCreate", "ButtonClick:Button1", "ButtonClick:Other"}));
}

TEST_F(FormReader, ErrorsNameTheLineAndWhatIsWrong) {
  struct Case {
    std::string Body;  // the lines after "object Demo: TFtModule"
    std::string Message;
  };
  const Case cases[] = {
      {"  object W: TFtWidget\n    Foo = 1\n  end\n", "demo.xfm:3: TFtWidget has no property 'Foo'"},
      {"  object W: TFoo\n  end\n", "demo.xfm:2: unknown class 'TFoo'"},
      {"  object W: TFtRange\n  end\n", "demo.xfm:2: TFtRange is not a component class"},
      {"  object W: TFtWidget\n  end\n  object X: TFtWidget\n    Buddy = Nope\n  end\n",
       "demo.xfm:5: unknown component 'Nope'"},
      {"  object W: TFtWidget\n  end\n  object w: TFtWidget\n  end\n", "demo.xfm:4: duplicate component name 'w'"},
      {"  object W: TFtWidget\n    Caption = 12\n  end\n",
       "demo.xfm:3: TFtWidget.Caption expects a string but found 12"},
      {"  object W: TFtWidget\n    Count = '12'\n  end\n",
       "demo.xfm:3: TFtWidget.Count expects an integer but found string '12'"},
      {"  object W: TFtWidget\n    Visible = 1\n  end\n",
       "demo.xfm:3: TFtWidget.Visible expects an identifier but found 1"},
      {"  object W: TFtWidget\n    Visible = Yes\n  end\n", "demo.xfm:3: TFtWidget.Visible has no value 'Yes'"},
      {"  object W: TFtWidget\n    Color = ftPink\n  end\n", "demo.xfm:3: TFtWidget.Color has no value 'ftPink'"},
      {"  object W: TFtWidget\n    Styles = fsBold\n  end\n",
       "demo.xfm:3: TFtWidget.Styles expects a set but found 'fsBold'"},
      {"  object W: TFtWidget\n    Styles = [fsBold, fsWide]\n  end\n",
       "demo.xfm:3: TFtWidget.Styles has no element 'fsWide'"},
      {"  object W: TFtWidget\n    Count = 2147483648\n  end\n",
       "demo.xfm:3: 2147483648 is out of range for TFtWidget.Count"},
      {"  object W: TFtWidget\n    Serial = 3\n  end\n", "demo.xfm:3: TFtWidget.Serial is read-only"},
      {"  object W: TFtWidget\n    Limit = -1\n  end\n", "demo.xfm:3: TFtWidget.Limit: Limit must not be negative"},
      {"  object W: TFtWidget\n    OnClick = Missing\n  end\n",
       "demo.xfm:3: TFtModule has no published method 'Missing'"},
      {"  object W: TFtWidget\n    OnClick = 'ButtonClick'\n  end\n",
       "demo.xfm:3: TFtWidget.OnClick expects a method name but found string 'ButtonClick'"},
      {"  object W: TFtWidget\n    Range = 4\n  end\n",
       "demo.xfm:3: TFtWidget.Range is an object; its properties are stored as Range.NAME"},
      {"  object W: TFtWidget\n    Range.Mid = 4\n  end\n", "demo.xfm:3: TFtRange has no property 'Mid'"},
      {"  object W: TFtWidget\n    Count.Max = 4\n  end\n", "demo.xfm:3: TFtWidget.Count is not an object"},
      {"  object W: TFtWidget\n    Buddy.Count = 4\n  end\n",
       "demo.xfm:3: TFtWidget.Buddy refers to a component; its properties are not set through Buddy"},
      {"  object W: TFtWidget\n    Items.Strings = 'a'\n  end\n",
       "demo.xfm:3: TStringList.Strings expects a string list but found string 'a'"},
      {"  object W: TFtWidget\n    Source = W\n  end\n",
       "demo.xfm:3: TFtWidget.Source expects a TFtSource but W is a TFtWidget"},
      {"  object Source1: TFtWidget\n  end\n",
       "demo.xfm:2: field Source1 of TFtModule is a TFtSource, not a TFtWidget"},
      {"  object W: TFtWidget\n    FailOnLoad = True\n  end\n", "demo.xfm:2: Cannot load W"},
  };
  for (const Case& c : cases) {
    TFtModule module(nullptr);
    EXPECT_EQ(ReadError(&module, "object Demo: TFtModule\n" + c.Body + "end\n"), c.Message) << c.Body;
  }
  TFtModule module(nullptr);
  EXPECT_EQ(ReadError(&module, "object Demo: TFtWidget\nend\n"),
            "demo.xfm:1: a TFtWidget cannot be read into a TFtModule");
}

TEST_F(FormReader, AFailedReadLeavesTheRootAsItWas) {
  TFtModule module(nullptr);
  module.SetName("Before");
  module.SetTitle("kept");
  module.Notes()->SetVector({"old"});
  auto* existing = new TFtWidget(&module);  // owned by the module
  existing->SetName("Existing");
  module.SetMain(existing);

  // Each text fails at a later stage: a property, a reference, the loading of a component.
  const std::string failures[] = {
      "  object W: TFtWidget\n    Limit = -1\n  end\n",
      "  object W: TFtWidget\n    Buddy = Nope\n  end\n",
      "  object W: TFtWidget\n    FailOnLoad = True\n  end\n  object X: TFtWidget\n  end\n",
  };
  for (const std::string& failure : failures) {
    std::string text =
        "object Demo: TFtModule\n"
        "  Title = 'changed'\n"
        "  Notes.Strings = ('new')\n"
        "  Main = Button1\n"
        "  OnCreate = ModuleCreate\n"
        "  object Button1: TFtWidget\n"
        "    object Inner: TFtWidget\n"
        "      Buddy = Existing\n"
        "    end\n"
        "  end\n" +
        failure + "end\n";
    EXPECT_THROW(ReadComponent(&module, text, "demo.xfm"), EFormError) << failure;
    ASSERT_EQ(module.ComponentCount(), 1) << failure;
    EXPECT_EQ(module.Components(0), existing);
    EXPECT_EQ(module.Name(), "Before");
    EXPECT_EQ(module.Title(), "kept");
    EXPECT_EQ(module.Notes()->ToVector(), (std::vector<std::string>{"old"}));
    EXPECT_EQ(module.Main(), existing);
    EXPECT_FALSE(module.OnCreate);
    EXPECT_EQ(module.Button1, nullptr);
    EXPECT_FALSE(module.ComponentState().Contains(csLoading));
    EXPECT_TRUE(module.Clicks.empty());
  }
  // The same root reads a sound description afterwards.
  ReadComponent(&module, "object Demo: TFtModule\n  object Button1: TFtWidget\n  end\nend\n", "demo.xfm");
  EXPECT_EQ(module.ComponentCount(), 2);
  EXPECT_NE(module.Button1, nullptr);
}

TEST_F(FormReader, ReadRootComponentCreatesTheStoredClass) {
  TComponent owner(nullptr);
  auto first = ReadRootComponent("object Demo: TFtModule\n  Title = 'a'\nend\n", "demo.xfm", &owner);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->ClassType(), TFtModule::StaticClass());
  EXPECT_EQ(As<TFtModule>(first.get())->Title(), "a");
  EXPECT_EQ(first->Owner(), &owner);
  EXPECT_EQ(first->Name(), "Demo");
  // A second instance beside the first gets a name of its own.
  auto second = ReadRootComponent("object Demo: TDataModule\nend\n", "demo.xfm", &owner);
  EXPECT_EQ(second->Name(), "Demo_1");
  EXPECT_EQ(second->ClassType(), TDataModule::StaticClass());

  try {
    ReadRootComponent("\nobject Demo: TNoSuchModule\nend\n", "x.xfm", &owner);
    ADD_FAILURE() << "an unknown root class was read";
  } catch (const EFormError& e) {
    EXPECT_EQ(e.Message(), "x.xfm:2: unknown class 'TNoSuchModule'");
  }
  EXPECT_THROW(
      ReadRootComponent("object Demo: TFtModule\n  object W: TFtWidget\n    Foo = 1\n  end\nend\n", "demo.xfm", &owner),
      EFormError);
  EXPECT_EQ(owner.ComponentCount(), 2);  // the failed root went again
  second.reset();
  first.reset();
  EXPECT_EQ(owner.ComponentCount(), 0);
}

}  // namespace
