// The abstract list of wide (UTF-16) lines every wide list derives from: its
// operations in terms of a few primitives, the text, delimited and name-value forms,
// update brackets, and assignment to and from the framework's 8-bit TStrings.
#pragma once

#include <memory>

#include "vcl/resstrings.h"
#include "vcl/strings.h"

class TStream;
class TWideStrings;

// An object attached to a wide list that presents it elsewhere; the list tells it
// when it starts and stops presenting the list.
class IWideStringsAdapter {
 public:
  virtual ~IWideStringsAdapter() = default;
  virtual void ReferenceStrings(TWideStrings* S) = 0;
  virtual void ReleaseStrings() = 0;
};

// Which of the three special characters has been set or read (a set of flags).
enum TStringsDefinedFlag : unsigned {
  sdDelimiter = 1u << 0,
  sdQuoteChar = 1u << 1,
  sdNameValueSeparator = 1u << 2,
};

class TWideStrings : public TPersistent {
  VCL_CLASS(TWideStrings)
 public:
  TWideStrings() = default;
  TWideStrings(const TWideStrings&) = delete;
  TWideStrings& operator=(const TWideStrings&) = delete;
  ~TWideStrings() override;

  void Assign(TPersistent* Source) override;
  // Stores the lines under "Strings" as a list of wide values (see ReadWideStringsValue,
  // widetext/wide_props.h, for what is read back).
  void DefineProperties(TFiler* Filer) override;

  // --- the primitives: a descendant provides Get, GetCount, Clear, Delete and Insert
  virtual WideString Get(int Index) const = 0;
  virtual int GetCapacity() const { return GetCount(); }
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int Index) const { return nullptr; }
  virtual WideString GetTextStr() const;
  virtual void Put(int Index, const WideString& S);
  virtual void PutObject(int Index, TObject* Obj) {}
  virtual void SetCapacity(int NewCapacity) {}
  virtual void SetTextStr(const WideString& Value);
  virtual int CompareStrings(const WideString& S1, const WideString& S2) const;
  virtual int Add(const WideString& S);
  virtual int AddObject(const WideString& S, TObject* Obj);
  virtual void AddStrings(TStrings* Strings);
  virtual void AddStrings(TWideStrings* Strings);
  virtual void Clear() = 0;
  virtual void Delete(int Index) = 0;
  virtual void Exchange(int Index1, int Index2);
  // The text in a new wide buffer (WideBufNew); the caller disposes of it.
  virtual WideChar* GetText() const;
  virtual int IndexOf(const WideString& S) const;
  virtual int IndexOfName(const WideString& Name) const;
  virtual int IndexOfObject(TObject* Obj) const;
  virtual void Insert(int Index, const WideString& S) = 0;
  virtual void InsertObject(int Index, const WideString& S, TObject* Obj);
  virtual void LoadFromFile(const WideString& FileName);
  // Reads the rest of the stream as UTF-16LE, without looking for a byte-order mark.
  virtual void LoadFromStream(TStream* Stream);
  virtual void Move(int CurIndex, int NewIndex);
  virtual void SaveToFile(const WideString& FileName);
  // Writes the text as UTF-16LE without a byte-order mark.
  virtual void SaveToStream(TStream* Stream);
  virtual void SetText(const WideChar* Text);

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  bool Equals(const TWideStrings* Strings) const;

  // Reading one of these before it was set stores its default and marks it defined.
  WideChar Delimiter() const;
  void SetDelimiter(WideChar Value);
  WideChar QuoteChar() const;
  void SetQuoteChar(WideChar Value);
  WideChar NameValueSeparator() const;
  void SetNameValueSeparator(WideChar Value);
  unsigned Defined() const { return FDefined; }

  // The attached adapter is told to reference this list; one it replaces, and the
  // last one when the list goes, is told to release it.
  void SetStringsAdapter(std::shared_ptr<IWideStringsAdapter> Adapter);
  const std::shared_ptr<IWideStringsAdapter>& StringsAdapter() const { return FAdapter; }

  // --- properties
  int Count() const { return GetCount(); }
  WideString Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const WideString& S) { Put(Index, S); }
  WideString operator[](int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* Obj) { PutObject(Index, Obj); }
  int Capacity() const { return GetCapacity(); }
  WideString Text() const { return GetTextStr(); }
  WideString DelimitedText() const;
  void SetDelimitedText(const WideString& Value);
  WideString CommaText() const;
  void SetCommaText(const WideString& Value);
  WideString Names(int Index) const;
  WideString Values(const WideString& Name) const;
  void SetValues(const WideString& Name, const WideString& Value);
  WideString ValueFromIndex(int Index) const;

  // Raises EStringListError with the resource text Msg formatted with Data (%d).
  [[noreturn]] void Error(const TResStringRec* Msg, int Data) const;

 protected:
  void AssignTo(TPersistent* Dest) override;
  // The opening and closing of the outermost update bracket: descendants hold back
  // their change notices in between.
  virtual void SetUpdateState(bool Updating) {}

 private:
  // The length of the name part of S (-1 when S has no separator).
  int NameLength(const WideString& S) const;
  void SetDelimitedTextWith(const WideString& Value, WideChar Delim, WideChar Quote);

  mutable unsigned FDefined = 0;
  mutable WideChar FDelimiter = L',';
  mutable WideChar FQuoteChar = L'"';
  mutable WideChar FNameValueSeparator = L'=';
  int FUpdateCount = 0;
  std::shared_ptr<IWideStringsAdapter> FAdapter;
};
