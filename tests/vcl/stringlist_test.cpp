#include <gtest/gtest.h>

#include "vcl/streams.h"
#include "vcl/strings.h"

namespace {

TEST(StringList, TextSplitsOnEveryLineEndAndJoinsWithCrLf) {
  TStringList l;
  l.SetText("a\r\nb\nc\rd");
  ASSERT_EQ(l.Count(), 4);
  EXPECT_EQ(l[3], "d");
  EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\nd\r\n");
}

TEST(StringList, SortedListsFindAndHandleDuplicates) {
  TStringList l;
  l.SetSorted(true);
  l.Add("pear");
  l.Add("Apple");
  l.Add("banana");
  EXPECT_EQ(l[0], "Apple");
  int i = -1;
  EXPECT_TRUE(l.Find("BANANA", i));
  EXPECT_EQ(i, 1);
  EXPECT_EQ(l.Add("pear"), 2);  // dupIgnore: the existing index
  EXPECT_EQ(l.Count(), 3);
  l.Duplicates = dupError;
  EXPECT_THROW(l.Add("apple"), EStringListError);
  EXPECT_THROW(l.Insert(0, "x"), EStringListError);
  EXPECT_THROW(l.Get(7), EStringListError);
}

TEST(StringList, NameValueAndDelimitedForms) {
  TStringList l;
  l.SetValues("Lang", "English");
  l.SetValues("Flat", "1");
  EXPECT_EQ(l.Values("lang"), "English");
  EXPECT_EQ(l.Names(1), "Flat");
  l.SetValues("Flat", "");
  EXPECT_EQ(l.Count(), 1);

  l.SetCommaText("one,\"two words\",\"say \"\"hi\"\"\",,last");
  ASSERT_EQ(l.Count(), 5);
  EXPECT_EQ(l[1], "two words");
  EXPECT_EQ(l[2], "say \"hi\"");
  EXPECT_EQ(l[3], "");
  EXPECT_EQ(l.CommaText(), "one,\"two words\",\"say \"\"hi\"\"\",,last");
}

TEST(StringList, OnChangeFiresOncePerUpdateBlock) {
  TStringList l;
  int changes = 0;
  l.OnChange = [&](TObject*) { ++changes; };
  l.Add("a");
  EXPECT_EQ(changes, 1);
  l.BeginUpdate();
  l.Add("b");
  l.Add("c");
  l.Delete(0);
  l.EndUpdate();
  EXPECT_EQ(changes, 2);
}

TEST(StringList, CustomSortUsesTheGivenOrder) {
  TStringList l;
  l.SetCommaText("10,9,100,1");
  l.CustomSort([](TStringList* s, int a, int b) { return std::stoi(s->Get(a)) - std::stoi(s->Get(b)); });
  EXPECT_EQ(l.CommaText(), "1,9,10,100");
}

TEST(Streams, FileStreamRoundTripAndOpenErrorNamesTheFile) {
  TStringList l;
  l.SetCommaText("x,y");
  l.SaveToFile("strings_roundtrip.txt");
  TStringList back;
  back.LoadFromFile("strings_roundtrip.txt");
  EXPECT_TRUE(back.Equals(&l));
  try {
    TFileStream s("no_such_dir\\missing.txt", fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_NE(std::string(e.what()).find("missing.txt"), std::string::npos);
  }
  TMemoryStream m;
  m.WriteBuffer("abc", 3);
  m.SetPosition(1);
  char c[2];
  m.ReadBuffer(c, 2);
  EXPECT_EQ(std::string(c, 2), "bc");
  EXPECT_THROW(m.ReadBuffer(c, 1), EReadError);
}

}  // namespace

namespace {

std::vector<AnsiString> Lines(const TStrings& l) {
  std::vector<AnsiString> out;
  for (int i = 0; i < l.Count(); ++i) out.push_back(l[i]);
  return out;
}

TEST(StringList, TextFormTable) {
  struct Case {
    AnsiString text;
    std::vector<AnsiString> lines;
    AnsiString joined;
  } cases[] = {
      {"", {}, ""},
      {"a", {"a"}, "a\r\n"},
      {"a\r\n", {"a"}, "a\r\n"},
      {"\r\n", {""}, "\r\n"},
      {"a\n\rb", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
      {"a\r\r\nb\n\n", {"a", "", "b", ""}, "a\r\n\r\nb\r\n\r\n"},
  };
  for (const Case& c : cases) {
    TStringList l;
    l.SetText(c.text);
    EXPECT_EQ(Lines(l), c.lines) << c.text;
    EXPECT_EQ(l.Text(), c.joined) << c.text;
  }
}

TEST(StringList, DelimitedFormTable) {
  struct Case {
    char delimiter, quote;
    AnsiString text;
    std::vector<AnsiString> items;
    AnsiString joined;
  } cases[] = {
      {';', '\'', "a; 'b;c' ;'it''s'", {"a", "b;c", "it's"}, "a;'b;c';'it''s'"},
      {',', '"', "a,", {"a", ""}, "a,"},
      {',', '"', "\"\"", {""}, "\"\""},
      {',', '"', "   ", {}, ""},
      {',', '"', "a b", {"a", "b"}, "a,b"},
      {',', '"', "\"open", {"open"}, "open"},
      {',', '"', "\"ab\"cd,e", {"ab", "cd", "e"}, "ab,cd,e"},
      {',', '"', "\"\x01\",x", {"\x01", "x"}, "\"\x01\",x"},
      // The text ends at a zero character, as it always did for zero-terminated text.
      {',', '"', AnsiString("a,b\0,c", 6), {"a", "b"}, "a,b"},
      {'|', '"', "x|y,z", {"x", "y,z"}, "x|y,z"},
  };
  for (const Case& c : cases) {
    TStringList l;
    l.Delimiter = c.delimiter;
    l.QuoteChar = c.quote;
    l.SetDelimitedText(c.text);
    EXPECT_EQ(Lines(l), c.items) << c.text;
    EXPECT_EQ(l.DelimitedText(), c.joined) << c.text;
  }
  // CommaText always uses the comma and the double quote, whatever the list's own are.
  TStringList l;
  l.Delimiter = ';';
  l.QuoteChar = '\'';
  l.SetCommaText("a b,c;d");
  EXPECT_EQ(Lines(l), (std::vector<AnsiString>{"a", "b", "c;d"}));
  EXPECT_EQ(l.CommaText(), "a,b,c;d");
  EXPECT_EQ(l.DelimitedText(), "a;b;'c;d'");
}

TEST(StringList, NameValueFormWithOwnSeparatorAndCase) {
  TStringList l;
  l.NameValueSeparator = ':';
  l.SetText("Title:Big Buck\nplain\n:empty name\nlang:fr=en\n");
  EXPECT_EQ(l.Values("TITLE"), "Big Buck");
  EXPECT_EQ(l.Values("plain"), "");
  EXPECT_EQ(l.IndexOfName("plain"), -1);
  EXPECT_EQ(l.IndexOfName(""), 2);
  EXPECT_EQ(l.Names(1), "");
  EXPECT_EQ(l.ValueFromIndex(1), "");  // no separator: no value, not the line minus a character
  EXPECT_EQ(l.ValueFromIndex(3), "fr=en");
  l.SetValues("lang", "de");
  EXPECT_EQ(l[3], "lang:de");
  l.SetValues("new", "1");
  EXPECT_EQ(l[4], "new:1");
  l.SetCaseSensitive(true);
  EXPECT_EQ(l.IndexOfName("TITLE"), -1);
  EXPECT_EQ(l.IndexOfName("Title"), 0);

  // A sorted list takes new pairs at their sorted place.
  TStringList sorted;
  sorted.SetSorted(true);
  sorted.SetValues("b", "2");
  sorted.SetValues("a", "1");
  EXPECT_EQ(sorted.Text(), "a=1\r\nb=2\r\n");
}

TEST(StringList, SortedDuplicatesTable) {
  struct Case {
    TDuplicates dup;
    bool caseSensitive;
    std::vector<AnsiString> adds;
    std::vector<AnsiString> result;
  } cases[] = {
      {dupIgnore, false, {"b", "a", "B", "c"}, {"a", "b", "c"}},
      {dupAccept, false, {"b", "a", "B", "b"}, {"a", "b", "B", "b"}},
      {dupIgnore, true, {"b", "a", "B"}, {"a", "b", "B"}},
  };
  for (const Case& c : cases) {
    TStringList l;
    l.Duplicates = c.dup;
    l.SetCaseSensitive(c.caseSensitive);
    l.SetSorted(true);
    for (const AnsiString& s : c.adds) l.Add(s);
    EXPECT_EQ(Lines(l), c.result);
  }
  // With accepted duplicates Find lands on the first of the equal lines.
  TStringList l;
  l.Duplicates = dupAccept;
  l.SetSorted(true);
  for (const char* s : {"m", "a", "m", "z", "m"}) l.Add(s);
  int index = -1;
  EXPECT_TRUE(l.Find("M", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(l.Find("n", index));
  EXPECT_EQ(index, 4);  // where it would go
  EXPECT_EQ(l.IndexOf("Z"), 4);
  EXPECT_EQ(l.IndexOf("q"), -1);
  l.Duplicates = dupError;
  try {
    l.Add("a");
    FAIL() << "duplicate added";
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), "String list does not allow duplicates");
  }
  try {
    l.Put(0, "x");
    FAIL() << "line put into a sorted list";
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), "Operation not allowed on sorted list");
  }
  try {
    l.Delete(5);
    FAIL() << "deleted past the end";
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (5)");
  }
}

TEST(StringList, CaseSensitivityChangeResortsASortedList) {
  TStringList l;
  l.Duplicates = dupAccept;
  l.SetSorted(true);
  l.SetCommaText("b,B,a,A");
  l.SetCaseSensitive(true);
  int index = -1;
  for (int i = 0; i < l.Count(); ++i) {
    ASSERT_TRUE(l.Find(l[i], index)) << l[i];
    EXPECT_EQ(l[index], l[i]);
  }
  EXPECT_FALSE(l.Find("c", index));
}

TEST(StringList, ChangeNotificationsComeInPairsAroundEachChange) {
  TStringList l;
  std::string log;
  l.OnChanging = [&](TObject* sender) {
    EXPECT_EQ(sender, &l);
    log += '(';
  };
  l.OnChange = [&](TObject*) { log += ')'; };
  l.Clear();  // nothing to clear: no notice
  l.Add("b");
  l.Add("a");
  l.Put(0, "c");
  l.Exchange(0, 1);
  l.Sort();
  l.Move(0, 1);  // one bracket around its delete and insert
  l.Delete(0);
  l.Clear();
  EXPECT_EQ(log, "()()()()()()()()");

  // A bulk change that fails still closes its bracket: later changes are announced.
  l.SetSorted(true);
  l.Duplicates = dupError;
  log.clear();
  EXPECT_THROW(l.SetText("x\nx\n"), EStringListError);
  EXPECT_EQ(log, "()");
  l.Add("y");
  EXPECT_EQ(log, "()()");
}

TEST(StringList, AddStringsOfItselfAndAssign) {
  TStringList a;
  a.SetCommaText("1,2");
  TObject tag;
  a.PutObject(1, &tag);
  a.AddStrings(&a);
  EXPECT_EQ(a.CommaText(), "1,2,1,2");
  EXPECT_EQ(a.Objects(3), &tag);

  a.NameValueSeparator = ':';
  a.Delimiter = ';';
  a.QuoteChar = '\'';
  TStringList b;
  b.Assign(&a);
  EXPECT_TRUE(b.Equals(&a));
  EXPECT_EQ(b.NameValueSeparator, ':');
  EXPECT_EQ(b.Delimiter, ';');
  EXPECT_EQ(b.QuoteChar, '\'');
  EXPECT_EQ(b.Objects(1), &tag);
}

}  // namespace
