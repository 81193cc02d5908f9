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
