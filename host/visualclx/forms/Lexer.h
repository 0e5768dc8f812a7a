// The first stage of reading a form description: the text cut into tokens, each with its line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class TFormTokenKind { Identifier, Integer, String, Symbol, EndOfFile };

struct TFormToken {
  TFormTokenKind Kind = TFormTokenKind::EndOfFile;
  // Identifier and symbol: as written. String: the value, with quoted pieces and character
  // codes that touch each other ('a'#13#10'b') joined into one. Integer: as written.
  std::string Text;
  int64_t Integer = 0;
  int Line = 1;
  int Column = 0;     // the byte of its line it starts at, from 0
  int EndColumn = 0;  // the byte of its line after its last
};

class TFormLexer;

// The tokens of Text one at a time, as a reader asks for them, so that a large form is never
// held as tokens all at once. After the last token, EndOfFile (whose line is that of the last
// token) however often asked. Raises as TokenizeForm does, when it comes to the fault.
class TFormTokenStream {
 public:
  TFormTokenStream(std::string_view Text, const std::string& FileName);
  ~TFormTokenStream();
  TFormTokenStream(const TFormTokenStream&) = delete;
  TFormTokenStream& operator=(const TFormTokenStream&) = delete;
  TFormToken Next();

 private:
  std::unique_ptr<TFormLexer> FLexer;
};

// The tokens of Text, ending with one EndOfFile token (whose line is that of the last token).
// Raises EFormError for an unterminated string, a bad character code or number, and any
// character that has no place in the format.
std::vector<TFormToken> TokenizeForm(std::string_view Text, const std::string& FileName);

// The token as an error message shows it: 'Left', 'x', end of file.
std::string DescribeToken(const TFormToken& Token);
