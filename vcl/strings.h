// 8-bit string lists: the abstract TStrings and the stored TStringList.
#pragma once

#include <functional>
#include <type_traits>
#include <vector>

#include "vcl/classes.h"

class TStream;

// The delimited form of a string list, shared by the 8-bit and the wide lists: items
// joined by a delimiter, an item quoted when it holds a blank, a control character,
// the delimiter or the quote (a quote inside doubled).
namespace delimited_text {

template <class Ch>
bool IsBlank(Ch c) {
  auto u = static_cast<std::make_unsigned_t<Ch>>(c);
  return u > 0 && u <= ' ';
}

template <class Str>
void AppendItem(Str& out, const Str& item, typename Str::value_type delimiter, typename Str::value_type quote) {
  using Ch = typename Str::value_type;
  bool quoted = false;
  for (Ch c : item) {
    if (static_cast<std::make_unsigned_t<Ch>>(c) <= ' ' || c == delimiter || c == quote) {
      quoted = true;
      break;
    }
  }
  if (!quoted) {
    out += item;
    return;
  }
  out += quote;
  for (Ch c : item) {
    out += c;
    if (c == quote) out += c;
  }
  out += quote;
}

// get(i) returns item i of count.
template <class Str, class Get>
Str Join(int count, Get get, typename Str::value_type delimiter, typename Str::value_type quote) {
  if (count == 1) {
    Str only = get(0);
    // A lone empty item must still read back as one item.
    if (only.empty()) return Str(2, quote);
  }
  Str out;
  for (int i = 0; i < count; ++i) {
    if (i > 0) out += delimiter;
    AppendItem(out, Str(get(i)), delimiter, quote);
  }
  return out;
}

// Calls add(item) for every item of text. Blanks around items are dropped; a quoted
// item may hold anything; a delimiter at the very end leaves an empty last item.
template <class Str, class Add>
void Split(const Str& text, typename Str::value_type delimiter, typename Str::value_type quote, Add add) {
  using Ch = typename Str::value_type;
  // The text ends at its first zero character, as the zero-terminated original did;
  // reading past it would never advance and loop for ever.
  size_t n = text.find(Ch(0));
  if (n == Str::npos) n = text.size();
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < n && IsBlank(text[i])) ++i;
  };
  skipBlanks();
  while (i < n) {
    Str item;
    if (text[i] == quote) {
      ++i;
      while (i < n) {
        if (text[i] == quote) {
          if (i + 1 < n && text[i + 1] == quote) {
            item += quote;
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += text[i++];
      }
    } else {
      size_t start = i;
      while (i < n && static_cast<std::make_unsigned_t<Ch>>(text[i]) > ' ' && text[i] != delimiter) ++i;
      item.assign(text, start, i - start);
    }
    add(item);
    skipBlanks();
    if (i < n && text[i] == delimiter) {
      ++i;
      skipBlanks();
      if (i >= n) add(Str());
    }
  }
}

}  // namespace delimited_text

// Runs work inside list.BeginUpdate()/EndUpdate(); the bracket is closed also when
// work raises, so that a failed bulk change does not silence the list for good.
template <class List, class Work>
void InUpdateBracket(List& list, Work work) {
  list.BeginUpdate();
  try {
    work();
  } catch (...) {
    list.EndUpdate();
    throw;
  }
  list.EndUpdate();
}

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
  // How IndexOf, IndexOfName and the sorted list compare lines: case-insensitive in
  // the user's locale unless a descendant says otherwise.
  virtual int CompareStrings(const AnsiString& a, const AnsiString& b) const;
  [[noreturn]] void Error(const char* msg, int data) const;
  // Splits name=value; returns false when there is no separator.
  bool ExtractName(const AnsiString& s, AnsiString& name) const;
  AnsiString DelimitedTextWith(char delimiter, char quote) const;
  void SetDelimitedTextWith(const AnsiString& t, char delimiter, char quote);

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
  int CompareStrings(const AnsiString& a, const AnsiString& b) const override;
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
