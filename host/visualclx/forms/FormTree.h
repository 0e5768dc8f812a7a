// The syntax tree of a form description: what the parser makes of the text and the builder
// applies to components. It knows nothing of classes; every node keeps its line for errors.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TFormValue {
  enum TKind { vkString, vkInteger, vkIdent, vkSet, vkList };
  TKind Kind = vkString;
  int Line = 0;
  std::string Text;                // vkString: the joined text; vkIdent: the name
  int64_t Integer = 0;             // vkInteger
  std::vector<std::string> Items;  // vkSet: the element names; vkList: the strings
};

struct TFormProperty {
  std::string Path;  // as written, steps joined by "." ("HorzScrollBar.Range")
  int Line = 0;
  TFormValue Value;
};

struct TFormObject {
  std::string Name;  // empty for an unnamed object ("object TFoo")
  std::string ClassName;
  int Line = 0;
  std::vector<TFormProperty> Properties;  // in stored order
  std::vector<TFormObject> Children;      // nested objects, in stored order
};
