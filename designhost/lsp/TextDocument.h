// A form file as the editor holds it: its text, unsaved edits included, kept in step with the
// editor's changes, and positions on it in the units the editor counts in.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "host/visualclx/forms/FormTree.h"

// How a position's character counts: UTF-16 code units (the protocol's default) or bytes.
enum class TPositionEncoding { Utf16, Utf8 };

// A place in a text: line and byte column, both from 0.
struct TTextPoint {
  int Line = 0;
  int Column = 0;
};

// The path of a file: URI, and back; percent escapes decoded and written.
std::filesystem::path PathOfUri(std::string_view Uri);
std::string UriOfPath(const std::filesystem::path& Path);

// Positions over a text held elsewhere.
class TTextLines {
 public:
  TTextLines(std::string_view Text, TPositionEncoding Encoding);

  TPositionEncoding Encoding() const { return FEncoding; }
  int Count() const { return static_cast<int>(FStarts.size()); }
  std::string_view Line(int Index) const;
  // The byte offset of an LSP position; a position past a line's end is its end, a line past
  // the last the text's end.
  size_t Offset(const nlohmann::json& Position) const;
  TTextPoint Point(const nlohmann::json& Position) const;
  nlohmann::json Position(TTextPoint Point) const;
  nlohmann::json Range(TTextPoint Start, TTextPoint End) const;
  // Line Index (from 0) from its first to its last non-blank character.
  nlohmann::json LineRange(int Index) const;
  // The range of a value on its first line.
  nlohmann::json ValueRange(const TFormValue& Value) const;

 private:
  std::string_view FText;
  TPositionEncoding FEncoding;
  std::vector<size_t> FStarts;
};

class TTextDocument {
 public:
  TTextDocument(std::string Uri, int Version, std::string Text);

  const std::string& Uri() const { return FUri; }
  const std::filesystem::path& Path() const { return FPath; }
  int Version() const { return FVersion; }
  const std::string& Text() const { return FText; }

  // Applies one entry of didChange's contentChanges: a range and its new text, or the whole text.
  void Change(const nlohmann::json& Change, TPositionEncoding Encoding);
  void SetVersion(int Version) { FVersion = Version; }
  // The form's syntax tree, or nil when the text does not read; made once per text.
  const TFormObject* Tree() const;

 private:
  std::string FUri;
  std::filesystem::path FPath;
  int FVersion;
  std::string FText;
  mutable std::optional<std::optional<TFormObject>> FTree;
};
