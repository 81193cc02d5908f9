// 8-bit string lists: the abstract TStrings and the stored TStringList.
#pragma once

#include <functional>
#include <vector>

#include "vcl/classes.h"

class TStream;

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
  VCL_CLASS(TStrings)
 public:
  // --- the virtual set a descendant implements (Get, GetCount, Clear, Delete, Insert at least)
  virtual AnsiString Get(int index) const = 0;
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int index) const { return nullptr; }
  virtual void Put(int index, const AnsiString& s);
  virtual void PutObject(int index, TObject* obj) {}
  virtual int GetCapacity() const { return GetCount(); }
  virtual void SetCapacity(int) {}
  virtual AnsiString GetTextStr() const;
  virtual void SetTextStr(const AnsiString& text);
  virtual void Clear() = 0;
  virtual void Delete(int index) = 0;
  virtual void Insert(int index, const AnsiString& s) = 0;
  virtual void InsertObject(int index, const AnsiString& s, TObject* obj);
  virtual int Add(const AnsiString& s);
  virtual int AddObject(const AnsiString& s, TObject* obj);
  virtual void AddStrings(TStrings* strings);
  virtual void Exchange(int a, int b);
  virtual void Move(int from, int to);
  virtual int IndexOf(const AnsiString& s) const;
  virtual int IndexOfName(const AnsiString& name) const;
  int IndexOfObject(TObject* obj) const;
  void Append(const AnsiString& s) { Add(s); }

  void Assign(TPersistent* source) override;
  // Stores the lines under "Strings" as a list of 8-bit strings.
  void DefineProperties(TFiler* filer) override;
  virtual void LoadFromStream(TStream* stream);
  virtual void SaveToStream(TStream* stream) const;
  virtual void LoadFromFile(const AnsiString& fileName);
  virtual void SaveToFile(const AnsiString& fileName) const;
  bool Equals(const TStrings* other) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // --- properties
  int Count() const { return GetCount(); }
  AnsiString Strings(int i) const { return Get(i); }
  void SetStrings(int i, const AnsiString& s) { Put(i, s); }
  AnsiString operator[](int i) const { return Get(i); }
  TObject* Objects(int i) const { return GetObject(i); }
  void SetObjects(int i, TObject* o) { PutObject(i, o); }
  AnsiString Text() const { return GetTextStr(); }
  void SetText(const AnsiString& t) { SetTextStr(t); }
  AnsiString CommaText() const;
  void SetCommaText(const AnsiString& t);
  AnsiString DelimitedText() const;
  void SetDelimitedText(const AnsiString& t);
  AnsiString Names(int i) const;
  AnsiString Values(const AnsiString& name) const;
  void SetValues(const AnsiString& name, const AnsiString& value);
  AnsiString ValueFromIndex(int i) const;

  char NameValueSeparator = '=';
  char QuoteChar = '"';
  char Delimiter = ',';

 protected:
  virtual void SetUpdateState(bool updating) {}
  [[noreturn]] void Error(const char* msg, int data) const;
  // Splits name=value; returns false when there is no separator.
  bool ExtractName(const AnsiString& s, AnsiString& name) const;

 private:
  int FUpdateCount = 0;
};

// Compare routine of TStringList::CustomSort: <0, 0, >0.
using TStringListSortCompare = std::function<int(class TStringList* list, int a, int b)>;

class TStringList : public TStrings {
  VCL_CLASS(TStringList)
 public:
  TStringList() = default;
  ~TStringList() override;

  AnsiString Get(int index) const override;
  int GetCount() const override { return static_cast<int>(FList.size()); }
  TObject* GetObject(int index) const override;
  void Put(int index, const AnsiString& s) override;
  void PutObject(int index, TObject* obj) override;
  int GetCapacity() const override { return static_cast<int>(FList.capacity()); }
  void SetCapacity(int n) override { FList.reserve(static_cast<size_t>(n)); }
  void Clear() override;
  void Delete(int index) override;
  void Insert(int index, const AnsiString& s) override;
  void InsertObject(int index, const AnsiString& s, TObject* obj) override;
  int Add(const AnsiString& s) override;
  int AddObject(const AnsiString& s, TObject* obj) override;
  void Exchange(int a, int b) override;
  int IndexOf(const AnsiString& s) const override;

  // Binary search of a sorted list: true when found; index is the place either way.
  virtual bool Find(const AnsiString& s, int& index) const;
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool v);
  TDuplicates Duplicates = dupIgnore;
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool v);
  // When set, the list frees its objects when they are deleted (the framework's OwnsObjects).
  bool OwnsObjects = false;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changed();
  virtual void Changing();
  void SetUpdateState(bool updating) override;
  virtual int CompareStrings(const AnsiString& a, const AnsiString& b) const;
  void InsertItem(int index, const AnsiString& s, TObject* obj);

 private:
  struct Item {
    AnsiString str;
    TObject* obj = nullptr;
  };
  void QuickSort(int l, int r, const TStringListSortCompare& compare);
  std::vector<Item> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
};
