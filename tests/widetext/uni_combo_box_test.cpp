// The wide combo box: wide items, index and text across new windows, completion of typed
// wide text, the auto-search pause, wide characters through the inner windows and
// owner-drawn wide items.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/widetext/ansi_platform.h"
#include "tests/widetext/wide_controls.h"
#include "widetext/codecs.h"
#include "widetext/uni_combo_box.h"
#include "widetext/wide_canvas.h"

using namespace testwin;

namespace {

const WideString kFrench = L"Fran\u00e7ais";
const WideString kGreek = L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac";
const WideString kJapanese = L"\u65e5\u672c\u8a9e";

std::unique_ptr<THostWindow> Host() { return std::unique_ptr<THostWindow>(ShownHost(360, 260)); }

// Exposes the drawing of one item.
class TDrawnCombo : public TUniComboBox {
 public:
  using TUniComboBox::TUniComboBox;
  using TUniCustomComboBox::DrawItem;
};

struct UniComboFixture : ::testing::Test {
  std::unique_ptr<THostWindow> host = Host();
  TDrawnCombo* combo = [this] {
    auto* c = new TDrawnCombo(host.get());
    c->SetParent(host.get());
    c->SetBounds(10, 10, 200, 24);
    return c;
  }();
  void Type(HWND wnd, const WideString& text) {
    for (WideChar c : text) SendMessageW(wnd, WM_CHAR, c, 1);
  }
};

TEST_F(UniComboFixture, WideItemsIndexAndTextSurviveNewWindows) {
  TObject marker;
  combo->Items()->Add(kFrench);
  combo->Items()->AddObject(kGreek, &marker);
  combo->Items()->Add(kJapanese);
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->Text(), kGreek);
  for (TComboBoxStyle style : {csDropDownList, csOwnerDrawFixed, csSimple, csDropDown}) {
    SCOPED_TRACE(style);
    HWND before = combo->WindowHandle();
    combo->SetStyle(style);
    ASSERT_NE(combo->WindowHandle(), before);
    ASSERT_TRUE(IsWindowUnicode(combo->WindowHandle()));
    if (combo->EditHandle()) {
      EXPECT_TRUE(IsWindowUnicode(combo->EditHandle()));
    }
    EXPECT_TRUE(IsWindowUnicode(combo->ListHandle()));
    EXPECT_EQ(combo->Items()->Count(), 3);
    EXPECT_EQ(combo->Items()->Get(2), kJapanese);
    EXPECT_EQ(combo->Items()->Objects(1), &marker);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), kGreek);
  }
  combo->SetText(kJapanese + L"!");  // typed, no item
  combo->SetStyle(csSimple);
  EXPECT_EQ(combo->Text(), kJapanese + L"!");
}

TEST_F(UniComboFixture, ClearingTheItemsKeepsTheWideEditText) {
  combo->Items()->Add(kFrench);
  combo->SetText(kJapanese);
  combo->Items()->Clear();
  EXPECT_EQ(combo->Items()->Count(), 0);
  EXPECT_EQ(combo->Text(), kJapanese);
}

TEST_F(UniComboFixture, WideItemsAndErrors) {
  combo->Items()->Add(kGreek);
  EXPECT_EQ(combo->Items()->IndexOf(kGreek), 0);
  EXPECT_EQ(combo->Items()->IndexOf(kJapanese), -1);
  EXPECT_EQ(combo->Items()->Get(5), L"");  // no such item
  EXPECT_EQ(combo->TCustomComboBox::Items()->Get(0), WideToAnsi(kGreek));
  EXPECT_THROW(combo->Items()->Insert(9, kJapanese), EOutOfResources);
}

TEST_F(UniComboFixture, TypingCompletesFromTheItems) {
  combo->Items()->Add(L"Abcde");
  combo->Items()->Add(L"abx");
  combo->Items()->Add(kGreek);
  int clicks = 0;
  combo->OnClick = [&](TObject*) { ++clicks; };
  HWND edit = combo->EditHandle();
  Type(edit, L"ab");
  // The first item the system's search finds, the typed text kept, the rest selected.
  EXPECT_EQ(combo->Text(), L"abcde");
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(combo->SelStart(), 2);
  EXPECT_EQ(combo->SelLength(), 3);
  EXPECT_EQ(combo->SelText(), L"cde");
  EXPECT_EQ(clicks, 2);  // "abcde" is another text than "Abcde"

  // A selection that does not reach the end of the text completes nothing.
  combo->SetSelStart(1);
  combo->SetSelLength(1);
  Type(edit, L"z");
  EXPECT_EQ(combo->Text(), L"azcde");

  // Wide characters complete the same way.
  combo->SetText(L"");
  Type(edit, kGreek.substr(0, 2));
  EXPECT_EQ(combo->Text(), kGreek);
  EXPECT_EQ(combo->SelText(), kGreek.substr(2));
  EXPECT_EQ(combo->ItemIndex(), 2);
}

TEST_F(UniComboFixture, TypingDropsTheListDownAndAnExactMatchClosesIt) {
  combo->Items()->Add(L"Abcde");
  combo->Items()->Add(L"abx");
  combo->AutoDropDown = true;
  combo->AutoCloseUp = true;
  HWND edit = combo->EditHandle();
  Type(edit, L"a");
  EXPECT_TRUE(combo->DroppedDown());
  EXPECT_EQ(combo->Text(), L"abcde");
  Type(edit, L"bx");
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->Text(), L"abx");
  EXPECT_EQ(combo->ItemIndex(), 1);
  // Enter closes an open list and goes no further.
  combo->SetDroppedDown(true);
  int keys = 0;
  combo->OnKeyPress = [&](TObject*, char&) { ++keys; };
  SendMessageW(edit, WM_CHAR, VK_RETURN, 1);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(keys, 1);
  EXPECT_EQ(combo->Text(), L"abx");
}

TEST_F(UniComboFixture, WideCharactersReachTheEditWholeAndTheKeyHandlersAsAnsiSafe) {
  combo->AutoComplete = false;
  std::vector<char> keys;
  combo->OnKeyPress = [&](TObject*, char& key) { keys.push_back(key); };
  Type(combo->EditHandle(), kJapanese);
  EXPECT_EQ(combo->Text(), kJapanese);
  EXPECT_EQ(keys, std::vector<char>(3, static_cast<char>(255)));
  // An input method's character arrives as a typed one.
  SendMessageW(combo->EditHandle(), WM_IME_CHAR, L'\u8a9e', 1);
  EXPECT_EQ(combo->Text(), kJapanese + L"\u8a9e");
}

TEST_F(UniComboFixture, FindStringSearchesTheWideItemsRoundTheList) {
  for (const WideString& item : {kGreek, kJapanese, WideString(L"\u03b5\u03bb\u03b9\u03ac"), kFrench})
    combo->Items()->Add(item);
  struct Case {
    int Start;
    WideString Prefix;
    bool Unique;
    int Found;
  } cases[] = {
      {-1, L"\u03b5\u03bb", false, 0},            // "ελ", any case: Ελληνικά
      {0, L"\u0395\u039b", false, 2},             // "ΕΛ" after the first: ελιά
      {2, L"\u03b5\u03bb", false, 0},             // round the end of the list
      {-1, L"\u03b5\u03bb", true, -1},            // two items begin so
      {-1, L"\u03b5\u03bb\u03bb", true, 0},       // one item does
      {-1, L"\u65e5\u672c", false, 1},            // 日本
      {-1, L"\u4e2d", false, -1},                 // 中: "?" in 8 bits, none here
      {-1, L"fran\u00c7", false, 3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(combo->FindString(c.Start, c.Prefix, c.Unique), c.Found) << c.Start << " " << Utf8Encode(c.Prefix);
}

TEST_F(UniComboFixture, OnTheAnsiPathItemsAndTextGoThroughTheFrameworksItems) {
  AnsiPlatformScope ansi;
  std::unique_ptr<TUniComboBox> plain(new TUniComboBox(host.get()));
  plain->SetParent(host.get());
  plain->Items()->Add(kFrench);
  ASSERT_FALSE(IsWindowUnicode(plain->Handle()));
  EXPECT_EQ(plain->Items()->Get(0), kFrench);
  EXPECT_EQ(plain->Items()->IndexOf(kFrench), 0);
  plain->SetItemIndex(0);
  EXPECT_EQ(plain->Text(), kFrench);
  plain->SetSelStart(2);
  plain->SetSelLength(3);
  EXPECT_EQ(plain->SelText(), kFrench.substr(2, 3));
  plain->SetStyle(csSimple);
  EXPECT_EQ(plain->Items()->Count(), 1);
  EXPECT_EQ(plain->Text(), kFrench);
}

TEST_F(UniComboFixture, AutoSearchStartsAnewAfterThePause) {
  static DWORD now = 0;
  auto* saved = UniComboTickCount;
  UniComboTickCount = [] { return now; };
  combo->SetStyle(csDropDownList);
  for (const WideString& s : {WideString(L"Alpha"), WideString(L"Beta"), WideString(L"Bravo"), kGreek})
    combo->Items()->Add(s);
  HWND wnd = combo->Handle();
  struct Step {
    DWORD at;
    WideChar c;
    int index;
  };
  // Keystrokes less than 1250 ms apart make one search text, a longer pause a new one.
  for (Step s : {Step{1000, L'b', 1}, Step{1500, L'r', 2}, Step{2749, L'a', 2}, Step{4000, L'a', 0},
                 Step{5500, L'\u0395', 3}}) {
    SCOPED_TRACE(s.at);
    now = s.at;
    SendMessageW(wnd, WM_CHAR, s.c, 1);
    EXPECT_EQ(combo->ItemIndex(), s.index);
  }
  EXPECT_EQ(combo->Text(), kGreek);
  UniComboTickCount = saved;
}

TEST(ComboAutoSearch, PauseBoundary) {
  TComboAutoSearch search;
  EXPECT_EQ(search.Typed(L'a', 0xFFFFFF00u), L"a");
  search.Accept(L'a');
  EXPECT_EQ(search.Typed(L'b', 0xFFFFFF00u + 1249), L"ab");  // across the wrap-around
  search.Accept(L'b');
  search.Backspace();
  EXPECT_EQ(search.Text(), L"a");
  EXPECT_EQ(search.Typed(L'c', 0xFFFFFF00u + 1249 + 1250), L"c");
}

// Draws item 0 of combo, or text through the canvas's own calls, on a white bitmap; returns
// its pixels.
std::vector<DWORD> DrawnPixels(TCanvas* canvas, TFont* font, const std::function<void(TCanvas*)>& draw) {
  const int w = 200, h = 20;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  canvas->SetHandle(dc);
  canvas->SetFont(font);
  canvas->Brush()->SetColor(clWhite);
  canvas->Font()->SetColor(clBlack);
  draw(canvas);
  canvas->SetHandle(nullptr);
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + w * h);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

TEST_F(UniComboFixture, OwnerDrawnItemsShowTheWideItem) {
  const WideString item = kJapanese + L" " + kGreek;
  combo->SetStyle(csOwnerDrawFixed);
  combo->Items()->Add(item);
  const RECT r{0, 0, 200, 20};
  auto drawn = DrawnPixels(combo->Canvas(), combo->Font(), [&](TCanvas*) { combo->DrawItem(0, r, 0); });
  TCanvas reference;
  auto wide = DrawnPixels(&reference, combo->Font(), [&](TCanvas* c) {
    c->FillRect(r);
    WideCanvasTextOut(c, 2, 0, item);
  });
  auto narrow = DrawnPixels(&reference, combo->Font(), [&](TCanvas* c) {
    c->FillRect(r);
    c->TextOut(2, 0, WideToAnsi(item));
  });
  ASSERT_NE(wide, narrow);
  EXPECT_EQ(drawn, wide);
}



// What a user and the program read of a combo box.
struct TComboState {
  std::vector<WideString> Items;
  std::vector<TObject*> Objects;
  int ItemIndex;
  WideString Text;
  int Found;  // IndexOf ignores case
  bool operator==(const TComboState&) const = default;
};

void PrintTo(const TComboState& s, std::ostream* os) {
  *os << "items";
  for (size_t i = 0; i < s.Items.size(); ++i) *os << " '" << Utf8Encode(s.Items[i]) << "'" << (s.Objects[i] ? "*" : "");
  *os << ", index " << s.ItemIndex << ", text '" << Utf8Encode(s.Text) << "', found " << s.Found;
}

TComboState StateOf(TUniComboBox* Combo) {
  TComboState s{{}, {}, Combo->ItemIndex(), Combo->Text(), Combo->Items()->IndexOf(L"PLAIN")};
  for (int i = 0; i < Combo->Items()->Count(); ++i) {
    s.Items.push_back(Combo->Items()->Get(i));
    s.Objects.push_back(Combo->Items()->Objects(i));
  }
  return s;
}

// A combo box on a parent not shown yet (a page of the wizard) has no window: it keeps its
// items, selection and text itself, exactly as a combo box with a window would hold them
// after the same steps, and its window, once the parent shows, takes them over.
TEST(UniComboWithoutWindow, KeepsWhatTheWindowWouldHoldAndHandsItOver) {
  static TObject marker;
  using TSteps = void (*)(TUniComboBox*);
  const std::pair<const char*, TSteps> scripts[] = {
      {"added, one selected",
       [](TUniComboBox* c) {
         c->Items()->Add(kFrench);
         c->Items()->AddObject(kGreek, &marker);
         c->Items()->Add(L"plain");
         c->SetItemIndex(1);
       }},
      {"inserted before the selection",
       [](TUniComboBox* c) {
         c->Items()->Add(kFrench);
         c->Items()->Add(kGreek);
         c->SetItemIndex(1);
         c->Items()->Insert(0, kJapanese);
         c->Items()->Insert(-1, L"plain");
       }},
      {"deleted before and at the selection",
       [](TUniComboBox* c) {
         c->Items()->Add(kFrench);
         c->Items()->Add(kGreek);
         c->Items()->Add(kJapanese);
         c->SetItemIndex(2);
         c->Items()->Delete(0);
         c->Items()->Delete(1);
         c->Items()->Delete(7);
       }},
      {"an index past the items",
       [](TUniComboBox* c) {
         c->Items()->Add(kFrench);
         c->SetText(L"typed");
         c->SetItemIndex(5);
       }},
      {"cleared after a selection",
       [](TUniComboBox* c) {
         c->Items()->Add(kGreek);
         c->Items()->Add(L"Plain");
         c->SetItemIndex(0);
         c->Items()->Clear();
         c->Items()->Add(L"plain");
       }},
  };
  for (TComboBoxStyle style : {csDropDown, csDropDownList}) {
    for (const auto& [name, steps] : scripts) {
      SCOPED_TRACE(testing::Message() << name << ", style " << style);
      std::unique_ptr<THostWindow> shown(ShownHost(300, 120));
      auto* withWindow = new TUniComboBox(shown.get());
      withWindow->SetStyle(style);
      withWindow->SetParent(shown.get());
      ASSERT_TRUE(withWindow->HandleAllocated());
      steps(withWindow);
      const TComboState expected = StateOf(withWindow);

      std::unique_ptr<THostWindow> hidden(new THostWindow(nullptr));
      hidden->SetBounds(40, 200, 300, 120);
      auto* waiting = new TUniComboBox(hidden.get());
      waiting->SetStyle(style);
      waiting->SetParent(hidden.get());
      steps(waiting);
      EXPECT_EQ(StateOf(waiting), expected);
      EXPECT_FALSE(waiting->HandleAllocated()) << "asking made a window";

      hidden->SetVisible(true);
      Flush();
      ASSERT_TRUE(waiting->HandleAllocated());
      EXPECT_TRUE(IsWindowUnicode(waiting->WindowHandle()));
      EXPECT_EQ(StateOf(waiting), expected);
    }
  }
}

}  // namespace
