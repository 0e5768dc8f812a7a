// designhost's line formats.
#include "designhost/Output.h"

std::string EscapeField(std::string_view Text) {
  std::string out;
  out.reserve(Text.size());
  for (char c : Text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}
