#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widetext/synced_strings.h"
#include "widetext/uni_string_list.h"
#include "widetext/widebuf.h"

namespace {

using Lines = std::vector<WideString>;

Lines LinesOf(const TWideStrings& l) {
  Lines out;
  for (int i = 0; i < l.Count(); ++i) out.push_back(l[i]);
  return out;
}

// The notices a list gives, in order: "(" for OnChanging, ")" for OnChange.
struct NoticeLog {
  explicit NoticeLog(TUniStringList& l) {
    l.OnChanging = [this](TObject*) { text += '('; };
    l.OnChange = [this](TObject*) { text += ')'; };
  }
  std::string text;
};

TEST(WideStrings, TextFormTable) {
  struct Case {
    WideString text;
    Lines lines;
    WideString joined;
  } cases[] = {
      {L"", {}, L""},
      {L"a\r\nb\r\n", {L"a", L"b"}, L"a\r\nb\r\n"},
      {L"a\n\rb", {L"a", L"", L"b"}, L"a\r\n\r\nb\r\n"},
      {L"a\x2028" L"b", {L"a", L"b"}, L"a\r\nb\r\n"},
      {L"a\r\n\x2028" L"b", {L"a", L"b"}, L"a\r\nb\r\n"},  // CR LF U+2028 ends one line
      {L"a\r\rb\n", {L"a", L"", L"b"}, L"a\r\n\r\nb\r\n"},
      {L"\r\n", {L""}, L"\r\n"},
      {L"\x3b1\x3b2\r\n\x65e5\x672c", {L"\x3b1\x3b2", L"\x65e5\x672c"}, L"\x3b1\x3b2\r\n\x65e5\x672c\r\n"},
  };
  for (const Case& c : cases) {
    TUniStringList l;
    l.SetTextStr(c.text);
    EXPECT_EQ(LinesOf(l), c.lines);
    EXPECT_EQ(l.Text(), c.joined);
  }
  // The zero-terminated forms: a null text clears the list; GetText hands out a copy.
  TUniStringList l;
  l.SetText(L"x\ny");
  WideChar* text = l.GetText();
  EXPECT_EQ(WideString(text), L"x\r\ny\r\n");
  WideBufDispose(text);
  l.SetText(nullptr);
  EXPECT_EQ(l.Count(), 0);
}

TEST(WideStrings, DelimitedFormTable) {
  struct Case {
    WideChar delimiter, quote;
    WideString text;
    Lines items;
    WideString joined;
  } cases[] = {
      {L',', L'"', L"one,\"two words\",\"say \"\"hi\"\"\",,last",
       {L"one", L"two words", L"say \"hi\"", L"", L"last"},
       L"one,\"two words\",\"say \"\"hi\"\"\",,last"},
      {L';', L'\'', L" \x3b1\x3b2 ;'\x65e5 \x672c';", {L"\x3b1\x3b2", L"\x65e5 \x672c", L""},
       L"\x3b1\x3b2;'\x65e5 \x672c';"},
      {L',', L'"', L"\"\"", {L""}, L"\"\""},
      {L',', L'"', L"a b\tc", {L"a", L"b", L"c"}, L"a,b,c"},
      {L',', L'"', WideString(L"a,b\0,c", 6), {L"a", L"b"}, L"a,b"},
      // Only control characters and the space are blanks: U+3000 stays inside its item.
      {L'\x3001', L'"', L"\x3042\x3001\x3044\x3000", {L"\x3042", L"\x3044\x3000"}, L"\x3042\x3001\x3044\x3000"},
  };
  for (const Case& c : cases) {
    TUniStringList l;
    l.SetDelimiter(c.delimiter);
    l.SetQuoteChar(c.quote);
    l.SetDelimitedText(c.text);
    EXPECT_EQ(LinesOf(l), c.items);
    EXPECT_EQ(l.DelimitedText(), c.joined);
  }
  TUniStringList l;
  l.SetDelimiter(L';');
  l.SetCommaText(L"a;b,\"c d\"");
  EXPECT_EQ(LinesOf(l), (Lines{L"a;b", L"c d"}));
  EXPECT_EQ(l.CommaText(), L"a;b,\"c d\"");
  EXPECT_EQ(l.DelimitedText(), L"\"a;b\";\"c d\"");
}

TEST(WideStrings, NameValueForm) {
  TUniStringList l;
  l.SetTextStr(L"X=1\nx\n=x\nTitle=\x3a4\x3af\x3c4\x3bb\x3bf\x3c2=2\n");
  // The name part compares without regard to case; a line without separator has no name.
  EXPECT_EQ(l.IndexOfName(L"x"), 0);
  EXPECT_EQ(l.IndexOfName(L""), 2);
  EXPECT_EQ(l.Values(L"TITLE"), L"\x3a4\x3af\x3c4\x3bb\x3bf\x3c2=2");
  EXPECT_EQ(l.Names(1), L"");
  EXPECT_EQ(l.ValueFromIndex(1), L"");
  l.SetValues(L"x", L"\x65e5");
  EXPECT_EQ(l[0], L"x=\x65e5");
  l.SetValues(L"new", L"v");
  EXPECT_EQ(l[4], L"new=v");
  l.SetValues(L"TITLE", L"");
  EXPECT_EQ(l.IndexOfName(L"title"), -1);
  EXPECT_EQ(l.Count(), 4);

  l.SetNameValueSeparator(L':');
  l.SetTextStr(L"a=1\nb:2");
  EXPECT_EQ(l.IndexOfName(L"a"), -1);
  EXPECT_EQ(l.Values(L"b"), L"2");

  // A sorted list finds a name by binary search, and only a whole name.
  TUniStringList sorted;
  sorted.SetSorted(true);
  sorted.SetTextStr(L"b=2\nab=3\na=1\na\n");
  EXPECT_EQ(sorted.IndexOfName(L"A"), sorted.IndexOf(L"a=1"));
  EXPECT_EQ(sorted.Values(L"ab"), L"3");
  EXPECT_EQ(sorted.IndexOfName(L"c"), -1);
  EXPECT_EQ(sorted.IndexOfName(L"b="), -1);
}

TEST(WideStrings, SpecialCharactersAreDefinedWhenReadOrSet) {
  TUniStringList l;
  EXPECT_EQ(l.Defined(), 0u);
  EXPECT_EQ(l.Delimiter(), L',');
  EXPECT_EQ(l.Defined(), static_cast<unsigned>(sdDelimiter));
  l.SetQuoteChar(L'\'');
  EXPECT_EQ(l.Defined(), static_cast<unsigned>(sdDelimiter | sdQuoteChar));
  EXPECT_EQ(l.NameValueSeparator(), L'=');
  EXPECT_EQ(l.Defined(), static_cast<unsigned>(sdDelimiter | sdQuoteChar | sdNameValueSeparator));

  // Assignment between wide lists copies the set as it stands.
  TUniStringList other, copy;
  other.SetNameValueSeparator(L'\x2192');
  copy.Assign(&other);
  EXPECT_EQ(copy.Defined(), static_cast<unsigned>(sdNameValueSeparator));
  EXPECT_EQ(copy.NameValueSeparator(), L'\x2192');
}

TEST(WideStrings, AssignmentToAndFromTheEightBitList) {
  TObject tag;
  TStringList ansi;
  ansi.NameValueSeparator = ':';
  ansi.Delimiter = '\xA7';  // a character above 127 widens by its byte value
  ansi.QuoteChar = '\'';
  ansi.SetText("caf\xE9\nplain");
  ansi.PutObject(1, &tag);

  TUniStringList wide;
  wide.Assign(&ansi);
  EXPECT_EQ(LinesOf(wide), (Lines{L"caf\xE9", L"plain"}));
  EXPECT_EQ(wide.Objects(1), &tag);
  EXPECT_EQ(wide.NameValueSeparator(), L':');
  EXPECT_EQ(wide.Delimiter(), L'\xA7');
  EXPECT_EQ(wide.QuoteChar(), L'\'');
  EXPECT_EQ(wide.Defined(), static_cast<unsigned>(sdDelimiter | sdQuoteChar | sdNameValueSeparator));

  // Back to 8 bits: lines converted through the code page (Japanese has no 1252
  // form), special characters cut to their low byte.
  wide.Add(L"\x65e5");
  wide.SetDelimiter(L'\x2c');
  wide.SetNameValueSeparator(L'\x13d');
  TStringList back;
  back.Add("old");
  int changes = 0;
  back.OnChange = [&](TObject*) { ++changes; };
  back.Assign(&wide);
  EXPECT_EQ(back.Text(), "caf\xE9\r\nplain\r\n?\r\n");
  EXPECT_EQ(back.Objects(1), &tag);
  EXPECT_EQ(back.NameValueSeparator, '\x3d');
  EXPECT_EQ(back.Delimiter, ',');
  EXPECT_EQ(changes, 1);  // one bracket around the whole assignment

  TComponent notAList(nullptr);
  EXPECT_THROW(wide.Assign(&notAList), EConvertError);
}

TEST(WideStrings, MoveExchangeAndAddStrings) {
  TUniStringList l;
  l.SetCommaText(L"a,b,c");
  NoticeLog log(l);
  l.Move(2, 2);  // not even a bracket
  EXPECT_EQ(log.text, "");
  l.Move(0, 2);
  EXPECT_EQ(l.CommaText(), L"b,c,a");
  EXPECT_EQ(log.text, "()");
  l.Exchange(0, 2);
  EXPECT_EQ(l.CommaText(), L"a,c,b");
  l.AddStrings(&l);
  EXPECT_EQ(l.CommaText(), L"a,c,b,a,c,b");
  EXPECT_EQ(l.IndexOf(L"B"), 2);
  TUniStringList same;
  same.SetCommaText(L"a,c,b,a,c,b");
  EXPECT_TRUE(l.Equals(&same));
  same.Put(0, L"A");
  EXPECT_FALSE(l.Equals(&same));  // code unit for code unit
}

TEST(WideStrings, AdapterIsToldWhenItStartsAndStopsPresentingTheList) {
  struct Recorder : IWideStringsAdapter {
    std::vector<std::pair<char, TWideStrings*>>* log;
    void ReferenceStrings(TWideStrings* S) override { log->emplace_back('+', S); }
    void ReleaseStrings() override { log->emplace_back('-', nullptr); }
  };
  std::vector<std::pair<char, TWideStrings*>> log;
  auto first = std::make_shared<Recorder>();
  auto second = std::make_shared<Recorder>();
  first->log = second->log = &log;
  TWideStrings* seen = nullptr;
  {
    TUniStringList l;
    seen = &l;
    l.SetStringsAdapter(first);
    l.SetStringsAdapter(second);
  }
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0], std::make_pair('+', seen));
  EXPECT_EQ(log[1].first, '-');
  EXPECT_EQ(log[2], std::make_pair('+', seen));
  EXPECT_EQ(log[3].first, '-');  // at destruction
}

// A list with only the five primitives, so that the base list's own defaults run.
class PrimitiveList : public TWideStrings {
 public:
  WideString Get(int Index) const override { return lines.at(static_cast<size_t>(Index)); }
  int GetCount() const override { return static_cast<int>(lines.size()); }
  void Clear() override { lines.clear(); }
  void Delete(int Index) override { lines.erase(lines.begin() + Index); }
  void Insert(int Index, const WideString& S) override { lines.insert(lines.begin() + Index, S); }
  Lines lines;
};

TEST(WideStrings, DefaultsWorkThroughTheFivePrimitives) {
  PrimitiveList l;
  l.SetCommaText(L"a,b,c");
  l.Put(0, L"x");
  l.Exchange(0, 2);
  l.Move(0, 1);
  EXPECT_EQ(l.lines, (Lines{L"b", L"c", L"x"}));
  EXPECT_EQ(l.IndexOf(L"X"), 2);
  EXPECT_EQ(l.Objects(0), nullptr);

  // The base list's streams are raw UTF-16LE: no mark is looked for or written.
  TMemoryStream m;
  l.SaveToStream(&m);
  EXPECT_EQ(m.Size(), 2 * 9);
  m.SetPosition(0);
  m.WriteBuffer("\xFF\xFE", 2);
  m.SetPosition(0);
  l.LoadFromStream(&m);
  EXPECT_EQ(l.lines, (Lines{L"\xFEFF", L"c", L"x"}));
}

TEST(UniStringList, GrowsByTheFrameworkSteps) {
  TUniStringList l;
  std::vector<int> capacities{l.Capacity()};
  for (int i = 0; i < 77; ++i) {
    l.Add(L"x");
    if (l.Capacity() != capacities.back()) capacities.push_back(l.Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{0, 4, 8, 12, 28, 44, 60, 76, 95}));
  l.SetCapacity(10);  // never below the lines held
  EXPECT_EQ(l.Capacity(), 77);
  EXPECT_EQ(l[76], L"x");
  l.Clear();
  EXPECT_EQ(l.Capacity(), 0);
}

TEST(UniStringList, SortedListsAndDuplicatesTable) {
  struct Case {
    TDuplicates dup;
    bool caseSensitive;
    Lines adds;
    Lines result;
  } cases[] = {
      {dupIgnore, false, {L"\x3b2", L"\x391", L"\x392", L"\x3b1"}, {L"\x391", L"\x3b2"}},
      {dupAccept, false, {L"b", L"a", L"B", L"b"}, {L"a", L"b", L"B", L"b"}},
      {dupIgnore, true, {L"b", L"a", L"B"}, {L"a", L"b", L"B"}},
  };
  for (const Case& c : cases) {
    TUniStringList l;
    l.SetDuplicates(c.dup);
    l.SetCaseSensitive(c.caseSensitive);
    l.SetSorted(true);
    for (const WideString& s : c.adds) l.Add(s);
    EXPECT_EQ(LinesOf(l), c.result);
  }

  TUniStringList l;
  l.SetDuplicates(dupAccept);
  l.SetSorted(true);
  for (const WideChar* s : {L"m", L"a", L"M", L"z", L"m"}) l.Add(s);
  int index = -1;
  EXPECT_TRUE(l.Find(L"m", index));
  EXPECT_EQ(index, 1);  // the first of the equal lines
  EXPECT_FALSE(l.Find(L"n", index));
  EXPECT_EQ(index, 4);
  EXPECT_EQ(l.IndexOf(L"Z"), 4);
  EXPECT_EQ(l.IndexOf(L"q"), -1);
  EXPECT_EQ(l.AddObject(L"b", nullptr), 1);

  // Changing the case rule puts a sorted list in the new order at once.
  l.SetCaseSensitive(true);
  for (int i = 0; i < l.Count(); ++i) {
    ASSERT_TRUE(l.Find(l[i], index)) << i;
    EXPECT_EQ(l[index], l[i]);
  }
}

TEST(UniStringList, ErrorsCarryTheFrameworkMessages) {
  TUniStringList l;
  l.SetSorted(true);
  l.SetDuplicates(dupError);
  l.Add(L"a");
  auto message = [](auto&& action) -> std::string {
    try {
      action();
    } catch (const EStringListError& e) {
      return e.what();
    }
    return "no error";
  };
  EXPECT_EQ(message([&] { l.Add(L"A"); }), "String list does not allow duplicates");
  EXPECT_EQ(message([&] { l.Insert(0, L"b"); }), "Operation not allowed on sorted list");
  EXPECT_EQ(message([&] { l.Put(0, L"b"); }), "Operation not allowed on sorted list");
  EXPECT_EQ(message([&] { l.Get(1); }), "List index out of bounds (1)");
  EXPECT_EQ(message([&] { l.GetObject(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(message([&] { l.Delete(3); }), "List index out of bounds (3)");
  EXPECT_EQ(message([&] { l.Exchange(0, 2); }), "List index out of bounds (2)");
  EXPECT_EQ(message([&] { l.PutObject(5, nullptr); }), "List index out of bounds (5)");
  l.SetSorted(false);
  EXPECT_EQ(message([&] { l.Insert(2, L"b"); }), "List index out of bounds (2)");
  l.Insert(1, L"b");
  EXPECT_EQ(l.CommaText(), L"a,b");
}

TEST(UniStringList, NoticesComeInPairsAndBracketsAreAnnounced) {
  TUniStringList l;
  NoticeLog log(l);
  l.Clear();  // empty: nothing happens
  l.Add(L"b");
  l.Insert(0, L"a");
  l.Put(1, L"c");
  l.PutObject(0, &l);
  l.Exchange(0, 1);
  l.Sort();
  l.Delete(0);
  l.Clear();
  EXPECT_EQ(log.text, "()()()()()()()()");

  log.text.clear();
  l.SetTextStr(L"1\n2\n3");  // one bracket, however many lines
  EXPECT_EQ(log.text, "()");

  // A bulk change that fails still closes its bracket.
  l.SetSorted(true);
  l.SetDuplicates(dupError);
  log.text.clear();
  EXPECT_THROW(l.SetTextStr(L"x\nx"), EStringListError);
  EXPECT_EQ(log.text, "()");
  l.Add(L"y");
  EXPECT_EQ(log.text, "()()");
}

TEST(UniStringList, CustomSortSeesTheListAndLeavesSortedListsAlone) {
  TUniStringList l;
  l.SetCommaText(L"10,9,100,1,9");
  l.CustomSort([](TUniStringList* list, int a, int b) {
    return std::stoi(list->Get(a)) - std::stoi(list->Get(b));
  });
  EXPECT_EQ(l.CommaText(), L"1,9,9,10,100");
  l.SetSorted(true);  // by text now
  EXPECT_EQ(l.CommaText(), L"1,10,100,9,9");
  l.CustomSort([](TUniStringList*, int a, int b) { return b - a; });
  EXPECT_EQ(l.CommaText(), L"1,10,100,9,9");
}

TEST(UniStrings, EightBitViewConvertsThroughItsCodePage) {
  TUniStringList l;
  TAnsiStrings* view = l.AnsiStrings();
  view->Add("caf\xE9");  // 1252, the conversion code page under Wine here
  EXPECT_EQ(l[0], L"caf\xE9");
  l.Add(L"\x3b1\x3b2");
  EXPECT_EQ(view->Count(), 2);
  EXPECT_EQ(view->Get(1), "a\xDF");  // the system's best fit in 1252

  TAnsiStringsForWideStringsAdapter greek(&l, 1253);
  EXPECT_EQ(greek.Get(1), "\xE1\xE2");
  greek.Put(0, "\xC4");
  EXPECT_EQ(l[0], L"\x394");

  // Stream forms in a chosen code page, without a byte-order mark.
  TMemoryStream in;
  in.WriteBuffer("\xE1\r\n\xE2", 4);
  in.SetPosition(0);
  NoticeLog log(l);
  view->LoadFromStreamEx(&in, 1253);
  EXPECT_EQ(LinesOf(l), (Lines{L"\x3b1", L"\x3b2"}));
  EXPECT_EQ(log.text, "()");
  TMemoryStream out;
  view->SaveToStreamEx(&out, CP_UTF8);
  EXPECT_EQ(std::string(static_cast<char*>(out.Memory()), static_cast<size_t>(out.Size())),
            "\xCE\xB1\r\n\xCE\xB2\r\n");

  // Writing the published view assigns the 8-bit lines to the wide list.
  TStringList source;
  source.SetCommaText("x,y");
  l.SetAnsiStrings(&source);
  EXPECT_EQ(l.CommaText(), L"x,y");
}

TEST(SyncedStrings, WideValueFollowsItsEightBitCopy) {
  struct Case {
    WideString wide;
    AnsiString ansi;
    WideString result;
  } cases[] = {
      {L"\x65e5\x672c", "??", L"\x65e5\x672c"},  // the 8-bit copy is the wide value's own form
      {L"\x65e5\x672c", "ab", L"ab"},          // changed behind the wide value
      {L"caf\xE9", "caf\xE9", L"caf\xE9"},
  };
  for (const Case& c : cases) {
    WideString wide = c.wide;
    EXPECT_EQ(GetSyncedWideString(wide, c.ansi), c.result);
    EXPECT_EQ(wide, c.result);
  }

  std::vector<AnsiString> sets;
  auto setAnsi = [&](const AnsiString& s) { sets.push_back(s); };
  WideString wide = L"\x65e5\x672c";
  // Same 8-bit form as now, but another wide text: the 8-bit side must see a change.
  SetSyncedWideString(L"\x4e2d\x56fd", wide, "??", setAnsi);
  EXPECT_EQ(sets, (std::vector<AnsiString>{"", "??"}));
  EXPECT_EQ(wide, L"\x4e2d\x56fd");
  sets.clear();
  SetSyncedWideString(L"\x4e2d\x56fd", wide, "??", setAnsi);  // unchanged: nothing
  EXPECT_TRUE(sets.empty());
  SetSyncedWideString(L"ok", wide, "??", setAnsi);
  EXPECT_EQ(sets, (std::vector<AnsiString>{"ok"}));
  EXPECT_EQ(wide, L"ok");
}

}  // namespace
