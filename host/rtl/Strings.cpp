// TStrings and TStringList.
#include "host/rtl/Strings.h"

#include <algorithm>

#include "host/rtl/TypInfo.h"
#include "host/rtl/UpdateScope.h"

TClass TStrings::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStrings>(TPersistent::StaticClass()).Build();
  return &info;
}

TClass TStringList::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStringList>(TStrings::StaticClass()).Constructible().Build();
  return &info;
}

void TStrings::Error(const char* Message, int Index) const { throw EStringListError(Format(Message, {Index})); }

void TStrings::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index >= Limit) Error("List index out of bounds (%d)", Index);
}

void TStrings::Put(int Index, const std::string& S) {
  TObject* object = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, object);
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex, Count());
  CheckIndex(NewIndex, Count());
  TUpdateScope update(this);
  std::string text = Get(CurIndex);
  TObject* object = GetObject(CurIndex);
  Delete(CurIndex);
  InsertObject(NewIndex, text, object);
}

void TStrings::Exchange(int Index1, int Index2) {
  TUpdateScope update(this);
  std::string t1 = Get(Index1), t2 = Get(Index2);
  TObject* o1 = GetObject(Index1);
  TObject* o2 = GetObject(Index2);
  Put(Index1, t2);
  PutObject(Index1, o2);
  Put(Index2, t1);
  PutObject(Index2, o1);
}

int TStrings::IndexOf(std::string_view S) const {
  for (int i = 0, n = Count(); i < n; ++i)
    if (SameText(Get(i), S)) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* Object) const {
  for (int i = 0, n = Count(); i < n; ++i)
    if (GetObject(i) == Object) return i;
  return -1;
}

int TStrings::AddObject(const std::string& S, TObject* Object) {
  int index = Count();
  InsertObject(index, S, Object);
  return index;
}

void TStrings::AddStrings(const TStrings* Strings) {
  TUpdateScope update(this);
  for (int i = 0, n = Strings->Count(); i < n; ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
}

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> out;
  out.reserve(static_cast<size_t>(Count()));
  for (int i = 0, n = Count(); i < n; ++i) out.push_back(Get(i));
  return out;
}

void TStrings::SetVector(const std::vector<std::string>& Items) {
  TUpdateScope update(this);
  Clear();
  for (const std::string& s : Items) Add(s);
}

std::string TStrings::Text() const {
  std::string out;
  for (int i = 0, n = Count(); i < n; ++i) out += Get(i) + "\n";
  return out;
}

void TStrings::SetText(std::string_view Text) {
  TUpdateScope update(this);
  Clear();
  size_t start = 0;
  while (start < Text.size()) {
    size_t end = Text.find('\n', start);
    if (end == std::string_view::npos) end = Text.size();
    std::string_view line = Text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    Add(std::string(line));
    start = end + 1;
  }
}

std::string TStrings::CommaText() const {
  std::string out;
  for (int i = 0, n = Count(); i < n; ++i) {
    std::string s = Get(i);
    bool quote = s.empty() || s.find_first_of(" ,\"") != std::string::npos;
    if (i) out += ',';
    if (!quote) {
      out += s;
      continue;
    }
    out += '"';
    for (char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    out += '"';
  }
  return out;
}

void TStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent* Source) {
  if (auto* source = dynamic_cast<const TStrings*>(Source)) {
    if (source == this) return;
    TUpdateScope update(this);
    Clear();
    AddStrings(source);
    return;
  }
  TPersistent::Assign(Source);
}

bool TStrings::Equals(const TStrings* Other) const {
  if (Count() != Other->Count()) return false;
  for (int i = 0, n = Count(); i < n; ++i)
    if (Get(i) != Other->Get(i)) return false;
  return true;
}

// TStringList

int TStringList::Compare(std::string_view a, std::string_view b) const {
  return FCaseSensitive ? a.compare(b) : AnsiCompareText(a, b);
}

std::string TStringList::Get(int Index) const {
  CheckIndex(Index, Count());
  return FItems[static_cast<size_t>(Index)].FString;
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index, Count());
  return FItems[static_cast<size_t>(Index)].FObject;
}

void TStringList::Put(int Index, const std::string& S) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted string list");
  CheckIndex(Index, Count());
  FItems[static_cast<size_t>(Index)].FString = S;
  Changed();
}

void TStringList::PutObject(int Index, TObject* Object) {
  CheckIndex(Index, Count());
  FItems[static_cast<size_t>(Index)].FObject = Object;
  Changed();
}

void TStringList::InsertObject(int Index, const std::string& S, TObject* Object) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted string list");
  CheckIndex(Index, Count() + 1);
  FItems.insert(FItems.begin() + Index, TStringItem{S, Object});
  Changed();
}

int TStringList::AddObject(const std::string& S, TObject* Object) {
  if (!FSorted) {
    FItems.push_back(TStringItem{S, Object});
    Changed();
    return Count() - 1;
  }
  int index = 0;
  if (Find(S, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) throw EStringListError("String list does not allow duplicates");
  }
  FItems.insert(FItems.begin() + index, TStringItem{S, Object});
  Changed();
  return index;
}

void TStringList::Delete(int Index) {
  CheckIndex(Index, Count());
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex, Count());
  CheckIndex(NewIndex, Count());
  TStringItem item = std::move(FItems[static_cast<size_t>(CurIndex)]);
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, std::move(item));
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1, Count());
  CheckIndex(Index2, Count());
  std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
  Changed();
}

int TStringList::IndexOf(std::string_view S) const {
  if (FSorted) {
    int index = 0;
    return Find(S, index) ? index : -1;
  }
  for (size_t i = 0; i < FItems.size(); ++i)
    if (Compare(FItems[i].FString, S) == 0) return static_cast<int>(i);
  return -1;
}

void TStringList::SetSorted(bool Value) {
  if (Value && !FSorted) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  FCaseSensitive = Value;
  if (FSorted) Sort();
}

void TStringList::Sort() {
  std::stable_sort(FItems.begin(), FItems.end(),
                   [this](const TStringItem& a, const TStringItem& b) { return Compare(a.FString, b.FString) < 0; });
  Changed();
}

bool TStringList::Find(std::string_view S, int& Index) const {
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = Compare(FItems[static_cast<size_t>(mid)].FString, S);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept) lo = mid;
      }
    }
  }
  Index = lo;
  return found;
}

void TStringList::SetUpdateState(bool Updating) {
  if (!Updating) Changed();
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}
