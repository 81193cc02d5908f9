// The markup's text rules without a device: entities, attribute values, colours, numbers
// and the line splitting of titled texts.
#include <gtest/gtest.h>

#include "dialogs/html_markup.h"
#include "widetext/uni_string_list.h"

namespace {

TEST(HtmlMarkup, PreparationReplacesEntitiesAndLineBreaks) {
  struct Case {
    const wchar_t* In;
    const wchar_t* Out;
  } cases[] = {
      {L"a &amp; b", L"a && b"},
      {L"&AMP;&Quot;", L"&&\""},
      {L"&permil; &euro; &sect; &reg; &copy; &para; &trade;", L"\u2030 \u20AC \u00A7 \u00AE \u00A9 \u00B6 \u2122"},
      // Each pass replaces an entity once; the passes go on until nothing changes.
      {L"&copy;&copy;&copy;", L"\u00A9\u00A9\u00A9"},
      {L"&amp;amp;", L"&&&"},
      // Left for the runs, and unknown ones stay as they are.
      {L"&lt;&gt;&nbsp;&bogus;&", L"&lt;&gt;&nbsp;&bogus;&"},
      {L"one\r\ntwo\rthree\nfour", L"one<BR>two<BR>threefour"},
      {L"x<#FF0000>y<#z>", L"x#FF0000y<#z>"},
  };
  for (const Case& c : cases) EXPECT_EQ(PrepareHtmlMarkup(c.In), c.Out) << c.In;
}

TEST(HtmlMarkup, RunEntitiesReplaceEveryOccurrence) {
  WideString run = L"&lt;B&gt;&nbsp;&lt;&amp;";
  ReplaceRunEntities(run);
  EXPECT_EQ(run, L"<B> <&amp;");
}

TEST(HtmlMarkup, AttributeValuesStandBetweenDoubleQuotes) {
  const WideString attrs = L" FACE=\"ARIAL\" SIZE = \"3\" COLOR=#FF0000 BGCOLOR=\"CLRED\"";
  EXPECT_EQ(HtmlAttrValue(attrs, L"FACE"), L"ARIAL");
  EXPECT_EQ(HtmlAttrValue(attrs, L"SIZE", true), L"3");
  // Without quotes the value is the next quoted one... or nothing at all.
  EXPECT_EQ(HtmlAttrValue(L" COLOR=#FF0000>", L" COLOR"), L"");
  EXPECT_EQ(HtmlAttrValue(attrs, L"MISSING"), L"");
  EXPECT_EQ(HtmlAttrValue(L"A HREF=\"unclosed", L""), L"");
  EXPECT_EQ(HtmlLetterValue(L"OT A=\"45\"", L'a'), L"45");
  EXPECT_EQ(HtmlLetterValue(L"D x=120", L'X'), L"120");
}

TEST(HtmlMarkup, NumbersAndFontSizes) {
  EXPECT_EQ(HtmlNumber(L"42"), 42);
  EXPECT_EQ(HtmlNumber(L" -7px"), -7);
  EXPECT_EQ(HtmlNumber(L"abc"), 0);
  EXPECT_EQ(HtmlNumber(L""), 0);
  EXPECT_EQ(HtmlNumber(WideString(5000, L'9')), 1000000);
  EXPECT_EQ(HtmlFontPoints(1), 8);
  EXPECT_EQ(HtmlFontPoints(3), 12);
  EXPECT_EQ(HtmlFontPoints(5), 16);
  EXPECT_EQ(HtmlFontPoints(9), 9);
}

TEST(HtmlMarkup, Colours) {
  EXPECT_EQ(HtmlColorValue(L"#FF0000"), clRed);
  EXPECT_EQ(HtmlColorValue(L"#0000FF"), clBlue);
  EXPECT_EQ(HtmlColorValue(L"#102030"), 0x302010);
  EXPECT_EQ(HtmlColorValue(L"#F"), 0x0000F0);  // missing digits count 0
  EXPECT_EQ(HtmlColorValue(L"clRed"), clRed);
  EXPECT_EQ(HtmlColorValue(L"CLRED"), clRed);
  EXPECT_EQ(HtmlColorValue(L"clBtnFace"), clBtnFace);
  EXPECT_EQ(HtmlColorValue(L"clInfoBk"), clInfoBk);
  EXPECT_EQ(HtmlColorValue(L"clNoSuchColour"), clBlack);
  EXPECT_EQ(HtmlColorValue(L""), clBlack);
  // Garbage digits never make a system colour or clNone.
  EXPECT_EQ(HtmlHexColor(L"#\uFFFF\uFFFF\uFFFF") & ~0xFFFFFF, 0);
  EXPECT_EQ(HtmlBodyColor(L"CLYELLOW"), clYellow);
  EXPECT_EQ(HtmlBodyColor(L"CLRED#00FF00"), clLime);  // "#" wins
  EXPECT_EQ(HtmlBodyColor(L"#0000FF"), clBlue);
}

TEST(HtmlMarkup, TrimSpacesTouchesOnlySpaces) {
  EXPECT_EQ(TrimSpaces("  a b  "), "a b");
  EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
  EXPECT_EQ(TrimSpacesW(L"   "), L"");
  EXPECT_EQ(TrimSpacesW(L" \u65E5\u672C "), L"\u65E5\u672C");
}

std::vector<WideString> Split(const WideString& text) {
  TUniStringList lines;
  SplitTextLines(text, &lines);
  std::vector<WideString> out;
  for (int i = 0; i < lines.GetCount(); ++i) out.push_back(lines.Get(i));
  return out;
}

TEST(HtmlMarkup, SplitTextLines) {
  using V = std::vector<WideString>;
  EXPECT_EQ(Split(L"  plain text  "), V{L"  plain text  "});
  EXPECT_EQ(Split(L" Title \\n body one\\n\\nbody two "), (V{L"Title", L"body one", L"", L"body two"}));
  EXPECT_EQ(Split(L"Title\r\nBody"), (V{L"Title", L"Body"}));
  // A CR on its own takes nothing but itself.
  EXPECT_EQ(Split(L"Title\rBody\rX"), (V{L"Title", L"Body", L"X"}));
  EXPECT_EQ(Split(L"\r"), V{L""});
}

}  // namespace
