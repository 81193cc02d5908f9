#include "vcl/strings.h"

#include <algorithm>

#include "vcl/resstrings.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"

VCL_CLASS_IMPL(TStrings, TPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TStringList, TStrings, nullptr, nullptr)

// --- TStrings ---------------------------------------------------------------

void TStrings::Error(const char* msg, int data) const { throw EStringListError(Format(msg, data)); }

void TStrings::Put(int index, const AnsiString& s) {
  TObject* obj = GetObject(index);
  Delete(index);
  InsertObject(index, s, obj);
}

void TStrings::InsertObject(int index, const AnsiString& s, TObject* obj) {
  Insert(index, s);
  PutObject(index, obj);
}

int TStrings::Add(const AnsiString& s) {
  int i = GetCount();
  Insert(i, s);
  return i;
}

int TStrings::AddObject(const AnsiString& s, TObject* obj) {
  int i = Add(s);
  PutObject(i, obj);
  return i;
}

void TStrings::AddStrings(TStrings* strings) {
  InUpdateBracket(*this, [&] {
    // Counted once, so that a list can add its own lines to itself.
    const int n = strings->GetCount();
    for (int i = 0; i < n; ++i) AddObject(strings->Get(i), strings->GetObject(i));
  });
}

void TStrings::Exchange(int a, int b) {
  InUpdateBracket(*this, [&] {
    AnsiString sa = Get(a), sb = Get(b);
    TObject *oa = GetObject(a), *ob = GetObject(b);
    Put(a, sb);
    Put(b, sa);
    PutObject(a, ob);
    PutObject(b, oa);
  });
}

void TStrings::Move(int from, int to) {
  if (from == to) return;
  InUpdateBracket(*this, [&] {
    AnsiString s = Get(from);
    TObject* o = GetObject(from);
    Delete(from);
    InsertObject(to, s, o);
  });
}

int TStrings::CompareStrings(const AnsiString& a, const AnsiString& b) const { return AnsiCompareText(a, b); }

int TStrings::IndexOf(const AnsiString& s) const {
  for (int i = 0; i < GetCount(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

bool TStrings::ExtractName(const AnsiString& s, AnsiString& name) const {
  size_t p = s.find(NameValueSeparator);
  if (p == AnsiString::npos) return false;
  name = s.substr(0, p);
  return true;
}

int TStrings::IndexOfName(const AnsiString& name) const {
  for (int i = 0; i < GetCount(); ++i) {
    AnsiString n;
    if (ExtractName(Get(i), n) && CompareStrings(n, name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* obj) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetObject(i) == obj) return i;
  return -1;
}

AnsiString TStrings::GetTextStr() const {
  const int n = GetCount();
  std::vector<AnsiString> lines(static_cast<size_t>(n));
  size_t total = 0;
  for (int i = 0; i < n; ++i) total += (lines[static_cast<size_t>(i)] = Get(i)).size() + 2;
  AnsiString out;
  out.reserve(total);
  for (const AnsiString& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

void TStrings::SetTextStr(const AnsiString& text) {
  InUpdateBracket(*this, [&] {
    Clear();
    size_t i = 0, n = text.size();
    while (i < n) {
      size_t start = i;
      while (i < n && text[i] != '\r' && text[i] != '\n') ++i;
      Add(text.substr(start, i - start));
      if (i < n && text[i] == '\r') ++i;
      if (i < n && text[i] == '\n') ++i;
    }
  });
}

AnsiString TStrings::DelimitedTextWith(char delimiter, char quote) const {
  return delimited_text::Join<AnsiString>(GetCount(), [this](int i) { return Get(i); }, delimiter, quote);
}

void TStrings::SetDelimitedTextWith(const AnsiString& t, char delimiter, char quote) {
  InUpdateBracket(*this, [&] {
    Clear();
    delimited_text::Split(t, delimiter, quote, [this](const AnsiString& item) { Add(item); });
  });
}

AnsiString TStrings::DelimitedText() const { return DelimitedTextWith(Delimiter, QuoteChar); }

void TStrings::SetDelimitedText(const AnsiString& t) { SetDelimitedTextWith(t, Delimiter, QuoteChar); }

AnsiString TStrings::CommaText() const { return DelimitedTextWith(',', '"'); }

void TStrings::SetCommaText(const AnsiString& t) { SetDelimitedTextWith(t, ',', '"'); }

AnsiString TStrings::Names(int i) const {
  AnsiString n;
  return ExtractName(Get(i), n) ? n : AnsiString();
}

AnsiString TStrings::Values(const AnsiString& name) const {
  int i = IndexOfName(name);
  return i < 0 ? AnsiString() : ValueFromIndex(i);
}

AnsiString TStrings::ValueFromIndex(int i) const {
  AnsiString s = Get(i), n;
  if (!ExtractName(s, n)) return AnsiString();
  return s.substr(n.size() + 1);
}

void TStrings::SetValues(const AnsiString& name, const AnsiString& value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  AnsiString line = name + NameValueSeparator + value;
  if (i < 0)
    Add(line);
  else
    Put(i, line);
}

void TStrings::Assign(TPersistent* source) {
  if (auto* src = dynamic_cast<TStrings*>(source)) {
    InUpdateBracket(*this, [&] {
      Clear();
      NameValueSeparator = src->NameValueSeparator;
      QuoteChar = src->QuoteChar;
      Delimiter = src->Delimiter;
      AddStrings(src);
    });
    return;
  }
  TPersistent::Assign(source);
}

void TStrings::BeginUpdate() {
  // The state changes before the count does, so that the opening of a bracket is
  // announced (OnChanging) just as its close is (OnChange).
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

bool TStrings::Equals(const TStrings* other) const {
  if (other->GetCount() != GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i)
    if (Get(i) != other->Get(i)) return false;
  return true;
}

void TStrings::LoadFromStream(TStream* stream) {
  InUpdateBracket(*this, [&] {
    int64_t size = stream->Size() - stream->Position();
    AnsiString buf(static_cast<size_t>(size < 0 ? 0 : size), '\0');
    if (!buf.empty()) stream->ReadBuffer(buf.data(), static_cast<int64_t>(buf.size()));
    SetTextStr(buf);
  });
}

void TStrings::SaveToStream(TStream* stream) const {
  AnsiString s = GetTextStr();
  if (!s.empty()) stream->WriteBuffer(s.data(), static_cast<int64_t>(s.size()));
}

void TStrings::LoadFromFile(const AnsiString& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TStrings::SaveToFile(const AnsiString& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(&stream);
}

// --- TStringList ------------------------------------------------------------


TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (OwnsObjects)
    for (auto& it : FList) delete it.obj;
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating)
    Changing();
  else
    Changed();
}

AnsiString TStringList::Get(int index) const {
  if (index < 0 || index >= GetCount()) Error(LoadResString(&SListIndexError).c_str(), index);
  return FList[static_cast<size_t>(index)].str;
}

TObject* TStringList::GetObject(int index) const {
  if (index < 0 || index >= GetCount()) Error(LoadResString(&SListIndexError).c_str(), index);
  return FList[static_cast<size_t>(index)].obj;
}

void TStringList::Put(int index, const AnsiString& s) {
  if (FSorted) Error(LoadResString(&SSortedListError).c_str(), 0);
  if (index < 0 || index >= GetCount()) Error(LoadResString(&SListIndexError).c_str(), index);
  Changing();
  FList[static_cast<size_t>(index)].str = s;
  Changed();
}

void TStringList::PutObject(int index, TObject* obj) {
  if (index < 0 || index >= GetCount()) Error(LoadResString(&SListIndexError).c_str(), index);
  Changing();
  FList[static_cast<size_t>(index)].obj = obj;
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  if (OwnsObjects)
    for (auto& it : FList) delete it.obj;
  FList.clear();
  Changed();
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= GetCount()) Error(LoadResString(&SListIndexError).c_str(), index);
  Changing();
  TObject* obj = FList[static_cast<size_t>(index)].obj;
  FList.erase(FList.begin() + index);
  if (OwnsObjects) delete obj;
  Changed();
}

void TStringList::InsertItem(int index, const AnsiString& s, TObject* obj) {
  Changing();
  FList.insert(FList.begin() + index, Item{s, obj});
  Changed();
}

void TStringList::Insert(int index, const AnsiString& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const AnsiString& s, TObject* obj) {
  if (FSorted) Error(LoadResString(&SSortedListError).c_str(), 0);
  if (index < 0 || index > GetCount()) Error(LoadResString(&SListIndexError).c_str(), index);
  InsertItem(index, s, obj);
}

int TStringList::Add(const AnsiString& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const AnsiString& s, TObject* obj) {
  int index;
  if (!FSorted) {
    index = GetCount();
  } else if (Find(s, index)) {
    switch (Duplicates) {
      case dupIgnore:
        return index;
      case dupError:
        Error(LoadResString(&SDuplicateString).c_str(), 0);
      case dupAccept:
        break;
    }
  }
  InsertItem(index, s, obj);
  return index;
}

void TStringList::Exchange(int a, int b) {
  if (a < 0 || a >= GetCount()) Error(LoadResString(&SListIndexError).c_str(), a);
  if (b < 0 || b >= GetCount()) Error(LoadResString(&SListIndexError).c_str(), b);
  Changing();
  std::swap(FList[static_cast<size_t>(a)], FList[static_cast<size_t>(b)]);
  Changed();
}

int TStringList::CompareStrings(const AnsiString& a, const AnsiString& b) const {
  return FCaseSensitive ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

bool TStringList::Find(const AnsiString& s, int& index) const {
  bool found = false;
  int l = 0, h = GetCount() - 1;
  while (l <= h) {
    int i = (l + h) >> 1;
    int c = CompareStrings(FList[static_cast<size_t>(i)].str, s);
    if (c < 0) {
      l = i + 1;
    } else {
      h = i - 1;
      if (c == 0) {
        found = true;
        if (Duplicates != dupAccept) l = i;
      }
    }
  }
  index = l;
  return found;
}

int TStringList::IndexOf(const AnsiString& s) const {
  if (!FSorted) {
    for (int i = 0; i < GetCount(); ++i)
      if (CompareStrings(FList[static_cast<size_t>(i)].str, s) == 0) return i;
    return -1;
  }
  int index;
  return Find(s, index) ? index : -1;
}

void TStringList::QuickSort(int l, int r, const TStringListSortCompare& compare) {
  // The framework's own quicksort on indexes, so that custom compare routines see
  // the list as it is being sorted.
  int i, j;
  do {
    i = l;
    j = r;
    int p = (l + r) >> 1;
    do {
      while (compare(this, i, p) < 0) ++i;
      while (compare(this, j, p) > 0) --j;
      if (i <= j) {
        if (i != j) std::swap(FList[static_cast<size_t>(i)], FList[static_cast<size_t>(j)]);
        if (p == i)
          p = j;
        else if (p == j)
          p = i;
        ++i;
        --j;
      }
    } while (i <= j);
    if (l < j) QuickSort(l, j, compare);
    l = i;
  } while (i < r);
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (FSorted || GetCount() <= 1) return;
  Changing();
  QuickSort(0, GetCount() - 1, compare);
  Changed();
}

void TStringList::Sort() {
  if (GetCount() <= 1) return;
  Changing();
  QuickSort(0, GetCount() - 1, [](TStringList* list, int a, int b) {
    return list->CompareStrings(list->FList[static_cast<size_t>(a)].str, list->FList[static_cast<size_t>(b)].str);
  });
  Changed();
}

void TStringList::SetSorted(bool v) {
  if (FSorted == v) return;
  if (v) Sort();
  FSorted = v;
}

void TStringList::SetCaseSensitive(bool v) {
  if (FCaseSensitive == v) return;
  FCaseSensitive = v;
  if (FSorted) Sort();
}

// --- Stored form descriptions -------------------------------------------------------

void TStrings::DefineProperties(TFiler* filer) {
  bool hasData;
  if (filer->Ancestor) {
    auto* ancestor = dynamic_cast<TStrings*>(filer->Ancestor);
    hasData = !ancestor || !Equals(ancestor);
  } else {
    hasData = Count() > 0;
  }
  filer->DefineProperty(
      "Strings",
      [this](TReader* reader) {
        reader->ReadListBegin();
        BeginUpdate();
        try {
          Clear();
          while (!reader->EndOfList()) Add(reader->ReadString());
        } catch (...) {
          EndUpdate();
          throw;
        }
        EndUpdate();
        reader->ReadListEnd();
      },
      [this](TWriter* writer) {
        writer->WriteListBegin();
        for (int i = 0; i < Count(); ++i) writer->WriteString(Get(i));
        writer->WriteListEnd();
      },
      hasData);
}
