// Text routines of the Field Link Designer: join lines ("Detail -> Master"), putting a list of
// names back into a reference order, and the look-ups by name that keep the designer's loops
// over long lists linear. Field list texts are split by host/dataclx/FieldList.h.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/dataclx/FieldList.h"
#include "host/rtl/Strings.h"
#include "host/rtl/UpdateScope.h"

// Puts the entries of List (with their objects) into the order of their first positions in
// Reference, compared without regard to case. Entries that Reference lacks come first; entries
// of equal position keep their relative order.
void OrderFieldList(const TStrings* Reference, TStrings* List);

// Every position of every name of a list, the names folded as the platform's string lists
// compare them (IndexOf: ASCII letters without regard to case), in one array sorted by name and
// then position, so a name's positions follow each other, its first one first. Long lists have
// thousands of names: the array holds each once, with no node or list of its own.
class TNameIndex {
 public:
  void Assign(const TStrings* List);
  void Clear() { FEntries.clear(); }
  size_t Size() const { return FEntries.size(); }
  // Name's entries, [First, Last); empty when the list has no such name.
  std::pair<size_t, size_t> Range(std::string_view Name) const;
  int Position(size_t Entry) const { return FEntries[Entry].Position; }

 private:
  struct TEntry {
    std::string Key;  // the name folded
    int Position;
  };
  std::vector<TEntry> FEntries;
};

// The first position of every name of a list, compared as the platform's string lists compare
// (IndexOf), so look-ups inside loops over long lists stay cheap.
class TNamePositions {
 public:
  TNamePositions() = default;
  explicit TNamePositions(const TStrings* List) { Assign(List); }

  void Assign(const TStrings* List) { FIndex.Assign(List); }
  void Clear() { FIndex.Clear(); }
  // The position IndexOf would answer on the list last assigned, or -1.
  int IndexOf(std::string_view Name) const;

 private:
  TNameIndex FIndex;
};

// Every position of every name of a list, compared as IndexOf compares, and how many entries of
// each name are taken. The taken entries of a name are always its first ones, so entries of
// equal names (an index that names one column twice) are told apart by their own positions.
class TNameEntries {
 public:
  void Assign(const TStrings* List);
  void Clear() {
    FIndex.Clear();
    FTaken.clear();
  }
  // The first position of Name, as IndexOf answers it, or -1.
  int IndexOf(std::string_view Name) const;
  // Whether an entry of Name is left to take.
  bool Untaken(std::string_view Name) const;
  // Takes the first entry of Name not taken yet and answers its position; -1 when none is left.
  int Take(std::string_view Name);
  // Gives back the last entry of Name taken and answers its position; -1 when none was taken.
  int GiveBack(std::string_view Name);
  // Gives back every entry.
  void GiveBackAll();

 private:
  TNameIndex FIndex;
  std::vector<size_t> FTaken;  // by the first entry of each name: how many of its entries are taken
};

// The detail and master names of a join line "Detail -> Master" that was not made from known
// names. Either name may itself hold " -> ", so the line is split at the last arrow that leaves
// a known detail name before it and a known master name after it; failing that, at the last
// arrow. A line without an arrow is a detail name of its own, with an empty master.
std::pair<std::string, std::string> SplitJoinLine(std::string_view Line,
                                                  const std::function<bool(std::string_view)>& IsDetail,
                                                  const std::function<bool(std::string_view)>& IsMaster);
