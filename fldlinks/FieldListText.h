// Text routines of the Field Link Designer: field list texts ("A;B;C"), join lines
// ("Detail -> Master") and putting a list of names back into a reference order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/rtl/Strings.h"

// The name that starts at Pos in a field list text, up to the next ";" or the end; Pos (from 0)
// moves past the name and its ";". Blanks are kept and empty names are answered as they stand.
std::string NextFieldName(std::string_view Fields, size_t& Pos);

// The two sides of a join line, split at its last "->": the text before the blank that
// precedes the arrow, and the text after the blank that follows it.
std::string JoinDetailField(std::string_view Line);
std::string JoinMasterField(std::string_view Line);

// Puts the entries of List (with their objects) into the order of their first positions in
// Reference, compared without regard to case. Entries that Reference lacks come first; entries
// of equal position keep their relative order.
void OrderFieldList(const TStrings* Reference, TStrings* List);

// Brackets a batch of changes to a list in BeginUpdate/EndUpdate, so a list box tells its
// observers once instead of once per item.
class TUpdateScope {
 public:
  explicit TUpdateScope(TStrings* List) : FList(List) { FList->BeginUpdate(); }
  ~TUpdateScope() { FList->EndUpdate(); }
  TUpdateScope(const TUpdateScope&) = delete;
  TUpdateScope& operator=(const TUpdateScope&) = delete;

 private:
  TStrings* FList;
};

// The first position of every name of a list, compared as the platform's string lists compare
// (IndexOf), so look-ups inside loops over long lists stay constant time.
class TNamePositions {
 public:
  TNamePositions() = default;
  explicit TNamePositions(const TStrings* List) { Assign(List); }

  void Assign(const TStrings* List);
  void Clear() { FPositions.clear(); }
  // The position IndexOf would answer on the list last assigned, or -1.
  int IndexOf(std::string_view Name) const;

 private:
  std::unordered_map<std::string, int> FPositions;
};
