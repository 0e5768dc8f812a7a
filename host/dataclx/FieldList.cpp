// Splitting field list texts.
#include "host/dataclx/FieldList.h"

#include "host/rtl/SysUtils.h"

std::vector<std::string> SplitFieldList(std::string_view Text) {
  std::vector<std::string> names;
  if (Text.empty()) return names;
  size_t start = 0;
  while (true) {
    size_t stop = Text.find(';', start);
    names.push_back(Trim(Text.substr(start, stop == std::string_view::npos ? std::string_view::npos : stop - start)));
    if (stop == std::string_view::npos) break;
    start = stop + 1;
  }
  return names;
}
