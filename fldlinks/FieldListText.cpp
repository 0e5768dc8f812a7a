// Text routines of the Field Link Designer.
#include "fldlinks/FieldListText.h"

#include <algorithm>

#include "host/rtl/SysUtils.h"

std::pair<std::string, std::string> SplitJoinLine(std::string_view Line,
                                                  const std::function<bool(std::string_view)>& IsDetail,
                                                  const std::function<bool(std::string_view)>& IsMaster) {
  constexpr std::string_view arrow = " -> ";
  size_t last = Line.rfind(arrow);
  if (last == std::string_view::npos) return {std::string(Line), {}};
  constexpr size_t none = std::string_view::npos;
  for (size_t at = last; at != none; at = at == 0 ? none : Line.rfind(arrow, at - 1)) {
    std::string_view detail = Line.substr(0, at), master = Line.substr(at + arrow.size());
    if (IsDetail(detail) && IsMaster(master)) return {std::string(detail), std::string(master)};
  }
  return {std::string(Line.substr(0, last)), std::string(Line.substr(last + arrow.size()))};
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

void TNameEntries::Assign(const TStrings* List) {
  FNames.clear();
  for (int i = 0, n = List->Count(); i < n; ++i) FNames[AnsiLowerCase(List->Get(i))].Positions.push_back(i);
}

int TNameEntries::IndexOf(std::string_view Name) const {
  auto found = FNames.find(AnsiLowerCase(Name));
  return found == FNames.end() ? -1 : found->second.Positions.front();
}

bool TNameEntries::Untaken(std::string_view Name) const {
  auto found = FNames.find(AnsiLowerCase(Name));
  return found != FNames.end() && found->second.Taken < found->second.Positions.size();
}

int TNameEntries::Take(std::string_view Name) {
  auto found = FNames.find(AnsiLowerCase(Name));
  if (found == FNames.end() || found->second.Taken == found->second.Positions.size()) return -1;
  return found->second.Positions[found->second.Taken++];
}

int TNameEntries::GiveBack(std::string_view Name) {
  auto found = FNames.find(AnsiLowerCase(Name));
  if (found == FNames.end() || found->second.Taken == 0) return -1;
  return found->second.Positions[--found->second.Taken];
}

void TNameEntries::GiveBackAll() {
  for (auto& [name, entries] : FNames) entries.Taken = 0;
}
