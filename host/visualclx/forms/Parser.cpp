// The form description's parser. The format is line-based where it matters for errors: an
// object header, a property path with its "=" and the start of its value each stay on one
// line, and every statement starts a new line. Sets, string lists and strings joined with "+"
// may run over several lines.
#include "host/visualclx/forms/Parser.h"

#include <algorithm>
#include <deque>
#include <iterator>
#include <utility>

#include "host/rtl/SysUtils.h"
#include "host/visualclx/forms/FormError.h"
#include "host/visualclx/forms/Lexer.h"

namespace {

// Deeper nesting than any form has is refused rather than risking the stack.
constexpr int kMaxDepth = 256;

class TParser {
 public:
  TParser(std::string_view text, const std::string& fileName) : FStream(text, fileName), FFileName(fileName) {}

  TFormObject ParseRoot() {
    TFormObject root = ParseObject(0);
    if (Peek().Kind != TFormTokenKind::EndOfFile) Unexpected(Peek(), "end of file");
    return root;
  }

 private:
  // The token at that place from the start, read from the text when first asked for.
  const TFormToken& At(size_t place) {
    while (place >= FBase + FTokens.size()) FTokens.push_back(FStream.Next());
    return FTokens[place - FBase];
  }

  const TFormToken& Peek() { return At(FPos); }

  // Consumes the next token; the end of file stays put.
  const TFormToken& Take() {
    FLast = FPos;
    if (Peek().Kind != TFormTokenKind::EndOfFile) ++FPos;
    return At(FLast);
  }

  const TFormToken& Last() const { return FTokens[FLast - FBase]; }

  // Lets go of the tokens before the last one taken; only between statements, where nobody
  // holds one.
  void Forget() {
    while (FBase < FLast) {
      FTokens.pop_front();
      ++FBase;
    }
  }

  bool IsSymbol(const TFormToken& token, char symbol) const {
    return token.Kind == TFormTokenKind::Symbol && token.Text[0] == symbol;
  }

  bool IsKeyword(const TFormToken& token, std::string_view keyword) const {
    return token.Kind == TFormTokenKind::Identifier && SameText(token.Text, keyword);
  }

  // The next token, which has to continue the line of the last one.
  const TFormToken& OnLine(std::string_view expected) {
    const TFormToken& token = Peek();
    if (token.Kind == TFormTokenKind::EndOfFile)
      Fail(Last().Line, "expected " + std::string(expected) + " but found end of file");
    if (token.Line != Last().Line) Fail(Last().Line, "expected " + std::string(expected) + " but found end of line");
    return token;
  }

  void EndOfLine() {
    const TFormToken& token = Peek();
    if (token.Kind != TFormTokenKind::EndOfFile && token.Line == Last().Line) Unexpected(token, "end of line");
  }

  const TFormToken& TakeIdentifier(std::string_view expected) {
    const TFormToken& token = OnLine(expected);
    if (token.Kind != TFormTokenKind::Identifier) Unexpected(token, expected);
    return Take();
  }

  TFormObject ParseObject(int depth) {
    const TFormToken& head = Peek();
    if (!IsKeyword(head, "object")) Unexpected(head, "'object'");
    if (depth > kMaxDepth) Fail(head.Line, "objects nested more than " + std::to_string(kMaxDepth) + " deep");
    Take();
    TFormObject object;
    object.Line = head.Line;
    object.NameColumn = object.ClassColumn = OnLine("a component name").Column;
    std::string first = TakeIdentifier("a component name").Text;
    if (IsSymbol(Peek(), ':') && Peek().Line == Last().Line) {
      Take();
      object.Name = std::move(first);
      object.ClassColumn = OnLine("a class name").Column;
      object.ClassName = TakeIdentifier("a class name").Text;
    } else {
      object.ClassName = std::move(first);  // "object TFoo": an unnamed component
    }
    EndOfLine();

    while (true) {
      Forget();
      const TFormToken& token = Peek();
      if (token.Kind == TFormTokenKind::EndOfFile)
        Fail(token.Line, "missing 'end' of object " + (object.Name.empty() ? object.ClassName : object.Name) +
                             " begun on line " + std::to_string(object.Line));
      if (IsKeyword(token, "end")) {
        TakeProperties(object);
        object.EndLine = Take().Line;
        EndOfLine();
        return object;
      }
      if (IsKeyword(token, "object")) {
        TakeProperties(object);
        object.Children.push_back(ParseObject(depth + 1));
        continue;
      }
      // An object's properties come before the objects nested in it.
      if (!object.Children.empty()) Unexpected(token, "'object' or 'end'");
      if (token.Kind != TFormTokenKind::Identifier) Unexpected(token, "a property name, 'object' or 'end'");
      FProperties.push_back(ParseProperty());
    }
  }

  // An object's properties gather in one vector kept from object to object and go into the
  // object at their exact count, so that a form of many objects holds no spare room for them.
  // Properties come before nested objects: one such vector serves every level.
  void TakeProperties(TFormObject& object) {
    if (FProperties.empty()) return;
    object.Properties.reserve(FProperties.size());
    std::move(FProperties.begin(), FProperties.end(), std::back_inserter(object.Properties));
    FProperties.clear();
  }

  TFormProperty ParseProperty() {
    TFormProperty property;
    property.Line = Peek().Line;
    property.Column = Peek().Column;
    property.Path = Take().Text;
    while (IsSymbol(Peek(), '.') && Peek().Line == Last().Line) {
      Take();
      property.Path += "." + TakeIdentifier("a property name").Text;
    }
    if (!IsSymbol(OnLine("'='"), '=')) Unexpected(Peek(), "'='");
    Take();
    const size_t first = FPos;
    property.Value = ParseValue();
    Span(property.Value, first);
    EndOfLine();
    return property;
  }

  // Where the value that starts at token First stands in the text.
  void Span(TFormValue& value, size_t first) {
    value.Column = At(first).Column;
    value.EndLine = Last().Line;
    for (size_t i = first; i <= FLast && At(i).Line == value.Line; ++i) value.EndColumn = At(i).EndColumn;
  }

  TFormValue ParseValue() {
    const TFormToken& token = OnLine("a value");
    TFormValue value;
    value.Line = token.Line;
    switch (token.Kind) {
      case TFormTokenKind::String:
        value.Kind = TFormValue::vkString;
        value.Text = ParseString();
        return value;
      case TFormTokenKind::Integer:
        value.Kind = TFormValue::vkInteger;
        value.Integer = Take().Integer;
        return value;
      case TFormTokenKind::Identifier:
        value.Kind = TFormValue::vkIdent;
        value.Text = Take().Text;
        return value;
      default:
        break;
    }
    if (IsSymbol(token, '[')) {
      Take();
      value.Kind = TFormValue::vkSet;
      ParseSet(value.Items);
    } else if (IsSymbol(token, '(')) {
      Take();
      value.Kind = TFormValue::vkList;
      while (!IsSymbol(Peek(), ')')) {
        if (Peek().Kind != TFormTokenKind::String) Unexpected(Peek(), "a string or ')'");
        value.Items.push_back(ParseString());
      }
      Take();
    } else {
      Unexpected(token, "a value");
    }
    return value;
  }

  // A string token and the ones joined to it with "+", which may end a line.
  std::string ParseString() {
    std::string text = Take().Text;
    while (IsSymbol(Peek(), '+')) {
      Take();
      if (Peek().Kind != TFormTokenKind::String) Unexpected(Peek(), "a string after '+'");
      text += Take().Text;
    }
    return text;
  }

  void ParseSet(std::vector<std::string>& items) {
    if (IsSymbol(Peek(), ']')) {
      Take();
      return;
    }
    while (true) {
      if (Peek().Kind != TFormTokenKind::Identifier) Unexpected(Peek(), "a set element");
      items.push_back(Take().Text);
      if (IsSymbol(Peek(), ']')) {
        Take();
        return;
      }
      if (!IsSymbol(Peek(), ',')) Unexpected(Peek(), "',' or ']'");
      Take();
    }
  }

  [[noreturn]] void Unexpected(const TFormToken& token, std::string_view expected) const {
    Fail(token.Line, "expected " + std::string(expected) + " but found " + DescribeToken(token));
  }

  [[noreturn]] void Fail(int line, const std::string& message) const { FormError(FFileName, line, message); }

  TFormTokenStream FStream;
  std::deque<TFormToken> FTokens;          // read and not forgotten: from place FBase on
  std::vector<TFormProperty> FProperties;  // of the object being read, until its first nested object or end
  size_t FBase = 0;
  const std::string& FFileName;
  size_t FPos = 0;
  size_t FLast = 0;
};

}  // namespace

TFormObject ParseForm(std::string_view Text, const std::string& FileName) {
  return TParser(Text, FileName).ParseRoot();
}
