#include "widetext/uni_string_list.h"

#include <algorithm>
#include <utility>

#include "vcl/streaming.h"
#include "widetext/codecs.h"
#include "widetext/utf8_lines.h"
#include "widetext/wide_props.h"

VCL_CLASS_IMPL(TAnsiStrings, TStrings, nullptr, nullptr)
VCL_CLASS_IMPL(TAnsiStringsForWideStringsAdapter, TAnsiStrings, nullptr, nullptr)
// The 8-bit view is published so that descriptions holding the lines under
// "AnsiStrings.Strings" load, but never stored: its 8-bit copy of the lines would be read
// back after "Strings" and replace the wide lines with their lossy 8-bit form.
static const std::vector<TPropInfo>& UniStringsProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniStrings>()
      .Property("AnsiStrings", &TUniStrings::AnsiStrings, &TUniStrings::SetAnsiStrings).Stored(false)
      .Table();
  return table;
}

VCL_CLASS_IMPL(TUniStrings, TWideStrings, nullptr, &UniStringsProperties)
VCL_CLASS_IMPL(TUniStringList, TUniStrings, nullptr, nullptr)

// --- TAnsiStringsForWideStringsAdapter -------------------------------------------

TAnsiStringsForWideStringsAdapter::TAnsiStringsForWideStringsAdapter(TWideStrings* WideStrings,
                                                                     UINT AdapterCodePage)
    : FWideStrings(WideStrings), FAdapterCodePage(AdapterCodePage) {}

UINT TAnsiStringsForWideStringsAdapter::CodePage() const {
  return FAdapterCodePage == 0 ? ConversionCodePage : FAdapterCodePage;
}

AnsiString TAnsiStringsForWideStringsAdapter::Get(int Index) const {
  return WideToCodePage(FWideStrings->Get(Index), CodePage());
}

int TAnsiStringsForWideStringsAdapter::GetCount() const { return FWideStrings->GetCount(); }

TObject* TAnsiStringsForWideStringsAdapter::GetObject(int Index) const { return FWideStrings->GetObject(Index); }

void TAnsiStringsForWideStringsAdapter::Put(int Index, const AnsiString& S) {
  FWideStrings->Put(Index, CodePageToWide(S, CodePage()));
}

void TAnsiStringsForWideStringsAdapter::PutObject(int Index, TObject* Obj) { FWideStrings->PutObject(Index, Obj); }

void TAnsiStringsForWideStringsAdapter::Clear() { FWideStrings->Clear(); }

void TAnsiStringsForWideStringsAdapter::Delete(int Index) { FWideStrings->Delete(Index); }

void TAnsiStringsForWideStringsAdapter::Insert(int Index, const AnsiString& S) {
  FWideStrings->Insert(Index, CodePageToWide(S, CodePage()));
}

void TAnsiStringsForWideStringsAdapter::SetUpdateState(bool Updating) {
  // The view's outermost bracket is one bracket of the wide list.
  if (Updating)
    FWideStrings->BeginUpdate();
  else
    FWideStrings->EndUpdate();
}

void TAnsiStringsForWideStringsAdapter::LoadFromStreamEx(TStream* Stream, UINT CodePage) {
  InUpdateBracket(*this, [&] {
    AnsiString bytes(static_cast<size_t>(std::max<int64_t>(Stream->Size() - Stream->Position(), 0)), '\0');
    Stream->ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    FWideStrings->SetTextStr(CodePageToWide(bytes, CodePage));
  });
}

void TAnsiStringsForWideStringsAdapter::SaveToStreamEx(TStream* Stream, UINT CodePage) {
  const AnsiString bytes = WideToCodePage(FWideStrings->GetTextStr(), CodePage);
  Stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

// --- TUniStrings ---------------------------------------------------------------------

TUniStrings::TUniStrings() : FAnsiStrings(std::make_unique<TAnsiStringsForWideStringsAdapter>(this, 0)) {}

TUniStrings::~TUniStrings() = default;

void TUniStrings::SetAnsiStrings(TStrings* Value) { FAnsiStrings->Assign(Value); }

void TUniStrings::DefineProperties(TFiler* Filer) {
  TWideStrings::DefineProperties(Filer);
  Filer->DefineProperty(
      "WideStrings", [this](TReader* Reader) { ReadWideStringsValue(Reader, this); }, nullptr, false);
  Filer->DefineProperty(
      "WideStringsW",
      [this](TReader* Reader) {
        // An empty list takes the lines whatever the switch says: nothing under "Strings"
        // came before them.
        ReadLegacyLines(Reader, &Utf8Decode, IsLegacyDecoding(Reader) || GetCount() == 0);
      },
      nullptr, false);
  Filer->DefineProperty(
      "WideStrings_UTF7",
      [this](TReader* Reader) { ReadLegacyLines(Reader, &Utf7ToWide, IsLegacyDecoding(Reader)); }, nullptr,
      false);
}

void TUniStrings::ReadLegacyLines(TReader* Reader, WideString (*Decode)(const AnsiString&), bool Apply) {
  Reader->ReadListBegin();
  if (Apply) {
    InUpdateBracket(*this, [&] {
      Clear();
      while (!Reader->EndOfList()) Add(Decode(Reader->ReadString()));
    });
  } else {
    while (!Reader->EndOfList()) Reader->ReadString();
  }
  Reader->ReadListEnd();
}

void TUniStrings::LoadFromFile(const WideString& FileName) {
  TUniFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  FLastFileEncoding = DetectTextEncoding(&stream);
  stream.SetPosition(0);
  LoadFromStream(&stream);
}

void TUniStrings::LoadFromStream(TStream* Stream) { LoadFromStreamWithMark(Stream, true); }

void TUniStrings::SaveToFile(const WideString& FileName) {
  TUniFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void TUniStrings::SaveToStream(TStream* Stream) { SaveToStreamWithMark(Stream, true); }

void TUniStrings::LoadFromStreamWithMark(TStream* Stream, bool WithBOM) {
  InUpdateBracket(*this, [&] { SetTextStr(ReadUtf16Text(Stream, WithBOM)); });
}

void TUniStrings::SaveToStreamWithMark(TStream* Stream, bool WithBOM) {
  WriteUtf16Text(Stream, GetTextStr(), WithBOM);
}

// --- TUniStringList ----------------------------------------------------------------

namespace {

constexpr size_t kLoadChunk = 256 * 1024;

}  // namespace

void TUniStringList::LoadFromStreamWithMark(TStream* Stream, bool WithBOM) {
  const int64_t start = Stream->Position();
  if (!WithBOM || DetectTextEncoding(Stream) != teUtf8) {
    Stream->SetPosition(start);
    TUniStrings::LoadFromStreamWithMark(Stream, WithBOM);
    return;
  }
  // Read twice a chunk at a time, never whole: once to count the lines (a stream that cannot
  // be read fails here, with the list as it was), so that the list's storage is made once at
  // its size, then to decode them.
  const int64_t textStart = Stream->Position();
  const int64_t remaining = Stream->Size() - textStart;
  const int lines = ReadUtf8Lines(Stream, remaining, kLoadChunk, [](const char*, size_t) {});
  Stream->SetPosition(textStart);
  InUpdateBracket(*this, [&] {
    Clear();
    if (lines > GetCapacity()) SetCapacity(lines);
    WideString line;  // one buffer for every line: Add takes its own copy
    ReadUtf8Lines(Stream, remaining, kLoadChunk, [&](const char* from, size_t length) {
      Utf8DecodeInto(from, length, line);
      Add(line);
    });
  });
}

TUniStringList::~TUniStringList() {
  // No notice while the list is torn down.
  OnChange = nullptr;
  OnChanging = nullptr;
}

void TUniStringList::Changed() {
  if (!FUpdating && OnChange) OnChange(this);
}

void TUniStringList::Changing() {
  if (!FUpdating && OnChanging) OnChanging(this);
}

void TUniStringList::SetUpdateState(bool Updating) {
  // OnChanging announces a bulk change before the flag holds notices back, so that
  // a bracket is announced at its opening just as OnChange reports its close.
  if (Updating) {
    Changing();
    FUpdating = true;
  } else {
    FUpdating = false;
    Changed();
  }
}

void TUniStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetCount()) Error(&SListIndexError, Index);
}

WideString TUniStringList::Get(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].S;
}

TObject* TUniStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].Obj;
}

WideString TUniStringList::GetTextStr() const {
  size_t total = 0;
  for (const Item& item : FList) total += item.S.size() + 2;
  WideString out;
  out.reserve(total);
  for (const Item& item : FList) {
    out += item.S;
    out += L"\r\n";
  }
  return out;
}

void TUniStringList::Put(int Index, const WideString& S) {
  if (FSorted) Error(&SSortedListError, 0);
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].S = S;
  Changed();
}

void TUniStringList::PutObject(int Index, TObject* Obj) {
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].Obj = Obj;
  Changed();
}

void TUniStringList::SetCapacity(int NewCapacity) {
  // Never below the lines held: the array always has a place for each of them.
  if (NewCapacity < GetCount()) NewCapacity = GetCount();
  if (NewCapacity == FCapacity) return;
  std::vector<Item> items;
  items.reserve(static_cast<size_t>(NewCapacity));
  for (Item& item : FList) items.push_back(std::move(item));
  FList.swap(items);
  FCapacity = NewCapacity;
}

void TUniStringList::Grow() {
  const int delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
  SetCapacity(FCapacity + delta);
}

void TUniStringList::InsertItem(int Index, const WideString& S, TObject* Obj) {
  Changing();
  if (GetCount() == FCapacity) Grow();
  FList.insert(FList.begin() + Index, Item{S, Obj});
  Changed();
}

int TUniStringList::Add(const WideString& S) { return AddObject(S, nullptr); }

int TUniStringList::AddObject(const WideString& S, TObject* Obj) {
  int index = GetCount();
  if (FSorted && Find(S, index)) {
    switch (FDuplicates) {
      case dupIgnore:
        return index;
      case dupError:
        Error(&SDuplicateString, 0);
      case dupAccept:
        break;
    }
  }
  InsertItem(index, S, Obj);
  return index;
}

void TUniStringList::Insert(int Index, const WideString& S) { InsertObject(Index, S, nullptr); }

void TUniStringList::InsertObject(int Index, const WideString& S, TObject* Obj) {
  if (FSorted) Error(&SSortedListError, 0);
  if (Index < 0 || Index > GetCount()) Error(&SListIndexError, Index);
  InsertItem(Index, S, Obj);
}

void TUniStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList.clear();
  SetCapacity(0);
  Changed();
}

void TUniStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  FList.erase(FList.begin() + Index);
  Changed();
}

void TUniStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
  Changed();
}

int TUniStringList::CompareStrings(const WideString& S1, const WideString& S2) const {
  return FCaseSensitive ? WideCompareStr(S1, S2) : WideCompareText(S1, S2);
}

bool TUniStringList::Find(const WideString& S, int& Index) const {
  bool found = false;
  int low = 0, high = GetCount() - 1;
  while (low <= high) {
    const int probe = (low + high) >> 1;
    const int c = CompareStrings(FList[static_cast<size_t>(probe)].S, S);
    if (c < 0) {
      low = probe + 1;
    } else {
      high = probe - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept) low = probe;
      }
    }
  }
  Index = low;
  return found;
}

int TUniStringList::IndexOf(const WideString& S) const {
  if (!FSorted) return TUniStrings::IndexOf(S);
  int index;
  return Find(S, index) ? index : -1;
}

int TUniStringList::IndexOfName(const WideString& Name) const {
  if (!FSorted) return TUniStrings::IndexOfName(Name);
  // The lines of a name sort right behind name + separator.
  const WideString key = Name + NameValueSeparator();
  int index;
  Find(key, index);
  if (index >= GetCount()) return -1;
  return CompareStrings(FList[static_cast<size_t>(index)].S.substr(0, key.size()), key) == 0 ? index : -1;
}

void TUniStringList::QuickSort(int L, int R, const TUniStringListSortCompare& Compare) {
  // On indexes, so that a compare routine sees the list as it is being sorted.
  int i;
  do {
    i = L;
    int j = R;
    int pivot = (L + R) >> 1;
    do {
      while (Compare(this, i, pivot) < 0) ++i;
      while (Compare(this, j, pivot) > 0) --j;
      if (i <= j) {
        if (i != j) std::swap(FList[static_cast<size_t>(i)], FList[static_cast<size_t>(j)]);
        if (pivot == i)
          pivot = j;
        else if (pivot == j)
          pivot = i;
        ++i;
        --j;
      }
    } while (i <= j);
    if (L < j) QuickSort(L, j, Compare);
    L = i;
  } while (i < R);
}

void TUniStringList::SortItems(const TUniStringListSortCompare& Compare) {
  if (GetCount() < 2) return;
  Changing();
  QuickSort(0, GetCount() - 1, Compare);
  Changed();
}

void TUniStringList::CustomSort(const TUniStringListSortCompare& Compare) {
  if (!FSorted) SortItems(Compare);
}

void TUniStringList::Sort() {
  CustomSort([](TUniStringList* List, int A, int B) {
    return List->CompareStrings(List->FList[static_cast<size_t>(A)].S, List->FList[static_cast<size_t>(B)].S);
  });
}

void TUniStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TUniStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  // A sorted list is put in the new order at once; Sort itself leaves sorted lists
  // alone, and a list out of order would make Find miss lines.
  if (FSorted)
    SortItems([](TUniStringList* List, int A, int B) {
      return List->CompareStrings(List->FList[static_cast<size_t>(A)].S, List->FList[static_cast<size_t>(B)].S);
    });
}
