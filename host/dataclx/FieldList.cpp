// Field list texts: splitting them and finding their fields.
#include "host/dataclx/FieldList.h"

#include <algorithm>

#include "host/dataclx/DataSet.h"
#include "host/dataclx/DefCollection.h"
#include "host/rtl/SysUtils.h"

std::string NextFieldName(std::string_view Fields, size_t& Pos) {
  size_t start = std::min(Pos, Fields.size());
  size_t stop = Fields.find(';', start);
  if (stop == std::string_view::npos) {
    Pos = Fields.size();
    return std::string(Fields.substr(start));
  }
  Pos = stop + 1;
  return std::string(Fields.substr(start, stop - start));
}

std::vector<std::string> SplitFieldList(std::string_view Fields) {
  std::vector<std::string> names;
  if (Fields.empty()) return names;
  const size_t count = static_cast<size_t>(std::count(Fields.begin(), Fields.end(), ';')) + 1;
  names.reserve(count);
  size_t pos = 0;
  for (size_t i = 0; i < count; ++i) names.push_back(NextFieldName(Fields, pos));
  return names;
}

TField* FindListedField(const TDataSet* DataSet, std::string_view Name) {
  if (TField* field = DataSet->FindField(Name)) return field;
  std::string trimmed = Trim(Name);
  return trimmed.size() == Name.size() ? nullptr : DataSet->FindField(trimmed);
}

TNamedItem* FindListedDef(const TDefCollection* Defs, std::string_view Name) {
  if (TNamedItem* def = Defs->Find(Name)) return def;
  std::string trimmed = Trim(Name);
  return trimmed.size() == Name.size() ? nullptr : Defs->Find(trimmed);
}
