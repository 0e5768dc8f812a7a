// The form description's lexer and parser: what the syntax tree holds for each kind of value,
// the errors with their lines, and the designer dialog's own stored description.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "host/visualclx/forms/FormError.h"
#include "host/visualclx/forms/Lexer.h"
#include "host/visualclx/forms/Parser.h"

namespace {

std::string ParseError(const std::string& text) {
  try {
    ParseForm(text, "x.xfm");
  } catch (const EFormError& e) {
    return e.Message();
  }
  return "(no error)";
}

const TFormProperty& Prop(const TFormObject& object, const std::string& path) {
  for (const TFormProperty& p : object.Properties)
    if (p.Path == path) return p;
  throw std::runtime_error("no property " + path);
}

TEST(FormParser, SyntaxErrorsNameFileLineAndToken) {
  struct Case {
    std::string Text;
    std::string Message;
  };
  const std::string head = "object A: TB\n";
  const Case cases[] = {
      {"", "x.xfm:1: expected 'object' but found end of file"},
      {"Left = 1\n", "x.xfm:1: expected 'object' but found 'Left'"},
      {head + "  Left = 1\n  Top = 2\n  Caption x\nend\n", "x.xfm:4: expected '=' but found 'x'"},
      {head + "  Caption = 'abc\nend\n", "x.xfm:2: unterminated string"},
      {head + "  Caption = 'it''s\nend\n", "x.xfm:2: unterminated string"},
      {head + "  Left = 1\n", "x.xfm:2: missing 'end' of object A begun on line 1"},
      {head + "  object C: TD\n  end\n", "x.xfm:3: missing 'end' of object A begun on line 1"},
      {head + "  object C: TD\n    Left = 1\n", "x.xfm:3: missing 'end' of object C begun on line 2"},
      {head + "  Left =\nend\n", "x.xfm:2: expected a value but found end of line"},
      {head + "  Left\n  = 1\nend\n", "x.xfm:2: expected '=' but found end of line"},
      {head + "  Left = 1 Top = 2\nend\n", "x.xfm:2: expected end of line but found 'Top'"},
      {head + "  object C: TD\n  end\n  Left = 1\nend\n", "x.xfm:4: expected 'object' or 'end' but found 'Left'"},
      {head + "end\nobject B: TB\nend\n", "x.xfm:3: expected end of file but found 'object'"},
      {head + "  Left = 1 { note }\nend\n", "x.xfm:2: unexpected character '{'"},
      {head + "  // note\nend\n", "x.xfm:2: unexpected character '/'"},
      {head + "  Styles = [a, b\nend\n", "x.xfm:3: expected ',' or ']' but found 'end'"},
      {head + "  Styles = [a b]\nend\n", "x.xfm:2: expected ',' or ']' but found 'b'"},
      {head + "  Styles = [a,]\nend\n", "x.xfm:2: expected a set element but found ']'"},
      {head + "  Items.Strings = (\n    'a'\n    1)\nend\n", "x.xfm:4: expected a string or ')' but found '1'"},
      {head + "  Caption = 'a' +\nend\n", "x.xfm:3: expected a string after '+' but found 'end'"},
      {head + "  Left = 99999999999999999999\nend\n", "x.xfm:2: integer 99999999999999999999 is out of range"},
      {head + "  Left = 12px\nend\n", "x.xfm:2: invalid number '12p'"},
      {head + "  Caption = #1114112\nend\n", "x.xfm:2: invalid character code #1114112"},
      {head + "  Caption = #\nend\n", "x.xfm:2: expected digits after '#'"},
      {head + "  Caption = 'a'\n  Left = = 1\nend\n", "x.xfm:3: expected a value but found '='"},
      {head + "  Range. = 1\nend\n", "x.xfm:2: expected a property name but found '='"},
      {"object A:\n  Left = 1\nend\n", "x.xfm:1: expected a class name but found end of line"},
      {"object\nend\n", "x.xfm:1: expected a component name but found end of line"},
      {"object A: TB Left = 1\nend\n", "x.xfm:1: expected end of line but found 'Left'"},
      {head + "end end\n", "x.xfm:2: expected end of line but found 'end'"},
      {head + "  Caption = '\xC3\xA9t\xC3\xA9\n", "x.xfm:2: unterminated string"},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseError(c.Text), c.Message) << c.Text;
}

TEST(FormParser, RefusesNestingDeeperThanAnyForm) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "object A" + std::to_string(i) + ": TB\n";
  for (int i = 0; i < 300; ++i) text += "end\n";
  EXPECT_EQ(ParseError(text), "x.xfm:258: objects nested more than 256 deep");
}

TEST(FormParser, ValuesOfEveryKind) {
  TFormObject root = ParseForm(
      "object Demo: TDataModule\n"
      "  Caption = 'It''s ' + 'joined' +\n"
      "    ' over lines'\n"
      "  Lines = 'one'#13#10'two'#$41\n"
      "  Unicode = '\xC3\xA9t\xC3\xA9 #9' + #233\n"
      "  Empty = ''\n"
      "  Left = -42\n"
      "  Mask = $FF\n"
      "  Visible = True\n"
      "  Flags = [ixUnique, ixPrimary]\n"
      "  None = []\n"
      "  HorzScrollBar.Range = 348\n"
      "  Items.Strings = (\n"
      "    'one'\n"
      "    'two' + 'three'\n"
      "    '')\n"
      "  Nothing = ()\n"
      "  object Child: TWidget\n"
      "    object TAnon\n"
      "    end\n"
      "  end\n"
      "  OBJECT Second: TWidget\n"
      "  END\n"
      "end\n",
      "demo.xfm");
  EXPECT_EQ(root.Name, "Demo");
  EXPECT_EQ(root.ClassName, "TDataModule");
  EXPECT_EQ(root.Line, 1);

  EXPECT_EQ(Prop(root, "Caption").Value.Text, "It's joined over lines");
  EXPECT_EQ(Prop(root, "Caption").Line, 2);
  EXPECT_EQ(Prop(root, "Lines").Value.Text, "one\r\ntwoA");
  EXPECT_EQ(Prop(root, "Lines").Line, 4);  // the continuation counted its line
  EXPECT_EQ(Prop(root, "Unicode").Value.Text, "\xC3\xA9t\xC3\xA9 #9\xC3\xA9");
  EXPECT_EQ(Prop(root, "Empty").Value.Kind, TFormValue::vkString);
  EXPECT_EQ(Prop(root, "Empty").Value.Text, "");
  EXPECT_EQ(Prop(root, "Left").Value.Kind, TFormValue::vkInteger);
  EXPECT_EQ(Prop(root, "Left").Value.Integer, -42);
  EXPECT_EQ(Prop(root, "Mask").Value.Integer, 255);
  EXPECT_EQ(Prop(root, "Visible").Value.Kind, TFormValue::vkIdent);
  EXPECT_EQ(Prop(root, "Visible").Value.Text, "True");
  EXPECT_EQ(Prop(root, "Flags").Value.Kind, TFormValue::vkSet);
  EXPECT_EQ(Prop(root, "Flags").Value.Items, (std::vector<std::string>{"ixUnique", "ixPrimary"}));
  EXPECT_EQ(Prop(root, "None").Value.Kind, TFormValue::vkSet);
  EXPECT_TRUE(Prop(root, "None").Value.Items.empty());
  EXPECT_EQ(Prop(root, "HorzScrollBar.Range").Value.Integer, 348);
  EXPECT_EQ(Prop(root, "Items.Strings").Value.Kind, TFormValue::vkList);
  EXPECT_EQ(Prop(root, "Items.Strings").Value.Items, (std::vector<std::string>{"one", "twothree", ""}));
  EXPECT_EQ(Prop(root, "Nothing").Value.Kind, TFormValue::vkList);
  EXPECT_TRUE(Prop(root, "Nothing").Value.Items.empty());

  ASSERT_EQ(root.Children.size(), 2u);
  EXPECT_EQ(root.Children[0].Name, "Child");
  EXPECT_EQ(root.Children[0].Line, 18);
  ASSERT_EQ(root.Children[0].Children.size(), 1u);
  EXPECT_EQ(root.Children[0].Children[0].Name, "");
  EXPECT_EQ(root.Children[0].Children[0].ClassName, "TAnon");
  EXPECT_EQ(root.Children[1].Name, "Second");
}

TEST(FormParser, LexerExtremesOfIntegersAndCodes) {
  auto tokens = TokenizeForm("-9223372036854775808 9223372036854775807 #0'x'#$10FFFF", "x.xfm");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[0].Integer, INT64_MIN);
  EXPECT_EQ(tokens[1].Integer, INT64_MAX);
  EXPECT_EQ(tokens[2].Kind, TFormTokenKind::String);
  EXPECT_EQ(tokens[2].Text, std::string("\0x\xF4\x8F\xBF\xBF", 6));
  EXPECT_EQ(tokens[3].Kind, TFormTokenKind::EndOfFile);
  EXPECT_THROW(TokenizeForm("9223372036854775808", "x.xfm"), EFormError);
  EXPECT_THROW(TokenizeForm("#$D800", "x.xfm"), EFormError);  // a lone surrogate is no character
}

TEST(FormParser, ReadsTheFieldLinkDesignersDescription) {
  std::ifstream in(std::string(TIRVENDAL_SOURCE_DIR) + "/fldlinks/QVRLinkFields.xfm", std::ios::binary);
  ASSERT_TRUE(in) << "the designer's stored description is missing";
  std::stringstream text;
  text << in.rdbuf();
  TFormObject root = ParseForm(text.str(), "QVRLinkFields.xfm");

  EXPECT_EQ(root.Name, "QVRLinkFields");
  EXPECT_EQ(root.ClassName, "TQVRLinkFields");
  EXPECT_EQ(Prop(root, "Caption").Value.Text, "Field Link Designer");
  EXPECT_EQ(Prop(root, "HorzScrollBar.Range").Value.Integer, 348);
  EXPECT_EQ(Prop(root, "VertScrollBar.Range").Value.Integer, 307);
  EXPECT_EQ(Prop(root, "ActiveControl").Value.Text, "IndexList");
  EXPECT_EQ(Prop(root, "Color").Value.Text, "clButton");
  EXPECT_EQ(Prop(root, "OnCreate").Value.Text, "FormCreate");
  EXPECT_EQ(Prop(root, "OnDestroy").Value.Text, "FormDestroy");

  std::vector<std::string> order;
  for (const TFormObject& child : root.Children) {
    order.push_back(child.Name);
    EXPECT_TRUE(child.Children.empty());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Bevel1", "Bevel2", "Label30", "Label31", "IndexLabel", "Label2",
                                             "DetailList", "MasterList", "BindList", "IndexList", "AddButton",
                                             "DeleteButton", "ClearButton", "Button1", "Button2", "Help"}));
  const TFormObject& label = root.Children[2];
  EXPECT_EQ(label.ClassName, "TLabel");
  EXPECT_EQ(Prop(label, "Caption").Value.Text, "D&etail Fields");
  EXPECT_EQ(Prop(label, "FocusControl").Value.Text, "DetailList");
  const TFormObject& combo = root.Children[9];
  EXPECT_EQ(Prop(combo, "Style").Value.Text, "csDropDownList");
  EXPECT_EQ(Prop(combo, "OnChange").Value.Text, "IndexListChange");
  EXPECT_EQ(Prop(combo, "OnClick").Value.Text, "IndexListChange");
  const TFormObject& ok = root.Children[13];
  EXPECT_EQ(Prop(ok, "Default").Value.Text, "True");
  EXPECT_EQ(Prop(ok, "ModalResult").Value.Integer, 1);
  EXPECT_EQ(Prop(ok, "OnClick").Value.Text, "BitBtn1Click");
  EXPECT_EQ(Prop(root.Children[8], "MultiSelect").Line, Prop(root.Children[8], "Left").Line + 4);
}

}  // namespace
