// Text routines of the Field Link Designer.
#include "fldlinks/FieldListText.h"

#include <algorithm>
#include <vector>

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

namespace {

// The position of the last "->", or npos. Occurrences of "->" cannot overlap, so the last one
// found from the end is the last one found from the start.
size_t LastArrow(std::string_view Line) { return Line.rfind("->"); }

}  // namespace

std::string JoinDetailField(std::string_view Line) {
  size_t arrow = LastArrow(Line);
  // No arrow, or an arrow with no room for a name and a blank before it.
  if (arrow == std::string_view::npos || arrow < 2) return {};
  return std::string(Line.substr(0, arrow - 1));
}

std::string JoinMasterField(std::string_view Line) {
  size_t arrow = LastArrow(Line);
  // Without an arrow the split point is taken as before the line, as a position of 0 would be.
  size_t start = arrow == std::string_view::npos ? 2 : arrow + 3;
  if (start >= Line.size()) return {};
  return std::string(Line.substr(start));
}

void TNamePositions::Assign(const TStrings* List) {
  FPositions.clear();
  int count = List->Count();
  FPositions.reserve(static_cast<size_t>(count));
  // emplace keeps the first position of a name that occurs more than once, as IndexOf does.
  for (int i = 0; i < count; ++i) FPositions.emplace(AnsiLowerCase(List->Get(i)), i);
}

int TNamePositions::IndexOf(std::string_view Name) const {
  auto found = FPositions.find(AnsiLowerCase(Name));
  return found == FPositions.end() ? -1 : found->second;
}

void OrderFieldList(const TStrings* Reference, TStrings* List) {
  struct TEntry {
    int Key;
    std::string Text;
    TObject* Object;
  };
  TNamePositions positions(Reference);
  int count = List->Count();
  std::vector<TEntry> entries;
  entries.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    std::string text = List->Get(i);
    int key = positions.IndexOf(text);
    entries.push_back({key, std::move(text), List->GetObject(i)});
  }
  auto byKey = [](const TEntry& a, const TEntry& b) { return a.Key < b.Key; };
  // A list already in order is left alone, so a list box keeps its items and their state.
  if (std::is_sorted(entries.begin(), entries.end(), byKey)) return;
  std::stable_sort(entries.begin(), entries.end(), byKey);
  TUpdateScope update(List);
  List->Clear();
  for (TEntry& entry : entries) List->AddObject(entry.Text, entry.Object);
}
