// The concrete wide lists: TUniStrings (an 8-bit view of the same lines, text files
// read by their byte-order mark and written as UTF-16LE with FF FE) and
// TUniStringList, the list that holds its lines itself.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "widetext/wide_files.h"
#include "widetext/wide_strings.h"

// The framework's 8-bit string list with stream operations in a chosen code page.
class TAnsiStrings : public TStrings {
  VCL_CLASS(TAnsiStrings)
 public:
  // Reads the rest of the stream as text in CodePage and makes it the list's text.
  virtual void LoadFromStreamEx(TStream* Stream, UINT CodePage) = 0;
  // Writes the list's text in CodePage, without a byte-order mark.
  virtual void SaveToStreamEx(TStream* Stream, UINT CodePage) = 0;
};

// An 8-bit view of a wide list: every operation goes to the wide list, texts
// converted through AdapterCodePage (0: ConversionCodePage).
class TAnsiStringsForWideStringsAdapter : public TAnsiStrings {
  VCL_CLASS(TAnsiStringsForWideStringsAdapter)
 public:
  TAnsiStringsForWideStringsAdapter(TWideStrings* WideStrings, UINT AdapterCodePage = 0);

  AnsiString Get(int Index) const override;
  int GetCount() const override;
  TObject* GetObject(int Index) const override;
  void Put(int Index, const AnsiString& S) override;
  void PutObject(int Index, TObject* Obj) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const AnsiString& S) override;
  void LoadFromStreamEx(TStream* Stream, UINT CodePage) override;
  void SaveToStreamEx(TStream* Stream, UINT CodePage) override;

  UINT AdapterCodePage() const { return FAdapterCodePage; }

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  UINT CodePage() const;

  TWideStrings* FWideStrings;
  UINT FAdapterCodePage;
};

class TUniStrings : public TWideStrings {
  VCL_CLASS(TUniStrings)
 public:
  TUniStrings();
  ~TUniStrings() override;

  // "Strings", then the names older descriptions may hold: "WideStrings" (read as
  // "Strings"), "WideStringsW" (UTF-8 items) and "WideStrings_UTF7" (UTF-7 items).
  void DefineProperties(TFiler* Filer) override;

  // Sets LastFileEncoding from the file's byte-order mark, then loads it.
  void LoadFromFile(const WideString& FileName) override;
  // The byte-order mark decides the character set (none: 8-bit text).
  void LoadFromStream(TStream* Stream) override;
  // Creates the file and writes UTF-16LE with FF FE, whatever it was loaded from.
  void SaveToFile(const WideString& FileName) override;
  void SaveToStream(TStream* Stream) override;
  virtual void LoadFromStreamWithMark(TStream* Stream, bool WithBOM);
  virtual void SaveToStreamWithMark(TStream* Stream, bool WithBOM);

  // The character set found by the last LoadFromFile (teUtf16LE before any).
  TTextFileEncoding LastFileEncoding() const { return FLastFileEncoding; }
  TAnsiStrings* AnsiStrings() const { return FAnsiStrings.get(); }
  // Assigns the 8-bit list's lines to the view, and so to this list.
  void SetAnsiStrings(TStrings* Value);

 private:
  // A list value of 8-bit items, each decoded into a line; Apply false: read and dropped.
  void ReadLegacyLines(TReader* Reader, WideString (*Decode)(const AnsiString&), bool Apply);

  TTextFileEncoding FLastFileEncoding = teUtf16LE;
  std::unique_ptr<TAnsiStrings> FAnsiStrings;
};

class TUniStringList;

// Compare routine of TUniStringList::CustomSort: <0, 0, >0 for the lines at A and B.
using TUniStringListSortCompare = std::function<int(TUniStringList* List, int A, int B)>;

class TUniStringList : public TUniStrings {
  VCL_CLASS(TUniStringList)
 public:
  TUniStringList() = default;
  ~TUniStringList() override;

  WideString Get(int Index) const override;
  int GetCapacity() const override { return FCapacity; }
  int GetCount() const override { return static_cast<int>(FList.size()); }
  TObject* GetObject(int Index) const override;
  // The text form of the base list, read from the items in place rather than through
  // a copy of every line.
  WideString GetTextStr() const override;
  void Put(int Index, const WideString& S) override;
  void PutObject(int Index, TObject* Obj) override;
  void SetCapacity(int NewCapacity) override;
  int CompareStrings(const WideString& S1, const WideString& S2) const override;
  int Add(const WideString& S) override;
  int AddObject(const WideString& S, TObject* Obj) override;
  void Clear() override;
  void Delete(int Index) override;
  void Exchange(int Index1, int Index2) override;
  int IndexOf(const WideString& S) const override;
  int IndexOfName(const WideString& Name) const override;
  void Insert(int Index, const WideString& S) override;
  void InsertObject(int Index, const WideString& S, TObject* Obj) override;

  virtual void Changed();
  virtual void Changing();
  virtual void InsertItem(int Index, const WideString& S, TObject* Obj);
  // Binary search of a sorted list: true when S is there; Index is the first equal
  // line, or where S would go.
  virtual bool Find(const WideString& S, int& Index) const;
  // UTF-8 text is decoded line by line straight into the list, without a wide copy of the
  // whole text first; the lines and notices are those of SetTextStr.
  void LoadFromStreamWithMark(TStream* Stream, bool WithBOM) override;
  virtual void Sort();
  virtual void CustomSort(const TUniStringListSortCompare& Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  struct Item {
    WideString S;
    TObject* Obj = nullptr;
  };
  void CheckIndex(int Index) const;
  void Grow();
  void SortItems(const TUniStringListSortCompare& Compare);
  void QuickSort(int L, int R, const TUniStringListSortCompare& Compare);

  bool FUpdating = false;
  std::vector<Item> FList;
  int FCapacity = 0;
  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
  bool FCaseSensitive = false;
};
