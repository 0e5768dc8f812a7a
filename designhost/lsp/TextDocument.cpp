// The language server's documents and the positions on them.
#include "designhost/lsp/TextDocument.h"

#include <algorithm>

#include "host/rtl/SysUtils.h"
#include "host/visualclx/forms/Parser.h"

namespace {

// The number of UTF-16 code units of the UTF-8 text Bytes.
int Utf16Length(std::string_view Bytes) {
  int units = 0;
  for (unsigned char c : Bytes) {
    if ((c & 0xC0) != 0x80) ++units;  // a character's first byte
    if ((c & 0xF8) == 0xF0) ++units;  // beyond the basic plane: a surrogate pair
  }
  return units;
}

// The byte of Line after Units UTF-16 code units (never inside a character).
size_t Utf16Offset(std::string_view Line, int64_t Units) {
  size_t i = 0;
  while (i < Line.size() && Units > 0) {
    const auto c = static_cast<unsigned char>(Line[i]);
    Units -= (c & 0xF8) == 0xF0 ? 2 : 1;
    ++i;
    while (i < Line.size() && (static_cast<unsigned char>(Line[i]) & 0xC0) == 0x80) ++i;
  }
  return i;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') return (c | 0x20) - 'a' + 10;
  return -1;
}

}  // namespace

std::filesystem::path PathOfUri(std::string_view Uri) {
  constexpr std::string_view kScheme = "file://";
  if (Uri.substr(0, kScheme.size()) == kScheme) Uri.remove_prefix(kScheme.size());
  std::string path;
  for (size_t i = 0; i < Uri.size(); ++i) {
    if (Uri[i] == '%' && i + 2 < Uri.size() && HexDigit(Uri[i + 1]) >= 0 && HexDigit(Uri[i + 2]) >= 0) {
      path += static_cast<char>(HexDigit(Uri[i + 1]) * 16 + HexDigit(Uri[i + 2]));
      i += 2;
    } else {
      path += Uri[i];
    }
  }
  return path;
}

std::string UriOfPath(const std::filesystem::path& Path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (unsigned char c : std::filesystem::absolute(Path).lexically_normal().string()) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri;
}

// ---------------------------------------------------------------------------------------------
// TTextLines

TTextLines::TTextLines(std::string_view Text, TPositionEncoding Encoding) : FText(Text), FEncoding(Encoding) {
  FStarts.push_back(0);
  for (size_t i = 0; i < Text.size(); ++i)
    if (Text[i] == '\n') FStarts.push_back(i + 1);
}

std::string_view TTextLines::Line(int Index) const {
  if (Index < 0 || Index >= Count()) return {};
  const size_t start = FStarts[static_cast<size_t>(Index)];
  size_t end = Index + 1 < Count() ? FStarts[static_cast<size_t>(Index) + 1] - 1 : FText.size();
  if (end > start && FText[end - 1] == '\r') --end;
  return FText.substr(start, end - start);
}

TTextPoint TTextLines::Point(const nlohmann::json& Position) const {
  const int64_t line = Position.at("line").get<int64_t>();
  const int64_t character = Position.at("character").get<int64_t>();
  if (line < 0 || character < 0) throw EConvertError("a position before the start of the text");
  if (line >= Count()) return {Count() - 1, static_cast<int>(Line(Count() - 1).size())};
  std::string_view text = Line(static_cast<int>(line));
  size_t column = FEncoding == TPositionEncoding::Utf8 ? std::min<size_t>(static_cast<size_t>(character), text.size())
                                                       : Utf16Offset(text, character);
  return {static_cast<int>(line), static_cast<int>(column)};
}

size_t TTextLines::Offset(const nlohmann::json& Position) const {
  TTextPoint point = Point(Position);
  return FStarts[static_cast<size_t>(point.Line)] + static_cast<size_t>(point.Column);
}

nlohmann::json TTextLines::Position(TTextPoint Point) const {
  std::string_view text = Line(Point.Line);
  const size_t column = std::min<size_t>(static_cast<size_t>(std::max(Point.Column, 0)), text.size());
  const int character =
      FEncoding == TPositionEncoding::Utf8 ? static_cast<int>(column) : Utf16Length(text.substr(0, column));
  return {{"line", Point.Line}, {"character", character}};
}

nlohmann::json TTextLines::Range(TTextPoint Start, TTextPoint End) const {
  return {{"start", Position(Start)}, {"end", Position(End)}};
}

nlohmann::json TTextLines::LineRange(int Index) const {
  std::string_view text = Line(Index);
  const size_t first = text.find_first_not_of(" \t");
  const size_t last = text.find_last_not_of(" \t");
  if (first == std::string_view::npos) return Range({Index, 0}, {Index, 0});
  return Range({Index, static_cast<int>(first)}, {Index, static_cast<int>(last + 1)});
}

nlohmann::json TTextLines::ValueRange(const TFormValue& Value) const {
  return Range({Value.Line - 1, Value.Column}, {Value.Line - 1, Value.EndColumn});
}

// ---------------------------------------------------------------------------------------------
// TTextDocument

TTextDocument::TTextDocument(std::string Uri, int Version, std::string Text)
    : FUri(std::move(Uri)), FPath(PathOfUri(FUri)), FVersion(Version), FText(std::move(Text)) {}

void TTextDocument::Change(const nlohmann::json& Change, TPositionEncoding Encoding) {
  FTree.reset();
  const std::string& text = Change.at("text").get_ref<const std::string&>();
  if (!Change.contains("range")) {
    FText = text;
    return;
  }
  TTextLines lines(FText, Encoding);
  const size_t start = lines.Offset(Change["range"]["start"]);
  const size_t end = std::max(start, lines.Offset(Change["range"]["end"]));
  FText.replace(start, end - start, text);
}

const TFormObject* TTextDocument::Tree() const {
  if (!FTree) {
    try {
      FTree.emplace(ParseForm(FText, FPath.string()));
    } catch (const Exception&) {
      FTree.emplace(std::nullopt);
    }
  }
  return *FTree ? &**FTree : nullptr;
}
