#include "widetext/wide_strings.h"

#include <vector>

#include "vcl/streaming.h"
#include "vcl/streams.h"
#include "widetext/resstrings.h"
#include "widetext/wide_files.h"
#include "widetext/wide_props.h"
#include "widetext/widebuf.h"

VCL_CLASS_IMPL(TWideStrings, TPersistent, nullptr, nullptr)

namespace {

const WideChar kLineSeparator = 0x2028;

}  // namespace

TWideStrings::~TWideStrings() { SetStringsAdapter(nullptr); }

// --- the three special characters -------------------------------------------

WideChar TWideStrings::Delimiter() const {
  FDefined |= sdDelimiter;
  return FDelimiter;
}

void TWideStrings::SetDelimiter(WideChar Value) {
  FDefined |= sdDelimiter;
  FDelimiter = Value;
}

WideChar TWideStrings::QuoteChar() const {
  FDefined |= sdQuoteChar;
  return FQuoteChar;
}

void TWideStrings::SetQuoteChar(WideChar Value) {
  FDefined |= sdQuoteChar;
  FQuoteChar = Value;
}

WideChar TWideStrings::NameValueSeparator() const {
  FDefined |= sdNameValueSeparator;
  return FNameValueSeparator;
}

void TWideStrings::SetNameValueSeparator(WideChar Value) {
  FDefined |= sdNameValueSeparator;
  FNameValueSeparator = Value;
}

void TWideStrings::SetStringsAdapter(std::shared_ptr<IWideStringsAdapter> Adapter) {
  if (FAdapter) FAdapter->ReleaseStrings();
  FAdapter = std::move(Adapter);
  if (FAdapter) FAdapter->ReferenceStrings(this);
}

// --- assignment --------------------------------------------------------------

void TWideStrings::Assign(TPersistent* Source) {
  if (auto* wide = dynamic_cast<TWideStrings*>(Source)) {
    InUpdateBracket(*this, [&] {
      Clear();
      FDefined = wide->FDefined;
      FDelimiter = wide->FDelimiter;
      FQuoteChar = wide->FQuoteChar;
      FNameValueSeparator = wide->FNameValueSeparator;
      AddStrings(wide);
    });
    return;
  }
  if (auto* ansi = dynamic_cast<TStrings*>(Source)) {
    InUpdateBracket(*this, [&] {
      Clear();
      // Each 8-bit character widened by its byte value.
      SetNameValueSeparator(static_cast<unsigned char>(ansi->NameValueSeparator));
      SetQuoteChar(static_cast<unsigned char>(ansi->QuoteChar));
      SetDelimiter(static_cast<unsigned char>(ansi->Delimiter));
      AddStrings(ansi);
    });
    return;
  }
  TPersistent::Assign(Source);
}

void TWideStrings::AssignTo(TPersistent* Dest) {
  if (auto* wide = dynamic_cast<TWideStrings*>(Dest)) {
    wide->Assign(this);
    return;
  }
  if (auto* ansi = dynamic_cast<TStrings*>(Dest)) {
    InUpdateBracket(*ansi, [&] {
      ansi->Clear();
      ansi->NameValueSeparator = static_cast<char>(NameValueSeparator());
      ansi->QuoteChar = static_cast<char>(QuoteChar());
      ansi->Delimiter = static_cast<char>(Delimiter());
      const int n = GetCount();
      for (int i = 0; i < n; ++i) ansi->AddObject(WideToAnsi(Get(i)), GetObject(i));
    });
    return;
  }
  TPersistent::AssignTo(Dest);
}

// --- default operations in terms of the primitives --------------------------

void TWideStrings::Put(int Index, const WideString& S) {
  TObject* obj = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, obj);
}

int TWideStrings::CompareStrings(const WideString& S1, const WideString& S2) const {
  return WideCompareText(S1, S2);
}

int TWideStrings::Add(const WideString& S) {
  const int index = GetCount();
  Insert(index, S);
  return index;
}

int TWideStrings::AddObject(const WideString& S, TObject* Obj) {
  const int index = Add(S);
  PutObject(index, Obj);
  return index;
}

void TWideStrings::AddStrings(TStrings* Strings) {
  InUpdateBracket(*this, [&] {
    const int n = Strings->GetCount();
    for (int i = 0; i < n; ++i) AddObject(AnsiToWide(Strings->Get(i)), Strings->GetObject(i));
  });
}

void TWideStrings::AddStrings(TWideStrings* Strings) {
  InUpdateBracket(*this, [&] {
    // Counted once, so that a list can add its own lines to itself.
    const int n = Strings->GetCount();
    for (int i = 0; i < n; ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
  });
}

void TWideStrings::Exchange(int Index1, int Index2) {
  InUpdateBracket(*this, [&] {
    const WideString s1 = Get(Index1);
    TObject* o1 = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s1);
    PutObject(Index2, o1);
  });
}

int TWideStrings::IndexOf(const WideString& S) const {
  const int n = GetCount();
  for (int i = 0; i < n; ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int TWideStrings::NameLength(const WideString& S) const {
  const size_t p = S.find(NameValueSeparator());
  return p == WideString::npos ? -1 : static_cast<int>(p);
}

int TWideStrings::IndexOfName(const WideString& Name) const {
  const int n = GetCount();
  for (int i = 0; i < n; ++i) {
    const WideString s = Get(i);
    const int len = NameLength(s);
    if (len >= 0 && CompareStrings(s.substr(0, static_cast<size_t>(len)), Name) == 0) return i;
  }
  return -1;
}

int TWideStrings::IndexOfObject(TObject* Obj) const {
  const int n = GetCount();
  for (int i = 0; i < n; ++i)
    if (GetObject(i) == Obj) return i;
  return -1;
}

void TWideStrings::InsertObject(int Index, const WideString& S, TObject* Obj) {
  Insert(Index, S);
  PutObject(Index, Obj);
}

void TWideStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  InUpdateBracket(*this, [&] {
    const WideString s = Get(CurIndex);
    TObject* obj = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, obj);
  });
}

void TWideStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TWideStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) SetUpdateState(false);
}

bool TWideStrings::Equals(const TWideStrings* Strings) const {
  const int n = GetCount();
  if (Strings->GetCount() != n) return false;
  for (int i = 0; i < n; ++i)
    if (Get(i) != Strings->Get(i)) return false;
  return true;
}

void TWideStrings::Error(const TResStringRec* Msg, int Data) const {
  throw EStringListError(WideToAnsi(WideFormat(LoadWideResString(Msg).c_str(), Data)));
}

// --- text form ----------------------------------------------------------------

WideString TWideStrings::GetTextStr() const {
  const int n = GetCount();
  std::vector<WideString> lines(static_cast<size_t>(n));
  size_t total = 0;
  for (int i = 0; i < n; ++i) total += (lines[static_cast<size_t>(i)] = Get(i)).size() + 2;
  WideString out;
  out.reserve(total);
  for (const WideString& line : lines) {
    out += line;
    out += L"\r\n";
  }
  return out;
}

namespace {

// Calls line(start, length) for every line of Text: a line ends at CR, LF or U+2028;
// after it one CR, then one LF, then one U+2028 are skipped, so that CR LF U+2028 ends
// one line and a final line break adds no empty line.
template <class Line>
void ForEachLine(const WideString& Text, Line line) {
  const WideChar* p = Text.data();
  const WideChar* const end = p + Text.size();
  while (p < end) {
    const WideChar* start = p;
    while (p < end && *p != L'\n' && *p != L'\r' && *p != kLineSeparator) ++p;
    line(start, static_cast<size_t>(p - start));
    if (p < end && *p == L'\r') ++p;
    if (p < end && *p == L'\n') ++p;
    if (p < end && *p == kLineSeparator) ++p;
  }
}

}  // namespace

void TWideStrings::SetTextStr(const WideString& Value) {
  InUpdateBracket(*this, [&] {
    Clear();
    // Room for every line at once: a large text would otherwise regrow the list
    // dozens of times.
    int lines = 0;
    ForEachLine(Value, [&](const WideChar*, size_t) { ++lines; });
    if (lines > GetCapacity()) SetCapacity(lines);
    WideString line;  // one buffer for every line: Add takes its own copy
    ForEachLine(Value, [&](const WideChar* start, size_t length) {
      line.assign(start, length);
      Add(line);
    });
  });
}

WideChar* TWideStrings::GetText() const { return WideBufNew(GetTextStr().c_str()); }

void TWideStrings::SetText(const WideChar* Text) { SetTextStr(Text ? WideString(Text) : WideString()); }

// --- delimited and name-value forms ---------------------------------------------

WideString TWideStrings::DelimitedText() const {
  return delimited_text::Join<WideString>(GetCount(), [this](int i) { return Get(i); }, Delimiter(), QuoteChar());
}

void TWideStrings::SetDelimitedTextWith(const WideString& Value, WideChar Delim, WideChar Quote) {
  InUpdateBracket(*this, [&] {
    Clear();
    delimited_text::Split(Value, Delim, Quote, [this](const WideString& item) { Add(item); });
  });
}

void TWideStrings::SetDelimitedText(const WideString& Value) {
  SetDelimitedTextWith(Value, Delimiter(), QuoteChar());
}

WideString TWideStrings::CommaText() const {
  return delimited_text::Join<WideString>(GetCount(), [this](int i) { return Get(i); }, L',', L'"');
}

void TWideStrings::SetCommaText(const WideString& Value) { SetDelimitedTextWith(Value, L',', L'"'); }

WideString TWideStrings::Names(int Index) const {
  const WideString s = Get(Index);
  const int len = NameLength(s);
  return len < 0 ? WideString() : s.substr(0, static_cast<size_t>(len));
}

WideString TWideStrings::ValueFromIndex(int Index) const {
  const WideString s = Get(Index);
  const int len = NameLength(s);
  return len < 0 ? WideString() : s.substr(static_cast<size_t>(len) + 1);
}

WideString TWideStrings::Values(const WideString& Name) const {
  const int i = IndexOfName(Name);
  return i < 0 ? WideString() : ValueFromIndex(i);
}

void TWideStrings::SetValues(const WideString& Name, const WideString& Value) {
  const int i = IndexOfName(Name);
  if (Value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  const WideString line = Name + NameValueSeparator() + Value;
  if (i < 0)
    Add(line);
  else
    Put(i, line);
}

// --- streams and files ------------------------------------------------------------

void TWideStrings::LoadFromStream(TStream* Stream) {
  InUpdateBracket(*this, [&] { SetTextStr(ReadUtf16Text(Stream, false)); });
}

void TWideStrings::SaveToStream(TStream* Stream) { WriteUtf16Text(Stream, GetTextStr(), false); }

void TWideStrings::LoadFromFile(const WideString& FileName) {
  TUniFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TWideStrings::SaveToFile(const WideString& FileName) {
  TUniFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

// --- stored form -------------------------------------------------------------------

void TWideStrings::DefineProperties(TFiler* Filer) {
  bool hasData;
  if (!Filer->Ancestor) {
    hasData = GetCount() > 0;
  } else if (auto* ancestor = dynamic_cast<TWideStrings*>(Filer->Ancestor)) {
    hasData = !Equals(ancestor);
  } else {
    hasData = true;
  }
  Filer->DefineProperty(
      "Strings", [this](TReader* Reader) { ReadWideStringsValue(Reader, this); },
      [this](TWriter* Writer) {
        Writer->WriteListBegin();
        const int n = GetCount();
        for (int i = 0; i < n; ++i) Writer->WriteWideString(Get(i));
        Writer->WriteListEnd();
      },
      hasData);
}
