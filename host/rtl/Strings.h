// TStrings, the platform's list of texts with an associated object per entry, and
// TStringList, its plain in-memory implementation.
#pragma once

#include <string>
#include <vector>

#include "host/rtl/Persistent.h"

class TStrings : public TPersistent {
  TIRVENDAL_CLASS(TStrings)

  virtual int Count() const = 0;
  virtual std::string Get(int Index) const = 0;
  virtual TObject* GetObject(int Index) const { return nullptr; }
  virtual void Put(int Index, const std::string& S);
  virtual void PutObject(int Index, TObject* Object) {}
  virtual void InsertObject(int Index, const std::string& S, TObject* Object) = 0;
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  // Moves an entry, keeping its object.
  virtual void Move(int CurIndex, int NewIndex);
  virtual void Exchange(int Index1, int Index2);
  // The first entry equal to S without regard to case, or -1.
  virtual int IndexOf(std::string_view S) const;
  virtual int Add(const std::string& S) { return AddObject(S, nullptr); }
  virtual int AddObject(const std::string& S, TObject* Object);

  void Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }
  std::string Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const std::string& S) { Put(Index, S); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* Object) { PutObject(Index, Object); }
  int IndexOfObject(const TObject* Object) const;
  void AddStrings(const TStrings* Strings);
  std::vector<std::string> ToVector() const;
  void SetVector(const std::vector<std::string>& Items);

  // The entries, each followed by a line break.
  std::string Text() const;
  void SetText(std::string_view Text);
  std::string CommaText() const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Copies the texts and the objects of another TStrings.
  void Assign(const TPersistent* Source) override;
  bool Equals(const TStrings* Other) const;

 protected:
  // Told when a BeginUpdate/EndUpdate bracket opens (true) or closes (false).
  virtual void SetUpdateState(bool Updating) {}
  [[noreturn]] void Error(const char* Message, int Index) const;
  void CheckIndex(int Index, int Limit) const;

 private:
  int FUpdateCount = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
  TIRVENDAL_CLASS(TStringList)

  TStringList() = default;

  int Count() const override { return static_cast<int>(FItems.size()); }
  std::string Get(int Index) const override;
  TObject* GetObject(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void PutObject(int Index, TObject* Object) override;
  void InsertObject(int Index, const std::string& S, TObject* Object) override;
  int AddObject(const std::string& S, TObject* Object) override;
  void Delete(int Index) override;
  void Clear() override;
  void Move(int CurIndex, int NewIndex) override;
  void Exchange(int Index1, int Index2) override;
  int IndexOf(std::string_view S) const override;

  // A sorted list keeps its entries in order (binary search) and handles duplicates as told.
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  // Sorts by text (stable), as the list compares.
  void Sort();
  // Binary search in a sorted list: true and the position when found, else the insertion point.
  bool Find(std::string_view S, int& Index) const;

  TNotifyEvent OnChange;

 protected:
  void SetUpdateState(bool Updating) override;
  void Changed();

 private:
  struct TStringItem {
    std::string FString;
    TObject* FObject;
  };
  int Compare(std::string_view a, std::string_view b) const;

  std::vector<TStringItem> FItems;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};
