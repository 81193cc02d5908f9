// Wide edits and memos: the wide password character, wide selection and wide memo lines
// in Unicode windows.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/widetext/ansi_platform.h"
#include "tests/widetext/wide_controls.h"
#include "widetext/uni_edits.h"
#include "widetext/wide_selection.h"

using namespace testwin;

namespace {

const WideString kFrench = L"Fran\u00e7ais \u00e9l\u00e8ve";
const WideString kGreek = L"\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1";
const WideString kJapanese = L"\u65e5\u672c\u8a9e\u306e\u30c6\u30ad\u30b9\u30c8";

std::unique_ptr<THostWindow> Host() { return std::unique_ptr<THostWindow>(ShownHost(360, 260)); }

template <class T>
T* Child(TWinControl* parent) {
  auto* c = new T(parent);
  c->SetParent(parent);
  return c;
}

WideChar WindowPasswordChar(HWND wnd) { return static_cast<WideChar>(SendMessageW(wnd, EM_GETPASSWORDCHAR, 0, 0)); }

TEST(UniEdit, PasswordCharOutsideTheCodePageShowsAsItselfAndTheFrameworkSeesAStar) {
  auto host = Host();
  auto* edit = Child<TUniEdit>(host.get());
  edit->SetText(kGreek);
  edit->SetPasswordChar(L'\u25cf');  // before the window
  HWND wnd = edit->Handle();
  ASSERT_TRUE(IsWindowUnicode(wnd));
  EXPECT_EQ(WindowPasswordChar(wnd), L'\u25cf');
  EXPECT_EQ(edit->PasswordChar(), L'\u25cf');
  EXPECT_EQ(edit->TCustomEdit::PasswordChar(), '*');

  edit->SetPasswordChar(L'\u2022');  // with the window: the same window takes it
  EXPECT_EQ(edit->WindowHandle(), wnd);
  EXPECT_EQ(WindowPasswordChar(wnd), L'\u2022');
  edit->SetHideSelection(false);  // a new window gets it too
  EXPECT_NE(edit->WindowHandle(), wnd);
  EXPECT_EQ(WindowPasswordChar(edit->WindowHandle()), L'\u2022');
  EXPECT_EQ(edit->Text(), kGreek);

  // A character of the code page is the framework's own; changed behind the wide layer,
  // the framework's wins.
  edit->SetPasswordChar(L'#');
  EXPECT_EQ(edit->TCustomEdit::PasswordChar(), '#');
  edit->TCustomEdit::SetPasswordChar('+');
  EXPECT_EQ(edit->PasswordChar(), L'+');
}

TEST(UniEdit, SelectionCountsWideCharacters) {
  auto host = Host();
  auto* edit = Child<TUniEdit>(host.get());
  edit->SetText(kGreek + L" " + kJapanese);
  edit->SetSelStart(2);
  edit->SetSelLength(3);
  EXPECT_EQ(edit->SelStart(), 2);
  EXPECT_EQ(edit->SelLength(), 3);
  EXPECT_EQ(edit->SelText(), kGreek.substr(2, 3));
  edit->SetSelText(L"\u65e5");
  EXPECT_EQ(edit->Text(), kGreek.substr(0, 2) + L"\u65e5" + kGreek.substr(5) + L" " + kJapanese);
}

// The 8-bit path counts bytes; in a double-byte code page a wide character may take two.
TEST(WideSelection, PositionsConvertBetweenBytesAndCharacters) {
  const UINT saved = ConversionCodePage;
  ConversionCodePage = 932;  // Japanese: kana and kanji take two bytes
  const WideString text = L"a\u65e5\u672cb";
  const AnsiString bytes = WideToAnsi(text);
  ASSERT_EQ(bytes.size(), 6u);
  struct Case {
    int ansiStart, wideStart;
  };
  for (Case c : {Case{0, 0}, Case{1, 1}, Case{3, 2}, Case{5, 3}, Case{6, 4}}) {
    EXPECT_EQ(WideSelStartOf(bytes, c.ansiStart), c.wideStart);
    EXPECT_EQ(AnsiSelStartOf(text, c.wideStart), c.ansiStart);
  }
  EXPECT_EQ(AnsiSelLengthOf(text, 1, 2), 4);
  EXPECT_EQ(AnsiSelLengthOf(text, 3, 9), 1);  // clipped to the text
  EXPECT_EQ(WideSubText(text, 9, 1), L"");
  ConversionCodePage = saved;
}

// --- memos

struct UniMemoFixture : ::testing::Test {
  std::unique_ptr<THostWindow> host = Host();
  TUniMemo* memo = Child<TUniMemo>(host.get());
  std::vector<WideString> Lines() {
    std::vector<WideString> out;
    for (int i = 0; i < memo->Lines()->Count(); ++i) out.push_back(memo->Lines()->Get(i));
    return out;
  }
};

TEST_F(UniMemoFixture, WideLinesRoundTrip) {
  TUniStrings* lines = memo->Lines();
  lines->Add(kGreek);
  lines->Add(L"");
  lines->Add(kJapanese);
  ASSERT_TRUE(IsWindowUnicode(memo->WindowHandle()));
  EXPECT_EQ(Lines(), (std::vector<WideString>{kGreek, L"", kJapanese}));
  // An empty line and a line that does not exist read as empty.
  EXPECT_EQ(lines->Get(1), L"");
  EXPECT_EQ(lines->Get(7), L"");
  lines->Put(1, kFrench);
  EXPECT_EQ(memo->Text(), kGreek + L"\r\n" + kFrench + L"\r\n" + kJapanese + L"\r\n");
  lines->Delete(0);
  EXPECT_EQ(Lines(), (std::vector<WideString>{kFrench, kJapanese}));

  lines->SetTextStr(kJapanese + L"\n" + kGreek);  // line breaks adjusted to CR LF
  EXPECT_EQ(memo->Text(), kJapanese + L"\r\n" + kGreek);
  memo->SetWordWrap(false);  // a new window keeps the lines
  EXPECT_EQ(Lines(), (std::vector<WideString>{kJapanese, kGreek}));
}

TEST_F(UniMemoFixture, InsertPastTheLastLineNeedsANonEmptyLastLine) {
  memo->SetText(kGreek + L"\r\n" + kJapanese);
  memo->Lines()->Insert(2, kFrench);
  EXPECT_EQ(memo->Text(), kGreek + L"\r\n" + kJapanese + L"\r\n" + kFrench);
  memo->SetText(kGreek + L"\r\n");
  memo->Lines()->Insert(2, kFrench);
  EXPECT_EQ(memo->Text(), kGreek + L"\r\n");
  memo->Lines()->Insert(0, kFrench);
  EXPECT_EQ(memo->Text(), kFrench + L"\r\n" + kGreek + L"\r\n");
}

TEST_F(UniMemoFixture, TheClipboardTakesAndGivesTheWideText) {
  memo->Lines()->Add(kGreek);
  memo->Lines()->Add(kJapanese);
  memo->SelectAll();
  memo->CopyToClipboard();
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  WideString copied = data ? static_cast<const WideChar*>(GlobalLock(data)) : L"";
  if (data) GlobalUnlock(data);
  CloseClipboard();
  EXPECT_EQ(copied, kGreek + L"\r\n" + kJapanese + L"\r\n");
  memo->Clear();
  memo->PasteFromClipboard();
  EXPECT_EQ(memo->Lines()->Get(1), kJapanese);
}

TEST_F(UniMemoFixture, ALineBeyondWhatEmGetLineCanTakeIsAnError) {
  memo->SetWordWrap(false);
  memo->SetText(WideString(70000, L'x'));
  EXPECT_THROW(memo->Lines()->Get(0), EOutOfResources);
}

TEST_F(UniMemoFixture, OnTheAnsiPathLinesGoThroughTheFrameworksLines) {
  AnsiPlatformScope ansi;
  std::unique_ptr<TUniMemo> ansiMemo(Child<TUniMemo>(host.get()));
  ansiMemo->Lines()->Add(kFrench);
  ansiMemo->Lines()->Insert(0, kFrench + L"!");
  ASSERT_FALSE(IsWindowUnicode(ansiMemo->WindowHandle()));
  EXPECT_EQ(ansiMemo->Lines()->Get(1), kFrench);
  EXPECT_EQ(ansiMemo->Lines()->Count(), 2);
  EXPECT_EQ(ansiMemo->Text(), kFrench + L"!\r\n" + kFrench + L"\r\n");
}

}  // namespace
