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

void TNameIndex::Assign(const TStrings* List) {
  const int count = List->Count();
  std::vector<TEntry> entries;
  entries.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) entries.push_back({AnsiLowerCase(List->Get(i)), i});
  std::sort(entries.begin(), entries.end(),
            [](const TEntry& A, const TEntry& B) { return A.Key != B.Key ? A.Key < B.Key : A.Position < B.Position; });
  FEntries = std::move(entries);
}

std::pair<size_t, size_t> TNameIndex::Range(std::string_view Name) const {
  const std::string key = AnsiLowerCase(Name);
  auto first = std::lower_bound(FEntries.begin(), FEntries.end(), key,
                                [](const TEntry& Entry, const std::string& Key) { return Entry.Key < Key; });
  auto last = first;
  while (last != FEntries.end() && last->Key == key) ++last;
  return {static_cast<size_t>(first - FEntries.begin()), static_cast<size_t>(last - FEntries.begin())};
}

int TNamePositions::IndexOf(std::string_view Name) const {
  auto [first, last] = FIndex.Range(Name);
  return first == last ? -1 : FIndex.Position(first);
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
  FIndex.Assign(List);
  FTaken.assign(FIndex.Size(), 0);
}

int TNameEntries::IndexOf(std::string_view Name) const {
  auto [first, last] = FIndex.Range(Name);
  return first == last ? -1 : FIndex.Position(first);
}

bool TNameEntries::Untaken(std::string_view Name) const {
  auto [first, last] = FIndex.Range(Name);
  return first != last && FTaken[first] < last - first;
}

int TNameEntries::Take(std::string_view Name) {
  auto [first, last] = FIndex.Range(Name);
  if (first == last || FTaken[first] == last - first) return -1;
  return FIndex.Position(first + FTaken[first]++);
}

int TNameEntries::GiveBack(std::string_view Name) {
  auto [first, last] = FIndex.Range(Name);
  if (first == last || FTaken[first] == 0) return -1;
  return FIndex.Position(first + --FTaken[first]);
}

void TNameEntries::GiveBackAll() { std::fill(FTaken.begin(), FTaken.end(), 0); }
