// The syntax tree of a form description: what the parser makes of the text and the builder
// applies to components. It knows nothing of classes; every node keeps its line for errors,
// and where on its line it stands, for an editor that points into the text. Columns count
// bytes from 0, an end column is the byte after the last.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TFormValue {
  enum TKind { vkString, vkInteger, vkIdent, vkSet, vkList };
  TKind Kind = vkString;
  int Line = 0;
  int Column = 0;
  int EndColumn = 0;               // of its last token on its first line
  int EndLine = 0;                 // the line of its last token
  std::string Text;                // vkString: the joined text; vkIdent: the name
  int64_t Integer = 0;             // vkInteger
  std::vector<std::string> Items;  // vkSet: the element names; vkList: the strings
};

struct TFormProperty {
  std::string Path;  // as written, steps joined by "." ("HorzScrollBar.Range")
  int Line = 0;
  int Column = 0;
  TFormValue Value;
};

struct TFormObject {
  std::string Name;  // empty for an unnamed object ("object TFoo")
  std::string ClassName;
  int Line = 0;
  int NameColumn = 0;  // of the name; of the class when it has none
  int ClassColumn = 0;
  int EndLine = 0;                        // the line of its "end"
  std::vector<TFormProperty> Properties;  // in stored order
  std::vector<TFormObject> Children;      // nested objects, in stored order
};
