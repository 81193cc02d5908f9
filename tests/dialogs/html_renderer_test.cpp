// The renderer on a real device context (a bitmap's canvas): sizes against the system's own
// text measure, plain texts, link hits, painted colours, and malformed markup.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialogs/html_renderer.h"
#include "vcl/imglist.h"
#include "vcl/pictures.h"
#include "vcl/streams.h"
#include "widetext/uni_string_list.h"

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;
constexpr TColor kLink = 0xFF0000;

struct Layout {
  bool Hit = false;
  WideString HoverHref = L"(kept)";
  WideString PlainText, FocusHref;
  int Width = -1, Height = -1, Links = -1, MouseLink = -2;
  RECT HoverRect{};
};

struct Options {
  RECT Area{0, 0, kWidth, kHeight};
  int MouseX = -100, MouseY = -100;
  bool HitTestOnly = true;  // the drawn form's measuring calls
  bool MeasureOnly = false;
  bool WordWrap = true;
  bool Selected = true;
  int FocusLink = -1;
};

class HtmlRender : public ::testing::Test {
 protected:
  void SetUp() override {
    sheet_.SetSize(kWidth, kHeight);
    TCanvas* c = Canvas();
    c->Font()->SetName("Tahoma");
    c->Font()->SetSize(10);
    c->Font()->SetColor(clBlack);
    c->Brush()->SetColor(clWhite);
    c->FillRect(RECT{0, 0, kWidth, kHeight});
  }
  TCanvas* Canvas() { return sheet_.Canvas(); }

  Layout Run(const WideString& text, Options o = {}) {
    Layout l;
    l.Hit = DrawHtmlText(Canvas(), text, o.Area, nullptr, o.MouseX, o.MouseY, o.FocusLink, -1, 1, o.HitTestOnly,
                         o.MeasureOnly, false, o.Selected, o.Selected, false, o.WordWrap, 1.0, kLink, clNone, clNone,
                         0x808080, l.HoverHref, l.PlainText, l.FocusHref, l.Width, l.Height, l.Links, l.MouseLink,
                         l.HoverRect, nullptr, nullptr);
    return l;
  }
  Layout Paint(const WideString& text, Options o = {}) {
    o.HitTestOnly = false;
    o.Selected = false;
    return Run(text, o);
  }

  // What the system measures for a text in the canvas font with Style (and Points).
  SIZE Extent(const WideString& text, TFontStyles style = 0, int points = 10) {
    TFont keep;
    keep.Assign(Canvas()->Font());
    Canvas()->Font()->SetStyle(style);
    Canvas()->Font()->SetSize(points);
    Canvas()->RequiredState(csHandleValid | csFontValid);
    SIZE s{};
    GetTextExtentPoint32W(Canvas()->Handle(), text.data(), static_cast<int>(text.size()), &s);
    Canvas()->Font()->Assign(&keep);
    return s;
  }
  int LineHeight() { return Extent(L"gh").cy; }
  // The width that the text drawing routine gives Text (prefixes and tabs its way).
  int DrawnWidth(const WideString& text, TFontStyles style = 0) {
    TFont keep;
    keep.Assign(Canvas()->Font());
    Canvas()->Font()->SetStyle(style);
    Canvas()->RequiredState(csHandleValid | csFontValid);
    RECT r{0, 0, 0, 0};
    DrawTextW(Canvas()->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING);
    Canvas()->Font()->Assign(&keep);
    return r.right - r.left;
  }

  int CountPixels(COLORREF rgb) {
    HDC dc = Canvas()->Handle();
    int n = 0;
    for (int y = 0; y < kHeight; y += 1)
      for (int x = 0; x < kWidth; ++x)
        if (GetPixel(dc, x, y) == rgb) ++n;
    return n;
  }

  TBitmap sheet_;
};

TEST_F(HtmlRender, SizesAndPlainTexts) {
  const int h = LineHeight();
  struct Case {
    const wchar_t* Markup;
    const wchar_t* Plain;
    int Width;
    int Lines;
  } cases[] = {
      {L"Hello world", L"Hello world", Extent(L"Hello world").cx, 1},
      {L"<B>Bold</B> text", L"Bold text", Extent(L"Bold", fsBold).cx + Extent(L" text").cx, 1},
      {L"<b>unclosed bold", L"unclosed bold", Extent(L"unclosed ", fsBold).cx + Extent(L"bold", fsBold).cx, 1},
      {L"<I><U>nest</U></I>ed", L"nested", Extent(L"nest", fsItalic | fsUnderline).cx + Extent(L"ed").cx, 1},
      {L"<Q>unknown</Q> tags", L"unknown tags", Extent(L"unknown").cx + Extent(L" tags").cx, 1},
      // The ampersand entity stays doubled in the plain text and draws as one.
      {L"a&amp;b", L"a&&b", Extent(L"a&b").cx, 1},
      // Escaped angle brackets become text only after the run has been cut.
      {L"&lt;B&gt;x", L"<B>x", Extent(L"<B>x").cx, 1},
      {L"&euro;&permil;", L"\u20AC\u2030", Extent(L"\u20AC\u2030").cx, 1},
      {L"one<BR>two", L"one\rtwo", Extent(L"one").cx, 2},
      {L"one\r\ntwo", L"one\rtwo", Extent(L"one").cx, 2},
      {L"<P>one</P>two", L"onetwo", Extent(L"one").cx, 2},
      {L"<P>one two", L"one two", Extent(L"one two").cx, 1},
      {L"<FONT SIZE=\"3\">big</FONT>", L"big", Extent(L"big", 0, 12).cx, 1},
      {L"<FONT SIZE=\"9\">nine</FONT>", L"nine", Extent(L"nine", 0, 9).cx, 1},
      {L"\u039A\u03B1\u03BB\u03B7 \u65E5\u672C\u8A9E", L"\u039A\u03B1\u03BB\u03B7 \u65E5\u672C\u8A9E",
       Extent(L"\u039A\u03B1\u03BB\u03B7 \u65E5\u672C\u8A9E").cx, 1},
      {L"x<Z>hidden</Z>y", L"xhiddeny", Extent(L"xy").cx, 1},
  };
  for (const Case& c : cases) {
    for (bool hitTest : {true, false}) {
      Options o;
      o.HitTestOnly = hitTest;
      Layout l = Run(c.Markup, o);
      EXPECT_EQ(l.PlainText, c.Plain) << c.Markup;
      // Word by word measuring may differ from the whole by a pixel of rounding a run.
      EXPECT_NEAR(l.Width, c.Width, 2) << c.Markup;
      EXPECT_GE(l.Height, c.Lines * h) << c.Markup;
      EXPECT_LT(l.Height, (c.Lines + 1) * h) << c.Markup;
      EXPECT_FALSE(l.Hit);
    }
  }
  Layout empty = Run(L"");
  EXPECT_EQ(empty.Width, 0);
  EXPECT_EQ(empty.Height, h);
  EXPECT_EQ(empty.PlainText, L"");
}

// Hidden text, subscript and superscript stay on from their tag to its closing tag,
// across line breaks, and only so far.
TEST_F(HtmlRender, StylesLastUntilTheirClosingTagAcrossLines) {
  const int h = LineHeight();
  const int shifted = h + h / 4;
  struct Case {
    const wchar_t* Markup;
    int Width;
    int Height;
  } cases[] = {
      {L"<Z>one<BR>two</Z>three<BR>four", std::max(Extent(L"three").cx, Extent(L"four").cx), 3 * h},
      {L"<Z>one two three four five six seven</Z>", 0, h},
      {L"<SUB>one<BR>two</SUB><BR>three", Extent(L"three").cx, 2 * shifted + h},
      {L"<SUP>one<BR>two<BR>three", Extent(L"three").cx, 3 * shifted},
      {L"<SUP>one<BR>two</SUB><BR>three", Extent(L"three").cx, shifted + shifted + h},
  };
  for (const Case& c : cases) {
    for (bool measureOnly : {true, false}) {
      Options o;
      o.MeasureOnly = measureOnly;
      Layout l = Run(c.Markup, o);
      EXPECT_NEAR(l.Width, c.Width, 2) << c.Markup;
      EXPECT_EQ(l.Height, c.Height) << c.Markup;
    }
  }
}

// The ink in the rows from top to bottom (excluded): leftmost, rightmost column and the
// count of pixels of the colour.
struct RowInk {
  int Left = kWidth, Right = -1, Count = 0;
};

TEST_F(HtmlRender, ShadowAndErrorMarkReachTheNextLines) {
  const int h = LineHeight();
  auto ink = [&](int top, int bottom, COLORREF colour) {
    RowInk r;
    HDC dc = Canvas()->Handle();
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < kWidth; ++x) {
        COLORREF c = GetPixel(dc, x, y);
        if (c == RGB(255, 255, 255)) continue;
        r.Left = std::min(r.Left, x);
        r.Right = std::max(r.Right, x);
        if (c == colour) ++r.Count;
      }
    return r;
  };
  // The second line of a shadowed text reaches one pixel further right than without.
  Paint(L"one<BR>two<BR>three");
  RowInk plain = ink(h, 2 * h, RGB(128, 128, 128));
  SetUp();
  Paint(L"<SH>one<BR>two</SH><BR>three");
  RowInk shadowed = ink(h, 2 * h, RGB(128, 128, 128));
  RowInk after = ink(2 * h, 3 * h + 2, RGB(128, 128, 128));
  SetUp();
  Paint(L"one<BR>two<BR>three");
  RowInk plainAfter = ink(2 * h, 3 * h + 2, RGB(128, 128, 128));
  ASSERT_GE(plain.Right, 0);
  EXPECT_EQ(shadowed.Right, plain.Right + 1);
  EXPECT_EQ(after.Right, plainAfter.Right);

  // The red zigzag of the error mark runs under the second line as under the first.
  SetUp();
  Paint(L"<E>one<BR>two</E><BR>three");
  EXPECT_GT(ink(0, h + 2, RGB(255, 0, 0)).Count, 3);
  EXPECT_GT(ink(h + 2, 2 * h + 2, RGB(255, 0, 0)).Count, 3);
  EXPECT_EQ(ink(2 * h + 2, kHeight, RGB(255, 0, 0)).Count, 0);
}

TEST_F(HtmlRender, WordWrapKeepsEveryCharacterOnce) {
  const int h = LineHeight();
  const WideString text = L"alpha beta alpha beta alpha";
  Options narrow;
  narrow.Area = RECT{0, 0, Extent(L"alpha beta ").cx + 4, kHeight};
  Layout l = Run(text, narrow);
  EXPECT_EQ(l.PlainText, text);
  EXPECT_EQ(l.Height, 3 * h);
  EXPECT_LE(l.Width, narrow.Area.right);

  // A word wider than the area stays whole on its own line.
  Options tiny;
  tiny.Area = RECT{0, 0, 20, kHeight};
  l = Run(L"extraordinarily long", tiny);
  EXPECT_EQ(l.PlainText, L"extraordinarily long");
  EXPECT_EQ(l.Height, 2 * h);
  EXPECT_NEAR(l.Width, Extent(L"extraordinarily").cx, 2);

  // Without wrapping the first run that overflows is the last one laid out.
  Options nowrap;
  nowrap.WordWrap = false;
  nowrap.Area = RECT{0, 0, Extent(L"aaaa b").cx, kHeight};
  l = Run(L"aaaa <B>bbbb</B> cccc<BR>next", nowrap);
  EXPECT_EQ(l.PlainText, L"aaaa bbbb");
  EXPECT_EQ(l.Height, h);

  // A run right after text that does not end with a space stays on the line.
  Options tight;
  tight.Area = RECT{0, 0, Extent(L"aaaa").cx + 4, kHeight};
  l = Run(L"aaaa<B>bbbb</B>", tight);
  EXPECT_EQ(l.Height, h);

  // Two list items on one line: the second waits for the next line.
  l = Run(L"<UL><LI>one<LI>two</UL>");
  EXPECT_EQ(l.PlainText, L"onetwo");
  EXPECT_EQ(l.Height, 2 * h);

  // Runs end at every tag however far the walk goes between tags: tags that leave the width
  // alone wrap the words exactly as the bare words do, and long plain text loses nothing.
  Options words;
  words.Area = RECT{0, 0, Extent(L"aa bb cc ").cx + 4, kHeight};
  const Layout bare = Run(L"aa bb cc dd ee ff gg hh", words);
  l = Run(L"aa bb <U>cc</U> dd ee ff <U>gg</U> hh", words);
  EXPECT_EQ(l.PlainText, bare.PlainText);
  EXPECT_EQ(l.Height, bare.Height);
  EXPECT_GT(bare.Height, h);
  WideString many;
  for (int i = 0; i < 3000; ++i) many += L"word" + std::to_wstring(i % 10) + L" ";
  Options measure;
  measure.MeasureOnly = true;
  l = Run(many + L"<B>end</B>", measure);
  EXPECT_EQ(l.PlainText, many + L"end");
}

TEST_F(HtmlRender, LinksAreCountedAndHit) {
  const int h = LineHeight();
  const WideString text = L"Click <A HREF=\"first\">here</A> or <A HREF=\"Second\">there</A>.";
  const int thereLeft = 1 + Extent(L"Click here or ").cx;
  Options o;
  o.MouseX = thereLeft + Extent(L"the").cx;
  o.MouseY = h / 2;
  Layout l = Run(text, o);
  EXPECT_TRUE(l.Hit);
  EXPECT_EQ(l.Links, 2);
  EXPECT_EQ(l.MouseLink, 2);
  EXPECT_EQ(l.HoverHref, L"Second");
  EXPECT_NEAR(l.HoverRect.left, thereLeft, 2);
  EXPECT_NEAR(l.HoverRect.right, thereLeft + Extent(L"there").cx, 2);
  EXPECT_EQ(l.HoverRect.top, 0);
  EXPECT_EQ(l.HoverRect.bottom, h);

  // Off the links: no hit, and the caller's value stays.
  const POINT misses[] = {{2, h / 2}, {o.MouseX, h + h / 2}, {kWidth - 5, h / 2}};
  for (POINT p : misses) {
    Options m;
    m.MouseX = p.x;
    m.MouseY = p.y;
    Layout miss = Run(text + L"<BR><BR>", m);
    EXPECT_FALSE(miss.Hit) << p.x << "," << p.y;
    EXPECT_EQ(miss.MouseLink, -1);
    EXPECT_EQ(miss.HoverHref, L"(kept)");
  }

  // Ampersands before a link move it by the width that the drawing routine gives them.
  {
    Options a;
    const int left = 1 + DrawnWidth(L"Tom &&&& Jerry && ");
    a.MouseX = left + 2;
    a.MouseY = h / 2;
    Layout l = Run(L"Tom &amp;&amp; Jerry &amp; <A HREF=\"x\">link</A>", a);
    EXPECT_TRUE(l.Hit);
    EXPECT_EQ(l.HoverRect.left, left);
    a.MouseX = left - 2;
    EXPECT_FALSE(Run(L"Tom &amp;&amp; Jerry &amp; <A HREF=\"x\">link</A>", a).Hit);
  }

  // Link text is only hit-tested by measuring calls.
  Layout painted = Paint(text, o);
  EXPECT_FALSE(painted.Hit);
  EXPECT_EQ(painted.Links, 2);
}

TEST_F(HtmlRender, LinkOverTwoLinesIsHitOnTheLineUnderTheMouse) {
  const int h = LineHeight();
  Options o;
  o.Area = RECT{0, 0, Extent(L"Go alpha ").cx + 3, kHeight};
  o.MouseX = 1 + Extent(L"be").cx;
  o.MouseY = h + h / 2;
  Layout l = Run(L"Go <A HREF=\"x\">alpha beta</A> end", o);
  EXPECT_TRUE(l.Hit);
  EXPECT_EQ(l.MouseLink, 1);
  EXPECT_EQ(l.HoverHref, L"x");
  EXPECT_EQ(l.HoverRect.top, h);
  EXPECT_EQ(l.HoverRect.left, 1);
  EXPECT_NEAR(l.HoverRect.right, 1 + Extent(L"beta").cx, 2);

  // On the first line the rectangle starts at the link.
  o.MouseY = h / 2;
  o.MouseX = 1 + Extent(L"Go al").cx;
  l = Run(L"Go <A HREF=\"x\">alpha beta</A> end", o);
  EXPECT_TRUE(l.Hit);
  EXPECT_EQ(l.HoverRect.top, 0);
  EXPECT_NEAR(l.HoverRect.left, 1 + Extent(L"Go ").cx, 2);
}

TEST_F(HtmlRender, AlignmentMovesLaterLines) {
  const int h = LineHeight();
  const int w = Extent(L"word").cx;
  Options o;
  o.MouseY = h + h / 2;
  o.MouseX = kWidth - w / 2 - 1;
  Layout l = Run(L"<P ALIGN=\"RIGHT\">first</P><A HREF=\"r\">word</A>", o);
  EXPECT_TRUE(l.Hit) << "the right alignment holds for the second line";
  o.MouseX = 1 + (kWidth - 1 - w) / 2 + w / 2;
  l = Run(L"<P ALIGN=\"CENTER\">first</P><A HREF=\"c\">word</A>", o);
  EXPECT_TRUE(l.Hit);
  EXPECT_EQ(l.HoverHref, L"c");
}

TEST_F(HtmlRender, PaintsColoursLinksAndRestoresTheCanvas) {
  TColor font = Canvas()->Font()->Color();
  Paint(L"<FONT COLOR=\"#FF0000\">red</FONT> <A HREF=\"x\">link</A> plain");
  EXPECT_GT(CountPixels(RGB(255, 0, 0)), 10);
  EXPECT_GT(CountPixels(RGB(0, 0, 255)), 10);
  EXPECT_EQ(Canvas()->Font()->Color(), font);
  EXPECT_EQ(Canvas()->Brush()->Color(), clWhite);
  EXPECT_EQ(Canvas()->Brush()->Style(), bsSolid);

  // A colour without quotes does nothing; a colour name in any case works.
  SetUp();
  Paint(L"<FONT COLOR=#FF0000>black</FONT>");
  EXPECT_EQ(CountPixels(RGB(255, 0, 0)), 0);
  SetUp();
  Paint(L"<FONT COLOR=\"CLgreen\">green</FONT>");
  EXPECT_GT(CountPixels(RGB(0, 128, 0)), 10);

  // The inner closing tag goes back to the default font, not the outer tag's.
  SetUp();
  Paint(L"<FONT COLOR=\"#FF0000\"><FONT COLOR=\"#00FF00\">a</FONT>bbbbbbbb</FONT>");
  EXPECT_EQ(CountPixels(RGB(255, 0, 0)), 0);
  EXPECT_GT(CountPixels(RGB(0, 255, 0)), 0);

  // Measuring paints nothing.
  SetUp();
  Run(L"<FONT COLOR=\"#FF0000\">red</FONT><BODY BGCOLOR=\"clBlue\">");
  EXPECT_EQ(CountPixels(RGB(255, 255, 255)), kWidth * kHeight);
}

// The ink of a painted text: first and last column and row that are not white.
RECT InkOf(HDC dc) {
  RECT ink{kWidth, kHeight, -1, -1};
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < kWidth; ++x)
      if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
        ink.left = std::min<LONG>(ink.left, x);
        ink.right = std::max<LONG>(ink.right, x);
        ink.top = std::min<LONG>(ink.top, y);
        ink.bottom = std::max<LONG>(ink.bottom, y);
      }
  return ink;
}

TEST_F(HtmlRender, PlainTextPaintsWhereTheSystemDrawsIt) {
  const WideString texts[] = {L"Hello, plain world", L"tab\tand && prefix", L"Tom && Jerry &&",
                              L"\u039A\u03B1\u03BB\u03B7 \u65E5\u672C"};
  for (const WideString& text : texts) {
    SetUp();
    Paint(text);
    RECT html = InkOf(Canvas()->Handle());
    SetUp();
    Canvas()->RequiredState(csHandleValid | csFontValid);
    HDC dc = Canvas()->Handle();
    SetBkMode(dc, TRANSPARENT);
    RECT r{1, 0, kWidth, LineHeight()};
    DrawTextW(dc, text.c_str(), -1, &r, DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING);
    RECT system = InkOf(dc);
    ASSERT_GE(html.right, 0) << "nothing painted";
    EXPECT_EQ(html.left, system.left);
    EXPECT_EQ(html.top, system.top);
    EXPECT_EQ(html.bottom, system.bottom);
    // The pieces follow the measured advances, which under Wine lead the glyphs that the
    // system draws by a fraction of a pixel each.
    EXPECT_NEAR(html.right, system.right, static_cast<int>(text.size()) / 3 + 1) << text.size();
  }
}

// A run with ampersands or tabs is as wide as the text drawing routine makes it: "&&" one
// ampersand, a lone one the mark under the next letter, a tab expanded.
TEST_F(HtmlRender, AmpersandsAndTabsMeasureAsTheDrawingRoutineDoes) {
  const WideString texts[] = {L"a&&b", L"&&&&", L"end&&", L"&&start", L"lone&xmark", L"tail&", L"tab\tstop", L"&&\t&&"};
  for (TFontStyles style : {TFontStyles(0), TFontStyles(fsBold)}) {
    for (const WideString& text : texts) {
      Options o;
      o.MeasureOnly = true;
      const int width = Run(style ? L"<B>" + text + L"</B>" : text, o).Width;
      EXPECT_EQ(width, DrawnWidth(text, style)) << text << " style " << style;
    }
  }
}

// The pixels of the rows from 0 to Rows.
std::vector<COLORREF> PixelsOf(HDC dc, int rows) {
  std::vector<COLORREF> px;
  px.reserve(static_cast<size_t>(rows) * kWidth);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < kWidth; ++x) px.push_back(GetPixel(dc, x, y));
  return px;
}

size_t Differences(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
  size_t n = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
  return n;
}

// A text whose ampersands all stand in pairs paints pixel for pixel as the system draws it,
// in every face and style.
TEST_F(HtmlRender, PairedAmpersandsPaintAsTheSystemDrawsThem) {
  const char* const faces[] = {"Tahoma", "Arial", "Courier New", "Times New Roman"};
  const WideString texts[] = {L"Tom && Jerry &&", L"&&&&", L"a&&b \u039A\u03B1 && \u65E5\u672C"};
  for (const char* face : faces) {
    for (TFontStyles style : {TFontStyles(0), TFontStyles(fsBold | fsItalic)}) {
      for (const WideString& text : texts) {
        SetUp();
        Canvas()->Font()->SetName(face);
        Canvas()->Font()->SetStyle(style);
        Paint(text);
        const std::vector<COLORREF> html = PixelsOf(Canvas()->Handle(), 40);
        SetUp();
        Canvas()->Font()->SetName(face);
        Canvas()->Font()->SetStyle(style);
        Canvas()->RequiredState(csHandleValid | csFontValid);
        HDC dc = Canvas()->Handle();
        SetBkMode(dc, TRANSPARENT);
        SIZE line{};
        GetTextExtentPoint32W(dc, L"gh", 2, &line);
        RECT r{1, 0, kWidth, line.cy};
        DrawTextW(dc, text.c_str(), -1, &r, DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING);
        EXPECT_EQ(Differences(html, PixelsOf(dc, 40)), 0u) << face << " style " << style << " " << text;
      }
    }
  }
  Canvas()->Font()->SetName("Tahoma");
  Canvas()->Font()->SetStyle(0);
}

// A line of several looks paints exactly as its pieces' plain texts painted one by one at
// their places in the canvas font of their look: painting the pieces of one font together
// moves, drops and recolours nothing.
TEST_F(HtmlRender, PiecesOfALinePaintAsEachPieceAlone) {
  struct Piece {
    const wchar_t* Markup;
    const wchar_t* Plain;
    TFontStyles Style;
    TColor Color;
  };
  const std::vector<std::vector<Piece>> lines = {
      {{L"one", L"one", 0, clBlack},
       {L"<B> two</B>", L" two", fsBold, clBlack},
       {L" three", L" three", 0, clBlack},
       {L"<B> four</B>", L" four", fsBold, clBlack},
       {L" five", L" five", 0, clBlack}},
      {{L"<FONT COLOR=\"#FF0000\">red</FONT>", L"red", 0, clRed},
       {L" plain", L" plain", 0, clBlack},
       {L"<A HREF=\"x\"> link</A>", L" link", fsUnderline, kLink},
       {L"<FONT COLOR=\"#FF0000\"> red</FONT>", L" red", 0, clRed},
       {L"<U> under</U>", L" under", fsUnderline, clBlack}},
      {{L"<S>struck</S>", L"struck", fsStrikeOut, clBlack},
       {L" \u039A\u03B1\u03BB\u03B7", L" \u039A\u03B1\u03BB\u03B7", 0, clBlack},
       {L"<B> \u65E5\u672C</B>", L" \u65E5\u672C", fsBold, clBlack},
       {L"<S> struck</S>", L" struck", fsStrikeOut, clBlack},
       {L" &euro; 12", L" \u20AC 12", 0, clBlack}},
      {{L"Tom &amp;", L"Tom &&", 0, clBlack},
       {L"<B> Jerry &amp;&amp;</B>", L" Jerry &&&&", fsBold, clBlack},
       {L" and", L" and", 0, clBlack},
       {L"<FONT COLOR=\"#FF0000\"> red &amp;</FONT>", L" red &&", 0, clRed},
       {L" end", L" end", 0, clBlack}},
  };
  const int rows = 2 * LineHeight();
  for (const auto& pieces : lines) {
    WideString whole;
    for (const Piece& piece : pieces) whole += piece.Markup;
    SetUp();
    Paint(whole);
    const std::vector<COLORREF> together = PixelsOf(Canvas()->Handle(), rows);
    SetUp();
    int left = 0;
    for (const Piece& piece : pieces) {
      Canvas()->Font()->SetStyle(piece.Style);
      Canvas()->Font()->SetColor(piece.Color);
      Options o;
      o.Area.left = left;
      left += Paint(piece.Plain, o).Width;
    }
    Canvas()->Font()->SetStyle(0);
    EXPECT_EQ(Differences(together, PixelsOf(Canvas()->Handle(), rows)), 0u) << whole;
  }
}

// After painting, the device holds the canvas's font and colours again: what the canvas
// draws next looks as on a canvas that painted nothing.
TEST_F(HtmlRender, TheCanvasDrawsAsBeforeAfterPainting) {
  const WideString texts[] = {
      L"plain <B>bold</B>", L"<A HREF=\"x\">link</A> <I>ends italic", L"<U>one</U> two <U>three</U>",
      L"<FONT COLOR=\"#FF0000\" BGCOLOR=\"#00FF00\">red on green", L"<ROT A=\"90\">turned",
      L"<SHAD>shadow <B>bold</B></SHAD>", L"one<BR><B>two<BR><I>three",
  };
  auto drawAfter = [&] {
    // On a coloured brush, which shows whether the text's background is painted.
    Canvas()->Brush()->SetColor(clYellow);
    Canvas()->Font()->SetColor(clBlack);
    Canvas()->TextOut(5, 200, "After the text");
    return PixelsOf(Canvas()->Handle(), kHeight);
  };
  SetUp();
  std::vector<COLORREF> alone = drawAfter();
  for (const WideString& text : texts) {
    SetUp();
    Canvas()->RequiredState(csHandleValid | csFontValid | csBrushValid);
    Options o;
    o.Area.bottom = 150;
    Paint(text, o);
    HDC dc = Canvas()->Handle();
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), Canvas()->Font()->Handle()) << text;
    EXPECT_EQ(GetTextColor(dc), ColorToRGB(Canvas()->Font()->Color())) << text;
    Canvas()->FillRect(RECT{0, 0, kWidth, 150});
    EXPECT_EQ(Differences(alone, drawAfter()), 0u) << text;
  }
}

// A background colours the cells of its own text only: the text after it on the line (and
// on the next line) is painted on what lies under it.
TEST_F(HtmlRender, BackgroundsColourOnlyTheirOwnText) {
  const COLORREF highlight = ColorToRGB(clHighlight);
  const struct {
    const wchar_t* Alone;
    const wchar_t* Tail;
    COLORREF Background;
  } cases[] = {
      {L"<FONT BGCOLOR=\"#00FF00\">green</FONT>", L" then plain text", RGB(0, 255, 0)},
      {L"plain <FONT BGCOLOR=\"#00FF00\">green</FONT>", L" plain<BR>next line", RGB(0, 255, 0)},
      {L"plain <HI>lit</HI>", L" plain <B>bold</B> again", highlight},
      {L"<HI>lit <B>bold lit</B></HI>", L" <I>italic</I> plain", highlight},
  };
  for (const auto& c : cases) {
    SetUp();
    Paint(c.Alone);
    const int alone = CountPixels(c.Background);
    ASSERT_GT(alone, 0) << c.Alone;
    SetUp();
    Paint(WideString(c.Alone) + c.Tail);
    EXPECT_EQ(CountPixels(c.Background), alone) << c.Alone << c.Tail;
  }
}

// A call paints and measures as on its own whatever calls came before it.
TEST_F(HtmlRender, ACallLeavesNothingToTheNext) {
  const WideString before =
      L"<P ALIGN=\"RIGHT\">Many <B>pieces</B> of <FONT COLOR=\"#FF0000\" BGCOLOR=\"#00FF00\">many looks</FONT> "
      L"&amp; <A HREF=\"one\">links</A> <SHAD>shadow</SHAD> <UL><LI>item</UL> over a long text that wraps onto "
      L"several lines of the area and on <I>and on <U>and on</U></I> to its end";
  const WideString texts[] = {L"<B>short</B> text", L"Tom &amp; <A HREF=\"x\">Jerry</A>", L"plain"};
  for (const WideString& text : texts) {
    Options o;
    o.Area.right = 300;
    SetUp();
    const Layout alone = Paint(text, o);
    const std::vector<COLORREF> pixels = PixelsOf(Canvas()->Handle(), kHeight);
    for (bool painted : {true, false}) {
      SetUp();
      if (painted)
        Paint(before, o);
      else
        Run(before, o);
      SetUp();
      const Layout after = Paint(text, o);
      EXPECT_EQ(Differences(pixels, PixelsOf(Canvas()->Handle(), kHeight)), 0u) << text;
      EXPECT_EQ(after.PlainText, alone.PlainText) << text;
      EXPECT_EQ(after.Width, alone.Width) << text;
      EXPECT_EQ(after.Height, alone.Height) << text;
      EXPECT_EQ(after.Links, alone.Links) << text;
    }
  }
}

// Widths come from advances kept per font for every script; they agree with the device.
TEST_F(HtmlRender, WidthsOfEveryScriptAgreeWithTheDevice) {
  const WideString texts[] = {
      L"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1", L"\u041F\u0440\u0438\u0432\u0435\u0442",
      L"\u65E5\u672C\u8A9E\u306E\u5B57\u5E55", L"\u20AC\u2030\u2122\u2014\u2026", L"\uFFFD\uFB01",
      L"x\U0001F600y",
  };
  const TFontStyles styles[] = {0, fsBold, fsItalic, fsBold | fsItalic};
  for (TFontStyles style : styles) {
    for (const WideString& text : texts) {
      WideString markup = text;
      if (style & fsBold) markup = L"<B>" + markup + L"</B>";
      if (style & fsItalic) markup = L"<I>" + markup + L"</I>";
      Options o;
      o.MeasureOnly = true;
      // Twice: from the device the first time, from what is kept the second.
      for (int round = 0; round < 2; ++round)
        EXPECT_EQ(Run(markup, o).Width, Extent(text, style).cx) << markup << " round " << round;
    }
  }
}

TEST_F(HtmlRender, TextBelowTheAreaIsLaidOutOnlyWhenMeasuring) {
  const int h = LineHeight();
  WideString text;
  for (int i = 0; i < 10; ++i) text += L"line<BR>";
  Options o;
  o.Area = RECT{0, 0, kWidth, 2 * h};
  o.MeasureOnly = true;
  Layout all = Run(text, o);
  EXPECT_EQ(all.Height, 10 * h);
  o.MeasureOnly = false;
  Layout cut = Run(text, o);
  EXPECT_EQ(cut.Height, 3 * h);
  EXPECT_EQ(cut.PlainText, L"line\rline\rline\r");
}

TEST_F(HtmlRender, PicturesFromAnImageList) {
  TImageList images(nullptr, 16, 16);
  TBitmap red;
  red.SetSize(16, 16);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect(RECT{0, 0, 16, 16});
  ASSERT_EQ(images.Add(&red, nullptr), 0);
  Layout l;
  WideString text = L"a<IMG SRC=\"IDX:0\">b<IMG SRC=\"IDX:7\">";
  l.Hit = DrawHtmlText(Canvas(), text, RECT{0, 0, kWidth, kHeight}, &images, -1, -1, -1, -1, 1, false, false, false,
                       false, false, false, true, 1.0, kLink, clNone, clNone, 0x808080, l.HoverHref, l.PlainText,
                       l.FocusHref, l.Width, l.Height, l.Links, l.MouseLink, l.HoverRect, nullptr, nullptr);
  // Only the image that exists takes room.
  EXPECT_NEAR(l.Width, Extent(L"ab").cx + 16, 2);
  EXPECT_GE(l.Height, 16);
  EXPECT_EQ(l.PlainText, L"ab");
  int x = 1 + Extent(L"a").cx + 8;
  EXPECT_EQ(GetPixel(Canvas()->Handle(), x, 8), RGB(255, 0, 0));
}

TEST_F(HtmlRender, FocusLinkGivesItsValue) {
  Options o;
  o.FocusLink = 1;
  Layout l = Paint(L"<A HREF=\"one\">one</A> <A HREF=\"two\">two</A>", o);
  EXPECT_EQ(l.FocusHref, L"two");
}

TEST_F(HtmlRender, MalformedMarkupEndsAndNeverLoops) {
  const WideString huge(200000, L'x');
  WideString deep;
  for (int i = 0; i < 3000; ++i) deep += L"<B><I><U><FONT COLOR=\"#00FF00\"><UL><A HREF=\"d\">";
  deep += L"deep";
  WideString entities;
  for (int i = 0; i < 2000; ++i) entities += L"&amp;&copy;&bogus;&";
  const WideString inputs[] = {
      L"<", L"<B", L"abc<", L"abc<B", L"<>", L"</>", L"<<<<>>>>", L">>>", L"</", L"<A HREF=\"", L"<A HREF=\"x\"",
      L"<FONT COLOR=\"" + huge, L"<FONT FACE=\"" + huge + L"\">x</FONT>", L"<A HREF=\"" + huge + L"\">x</A>",
      L"<IMG SRC=\"IDX:99999999999999\" WIDTH=\"99999999999\">", L"<IMG SRC=\"SSYS:\">", L"<IMG SRC=\"file://nowhere\">",
      L"<IND X=\"99999999\">text after", L"<P INDENT=\"-100000\">x</P>", L"<ROT A=\"45\">turned</ROT>",
      L"<ROT A=\"30\">never closed", L"<LI><LI><LI><LI>", L"<UL><LI>" + huge, L"</UL></UL></U></A></FONT></P>",
      L"<Z>hidden only", L"<SUB>a<SUP>b</SUB>c", L"<HI>hi<E>err</E></HI><SHAD>s</SHAD><BLINK>b</BLINK>",
      L"<HR><HR><BR>\r\r\n\n", L"<BODY BGCOLOR=\"#\" BACKGROUND=\"x\">", L"\u0000\u0001<\u0000>", deep, entities,
      L"&amp", L"&", L"<#", L"<#>", L"word\tand\ttabs &x &&",
  };
  const RECT areas[] = {{0, 0, kWidth, kHeight}, {0, 0, 1, kHeight}, {0, 0, 0, 0}, {10, 10, 5, 5}};
  for (const WideString& in : inputs) {
    for (const RECT& area : areas) {
      for (int mode = 0; mode < 3; ++mode) {
        Options o;
        o.Area = area;
        o.MouseX = 20;
        o.MouseY = 5;
        o.HitTestOnly = mode == 0;
        o.Selected = mode == 0;
        o.MeasureOnly = mode == 2;
        o.WordWrap = area.right != 1;
        auto start = std::chrono::steady_clock::now();
        Layout l = Run(in, o);
        auto spent = std::chrono::steady_clock::now() - start;
        EXPECT_LT(spent, std::chrono::seconds(10)) << in.substr(0, 40).size();
        EXPECT_GE(l.Height, 0);
        EXPECT_LE(l.PlainText.size(), in.size() + 16);
      }
    }
  }
  // The canvas is usable afterwards.
  Layout l = Run(L"fine");
  EXPECT_EQ(l.PlainText, L"fine");
  EXPECT_NEAR(l.Width, Extent(L"fine").cx, 1);
}

TEST_F(HtmlRender, MeasureTitledText) {
  TFont title, body;
  title.Assign(Canvas()->Font());
  title.SetStyle(fsBold);
  title.SetSize(12);
  body.Assign(Canvas()->Font());
  const int th = Extent(L"Title", fsBold, 12).cy;
  const int bh = Extent(L"x").cy;
  int w = 0, h = 0;
  MeasureTitledText(Canvas(), L"Title only", &title, &body, 0, w, h, false);
  EXPECT_EQ(w, Extent(L"Title only", fsBold, 12).cx);
  EXPECT_EQ(h, th);
  MeasureTitledText(Canvas(), L"Title\\n a much longer body line \\n\\nend", &title, &body, 0, w, h, false);
  EXPECT_EQ(w, std::max(Extent(L"Title", fsBold, 12).cx, Extent(L"a much longer body line").cx));
  EXPECT_EQ(h, th + 2 * bh);
  MeasureTitledText(Canvas(), L"Title\rBody", &title, &body, 0, w, h, true);
  EXPECT_EQ(w, std::max(Extent(L"Title", fsBold, 12).cx + 8, Extent(L"Body").cx + 8));
  EXPECT_EQ(h, th + 10 + bh + 2);
  EXPECT_EQ(Canvas()->Font()->Size(), 10);
}

// Renders a sample for a look by eye when KAVO_HTML_SHOT names a file.
TEST_F(HtmlRender, SampleForALook) {
  const char* path = std::getenv("KAVO_HTML_SHOT");
  if (!path) GTEST_SKIP() << "set KAVO_HTML_SHOT to a .bmp path to keep the sample";
  Options o;
  o.Area = RECT{10, 10, kWidth - 10, kHeight - 10};
  o.MouseX = -1;
  Paint(L"<B>Bold</B>, <I>italic</I>, <U>underlined</U> and <S>struck</S> text.<BR>"
        L"<FONT COLOR=\"#FF0000\">Red</FONT>, <FONT COLOR=\"clGreen\">green</FONT> and "
        L"<FONT COLOR=\"#0000FF\" SIZE=\"4\">large blue</FONT>; <FONT BGCOLOR=\"#FFFF00\">yellow ground</FONT>.<BR>"
        L"A <A HREF=\"https://example.org\">link to follow</A> &amp; a <HI>highlight</HI>.<BR>"
        L"<UL><LI>first item<BR><LI>second item<UL><BR><LI>nested item</UL></UL>"
        L"Greek: \u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1 \u2014 Japanese: \u65E5\u672C\u8A9E\u306E\u5B57\u5E55<BR>"
        L"<P ALIGN=\"CENTER\">Centred paragraph with H<SUB>2</SUB>O and x<SUP>2</SUP></P>"
        L"<SHAD>Shadowed</SHAD> and <E>misspeled</E> words. &euro; &copy; &trade; &permil;<HR>"
        L"A long paragraph that wraps at spaces so that the words go on over several lines of the area "
        L"without any of them being cut in the middle.",
        o);
  TFileStream out(path, fmCreate);
  sheet_.SaveToStream(&out);
}

}  // namespace
