// The form description's lexer.
#include "host/visualclx/forms/Lexer.h"

#include <limits>

#include "host/rtl/SysUtils.h"
#include "host/visualclx/forms/FormError.h"

namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  return (c | 0x20) - 'a' + 10;
}

}  // namespace

class TFormLexer {
 public:
  TFormLexer(std::string_view text, const std::string& fileName) : FText(text), FFileName(fileName) {}

  TFormToken Next() {
    if (!SkipBlanks()) {
      TFormToken end;
      end.Line = FLastLine;
      return end;
    }
    TFormToken token = NextToken();
    FLastLine = token.Line;
    return token;
  }

 private:
  // Skips white space, counting lines; false at the end of the text.
  bool SkipBlanks() {
    while (FPos < FText.size()) {
      char c = FText[FPos];
      if (c == '\n') {
        ++FLine;
        FLineStart = FPos + 1;
      } else if (c != ' ' && c != '\t' && c != '\r' && c != '\f' && c != '\v') {
        return true;
      }
      ++FPos;
    }
    return false;
  }

  char Peek(size_t ahead = 0) const { return FPos + ahead < FText.size() ? FText[FPos + ahead] : '\0'; }
  bool AtEnd(size_t ahead = 0) const { return FPos + ahead >= FText.size(); }

  TFormToken NextToken() {
    TFormToken token;
    token.Line = FLine;
    token.Column = static_cast<int>(FPos - FLineStart);
    ReadToken(token);
    token.EndColumn = static_cast<int>(FPos - FLineStart);
    return token;
  }

  void ReadToken(TFormToken& token) {
    char c = Peek();
    if (IsIdentStart(c)) {
      size_t start = FPos;
      while (!AtEnd() && (IsIdentStart(Peek()) || IsDigit(Peek()))) ++FPos;
      token.Kind = TFormTokenKind::Identifier;
      token.Text = std::string(FText.substr(start, FPos - start));
    } else if (IsDigit(c) || c == '$' || (c == '-' && (IsDigit(Peek(1)) || Peek(1) == '$'))) {
      ReadInteger(token);
    } else if (c == '\'' || c == '#') {
      ReadString(token);
    } else if (c == '=' || c == ':' || c == '.' || c == ',' || c == '[' || c == ']' || c == '(' || c == ')' ||
               c == '+') {
      token.Kind = TFormTokenKind::Symbol;
      token.Text = std::string(1, c);
      ++FPos;
    } else {
      unsigned char u = static_cast<unsigned char>(c);
      Fail(u >= 0x20 && u < 0x7F ? "unexpected character '" + std::string(1, c) + "'"
                                 : "unexpected character #" + std::to_string(u));
    }
  }

  // A decimal or $hexadecimal number, possibly negative; it must fit 64 bits.
  void ReadInteger(TFormToken& token) {
    size_t start = FPos;
    bool negative = Peek() == '-';
    if (negative) ++FPos;
    uint64_t magnitude = ReadNumber(start);
    uint64_t limit = negative ? uint64_t{1} << 63 : static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    token.Kind = TFormTokenKind::Integer;
    token.Text = std::string(FText.substr(start, FPos - start));
    if (magnitude > limit) Fail("integer " + token.Text + " is out of range");
    token.Integer = negative ? static_cast<int64_t>(~magnitude + 1) : static_cast<int64_t>(magnitude);
  }

  // The digits at the current position, decimal or after "$" hexadecimal; saturates past 64 bits
  // (the caller's range check then refuses the number).
  uint64_t ReadNumber(size_t tokenStart) {
    bool hex = Peek() == '$';
    if (hex) ++FPos;
    size_t digits = FPos;
    uint64_t value = 0;
    bool overflow = false;
    unsigned base = hex ? 16 : 10;
    while (!AtEnd() && (hex ? IsHexDigit(Peek()) : IsDigit(Peek()))) {
      unsigned digit = static_cast<unsigned>(HexValue(Peek()));
      if (value > (std::numeric_limits<uint64_t>::max() - digit) / base) overflow = true;
      value = value * base + digit;
      ++FPos;
    }
    if (FPos == digits)
      Fail("expected digits after '" + std::string(FText.substr(tokenStart, FPos - tokenStart)) + "'");
    if (!AtEnd() && (IsIdentStart(Peek()) || IsDigit(Peek())))
      Fail("invalid number '" + std::string(FText.substr(tokenStart, FPos - tokenStart + 1)) + "'");
    return overflow ? std::numeric_limits<uint64_t>::max() : value;
  }

  // Quoted pieces and #codes that follow each other without a blank form one string.
  void ReadString(TFormToken& token) {
    token.Kind = TFormTokenKind::String;
    while (!AtEnd() && (Peek() == '\'' || Peek() == '#')) {
      if (Peek() == '\'')
        ReadQuoted(token.Text);
      else
        ReadCharCode(token.Text);
    }
  }

  void ReadQuoted(std::string& out) {
    ++FPos;  // the opening quote
    while (true) {
      if (AtEnd() || Peek() == '\n') Fail("unterminated string");
      char c = FText[FPos++];
      if (c != '\'') {
        out += c;
      } else if (Peek() == '\'') {
        out += '\'';
        ++FPos;
      } else {
        return;
      }
    }
  }

  void ReadCharCode(std::string& out) {
    size_t start = FPos++;
    uint64_t code = ReadNumber(start);
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      Fail("invalid character code " + std::string(FText.substr(start, FPos - start)));
    AppendUtf8(out, static_cast<char32_t>(code));
  }

  [[noreturn]] void Fail(const std::string& message) const { FormError(FFileName, FLine, message); }

  std::string_view FText;
  const std::string& FFileName;
  size_t FPos = 0;
  size_t FLineStart = 0;
  int FLine = 1;
  int FLastLine = 1;  // of the last token
};

TFormTokenStream::TFormTokenStream(std::string_view Text, const std::string& FileName)
    : FLexer(std::make_unique<TFormLexer>(Text, FileName)) {}

TFormTokenStream::~TFormTokenStream() = default;

TFormToken TFormTokenStream::Next() { return FLexer->Next(); }

std::vector<TFormToken> TokenizeForm(std::string_view Text, const std::string& FileName) {
  TFormLexer lexer(Text, FileName);
  std::vector<TFormToken> tokens;
  do tokens.push_back(lexer.Next());
  while (tokens.back().Kind != TFormTokenKind::EndOfFile);
  return tokens;
}

std::string DescribeToken(const TFormToken& Token) {
  constexpr size_t kShown = 40;
  switch (Token.Kind) {
    case TFormTokenKind::EndOfFile:
      return "end of file";
    case TFormTokenKind::String: {
      if (Token.Text.size() <= kShown) return "string '" + Token.Text + "'";
      size_t cut = kShown;
      while (cut > 0 && (static_cast<unsigned char>(Token.Text[cut]) & 0xC0) == 0x80) --cut;  // whole characters
      return "string '" + Token.Text.substr(0, cut) + "...'";
    }
    default:
      return "'" + Token.Text + "'";
  }
}
